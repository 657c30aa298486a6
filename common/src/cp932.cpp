#include "cp932.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace cp932 {
namespace {

// An iconv descriptor that closes itself.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return cd_; }

    // Converts the whole input; nothing when any byte of it cannot be
    // converted. The descriptor is left in its initial state either way.
    std::optional<std::string> convert(std::string_view in) {
        if (!valid()) return std::nullopt;
        reset();
        std::string out(in.size() * 4 + 16, '\0');
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char* outPtr = out.data();
        size_t outLeft = out.size();
        while (inLeft > 0) {
            if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) continue;
            if (errno != E2BIG) {
                reset();
                return std::nullopt;
            }
            const size_t used = out.size() - outLeft;
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
        }
        // Flush any pending shift state; an incomplete sequence fails here too.
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            reset();
            return std::nullopt;
        }
        out.resize(out.size() - outLeft);
        return out;
    }

    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// UTF-32LE bytes of one code point, independent of the host's byte order.
void appendUtf32le(std::string& out, char32_t c) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>((c >> 8) & 0xFF));
    out.push_back(static_cast<char>((c >> 16) & 0xFF));
    out.push_back(static_cast<char>((c >> 24) & 0xFF));
}

char32_t readUtf32le(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return u[0] | (u[1] << 8) | (u[2] << 16) | (static_cast<char32_t>(u[3]) << 24);
}

std::u32string codePoints(std::string_view utf32le) {
    std::u32string result(utf32le.size() / 4, U'\0');
    for (size_t i = 0; i < result.size(); ++i) result[i] = readUtf32le(utf32le.data() + 4 * i);
    return result;
}

}  // namespace

std::optional<std::string> fromUtf8(std::string_view utf8) {
    Converter conv("CP932", "UTF-8");
    return conv.convert(utf8);
}

std::optional<std::string> toUtf8(std::string_view bytes) {
    Converter conv("UTF-8", "CP932");
    return conv.convert(bytes);
}

std::optional<std::u32string> decode(std::string_view bytes) {
    Converter conv("UTF-32LE", "CP932");
    const auto raw = conv.convert(bytes);
    if (!raw || raw->size() % 4 != 0) return std::nullopt;
    return codePoints(*raw);
}

std::optional<std::string> encode(std::u32string_view text) {
    std::string utf32;
    utf32.reserve(text.size() * 4);
    for (char32_t c : text) {
        if (isSurrogate(c)) return std::nullopt;
        appendUtf32le(utf32, c);
    }
    Converter conv("CP932", "UTF-32LE");
    return conv.convert(utf32);
}

std::vector<std::optional<std::string>> encodeEach(std::u32string_view text) {
    std::vector<std::optional<std::string>> result;
    result.reserve(text.size());
    Converter conv("CP932", "UTF-32LE");
    std::string one;
    for (char32_t c : text) {
        if (isSurrogate(c)) {
            result.emplace_back();
            continue;
        }
        one.clear();
        appendUtf32le(one, c);
        result.push_back(conv.convert(one));
    }
    return result;
}

std::u32string decodeReplacing(std::string_view bytes) {
    std::u32string result;
    if (bytes.empty()) return result;
    Converter conv("UTF-32LE", "CP932");
    if (!conv.valid()) return std::u32string(bytes.size(), U'\uFFFD');
    result.reserve(bytes.size());
    std::array<char, 256> buffer{};
    char* inPtr = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t rc = iconv(conv.handle(), &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = rc == static_cast<size_t>(-1) ? errno : 0;
        for (const char* p = buffer.data(); p + 4 <= outPtr; p += 4) result.push_back(readUtf32le(p));
        if (error == 0 || error == E2BIG) continue;
        // An invalid or incomplete sequence: one replacement character for
        // its first byte, then carry on with the next byte.
        result.push_back(U'\uFFFD');
        ++inPtr;
        --inLeft;
        conv.reset();
    }
    return result;
}

int characterBytes(char32_t c) {
    // The only characters that code page 932 holds in one byte: ASCII, the
    // yen sign and overline (which share 0x5C and 0x7E with ASCII) and the
    // half-width katakana block 0xA1-0xDF.
    if (c < 0x80 || c == 0x00A5 || c == 0x203E || (c >= 0xFF61 && c <= 0xFF9F)) return 1;
    return 2;
}

size_t prefixLength(std::string_view bytes, size_t maxBytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const bool lead = isLeadByte(static_cast<unsigned char>(bytes[i]));
        const size_t width = lead && i + 1 < bytes.size() ? 2 : 1;
        if (i + width > maxBytes) break;
        i += width;
    }
    return i;
}

void setFixedField(std::span<char> field, std::string_view value, bool withNul) {
    std::fill(field.begin(), field.end(), ' ');
    const size_t n = prefixLength(value, field.size());
    std::copy_n(value.begin(), n, field.begin());
    if (withNul && n < field.size()) field[n] = '\0';
}

std::string_view readNulField(std::span<const char> field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return std::string_view(field.data(), static_cast<size_t>(end - field.begin()));
}

std::string_view readFixedField(std::span<const char> field) {
    std::string_view value = readNulField(field);
    // A blank is never the second byte of a double-byte character, so the
    // trailing blanks can be cut byte by byte.
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    return value;
}

}  // namespace cp932
