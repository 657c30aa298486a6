#include "segmentation.h"

#include <algorithm>
#include <array>

namespace pavrex {
namespace {

// "ｧｨｩｪｫｬｭｮｯ" in code page 932.
bool isSmallHalfWidthKana(unsigned char b) { return b >= 0xA7 && b <= 0xAF; }

// "ぁぃぅぇぉゃゅょっァィゥェォャョッヮ" in code page 932, as 16-bit codes.
constexpr std::array<unsigned, 18> kSmallKana = {
    0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7, 0x82E1, 0x82E3, 0x82E5, 0x82C1,
    0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8387, 0x8362, 0x838E,
};

constexpr unsigned kLongVowelMark = 0x815B;  // "ー"
constexpr unsigned kFullWidthDash = 0x817C;  // "－"

}  // namespace

bool isSingleByteGlyph(unsigned char b) {
    return b == 0x09 || (b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF);
}

std::vector<GlyphText> segmentText(std::string_view text, int rotateDashes) {
    std::vector<GlyphText> glyphs;
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        size_t length = 1;
        bool smallKana = false;
        bool turned = false;
        if (isSingleByteGlyph(b)) {
            smallKana = isSmallHalfWidthKana(b);
            turned = rotateDashes >= 1 && b == '-';
            if (i + 1 < text.size()) {
                const auto next = static_cast<unsigned char>(text[i + 1]);
                if (next == 0xDE || next == 0xDF) length = 2;
            }
        } else if (i + 1 < text.size()) {
            length = 2;
            const unsigned code = (b << 8) | static_cast<unsigned char>(text[i + 1]);
            smallKana = std::find(kSmallKana.begin(), kSmallKana.end(), code) != kSmallKana.end();
            turned = rotateDashes >= 1 && (code == kLongVowelMark || code == kFullWidthDash);
        }
        glyphs.push_back({std::string(text.substr(i, length)), smallKana, turned});
        i += length;
    }
    return glyphs;
}

}  // namespace pavrex
