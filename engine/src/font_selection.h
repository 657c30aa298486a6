// Finding the font file for a face name with fontconfig, trying character
// sets and pitches in a fixed order and keeping the first font whose family
// name matches the request.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pavrex {

struct FontChoice {
    std::string file;        // path of the font file
    int faceIndex = 0;       // face inside a collection
    std::string family;      // the matching family name (UTF-8)
    int attempt = 0;         // 1..7: which try matched (7: fallback, no match test)
};

// The face names that styles and templates made on other systems use,
// mapped to installed faces: returns the replacement, or the name itself.
std::string_view mapFaceAlias(std::string_view cp932Name);

// Match test of tries 1 and 2: the actual name equals the request over the
// length of the actual name (ignoring ASCII case).
bool matchesOverActualLength(std::string_view actual, std::string_view requested);
// Match test of tries 3 to 6: the first 24 bytes are equal (ignoring ASCII case).
bool matchesFirst24(std::string_view actual, std::string_view requested);

// Chooses the font for a code page 932 face name (already cut to 31 bytes).
// Returns nothing only when fontconfig offers no scalable font at all.
std::optional<FontChoice> selectFont(std::string_view cp932Name);

}  // namespace pavrex
