// Code page 932 (Shift-JIS) conversions for the engine, through iconv.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pavrex {

// Decodes code page 932 bytes to Unicode code points. Returns nothing when
// the bytes are not a valid code page 932 sequence.
std::optional<std::u32string> decodeCp932(std::string_view bytes);

// Encodes UTF-8 text to code page 932. Returns nothing when the text holds a
// character that code page 932 cannot represent (or is not valid UTF-8).
std::optional<std::string> encodeCp932(std::string_view utf8);

// Decodes code page 932 bytes to UTF-8; nothing when they are invalid.
std::optional<std::string> cp932ToUtf8(std::string_view bytes);

// Stores a value in a fixed-width string field of the style record:
// left-aligned, cut at the field width, blank-filled; with withNul the value
// is followed by one NUL byte (when it fits) before the blanks.
void setFixedField(std::span<char> field, std::string_view cp932Value, bool withNul);

// Reads a NUL-terminated field without ever reading past its end: the value
// ends at the first NUL or at the field width.
std::string_view readNulField(std::span<const char> field);

}  // namespace pavrex
