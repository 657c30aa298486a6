// Small routines that the whole program shares: paths, code page 932
// padding, number parsing, colours, a millisecond clock, message templates,
// key filtering, list lookups, version texts and starting a program.
//
// Colours are 32-bit values 0x00BBGGRR (red in the low byte).
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <cstdint>

class QComboBox;
class QListWidget;
class QWidget;

namespace vakuro {

// ---- Paths and texts ------------------------------------------------------

// The path with a '/' appended, unless it is empty or already ends in '/'.
QString WithBackslash(const QString& path);

// Creates the folder (with any missing parent folders) when no folder of that
// name exists. Returns whether the folder exists afterwards; callers that do
// not care may ignore it.
bool EnsureFolder(const QString& path);

// The text up to its first NUL, with blanks (' ') removed at both ends.
QString CutAtNul(const QString& text);

// "'" + text + "'": how texts are stored in the settings file so that blanks
// at their ends survive (IniRead removes the apostrophes again).
QString Quote(const QString& text);

// The text left-aligned in n bytes of code page 932: blank-filled on the
// right, cut after n bytes. When the cut falls inside a double-byte character,
// that character becomes a blank. Characters that code page 932 cannot
// represent are kept and count as two bytes. n <= 0 gives the empty text.
QString PadBytesLeft(const QString& text, int n);

// The text right-aligned in n bytes of code page 932: blank-filled on the
// left, the last n bytes kept. When the cut falls inside a double-byte
// character, that character becomes a blank. Counting as PadBytesLeft.
QString PadBytesRight(const QString& text, int n);

// ---- Numbers ----------------------------------------------------------------

// The value of a number typed by the user or read from a file: blanks around
// it are ignored; an optional sign, decimal digits with an optional fraction
// (rounded to an integer, halves to even) and one optional trailing '&'.
// Anything else, and the empty text, gives 0. Values outside the int32 range
// give the nearest int32 value.
int ParseInt(const QString& text);

// low when v < low, else high when v > high, else v.
int Clamp(int v, int low, int high);
int Max(int a, int b);
int Min(int a, int b);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4), saturating at the int range.
int RoundHalfEven(double value);

// ---- Colours ----------------------------------------------------------------

// Builds 0x00BBGGRR from channels, each clamped to 0..255.
int Rgb(int red, int green, int blue);

// A part of a colour: which = 1 red, 2 green, 3 blue, 4 red + green + blue,
// 5 luminance (r' = round(0.299 red), g' = round(0.587 green + r'),
// round(0.114 blue + g'), computed exactly in decimal, halves to even);
// anything else 0.
int ColourPart(int colour, int which);

// Each channel := round((1 - t') * B + t' * A) with t' = max(0, t), halves to
// even. Channels are clamped to 0..255, so t > 1 cannot spill into the
// neighbouring channel.
int BlendColour(int colourA, int colourB, double t);

// ---- Clock --------------------------------------------------------------------

// Extends a 32-bit millisecond tick count, taken as unsigned, to 64 bits by
// counting its wraps. A tick lower than the previous one means the count
// wrapped, so the result never steps back, however far apart the calls are.
class TickExtender {
public:
    explicit TickExtender(std::int64_t initialWraps = 0) : wraps_(initialWraps) {}
    std::int64_t extend(std::uint32_t rawTick);

private:
    std::int64_t wraps_;
    std::uint32_t last_ = 0;
    bool started_ = false;
};

// Milliseconds since the system started (the monotonic clock, read as a
// 32-bit tick and extended by one TickExtender for the whole run).
std::int64_t TickCount64();

// Returns when TickCount64 has advanced by ms milliseconds (at once when
// ms <= 0) and gives the last tick read. With pump, pending user-interface
// events are handled while waiting (QCoreApplication::processEvents); without
// it, the thread sleeps.
std::int64_t Wait(int ms, bool pump);

// ---- Messages and input -------------------------------------------------------

// Builds a message from a template, character by character:
//   '@'  the next argument as text     '$'  the next argument
//   '＠' the next argument in full-width characters
//   '&'  a line break                  '＆' a line break followed by a tab
// Any other character is copied. Arguments are turned into text with
// QVariant::toString(). A placeholder without an argument left adds nothing.
// The line break is CR LF; Qt's labels and message boxes show it exactly as a
// single LF.
QString FormatMessage(const QString& messageTemplate, const QVariantList& arguments);
QString FormatMessage(const QString& messageTemplate, const QStringList& arguments);

// Full-width form of a text: ASCII letters, digits and symbols become U+FF01..
// U+FF5E, the blank U+3000, half-width katakana full-width katakana (with a
// following voiced or semi-voiced mark joined where a precomposed character
// exists). Other characters are kept.
QString ToFullWidth(const QString& text);

// Key filters for text boxes that take restricted input: the caller replaces
// the typed character by the result, 0 discarding it. keyCode is the typed
// character's code (QKeyEvent::text(), e.g. 8 for Backspace); negative codes
// stand for double-byte characters. Codes of Qt::Key values that carry no
// character (0x01000000 and above: arrows, Delete, Home ...) are editing keys
// and always pass.
//   mode 1: control codes 0..31 and the digits '0'..'9' pass.
//   mode 2: every character that is one byte in code page 932 passes (ASCII,
//           half-width katakana); double-byte and unencodable ones do not.
//   any other mode: everything passes.
int FilterKey(int keyCode, int mode);

// ---- List lookups -------------------------------------------------------------

// The 0-based index of the first entry whose text, without the blanks around
// it, equals text; -1 when there is none (or no list).
int FindListText(const QComboBox* list, const QString& text);
int FindListText(const QListWidget* list, const QString& text);
int FindListText(const QStringList& list, const QString& text);

// The index of the first entry whose item data (Qt::UserRole) equals value;
// -1 when there is none. Numbers compare by value whatever their type.
int FindListData(const QComboBox* list, const QVariant& value);
int FindListData(const QListWidget* list, const QVariant& value);
int FindListData(const QVariantList& list, const QVariant& value);

// ---- Glyphs ---------------------------------------------------------------

// Counts glyphs as the engine cuts them: a half-width character (tab, ASCII
// 0x20..0x7E, half-width katakana and punctuation U+FF61..U+FF9F) followed by
// the voiced mark U+FF9E or the semi-voiced mark U+FF9F forms one glyph with
// the mark; every other character is a glyph of its own.
// Gives the 0-based number of the glyph at the 1-based position (the number of
// glyphs wholly before it) and sets joined when the character at the position
// is such a half-width character followed by a mark. A position on the mark
// itself gives the number of the glyph it belongs to, with joined false. For a
// position after the end, joined is false and the result is the glyph count
// minus 1; a position below 1 gives 0 with joined false.
int GlyphIndex(const QString& text, int position, bool& joined);

// The number of glyphs of the text, counted as GlyphIndex does.
int GlyphCount(const QString& text);

// ---- Versions -------------------------------------------------------------

// "Version " + major.minor.patch of the program, e.g. "Version 1.0.0".
QString AppVersionText();

// The version of a file of the program folder, as the version dialog shows it:
// "（なし）" when no file exists at the path; "  " + four numbers joined by
// "." for a file with version information; "" for other files. Linux files
// carry no version resource, so the version is taken from:
// - a shared library whose real file name (after following links) ends in
//   ".so.A[.B[.C[.D]]]": those numbers, missing ones 0;
// - the program ("vakuro"): ProgramVersionNumbers(), e.g. "  1.0.0.0".
// The system's own libraries report their versions through their version
// exports; pass those numbers with the second form.
QString FileVersionText(const QString& path);

// As above with the numbers known: "（なし）" when no file exists at the
// path, "" when the path is not a file, else "  " + versionNumbers.
QString FileVersionText(const QString& path, const QString& versionNumbers);

// The program's version as four numbers: major.minor.patch.0.
QString ProgramVersionNumbers();

// The four numbers of a version export of the system's libraries (PavrexVer,
// TesmorVer, ImgctlVersion), read digit by digit as the start-up messages
// read them (121 is version 1.2.1): hundreds.tens.units.0, so 121 gives
// "1.2.1.0" and 1234 "12.3.4.0". A negative number counts as 0.
QString LibraryVersionNumbers(int exportedVersion);

// ---- Starting programs -------------------------------------------------

// Flags of ShellAndWait.
enum ShellFlag {
    ShellFocus = 1,         // start with focus (a hint only: X11 and Wayland leave focus to the window manager)
    ShellHideWindow = 2,    // hide the given window before waiting; it is not shown again here
    ShellSleep = 4,         // sleep 100 ms between waits
    ShellRepaint = 8,       // repaint the given window between waits
    ShellMustExist = 16,    // do nothing unless a file exists at the program path
};

// Starts program with arguments (split as QProcess::splitCommand does: blanks
// separate arguments, double quotes group them, three double quotes stand for
// a literal one; the program path itself is never split) and waits for it to end,
// waiting timeoutMs at a time (at least 10 ms, so a 0 time-out does not spin;
// negative: without limit) and repeating while the wait times out. Returns 1
// when the process has ended (whatever its exit status), 0 when nothing ran:
// an empty program, ShellMustExist without such a file, or a program that
// could not be started.
int ShellAndWait(const QString& program, const QString& arguments, QWidget* window, int timeoutMs, int flags);

// As above, with the arguments passed to the program exactly as given.
int ShellAndWait(const QString& program, const QStringList& arguments, QWidget* window, int timeoutMs, int flags);

// The pause ShellAndWait makes between waits under ShellSleep: sleeps the
// thread for the given milliseconds. Tests replace it to count the pauses
// without depending on the clock; nullptr restores the sleep.
using ShellPauseFunction = void (*)(int milliseconds);
void SetShellPause(ShellPauseFunction pause);

}  // namespace vakuro
