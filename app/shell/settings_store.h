// The settings store: INI files in the Windows profile format, such as
// "Vakuro.ini" (SettingsPath() in program_paths.h).
//
// The file is code page 932 text. A section begins with a line "[name]"; a
// key is a line "name=value"; lines beginning with ';' are comments. Section
// and key names are compared without regard to case ("F100_Left" and
// "F100_LEFT" name the same entry) and without their surrounding blanks. When
// a section or key occurs more than once, the first one counts. LF and CR LF
// line ends are both read; lines that are written end in CR LF.
//
// Every call reads or writes the file at once; nothing is cached.
#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace vakuro {

// The longest value, in code page 932 bytes, that IniRead returns.
inline constexpr int kIniValueMaxBytes = 119;

// Reads a value. A missing file, section or key gives defaultValue unchanged
// (a key that is present with an empty value gives the empty text). A value
// that is present is read as follows: it ends at its first NUL; blanks around
// it are removed; a value enclosed in a matching pair of apostrophes or double
// quotes loses that pair (so a text stored with Quote() reads back exactly,
// including blanks at its ends); the rest is cut to at most 119 bytes of code
// page 932, never in the middle of a double-byte character (the value is then
// 118 bytes long).
QString IniRead(const QString& iniPath, const QString& section, const QString& key, const QString& defaultValue);

// As IniRead, but nothing when the file, section or key is missing.
std::optional<QString> IniReadValue(const QString& iniPath, const QString& section, const QString& key);

// ParseInt (shared_routines.h) of the value; a missing key gives defaultValue,
// a present key whose value is not a number gives 0.
int IniReadInt(const QString& iniPath, const QString& section, const QString& key, int defaultValue);

// Writes a value: the first line of the key in the section is replaced by
// "Key=value" (keeping the spelling of the key found in the file); a new key
// goes after the last non-blank line of its section; a new section goes at the
// end of the file. Every other byte of the file is kept as it was.
// The new file is written to a temporary file in the same folder and renamed
// over the old one, so a write that fails part way leaves the old file as it
// was. Failures are silent; use IniWriteChecked where the user must be told.
void IniWrite(const QString& iniPath, const QString& section, const QString& key, const QString& value);
void IniWriteInt(const QString& iniPath, const QString& section, const QString& key, int value);

// As IniWrite, and reports whether the file now holds the value. It refuses
// (returns false and leaves the file untouched) when:
// - the folder is missing or not writable, or the file exists but cannot be
//   read or replaced;
// - the section, key or value holds a character that code page 932 cannot
//   represent (see unencodableCharacters() in cp932.h to name them);
// - the section or key is empty after removing blanks, or the section, key or
//   value holds a line break or a NUL, the section a ']', or the key a '=' or
//   begins with '[' or ';' (they would change the file's structure).
bool IniWriteChecked(const QString& iniPath, const QString& section, const QString& key, const QString& value);

// One key and its value for IniWriteAll.
struct IniEntry {
    QString key;
    QString value;
};

// Writes several keys of one section as a series of IniWrite calls would,
// reading and replacing the file once. An entry that IniWriteChecked would
// refuse is left out; the others are written. True when every entry was
// written.
bool IniWriteAll(const QString& iniPath, const QString& section, const QList<IniEntry>& entries);

// Records the program folder in the per-user settings store (QSettings in the
// native format, organisation "Korvel", application "Vakuro", section
// "Vakuro", key "InstallDir"). The program never reads it back. With
// VAKURO_HOME set the store is kept inside it (PlaceUserSettings()).
void WriteInstallDir(const QString& programFolder);

}  // namespace vakuro
