#include "cp932_qstring.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace vakuro {
namespace {

// One character of a QString: a code point (a lone surrogate stands for
// itself and is never encodable) and the UTF-16 units it occupies.
struct Character {
    char32_t codePoint;
    int units;
};

Character characterAt(const QString& text, qsizetype i) {
    const char16_t u = text.at(i).unicode();
    if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return {QChar::surrogateToUcs4(u, text.at(i + 1).unicode()), 2};
    return {u, 1};
}

// The characters of a QString as code points, with the UTF-16 units each
// occupies.
struct Characters {
    std::u32string codePoints;
    std::vector<int> units;
};

Characters charactersOf(const QString& text) {
    Characters result;
    result.codePoints.reserve(static_cast<size_t>(text.size()));
    result.units.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size();) {
        const Character c = characterAt(text, i);
        result.codePoints.push_back(c.codePoint);
        result.units.push_back(c.units);
        i += c.units;
    }
    return result;
}

std::string_view viewOf(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QByteArray bytesOf(std::string_view bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

std::optional<QByteArray> toCp932(const QString& text) {
    const auto bytes = cp932::encode(charactersOf(text).codePoints);
    if (!bytes) return std::nullopt;
    return bytesOf(*bytes);
}

QString fromCp932(const QByteArray& bytes) {
    if (bytes.isEmpty()) return QString();
    const std::u32string text = cp932::decodeReplacing(viewOf(bytes));
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

QString unencodableCharacters(const QString& text) {
    const Characters characters = charactersOf(text);
    const auto encoded = cp932::encodeEach(characters.codePoints);
    QString result;
    std::u32string seen;
    qsizetype at = 0;
    for (size_t i = 0; i < encoded.size(); ++i) {
        const char32_t c = characters.codePoints[i];
        if (!encoded[i] && seen.find(c) == std::u32string::npos) {
            seen.push_back(c);
            result.append(text.mid(at, characters.units[i]));
        }
        at += characters.units[i];
    }
    return result;
}

QByteArray toCp932Lossy(const QString& text) {
    QByteArray result;
    for (const auto& bytes : cp932::encodeEach(charactersOf(text).codePoints)) {
        if (bytes) result.append(bytesOf(*bytes));
    }
    return result;
}

int cp932CharacterBytes(const QString& text, qsizetype index, int* unitsOut) {
    const Character c = characterAt(text, index);
    if (unitsOut) *unitsOut = c.units;
    return cp932::characterBytes(c.codePoint);
}

qsizetype cp932PrefixLength(const char* bytes, qsizetype length, qsizetype maxBytes) {
    if (length <= 0 || maxBytes <= 0) return 0;
    return static_cast<qsizetype>(
        cp932::prefixLength(std::string_view(bytes, static_cast<size_t>(length)), static_cast<size_t>(maxBytes)));
}

void setFixedField(char* field, int size, const QString& value, bool withNul) {
    if (!field || size <= 0) return;
    cp932::setFixedField(std::span<char>(field, static_cast<size_t>(size)), viewOf(toCp932Lossy(value)), withNul);
}

QString readFixedField(const char* field, int size) {
    if (!field || size <= 0) return QString();
    return fromCp932(bytesOf(cp932::readFixedField(std::span<const char>(field, static_cast<size_t>(size)))));
}

}  // namespace vakuro
