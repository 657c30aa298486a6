#include <gtest/gtest.h>

#include <cstring>

#include "pavrex.h"
#include "render.h"

namespace pavrex {
namespace {

TEST(StyleRecord, DefaultsSetExactlyTheFreshStyleFields) {
    PavrexStyle s;
    std::memset(&s, 0x5A, sizeof s);
    PavrexStyleDefaults(&s);
    EXPECT_EQ(s.OutlineWidth, 1);
    EXPECT_EQ(s.BackColor, 0xFFFFFF);
    EXPECT_EQ(s.SpareColor1, 0xFFFFFF);
    EXPECT_EQ(s.SpareColor2, 0xFFFFFF);
    EXPECT_EQ(s.ReliefCurvature, 5);
    EXPECT_EQ(s.ReliefDepth, 5);
    EXPECT_EQ(s.ReliefGloss, 4);
    EXPECT_EQ(s.ReliefOn, 1);
    EXPECT_EQ(s.ShadowBlur, 2);
    EXPECT_EQ(s.ShadowColor, 128 + 256 * 128 + 65536 * 128);
    EXPECT_EQ(s.ShadowDistance, 7);
    EXPECT_EQ(s.SpareDistance, 7);
    EXPECT_EQ(s.ShadowType, 1);
    EXPECT_EQ(s.ThickenX, 3);
    EXPECT_EQ(s.ThickenY, 3);
    EXPECT_EQ(s.FillColor1, 64 + 256 * 192 + 65536 * 192);
    EXPECT_EQ(s.FillColor2, 64 + 256 * 128 + 65536 * 255);
    EXPECT_EQ(s.FillColor3, 128 + 256 * 255 + 65536 * 225);
    // Everything else is zero, strings included.
    PavrexStyle expected{};
    std::memcpy(&expected, &s, sizeof s);
    for (int32_t* f : {&expected.OutlineWidth, &expected.BackColor, &expected.SpareColor1, &expected.SpareColor2,
                       &expected.ReliefCurvature, &expected.ReliefDepth, &expected.ReliefGloss, &expected.ReliefOn,
                       &expected.ShadowBlur, &expected.ShadowColor, &expected.ShadowDistance,
                       &expected.SpareDistance, &expected.ShadowType, &expected.ThickenX, &expected.ThickenY,
                       &expected.FillColor1, &expected.FillColor2, &expected.FillColor3}) {
        *f = 0;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(&expected);
    for (size_t i = 0; i < sizeof expected; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

struct ScaleCase {
    int q;
    int factor;
    int curvature;  // ReliefCurvature 7 after division
};

class PrepareStyleScaling : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(PrepareStyleScaling, ScalesDimensionsAndDividesCurvature) {
    const auto [q, factor, curvature] = GetParam();
    PavrexStyle in;
    PavrexStyleDefaults(&in);
    in.ThickenX = 2;
    in.ThickenY = 3;
    in.OutlineWidth = 4;
    in.ReliefDepth = 5;
    in.ShadowDistance = 6;
    in.ShadowBlur = 1;
    in.ShadowSpread = 8;
    in.SpacingPx = -30;
    in.ReliefCurvature = 7;
    in.CharGap[0] = 9;
    in.Spacing = 11;
    const PavrexStyle out = prepareStyle(in, q);
    EXPECT_EQ(out.ThickenX, 2 * factor);
    EXPECT_EQ(out.ThickenY, 3 * factor);
    EXPECT_EQ(out.OutlineWidth, 4 * factor);
    EXPECT_EQ(out.ReliefDepth, 5 * factor);
    EXPECT_EQ(out.ShadowDistance, 6 * factor);
    EXPECT_EQ(out.ShadowBlur, 1 * factor);
    EXPECT_EQ(out.ShadowSpread, 8 * factor);
    EXPECT_EQ(out.SpacingPx, -30 * factor);
    EXPECT_EQ(out.ReliefCurvature, curvature);
    EXPECT_EQ(out.CharGap[0], 9) << "per-character gaps are internal pixels";
    EXPECT_EQ(out.Spacing, 11) << "only SpacingPx is read";
}

INSTANTIATE_TEST_SUITE_P(Qualities, PrepareStyleScaling,
                         ::testing::Values(ScaleCase{0, 1, 7}, ScaleCase{1, 2, 3}, ScaleCase{2, 4, 1}));

TEST(PrepareStyle, ReplacesZeroPaintColoursButNotTheShadowColour) {
    PavrexStyle in{};
    const PavrexStyle out = prepareStyle(in, 0);
    for (int32_t v : {out.FillColor1, out.FillColor2, out.FillColor3, out.OutlineColor1, out.OutlineColor2,
                      out.BackColor, out.SpareColor1, out.SpareColor2}) {
        EXPECT_EQ(v, 1);
    }
    EXPECT_EQ(out.ShadowColor, 0);
}

TEST(PrepareStyle, ZeroPercentagesReadAsHundredInTheCopyOnly) {
    PavrexStyle in{};
    in.CharWidth[3] = 50;
    in.CharHeight[39] = 70;
    const PavrexStyle out = prepareStyle(in, 0);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(out.CharWidth[i], i == 3 ? 50 : 100);
        EXPECT_EQ(out.CharHeight[i], i == 39 ? 70 : 100);
    }
    EXPECT_EQ(in.CharWidth[0], 0) << "the caller's record is not touched";
}

TEST(Quality, UndefinedValuesTakeTheNearestMeaning) {
    const std::pair<int, int> cases[] = {
        {-5, 0},   {0, 0},    {1, 1},     {2, 2},     {3, 2},     {50, 2},       {51, 100},
        {99, 100}, {100, 100}, {101, 101}, {102, 102}, {103, 102}, {1 << 30, 102}, {INT32_MIN, 0},
    };
    for (auto [in, out] : cases) EXPECT_EQ(normalizeQuality(in), out) << in;
}

}  // namespace
}  // namespace pavrex
