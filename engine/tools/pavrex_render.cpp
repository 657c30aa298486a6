// pavrex_render: renders one line of text with the engine into a BMP file.
//
//   pavrex_render TEXT OUT.bmp [QUALITY] [FACE] [vertical] [FIELD=VALUE ...]
//
// TEXT and FACE are UTF-8; the style is the program's default style. Each
// FIELD=VALUE sets a numeric field of the style record by its name; a table
// field takes an index (CharHeight[3]=150) or a star for all 40 entries
// (CharHeight[*]=150). The time the engine took goes to standard error, so
// the tool also serves to try damaged or extreme styles by hand.
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "cp932.h"
#include "pavrex.h"

namespace {

struct NumericField {
    const char* name;
    size_t offset;
    int count;  // 1 for a single value, 40 for a per-character table
};

#define PAVREX_FIELD(name) {#name, offsetof(PavrexStyle, name), 1}
#define PAVREX_TABLE(name) {#name, offsetof(PavrexStyle, name), 40}

constexpr NumericField kFields[] = {
    PAVREX_FIELD(FillType),       PAVREX_FIELD(FillColor1),      PAVREX_FIELD(FillColor2),
    PAVREX_FIELD(FillColor3),     PAVREX_FIELD(ThickenX),        PAVREX_FIELD(ThickenY),
    PAVREX_FIELD(OutlineWidth),   PAVREX_FIELD(OutlineStyle),    PAVREX_FIELD(OutlineColor1),
    PAVREX_FIELD(OutlineColor2),  PAVREX_FIELD(ReliefOn),        PAVREX_FIELD(ReliefDepth),
    PAVREX_FIELD(ReliefCurvature), PAVREX_FIELD(ReliefGloss),    PAVREX_FIELD(ShadowType),
    PAVREX_FIELD(ShadowColor),    PAVREX_FIELD(ShadowDistance),  PAVREX_FIELD(ShadowBlur),
    PAVREX_FIELD(BackColor),      PAVREX_FIELD(Slant),           PAVREX_FIELD(TextureTile),
    PAVREX_FIELD(ShadowSpread),   PAVREX_FIELD(Vertical),        PAVREX_FIELD(ReliefReflection),
    PAVREX_TABLE(CharGap),        PAVREX_TABLE(CharWidth),       PAVREX_TABLE(CharHeight),
    PAVREX_TABLE(CharOffsetX),    PAVREX_TABLE(CharOffsetY),     PAVREX_FIELD(SpacingPx),
    PAVREX_FIELD(RotateDashes),
};

// Applies "Name=value", "Name[i]=value" or "Name[*]=value"; false when the
// name or the index is unknown or the value is no number.
bool setField(PavrexStyle& style, const std::string& setting) {
    const size_t eq = setting.find('=');
    std::string name = setting.substr(0, eq);
    int first = 0, last = 0;
    if (const size_t bracket = name.find('['); bracket != std::string::npos) {
        const std::string index = name.substr(bracket + 1, name.size() - bracket - 2);
        name.resize(bracket);
        if (index == "*") {
            last = 39;
        } else {
            char* end = nullptr;
            first = last = static_cast<int>(std::strtol(index.c_str(), &end, 10));
            if (end == index.c_str() || *end != '\0' || first < 0 || first > 39) return false;
        }
    }
    char* end = nullptr;
    const std::string text = setting.substr(eq + 1);
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (end == text.c_str() || *end != '\0') return false;
    for (const NumericField& f : kFields) {
        if (name != f.name || last >= f.count) continue;
        for (int i = first; i <= last; ++i) {
            const auto v = static_cast<int32_t>(static_cast<uint32_t>(value));
            std::memcpy(reinterpret_cast<char*>(&style) + f.offset + 4 * static_cast<size_t>(i), &v, 4);
        }
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<const char*> positional;
    std::vector<std::string> settings;
    for (int i = 1; i < argc; ++i) {
        if (i > 2 && std::strchr(argv[i], '=') != nullptr) {
            settings.emplace_back(argv[i]);
        } else {
            positional.push_back(argv[i]);
        }
    }
    if (positional.size() < 2) {
        std::fprintf(stderr, "usage: %s TEXT OUT.bmp [QUALITY] [FACE] [vertical] [FIELD=VALUE ...]\n", argv[0]);
        return 2;
    }
    const std::optional<std::string> text = cp932::fromUtf8(positional[0]);
    if (!text) {
        std::fprintf(stderr, "the text holds characters that cannot be drawn\n");
        return 2;
    }
    const std::optional<std::string> face = cp932::fromUtf8(positional.size() > 3 ? positional[3] : "IPAGothic");
    if (!face || face->size() >= sizeof(PavrexStyle{}.FontName)) {
        std::fprintf(stderr, "unusable face name\n");
        return 2;
    }
    PavrexStyle style;
    PavrexStyleDefaults(&style);
    std::memcpy(style.FontName, face->c_str(), face->size() + 1);
    style.RotateDashes = 1;
    style.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) style.CharWidth[i] = style.CharHeight[i] = 100;
    style.Vertical = positional.size() > 4 && std::strcmp(positional[4], "vertical") == 0;
    for (const std::string& s : settings) {
        if (!setField(style, s)) {
            std::fprintf(stderr, "unknown field or bad value: %s\n", s.c_str());
            return 2;
        }
    }
    const int quality = positional.size() > 2 ? std::atoi(positional[2]) : 101;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    const int result = ImgMake(text->c_str(), &style, positional[1], quality);
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::fprintf(stderr, "ImgMake: %.3f s (processor %.3f s)\n", took.count(), cpu);
    if (result != PAVREX_OK) {
        std::fprintf(stderr, "rendering failed with code %d\n", result);
        return 1;
    }
    std::printf("%s\n", positional[1]);
    return 0;
}
