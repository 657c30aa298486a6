#include "settings_store.h"

#include "cp932_qstring.h"
#include "shared_routines.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include "program_paths.h"

#include <optional>
#include <vector>

namespace vakuro {
namespace {

// One line of the file: its text and its own line end ("\r\n", "\n", or
// nothing for a last line without one), so that untouched lines are written
// back byte for byte.
struct Line {
    QByteArray text;
    QByteArray end;
};

enum class Kind { Blank, Comment, Section, Key, Other };

struct Classified {
    Kind kind = Kind::Other;
    QByteArray name;   // section or key name, blanks removed
    QByteArray value;  // key lines: everything after the first '='
};

const QByteArray kCrLf("\r\n");

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArray trimBlanks(const QByteArray& bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes[begin])) ++begin;
    while (end > begin && isBlank(bytes[end - 1])) --end;
    return bytes.mid(begin, end - begin);
}

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t')) ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t')) --end;
    return text.mid(begin, end - begin);
}

std::vector<Line> splitLines(const QByteArray& data) {
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < data.size()) {
        const qsizetype newline = data.indexOf('\n', start);
        if (newline < 0) {
            lines.push_back({data.mid(start), QByteArray()});
            break;
        }
        const bool cr = newline > start && data[newline - 1] == '\r';
        const qsizetype textEnd = cr ? newline - 1 : newline;
        lines.push_back({data.mid(start, textEnd - start), cr ? kCrLf : QByteArray("\n")});
        start = newline + 1;
    }
    return lines;
}

QByteArray joinLines(const std::vector<Line>& lines) {
    QByteArray data;
    for (const Line& line : lines) data += line.text + line.end;
    return data;
}

Classified classify(const QByteArray& text) {
    Classified result;
    const QByteArray trimmed = trimBlanks(text);
    if (trimmed.isEmpty()) {
        result.kind = Kind::Blank;
    } else if (trimmed[0] == ';') {
        result.kind = Kind::Comment;
    } else if (trimmed[0] == '[') {
        // ']' (0x5D) can be the second byte of a double-byte character, so
        // the closing bracket is looked for character by character.
        qsizetype i = 1;
        while (i < trimmed.size() && trimmed[i] != ']')
            i += isCp932LeadByte(static_cast<unsigned char>(trimmed[i])) ? 2 : 1;
        if (i < trimmed.size()) {
            result.kind = Kind::Section;
            result.name = trimBlanks(trimmed.mid(1, i - 1));
        }
    } else {
        // '=' (0x3D) is never the second byte of a double-byte character.
        const qsizetype equals = text.indexOf('=');
        if (equals >= 0) {
            result.kind = Kind::Key;
            result.name = trimBlanks(text.left(equals));
            result.value = text.mid(equals + 1);
        }
    }
    return result;
}

bool sameName(const QByteArray& inFile, const QString& wanted) {
    return QString::compare(fromCp932(inFile), wanted, Qt::CaseInsensitive) == 0;
}

// Where a key stands in the file.
struct Location {
    int sectionLine = -1;      // the section's header line
    int keyLine = -1;          // the key's line within the section
    int lastContentLine = -1;  // the section's last non-blank line
};

Location locate(const std::vector<Line>& lines, const QString& section, const QString& key) {
    Location where;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const Classified line = classify(lines[static_cast<size_t>(i)].text);
        if (where.sectionLine < 0) {
            if (line.kind == Kind::Section && sameName(line.name, section)) where.sectionLine = where.lastContentLine = i;
            continue;
        }
        if (line.kind == Kind::Section) break;
        if (line.kind != Kind::Blank) where.lastContentLine = i;
        if (line.kind == Kind::Key && where.keyLine < 0 && sameName(line.name, key)) where.keyLine = i;
    }
    return where;
}

std::optional<QByteArray> readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return data;
}

// The raw bytes after '=' of the key, or nothing when the file, the section
// or the key is missing.
std::optional<QByteArray> readRawValue(const QString& iniPath, const QString& section, const QString& key) {
    const QString wantedSection = trimBlanks(section);
    const QString wantedKey = trimBlanks(key);
    if (wantedSection.isEmpty() || wantedKey.isEmpty()) return std::nullopt;
    const auto data = readFile(iniPath);
    if (!data) return std::nullopt;
    const std::vector<Line> lines = splitLines(*data);
    const Location where = locate(lines, wantedSection, wantedKey);
    if (where.keyLine < 0) return std::nullopt;
    return classify(lines[static_cast<size_t>(where.keyLine)].text).value;
}

QString decodeValue(QByteArray value) {
    const qsizetype nul = value.indexOf('\0');
    if (nul >= 0) value.truncate(nul);
    value = trimBlanks(value);
    // Quotes and blanks are never second bytes of double-byte characters,
    // so looking at the first and last byte is safe.
    if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    value.truncate(cp932PrefixLength(value.constData(), value.size(), kIniValueMaxBytes));
    return fromCp932(value);
}

bool hasLineBreakOrNul(const QString& text) {
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(u'\0'));
}

}  // namespace

QString IniRead(const QString& iniPath, const QString& section, const QString& key, const QString& defaultValue) {
    const auto raw = readRawValue(iniPath, section, key);
    return raw ? decodeValue(*raw) : defaultValue;
}

std::optional<QString> IniReadValue(const QString& iniPath, const QString& section, const QString& key) {
    const auto raw = readRawValue(iniPath, section, key);
    if (!raw) return std::nullopt;
    return decodeValue(*raw);
}

int IniReadInt(const QString& iniPath, const QString& section, const QString& key, int defaultValue) {
    const auto raw = readRawValue(iniPath, section, key);
    return raw ? ParseInt(decodeValue(*raw)) : defaultValue;
}

namespace {

// Puts "Key=value" into the lines as IniWrite describes; false when the
// section, key or value cannot be written (the lines are then unchanged).
bool applyWrite(std::vector<Line>& lines, const QString& section, const QString& key, const QString& value) {
    const QString wantedSection = trimBlanks(section);
    const QString wantedKey = trimBlanks(key);
    if (wantedSection.isEmpty() || wantedKey.isEmpty()) return false;
    if (hasLineBreakOrNul(wantedSection) || hasLineBreakOrNul(wantedKey) || hasLineBreakOrNul(value)) return false;
    if (wantedSection.contains(u']') || wantedKey.contains(u'=') || wantedKey.startsWith(u'[') ||
        wantedKey.startsWith(u';'))
        return false;
    const auto sectionBytes = toCp932(wantedSection);
    const auto keyBytes = toCp932(wantedKey);
    const auto valueBytes = toCp932(value);
    if (!sectionBytes || !keyBytes || !valueBytes) return false;

    const Location where = locate(lines, wantedSection, wantedKey);
    if (where.keyLine >= 0) {
        Line& line = lines[static_cast<size_t>(where.keyLine)];
        line.text = classify(line.text).name + '=' + *valueBytes;
    } else {
        std::vector<Line> added;
        if (where.sectionLine < 0) added.push_back({'[' + *sectionBytes + ']', kCrLf});
        added.push_back({*keyBytes + '=' + *valueBytes, kCrLf});
        const size_t at = where.sectionLine < 0 ? lines.size() : static_cast<size_t>(where.lastContentLine) + 1;
        // The line before the insertion may be a last line without a line end.
        if (at > 0 && lines[at - 1].end.isEmpty()) lines[at - 1].end = kCrLf;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
    }
    return true;
}

// Reads the file, applies the writes and replaces the file once. True when
// every write was applied and the file holds the result.
bool writeEntries(const QString& iniPath, const QString& section, const QList<IniEntry>& entries) {
    if (iniPath.isEmpty()) return false;
    QByteArray old;
    const QFileInfo info(iniPath);
    if (info.exists()) {
        if (!info.isFile()) return false;
        auto data = readFile(iniPath);
        if (!data) return false;
        old = std::move(*data);
    }
    std::vector<Line> lines = splitLines(old);
    bool all = true;
    bool any = false;
    for (const IniEntry& e : entries) {
        const bool applied = applyWrite(lines, section, e.key, e.value);
        all = all && applied;
        any = any || applied;
    }
    if (!any) return false;
    const QByteArray data = joinLines(lines);
    if (info.exists() && data == old) return all;

    QSaveFile file(iniPath);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit() && all;
}

}  // namespace

bool IniWriteChecked(const QString& iniPath, const QString& section, const QString& key, const QString& value) {
    return writeEntries(iniPath, section, {{key, value}});
}

bool IniWriteAll(const QString& iniPath, const QString& section, const QList<IniEntry>& entries) {
    return writeEntries(iniPath, section, entries);
}

void IniWrite(const QString& iniPath, const QString& section, const QString& key, const QString& value) {
    IniWriteChecked(iniPath, section, key, value);
}

void IniWriteInt(const QString& iniPath, const QString& section, const QString& key, int value) {
    IniWriteChecked(iniPath, section, key, QString::number(value));
}

void WriteInstallDir(const QString& programFolder) {
    PlaceUserSettings();
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Vakuro"));
    // Value "InstallDir" in section "Vakuro".
    settings.setValue(QStringLiteral("Vakuro/InstallDir"), programFolder);
    settings.sync();
}

}  // namespace vakuro
