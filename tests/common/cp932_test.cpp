#include "cp932.h"

#include <gtest/gtest.h>

#include <array>

namespace cp932 {
namespace {

TEST(Cp932, EncodesAndDecodesJapaneseText) {
    const auto bytes = fromUtf8("ソモロEasyｶﾞ");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "\x83\x5C\x83\x82\x83\x8D" "Easy\xB6\xDE");
    EXPECT_EQ(toUtf8(*bytes).value(), "ソモロEasyｶﾞ");
    EXPECT_EQ(decode("\x82\xA0").value(), U"あ");
    EXPECT_EQ(encode(U"ソモロEasyｶﾞ"), bytes);
}

TEST(Cp932, RefusesWhatItCannotRepresent) {
    EXPECT_FALSE(fromUtf8("ü"));                 // not in code page 932
    EXPECT_FALSE(fromUtf8("\xF0\x9F\x98\x80"));  // emoji
    EXPECT_FALSE(fromUtf8("\xFF"));              // not UTF-8
    EXPECT_FALSE(decode("\x82"));                // lead byte without trail byte
    EXPECT_FALSE(encode(U"aü"));
    EXPECT_FALSE(encode(std::u32string(1, char32_t{0xD800})));  // a lone surrogate
}

// Each character on its own: its bytes, or nothing.
TEST(Cp932, EncodesEachCharacterOnItsOwn) {
    const auto each = encodeEach(std::u32string(U"aあü") + char32_t{0xDC00});
    ASSERT_EQ(each.size(), 4u);
    EXPECT_EQ(each[0], "a");
    EXPECT_EQ(each[1], "\x82\xA0");
    EXPECT_FALSE(each[2]);
    EXPECT_FALSE(each[3]);
}

TEST(Cp932, DecodingWithReplacementGoesOnAfterABadByte) {
    EXPECT_EQ(decodeReplacing(""), U"");
    EXPECT_EQ(decodeReplacing("a\x80" "b"), U"a\uFFFDb");
    EXPECT_EQ(decodeReplacing("\x82\xA0\x82"), U"あ\uFFFD");  // a lead byte at the end
    EXPECT_EQ(decodeReplacing(std::string(300, 'x') + "\x82\xA0"), std::u32string(300, U'x') + U"あ");
}

TEST(Cp932, PrefixNeverEndsInsideADoubleByteCharacter) {
    const std::string text = "a\x82\xA0" "b";
    const struct {
        size_t maxBytes;
        size_t length;
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 4}, {10, 4}};
    for (const auto& c : cases) EXPECT_EQ(prefixLength(text, c.maxBytes), c.length) << c.maxBytes;
}

TEST(Cp932, FixedFieldIsBlankFilledWithOptionalNul) {
    std::array<char, 8> field;
    field.fill('x');
    setFixedField(field, "ABC", true);
    EXPECT_EQ(std::string(field.data(), field.size()), std::string("ABC\0    ", 8));
    setFixedField(field, "ABC", false);
    EXPECT_EQ(std::string(field.data(), field.size()), "ABC     ");
    setFixedField(field, "ABCDEFGHIJ", true);
    EXPECT_EQ(std::string(field.data(), field.size()), "ABCDEFGH") << "cut at the field width, no room for NUL";
    std::array<char, 2> narrow;
    setFixedField(narrow, "a\x82\xA0", false);
    EXPECT_EQ(std::string(narrow.data(), narrow.size()), "a ") << "a split double-byte character becomes a blank";
}

TEST(Cp932, NulFieldNeverReadsPastItsEnd) {
    std::array<char, 4> full = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(readNulField(full), "abcd");
    std::array<char, 4> shortValue = {'a', '\0', 'c', 'd'};
    EXPECT_EQ(readNulField(shortValue), "a");
}

TEST(Cp932, FixedFieldReadsWithoutTrailingBlanks) {
    std::array<char, 6> field = {'A', ' ', 'B', ' ', ' ', ' '};
    EXPECT_EQ(readFixedField(field), "A B");
    std::array<char, 6> withNul = {'\x83', '\x5C', ' ', '\0', 'x', 'x'};
    EXPECT_EQ(readFixedField(withNul), "\x83\x5C");
}

}  // namespace
}  // namespace cp932
