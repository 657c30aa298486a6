#include <gtest/gtest.h>

#include "cp932.h"
#include "segmentation.h"

namespace pavrex {
namespace {

std::string sjis(const char* utf8) { return cp932::fromUtf8(utf8).value(); }

struct SegmentCase {
    const char* utf8;
    int rotateDashes;
    std::vector<std::string> glyphs;  // UTF-8 of each glyph
};

TEST(Segmentation, CutsGlyphsAndJoinsVoicedMarks) {
    const SegmentCase cases[] = {
        {"ABC", 0, {"A", "B", "C"}},
        {"漢字", 0, {"漢", "字"}},
        {"ｶﾞｷﾟｸ", 0, {"ｶﾞ", "ｷﾟ", "ｸ"}},
        {"aﾞ", 0, {"aﾞ"}},
        {"が", 0, {"が"}},
        {"1 文-", 1, {"1", " ", "文", "-"}},
    };
    for (const auto& c : cases) {
        const auto glyphs = segmentText(sjis(c.utf8), c.rotateDashes);
        ASSERT_EQ(glyphs.size(), c.glyphs.size()) << c.utf8;
        for (size_t i = 0; i < glyphs.size(); ++i) EXPECT_EQ(glyphs[i].bytes, sjis(c.glyphs[i].c_str())) << c.utf8;
    }
}

TEST(Segmentation, LeadByteAtTheEndStandsAlone) {
    const auto glyphs = segmentText("A\x82", 0);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[1].bytes, "\x82");
}

TEST(Segmentation, ControlBytesStartDoubleByteGlyphs) {
    const auto glyphs = segmentText(std::string("\x01" "AB"), 0);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].bytes, "\x01" "A");
}

TEST(Segmentation, SmallKanaAreExactlyTheListedOnes) {
    const std::string small = "ぁぃぅぇぉゃゅょっァィゥェォャョッヮｧｨｩｪｫｬｭｮｯ";
    for (const auto& g : segmentText(sjis(small.c_str()), 0)) EXPECT_TRUE(g.smallKana) << g.bytes;
    // ュ is not among them, nor are full-size kana.
    for (const auto& g : segmentText(sjis("ュあアｱ"), 0)) EXPECT_FALSE(g.smallKana) << g.bytes;
}

TEST(Segmentation, TurnMarksOnlyWhenDashesRotate) {
    const std::string text = sjis("ー－-一");
    const auto on = segmentText(text, 1);
    const auto off = segmentText(text, 0);
    ASSERT_EQ(on.size(), 4u);
    EXPECT_TRUE(on[0].turned);
    EXPECT_TRUE(on[1].turned);
    EXPECT_TRUE(on[2].turned);
    EXPECT_FALSE(on[3].turned) << "the kanji for one is not a dash";
    for (const auto& g : off) EXPECT_FALSE(g.turned);
}

}  // namespace
}  // namespace pavrex
