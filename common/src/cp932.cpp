#include "cp932.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace pavrex {
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

    // Converts the whole input; nothing when any byte cannot be converted.
    std::optional<std::string> convert(std::string_view in) {
        if (!valid()) return std::nullopt;
        std::string out(in.size() * 4 + 16, '\0');
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char* outPtr = out.data();
        size_t outLeft = out.size();
        while (inLeft > 0) {
            if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
                if (errno != E2BIG) return std::nullopt;
                const size_t used = out.size() - outLeft;
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = out.size() - used;
            }
        }
        // Flush any pending shift state; an incomplete sequence fails here too.
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::optional<std::u32string> decodeCp932(std::string_view bytes) {
    Converter conv("UTF-32LE", "CP932");
    auto raw = conv.convert(bytes);
    if (!raw || raw->size() % 4 != 0) return std::nullopt;
    std::u32string result(raw->size() / 4, U'\0');
    for (size_t i = 0; i < result.size(); ++i) {
        const auto* p = reinterpret_cast<const unsigned char*>(raw->data() + 4 * i);
        result[i] = static_cast<char32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
    }
    return result;
}

std::optional<std::string> encodeCp932(std::string_view utf8) {
    Converter conv("CP932", "UTF-8");
    return conv.convert(utf8);
}

std::optional<std::string> cp932ToUtf8(std::string_view bytes) {
    Converter conv("UTF-8", "CP932");
    return conv.convert(bytes);
}

void setFixedField(std::span<char> field, std::string_view cp932Value, bool withNul) {
    std::fill(field.begin(), field.end(), ' ');
    const size_t n = std::min(field.size(), cp932Value.size());
    std::copy_n(cp932Value.begin(), n, field.begin());
    if (withNul && n < field.size()) field[n] = '\0';
}

std::string_view readNulField(std::span<const char> field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return std::string_view(field.data(), static_cast<size_t>(end - field.begin()));
}

}  // namespace pavrex
