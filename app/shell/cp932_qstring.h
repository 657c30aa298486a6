// Code page 932 for the program's QString texts: the settings file, the
// string fields of the style record and every text handed to the engine.
// The conversions themselves are the shared module's (common/cp932.h); this
// adapter turns QString's UTF-16 into code points and back. A lone UTF-16
// surrogate stays one character of its own that code page 932 cannot
// represent.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "cp932.h"

namespace vakuro {

// The text in code page 932, or nothing when any character of it cannot be
// represented (a lone UTF-16 surrogate counts as such a character).
std::optional<QByteArray> toCp932(const QString& text);

// Decodes code page 932 bytes. Every byte that does not begin a valid
// character (a stray trail byte, a lead byte without a valid trail byte, the
// unassigned bytes 0x80, 0xA0, 0xFD-0xFF) becomes U+FFFD; decoding then goes
// on with the next byte.
QString fromCp932(const QByteArray& bytes);

// The distinct characters of the text that code page 932 cannot represent, in
// the order of their first appearance (a character outside the BMP stays one
// character: its two UTF-16 units). Empty when the whole text can be encoded.
QString unencodableCharacters(const QString& text);

// The text in code page 932 with every character that cannot be represented
// left out.
QByteArray toCp932Lossy(const QString& text);

// The number of code page 932 bytes of one character starting at
// text[index]: 1 for ASCII, half-width katakana and the other single-byte
// characters, 2 for every other character, including characters that cannot
// be encoded (they are as wide on screen as a double-byte character).
// unitsOut receives the number of UTF-16 units of the character (1 or 2).
int cp932CharacterBytes(const QString& text, qsizetype index, int* unitsOut = nullptr);

// True for a byte that begins a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isCp932LeadByte(unsigned char b) { return cp932::isLeadByte(b); }

// The length of the longest prefix of bytes[0, length) that is at most
// maxBytes long and does not end in the middle of a double-byte character.
qsizetype cp932PrefixLength(const char* bytes, qsizetype length, qsizetype maxBytes);

// Stores a value in a fixed-width string field of size bytes: code page 932,
// left-aligned, cut at the field width, blank-filled. A cut that would split a
// double-byte character leaves a blank in place of its first byte. With
// withNul, one NUL byte follows the value when it fits. Characters that code
// page 932 cannot represent are left out: callers that must tell the user
// check the value with unencodableCharacters() first.
void setFixedField(char* field, int size, const QString& value, bool withNul);

// Reads a fixed-width string field: the bytes up to the first NUL or the end
// of the field (never beyond), trailing blanks removed, decoded as above.
QString readFixedField(const char* field, int size);

}  // namespace vakuro
