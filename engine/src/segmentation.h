// Cutting code page 932 text into glyphs, with the marks that change their
// placement in vertical writing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pavrex {

struct GlyphText {
    std::string bytes;        // 1 or 2 code page 932 bytes
    bool smallKana = false;   // small kana: shifted right in vertical writing
    bool turned = false;      // dash or long-vowel mark turned a quarter in vertical writing
};

// True for a byte that is a glyph on its own: ASCII letters, digits,
// punctuation and blanks, and half-width katakana and punctuation (0xA1-0xDF).
bool isSingleByteGlyph(unsigned char b);

// Cuts text into glyphs from the left. A half-width glyph followed by a
// half-width voiced or semi-voiced mark (0xDE, 0xDF) takes the mark with it.
// A lead byte with no trail byte (the last byte of the text) stands alone.
// Turn marks are set only when rotateDashes >= 1.
std::vector<GlyphText> segmentText(std::string_view text, int rotateDashes);

}  // namespace pavrex
