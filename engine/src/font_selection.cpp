#include "font_selection.h"

#include <array>
#include <cctype>
#include <memory>

#include <fontconfig/fontconfig.h>

#include "cp932.h"

namespace pavrex {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

enum class MatchRule { OverActualLength, First24, None };

struct FontTry {
    bool japanese;       // Shift-JIS character set: ask for a face covering Japanese
    bool proportional;   // variable pitch
    MatchRule rule;
};

// The seven tries in order: Shift-JIS variable and default pitch, ANSI
// variable and default, symbol, default character set, and a last try whose
// font is used whatever its name (a Japanese face, as the text is Japanese).
constexpr std::array<FontTry, 7> kTries = {{
    {true, true, MatchRule::OverActualLength},
    {true, false, MatchRule::OverActualLength},
    {false, true, MatchRule::First24},
    {false, false, MatchRule::First24},
    {false, false, MatchRule::First24},
    {false, false, MatchRule::First24},
    {true, false, MatchRule::None},
}};

// A face name read back is at most 30 bytes.
constexpr size_t kActualNameLimit = 30;

struct Alias {
    std::string_view from;  // UTF-8
    std::string_view to;    // installed family
};

constexpr std::array<Alias, 6> kAliases = {{
    {"ＭＳ 明朝", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},
    {"ＭＳ ゴシック", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"MS UI Gothic", "IPAPGothic"},
    {"HG正楷書体-PRO", "AoyagiKouzanFontT"},
}};

bool equalIgnoringAsciiCase(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool prefixEqual(std::string_view a, std::string_view b, size_t n) {
    if (a.size() < n || b.size() < n) {
        if (a.size() != b.size()) return false;
        n = a.size();
    }
    for (size_t i = 0; i < n; ++i) {
        if (!equalIgnoringAsciiCase(a[i], b[i])) return false;
    }
    return true;
}

Pattern makeRequest(const std::string& familyUtf8, const FontTry& t) {
    Pattern p(FcPatternCreate());
    if (!p) return p;
    FcPatternAddString(p.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
    FcPatternAddBool(p.get(), FC_SCALABLE, FcTrue);
    if (t.japanese) FcPatternAddString(p.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    if (t.proportional) FcPatternAddInteger(p.get(), FC_SPACING, FC_PROPORTIONAL);
    FcConfigSubstitute(nullptr, p.get(), FcMatchPattern);
    FcDefaultSubstitute(p.get());
    return p;
}

// The first family name of the font that passes the try's test, or the
// first family name at all for the last try.
std::optional<std::string> matchingFamily(FcPattern* font, std::string_view request, MatchRule rule) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        const std::string utf8(reinterpret_cast<const char*>(name));
        if (rule == MatchRule::None) return utf8;
        auto actual = cp932::fromUtf8(utf8);
        if (!actual) continue;
        if (actual->size() > kActualNameLimit) actual->resize(kActualNameLimit);
        const bool ok = rule == MatchRule::OverActualLength ? matchesOverActualLength(*actual, request)
                                                            : matchesFirst24(*actual, request);
        if (ok) return utf8;
    }
    return std::nullopt;
}

}  // namespace

std::string_view mapFaceAlias(std::string_view cp932Name) {
    const auto utf8 = cp932::toUtf8(cp932Name);
    if (!utf8) return cp932Name;
    for (const auto& a : kAliases) {
        if (*utf8 == a.from) return a.to;
    }
    return cp932Name;
}

bool matchesOverActualLength(std::string_view actual, std::string_view requested) {
    if (actual.empty() || requested.size() < actual.size()) return false;
    return prefixEqual(actual, requested, actual.size());
}

bool matchesFirst24(std::string_view actual, std::string_view requested) {
    return prefixEqual(actual, requested, 24);
}

std::optional<FontChoice> selectFont(std::string_view cp932Name) {
    if (!FcInit()) return std::nullopt;
    const std::string request(mapFaceAlias(cp932Name));
    const std::string requestUtf8 = cp932::toUtf8(request).value_or(request);
    for (size_t t = 0; t < kTries.size(); ++t) {
        Pattern pattern = makeRequest(requestUtf8, kTries[t]);
        if (!pattern) return std::nullopt;
        FcResult result = FcResultNoMatch;
        Pattern font(FcFontMatch(nullptr, pattern.get(), &result));
        if (!font) continue;
        auto family = matchingFamily(font.get(), request, kTries[t].rule);
        if (!family) continue;  // the rejected font is released by its holder
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(font.get(), FC_FILE, 0, &file) != FcResultMatch) continue;
        FcPatternGetInteger(font.get(), FC_INDEX, 0, &index);
        return FontChoice{reinterpret_cast<const char*>(file), index, *family, static_cast<int>(t + 1)};
    }
    return std::nullopt;
}

}  // namespace pavrex
