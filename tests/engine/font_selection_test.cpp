#include <gtest/gtest.h>

#include "cp932.h"
#include "font_selection.h"

namespace pavrex {
namespace {

TEST(FontSelection, MatchRules) {
    EXPECT_TRUE(matchesOverActualLength("IPAGothic", "IPAGothic"));
    EXPECT_TRUE(matchesOverActualLength("IPAGothic", "ipagothic"));
    EXPECT_TRUE(matchesOverActualLength("IPA", "IPAGothic")) << "compared over the actual name's length";
    EXPECT_FALSE(matchesOverActualLength("IPAGothic", "IPA"));
    EXPECT_FALSE(matchesOverActualLength("", "IPA"));
    EXPECT_TRUE(matchesFirst24("ABCDEFGHIJKLMNOPQRSTUVWX-one", "ABCDEFGHIJKLMNOPQRSTUVWX-two"));
    EXPECT_FALSE(matchesFirst24("ABCDEFGHIJKLMNOPQRSTUV-one", "ABCDEFGHIJKLMNOPQRSTUV-two"));
    EXPECT_FALSE(matchesFirst24("Short", "Shorter"));
    EXPECT_TRUE(matchesFirst24("Short", "SHORT"));
}

TEST(FontSelection, FindsThePinnedTestFontOnTheFirstTry) {
    const auto choice = selectFont("IPAGothic");
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->attempt, 1);
    EXPECT_TRUE(choice->file.ends_with("/ipag.ttf")) << choice->file;
}

TEST(FontSelection, FindsAFaceByItsJapaneseName) {
    const auto choice = selectFont(cp932::fromUtf8("IPAゴシック").value());
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->attempt, 1);
    EXPECT_TRUE(choice->file.ends_with("/ipag.ttf")) << choice->file;
}

TEST(FontSelection, WindowsFaceNamesMapToInstalledFaces) {
    const std::pair<const char*, const char*> cases[] = {
        {"ＭＳ ゴシック", "/ipag.ttf"},
        {"ＭＳ 明朝", "/ipam.ttf"},
        {"HG正楷書体-PRO", "/AoyagiKouzanT.ttf"},
    };
    for (auto [name, file] : cases) {
        const auto choice = selectFont(cp932::fromUtf8(name).value());
        ASSERT_TRUE(choice) << name;
        EXPECT_TRUE(choice->file.ends_with(file)) << name << " -> " << choice->file;
        EXPECT_EQ(choice->attempt, 1) << name;
    }
}

TEST(FontSelection, UnknownFaceFallsBackToAJapaneseFace) {
    const auto choice = selectFont("No Such Face Anywhere");
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->attempt, 7);
}

}  // namespace
}  // namespace pavrex
