#include <gtest/gtest.h>

#include <array>

#include "cp932.h"

namespace pavrex {
namespace {

TEST(Cp932, EncodesAndDecodesJapaneseText) {
    const auto bytes = encodeCp932("ソモロEasyｶﾞ");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "\x83\x5C\x83\x82\x83\x8D" "Easy\xB6\xDE");
    EXPECT_EQ(cp932ToUtf8(*bytes).value(), "ソモロEasyｶﾞ");
    EXPECT_EQ(decodeCp932("\x82\xA0").value(), U"あ");
}

TEST(Cp932, RefusesWhatItCannotRepresent) {
    EXPECT_FALSE(encodeCp932("ü"));           // not in code page 932
    EXPECT_FALSE(encodeCp932("\xF0\x9F\x98\x80"));  // emoji
    EXPECT_FALSE(encodeCp932("\xFF"));        // not UTF-8
    EXPECT_FALSE(decodeCp932("\x82"));        // lead byte without trail byte
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
}

TEST(Cp932, NulFieldNeverReadsPastItsEnd) {
    std::array<char, 4> full = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(readNulField(full), "abcd");
    std::array<char, 4> shortValue = {'a', '\0', 'c', 'd'};
    EXPECT_EQ(readNulField(shortValue), "a");
}

}  // namespace
}  // namespace pavrex
