// Code page 932 (Shift-JIS): the encoding of the text and the string fields
// of the style record, of the settings file and of every text the engine
// draws. Conversions go through iconv ("CP932"); every call opens and
// closes its own descriptor, so nothing is shared between calls.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cp932 {

// UTF-8 text in code page 932. Nothing when the text holds a character that
// code page 932 cannot represent (or is not valid UTF-8).
std::optional<std::string> fromUtf8(std::string_view utf8);

// Code page 932 bytes as UTF-8; nothing when they are not a valid sequence.
std::optional<std::string> toUtf8(std::string_view bytes);

// Code page 932 bytes as code points; nothing when they are not a valid
// sequence.
std::optional<std::u32string> decode(std::string_view bytes);

// Code points in code page 932; nothing when any of them cannot be
// represented (a surrogate code point never can).
std::optional<std::string> encode(std::u32string_view text);

// Each code point's bytes in code page 932, or nothing for one that cannot
// be represented.
std::vector<std::optional<std::string>> encodeEach(std::u32string_view text);

// Decodes code page 932 bytes, never failing: every byte that does not
// begin a valid character (a stray trail byte, a lead byte without a valid
// trail byte, the unassigned bytes 0x80, 0xA0, 0xFD-0xFF) becomes U+FFFD;
// decoding then goes on with the next byte.
std::u32string decodeReplacing(std::string_view bytes);

// The number of code page 932 bytes of a code point: 1 for ASCII,
// half-width katakana and the other single-byte characters, 2 for every
// other one, including those that cannot be encoded (they are as wide on
// screen as a double-byte character).
int characterBytes(char32_t c);

// True for a byte that begins a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The length of the longest prefix of bytes that is at most maxBytes long
// and does not end in the middle of a double-byte character.
size_t prefixLength(std::string_view bytes, size_t maxBytes);

// Stores a code page 932 value in a fixed-width string field: left-aligned,
// cut at the field width, blank-filled. A cut that would split a
// double-byte character leaves a blank in place of its first byte. With
// withNul, one NUL byte follows the value when it fits.
void setFixedField(std::span<char> field, std::string_view value, bool withNul);

// Reads a NUL-terminated field without ever reading past its end: the value
// ends at the first NUL or at the field width.
std::string_view readNulField(std::span<const char> field);

// Reads a fixed-width string field: the bytes up to the first NUL or the
// end of the field (never beyond), trailing blanks removed.
std::string_view readFixedField(std::span<const char> field);

}  // namespace cp932
