#include "cp932_qstring.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace vakuro {
namespace {

// An iconv descriptor that closes itself.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input; nothing when any of it cannot be converted.
    // The descriptor is left in its initial state either way.
    std::optional<QByteArray> convert(const char* in, size_t length) {
        if (!valid()) return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        QByteArray out(static_cast<qsizetype>(length * 2 + 16), '\0');
        char* inPtr = const_cast<char*>(in);
        size_t inLeft = length;
        char* outPtr = out.data();
        size_t outLeft = static_cast<size_t>(out.size());
        while (inLeft > 0) {
            if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) continue;
            if (errno != E2BIG) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return std::nullopt;
            }
            const qsizetype used = out.size() - static_cast<qsizetype>(outLeft);
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = static_cast<size_t>(out.size() - used);
        }
        out.resize(out.size() - static_cast<qsizetype>(outLeft));
        return out;
    }

    iconv_t handle() const { return cd_; }

private:
    iconv_t cd_;
};

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

// UTF-32LE bytes of one code point, independent of the host's byte order.
std::array<char, 4> utf32le(char32_t c) {
    return {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF), static_cast<char>((c >> 16) & 0xFF),
            static_cast<char>((c >> 24) & 0xFF)};
}

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The code page 932 bytes of one code point, or nothing.
std::optional<QByteArray> encodeOne(Iconv& conv, char32_t c) {
    if (isSurrogate(c)) return std::nullopt;
    const auto bytes = utf32le(c);
    return conv.convert(bytes.data(), bytes.size());
}

}  // namespace

std::optional<QByteArray> toCp932(const QString& text) {
    if (text.isEmpty()) return QByteArray();
    std::vector<char> utf32;
    utf32.reserve(static_cast<size_t>(text.size()) * 4);
    for (qsizetype i = 0; i < text.size();) {
        const Character ch = characterAt(text, i);
        if (isSurrogate(ch.codePoint)) return std::nullopt;
        const auto bytes = utf32le(ch.codePoint);
        utf32.insert(utf32.end(), bytes.begin(), bytes.end());
        i += ch.units;
    }
    Iconv conv("CP932", "UTF-32LE");
    return conv.convert(utf32.data(), utf32.size());
}

QString fromCp932(const QByteArray& bytes) {
    QString result;
    if (bytes.isEmpty()) return result;
    Iconv conv("UTF-32LE", "CP932");
    if (!conv.valid()) return QString(bytes.size(), QChar::ReplacementCharacter);
    result.reserve(bytes.size());
    std::array<char, 256> buffer{};
    char* inPtr = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    auto flush = [&](const char* end) {
        for (const char* p = buffer.data(); p + 4 <= end; p += 4) {
            const auto* u = reinterpret_cast<const unsigned char*>(p);
            const char32_t c = u[0] | (u[1] << 8) | (u[2] << 16) | (static_cast<char32_t>(u[3]) << 24);
            if (QChar::requiresSurrogates(c)) {
                result.append(QChar(QChar::highSurrogate(c)));
                result.append(QChar(QChar::lowSurrogate(c)));
            } else {
                result.append(QChar(static_cast<char16_t>(c)));
            }
        }
    };
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t rc = iconv(conv.handle(), &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = rc == static_cast<size_t>(-1) ? errno : 0;
        flush(outPtr);
        if (error == 0 || error == E2BIG) continue;
        // An invalid or incomplete sequence: one replacement character for
        // its first byte, then carry on with the next byte.
        result.append(QChar(QChar::ReplacementCharacter));
        ++inPtr;
        --inLeft;
        iconv(conv.handle(), nullptr, nullptr, nullptr, nullptr);
    }
    return result;
}

QString unencodableCharacters(const QString& text) {
    QString result;
    Iconv conv("CP932", "UTF-32LE");
    std::vector<char32_t> seen;
    for (qsizetype i = 0; i < text.size();) {
        const Character ch = characterAt(text, i);
        if (!encodeOne(conv, ch.codePoint) && std::find(seen.begin(), seen.end(), ch.codePoint) == seen.end()) {
            seen.push_back(ch.codePoint);
            result.append(text.mid(i, ch.units));
        }
        i += ch.units;
    }
    return result;
}

QByteArray toCp932Lossy(const QString& text) {
    if (auto whole = toCp932(text)) return *whole;
    QByteArray result;
    Iconv conv("CP932", "UTF-32LE");
    for (qsizetype i = 0; i < text.size();) {
        const Character ch = characterAt(text, i);
        if (auto bytes = encodeOne(conv, ch.codePoint)) result.append(*bytes);
        i += ch.units;
    }
    return result;
}

int cp932CharacterBytes(const QString& text, qsizetype index, int* unitsOut) {
    const Character ch = characterAt(text, index);
    if (unitsOut) *unitsOut = ch.units;
    const char32_t c = ch.codePoint;
    // The only characters that code page 932 holds in one byte: ASCII, the
    // yen sign and overline (which share 0x5C and 0x7E with ASCII) and the
    // half-width katakana block 0xA1-0xDF.
    if (c < 0x80 || c == 0x00A5 || c == 0x203E || (c >= 0xFF61 && c <= 0xFF9F)) return 1;
    return 2;
}

qsizetype cp932PrefixLength(const char* bytes, qsizetype length, qsizetype maxBytes) {
    qsizetype i = 0;
    while (i < length) {
        const bool lead = isCp932LeadByte(static_cast<unsigned char>(bytes[i]));
        const qsizetype width = lead && i + 1 < length ? 2 : 1;
        if (i + width > maxBytes) break;
        i += width;
    }
    return i;
}

void setFixedField(char* field, int size, const QString& value, bool withNul) {
    if (!field || size <= 0) return;
    std::memset(field, ' ', static_cast<size_t>(size));
    const QByteArray bytes = toCp932Lossy(value);
    const qsizetype n = cp932PrefixLength(bytes.constData(), bytes.size(), size);
    std::memcpy(field, bytes.constData(), static_cast<size_t>(n));
    if (withNul && n < size) field[n] = '\0';
}

QString readFixedField(const char* field, int size) {
    if (!field || size <= 0) return QString();
    const char* end = static_cast<const char*>(std::memchr(field, '\0', static_cast<size_t>(size)));
    qsizetype n = end ? end - field : size;
    // A blank is never the second byte of a double-byte character, so the
    // trailing blanks can be cut byte by byte.
    while (n > 0 && field[n - 1] == ' ') --n;
    return fromCp932(QByteArray(field, n));
}

}  // namespace vakuro
