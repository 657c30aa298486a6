// Tests of the exported entry points of libPavrex.so with the pinned test
// font (IPAGothic from fonts-ipafont-gothic).
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>

#include "bmp_file.h"
#include "golden.h"
#include "pavrex.h"

namespace fs = std::filesystem;

namespace {

// Code page 932 bytes of the test texts.
const char* const kSomoro = "\x83\x5C\x83\x82\x83\x8D";              // ソモロ (the second byte of ソ is a backslash)
const char* const kSoDash = "\x83\x5C\x81\x5B";                      // ソー
const char* const kVoicedHalfWidth = "\xB6\xDE\xB7\xDE\xB8\xDE";     // ｶﾞｷﾞｸﾞ
const char* const kFiveGlyphs = "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8";  // あいうえお

PavrexStyle testStyle() {
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    std::strcpy(s.FontName, "IPAGothic");
    s.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) s.CharWidth[i] = s.CharHeight[i] = 100;
    return s;
}

class ImgMakeTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("pavrex_test_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    bmp::BmpImage render(const char* text, const PavrexStyle& style, int quality, const std::string& name) {
        const std::string p = path(name);
        EXPECT_EQ(ImgMake(text, &style, p.c_str(), quality), PAVREX_OK);
        bmp::BmpImage image;
        EXPECT_EQ(bmp::readBmp(p.c_str(), image), bmp::BmpReadStatus::Ok);
        return image;
    }

    fs::path dir_;
};

bool hasInk(const bmp::BmpImage& image, int x0, int x1) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = std::max(0, x0); x < std::min(image.width(), x1); ++x) {
            if (image.pixels[static_cast<size_t>(y) * image.stride() + 3 * x] != 255) return true;
        }
    }
    return false;
}

TEST_F(ImgMakeTest, VersionIs121) { EXPECT_EQ(PavrexVer(0), 121); }

TEST_F(ImgMakeTest, FaceAliasNamesTheInstalledStandIn) {
    char out[40] = "untouched";
    EXPECT_EQ(PavrexFaceAlias("IPAGothic", out, sizeof out), 0);
    EXPECT_STREQ(out, "untouched");
    // "ＭＳ 明朝" in code page 932.
    EXPECT_EQ(PavrexFaceAlias("\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9", out, sizeof out), 1);
    EXPECT_STREQ(out, "IPAMincho");
    char tiny[4];
    EXPECT_EQ(PavrexFaceAlias("\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9", tiny, sizeof tiny), 1);
    EXPECT_STREQ(tiny, "IPA");
}

TEST_F(ImgMakeTest, WritesTheBmpHeaderOfTheConvention) {
    const PavrexStyle style = testStyle();
    const auto image = render(kSomoro, style, 0, "a.bmp");
    const auto& h = image.header;
    EXPECT_EQ(h.bytes[0], 'B');
    EXPECT_EQ(h.bytes[1], 'M');
    EXPECT_EQ(h.dataOffset(), 54);
    EXPECT_EQ(h.infoSize(), 40);
    EXPECT_EQ(h.bitCount(), 24);
    EXPECT_EQ(h.compression(), 0);
    EXPECT_EQ(image.width() % 4, 0);
    EXPECT_EQ(h.fileSize(), 54 + image.height() * image.stride());
    EXPECT_EQ(fs::file_size(path("a.bmp")), static_cast<uintmax_t>(h.fileSize()));
    for (int i = 34; i < 54; ++i) EXPECT_EQ(h.bytes[i], 0) << i;
    // Default style, three full-width glyphs: IPAGothic's cell of 96 pixels
    // is 89.2 pixels per em, so each advances 89. Margin 29,
    // W = 4 * ((9 + 58 + 267 + 3) / 4), H = 29 + 105.
    EXPECT_EQ(image.width(), 336);
    EXPECT_EQ(image.height(), 134);
}

TEST_F(ImgMakeTest, TextOf255BytesRendersAnd256IsRefused) {
    const PavrexStyle style = testStyle();
    const std::string ok(255, 'i');
    EXPECT_EQ(ImgMake(ok.c_str(), &style, path("ok.bmp").c_str(), 0), PAVREX_OK);
    EXPECT_TRUE(fs::exists(path("ok.bmp")));
    const std::string tooLong(256, 'i');
    EXPECT_EQ(ImgMake(tooLong.c_str(), &style, path("long.bmp").c_str(), 0), PAVREX_TEXT_TOO_LONG);
    EXPECT_FALSE(fs::exists(path("long.bmp")));
}

TEST_F(ImgMakeTest, NullArgumentsAreRefused) {
    const PavrexStyle style = testStyle();
    EXPECT_EQ(ImgMake(nullptr, &style, path("x.bmp").c_str(), 0), PAVREX_BAD_ARGUMENT);
    EXPECT_EQ(ImgMake("A", nullptr, path("x.bmp").c_str(), 0), PAVREX_BAD_ARGUMENT);
    EXPECT_EQ(ImgMake("A", &style, nullptr, 0), PAVREX_BAD_ARGUMENT);
}

TEST_F(ImgMakeTest, UncreatableOutputReportsFailure) {
    const PavrexStyle style = testStyle();
    EXPECT_EQ(ImgMake("A", &style, path("no/such/folder/x.bmp").c_str(), 0), PAVREX_WRITE_FAILED);
}

TEST_F(ImgMakeTest, FailedWriteKeepsThePreviousFileAndLeavesNoPartialOne) {
    const PavrexStyle style = testStyle();
    const std::string target = path("keep.bmp");
    std::ofstream(target) << "previous picture";
    // Let writes fail part-way with EFBIG instead of a signal.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const int result = ImgMake(kSomoro, &style, target.c_str(), 0);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, PAVREX_WRITE_FAILED);
    std::ifstream in(target);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "previous picture");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1) << "no temporary file left";
}

TEST_F(ImgMakeTest, SelectedGlyphKeepsTheWholeCanvasAndReportsItsColumns) {
    const PavrexStyle style = testStyle();
    const auto whole = render(kFiveGlyphs, style, 0, "whole.bmp");
    int start = -1, end = -1;
    ASSERT_EQ(ImgMake2(kFiveGlyphs, &style, path("third.bmp").c_str(), 0, 2, &start, &end), PAVREX_OK);
    bmp::BmpImage third;
    ASSERT_EQ(bmp::readBmp(path("third.bmp").c_str(), third), bmp::BmpReadStatus::Ok);
    EXPECT_EQ(third.width(), whole.width());
    EXPECT_EQ(third.height(), whole.height());
    // Glyph boxes are 89 wide from the margin 29: the third starts at 29 + 178.
    EXPECT_EQ(start, 207);
    EXPECT_EQ(end, 207 + 89);
    EXPECT_TRUE(hasInk(third, start, end));
    EXPECT_FALSE(hasInk(third, 0, start));
    EXPECT_FALSE(hasInk(third, end, third.width()));

    // Without a selection the extent pointers are not touched.
    start = end = -7;
    ASSERT_EQ(ImgMake2(kFiveGlyphs, &style, path("all.bmp").c_str(), 0, -1, &start, &end), PAVREX_OK);
    EXPECT_EQ(start, -7);
    EXPECT_EQ(end, -7);
    // A selection past the last glyph draws nothing and reports zeros.
    ASSERT_EQ(ImgMake2(kFiveGlyphs, &style, path("none.bmp").c_str(), 0, 9, &start, &end), PAVREX_OK);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 0);
}

TEST_F(ImgMakeTest, HalfWidthKanaWithVoicedMarkIsOneGlyph) {
    const PavrexStyle style = testStyle();
    int start = 0, end = 0;
    ASSERT_EQ(ImgMake2(kVoicedHalfWidth, &style, path("g.bmp").c_str(), 0, 2, &start, &end), PAVREX_OK);
    bmp::BmpImage image;
    ASSERT_EQ(bmp::readBmp(path("g.bmp").c_str(), image), bmp::BmpReadStatus::Ok);
    EXPECT_TRUE(hasInk(image, start, end)) << "three glyphs, not six";
    EXPECT_FALSE(hasInk(image, 0, start));
}

TEST_F(ImgMakeTest, Quality101IsQuality1Halved) {
    const PavrexStyle style = testStyle();
    const auto full = render(kSomoro, style, 1, "q1.bmp");
    const auto halved = render(kSomoro, style, 101, "q101.bmp");
    ASSERT_EQ(halved.width(), full.width() / 2);
    ASSERT_EQ(halved.height(), full.height() / 2);
    for (int y = 0; y < halved.height(); ++y) {
        for (int x = 0; x < halved.width(); ++x) {
            for (int c = 0; c < 3; ++c) {
                auto at = [&](int xx, int yy) { return full.pixels[static_cast<size_t>(yy) * full.stride() + 3 * xx + c]; };
                const int mean = (at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1)) / 4;
                ASSERT_EQ(halved.pixels[static_cast<size_t>(y) * halved.stride() + 3 * x + c], mean) << x << "," << y;
            }
        }
    }
}

TEST_F(ImgMakeTest, QualitiesScaleTheCanvas) {
    const PavrexStyle style = testStyle();
    const auto q0 = render(kSomoro, style, 0, "q0.bmp");
    const auto q100 = render(kSomoro, style, 100, "q100.bmp");
    const auto q2 = render(kSomoro, style, 2, "q2.bmp");
    const auto q102 = render(kSomoro, style, 102, "q102.bmp");
    EXPECT_EQ(q100.width(), q0.width() / 2);
    // Margins do not all scale with the resolution, so sizes are near, not exact, multiples.
    EXPECT_NEAR(q2.width(), 4 * q0.width(), 0.1 * 4 * q0.width());
    EXPECT_EQ(q102.width(), q2.width() / 2);
    EXPECT_NEAR(q102.height(), 2 * q0.height(), 0.1 * 2 * q0.height());
    // An undefined quality takes the nearest meaning: 7 renders as 2.
    const auto q7 = render(kSomoro, style, 7, "q7.bmp");
    EXPECT_EQ(q7.pixels, q2.pixels);
}

TEST_F(ImgMakeTest, FaceNameWithoutNulIsReadOnlyWithinItsField) {
    PavrexStyle style = testStyle();
    std::memset(style.FontName, 'x', sizeof style.FontName);
    std::memcpy(style.FontName, "IPAGothic", 9);
    // 31 bytes are honoured: "IPAGothicxxx..." matches the face IPAGothic
    // over the length of its name.
    const auto noNul = render(kSomoro, style, 0, "nonul.bmp");
    const auto plain = render(kSomoro, testStyle(), 0, "plain.bmp");
    EXPECT_EQ(noNul.pixels, plain.pixels);
}

TEST_F(ImgMakeTest, EmptyTextGivesTheBackgroundOfOneBlank) {
    const PavrexStyle style = testStyle();
    const auto empty = render("", style, 0, "empty.bmp");
    const auto blank = render(" ", style, 0, "blank.bmp");
    EXPECT_EQ(empty.width(), blank.width());
    EXPECT_EQ(empty.height(), blank.height());
    EXPECT_FALSE(hasInk(empty, 0, empty.width()));
}

TEST_F(ImgMakeTest, CallersRecordIsNotChanged) {
    PavrexStyle style = testStyle();
    style.CharWidth[0] = 0;
    style.FillColor1 = 0;
    const PavrexStyle before = style;
    render(kSomoro, style, 1, "r.bmp");
    EXPECT_EQ(std::memcmp(&before, &style, sizeof style), 0);
}

TEST_F(ImgMakeTest, AbsurdSpacingIsRefusedNotAllocated) {
    PavrexStyle style = testStyle();
    style.CharGap[0] = 2000000000;
    EXPECT_EQ(ImgMake(kSomoro, &style, path("huge.bmp").c_str(), 2), PAVREX_CANNOT_RENDER);
    EXPECT_FALSE(fs::exists(path("huge.bmp")));
    style.CharGap[0] = -2000000000;
    EXPECT_EQ(ImgMake(kSomoro, &style, path("tiny.bmp").c_str(), 0), PAVREX_OK) << "a degenerate canvas still renders";
}

// Golden renderings with the pinned font.
TEST_F(ImgMakeTest, GoldenHorizontal) {
    PavrexStyle style = testStyle();
    style.Slant = 15;
    style.SpacingPx = style.Spacing = 4;
    style.CharHeight[1] = 70;
    style.CharOffsetY[1] = 10;
    ASSERT_EQ(ImgMake(kSomoro, &style, path("h.bmp").c_str(), 0), PAVREX_OK);
    expectMatchesGolden("horizontal", path("h.bmp"));
}

TEST_F(ImgMakeTest, GoldenVerticalWithTurnedLongVowelMark) {
    PavrexStyle style = testStyle();
    style.Vertical = 1;
    style.RotateDashes = 1;
    ASSERT_EQ(ImgMake(kSoDash, &style, path("v.bmp").c_str(), 0), PAVREX_OK);
    expectMatchesGolden("vertical_turned_dash", path("v.bmp"));
    // Drawn upright, the mark looks different.
    style.RotateDashes = 0;
    const auto upright = render(kSoDash, style, 0, "v0.bmp");
    bmp::BmpImage turned;
    ASSERT_EQ(bmp::readBmp(path("v.bmp").c_str(), turned), bmp::BmpReadStatus::Ok);
    EXPECT_NE(upright.pixels, turned.pixels);
}

TEST_F(ImgMakeTest, GoldenVoicedHalfWidthKana) {
    const PavrexStyle style = testStyle();
    ASSERT_EQ(ImgMake(kVoicedHalfWidth, &style, path("k.bmp").c_str(), 0), PAVREX_OK);
    expectMatchesGolden("voiced_half_width", path("k.bmp"));
}

TEST_F(ImgMakeTest, GoldenHalvedQuality) {
    const PavrexStyle style = testStyle();
    ASSERT_EQ(ImgMake(kSomoro, &style, path("q.bmp").c_str(), 101), PAVREX_OK);
    expectMatchesGolden("quality_101", path("q.bmp"));
}

}  // namespace

// A gallery of styles that together use every fill type, shadow and glow,
// shallow and deep relief with gloss and reflection, every outline style and
// vertical writing, each kept as a golden image.
namespace gallery {

const char* const kTwoKanji = "\x95\xB6\x8E\x9A";  // 文字

// A 160 x 40 texture of diagonal stripes, and a wide two-colour pattern.
void writeTexture(const std::string& path, int w, int h, bool stripes) {
    const int stride = bmp::rowStride(24, w);
    std::vector<uint8_t> px(static_cast<size_t>(stride) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = px.data() + static_cast<size_t>(y) * stride + 3 * x;
            if (stripes) {
                const bool band = ((x + y) / 8) % 2 == 0;
                p[0] = band ? 40 : 10;
                p[1] = band ? 180 : 120;
                p[2] = band ? 250 : 200;
            } else {
                const int t = 255 * x / (w - 1);
                p[0] = static_cast<uint8_t>(255 - t);
                p[1] = static_cast<uint8_t>(((x / 6) % 2) ? 60 : 110);
                p[2] = static_cast<uint8_t>(t);
            }
        }
    ASSERT_TRUE(bmp::writeBmp(path.c_str(), bmp::makeHeader24(w, h), {}, px));
}

struct Look {
    const char* name;
    void (*apply)(PavrexStyle&);
};

const Look kLooks[] = {
    {"gradient_shadow_outline", [](PavrexStyle& s) {
         s.FillType = 1;
         s.FillColor1 = PAVREX_RGB(255, 80, 40);
         s.FillColor2 = PAVREX_RGB(255, 220, 40);
         s.OutlineStyle = 1;
         s.OutlineWidth = 1;
         s.OutlineColor1 = PAVREX_RGB(90, 20, 10);
     }},
    {"three_colours_glow", [](PavrexStyle& s) {
         s.FillType = 2;
         s.FillColor1 = PAVREX_RGB(255, 255, 255);
         s.FillColor2 = PAVREX_RGB(120, 220, 255);
         s.FillColor3 = PAVREX_RGB(255, 255, 255);
         s.ShadowType = 2;
         s.ShadowColor = PAVREX_RGB(40, 120, 255);
         s.ShadowDistance = 0;
         s.ShadowSpread = 3;
         s.ShadowBlur = 4;
         s.BackColor = PAVREX_RGB(10, 20, 60);
     }},
    {"vertical_gradient_shallow_relief", [](PavrexStyle& s) {
         s.FillType = 3;
         s.FillColor1 = PAVREX_RGB(250, 250, 120);
         s.FillColor2 = PAVREX_RGB(230, 60, 20);
         s.ReliefDepth = 1;
         s.ShadowBlur = 0;
     }},
    {"deep_relief_gloss_reflection", [](PavrexStyle& s) {
         s.FillType = 4;
         s.FillColor1 = PAVREX_RGB(200, 230, 255);
         s.FillColor2 = PAVREX_RGB(60, 110, 220);
         s.FillColor3 = PAVREX_RGB(20, 30, 120);
         s.ReliefDepth = 10;
         s.ReliefGloss = 8;
         s.ReliefReflection = 8;
         s.OutlineStyle = 2;
         s.OutlineWidth = 2;
         s.OutlineColor1 = PAVREX_RGB(255, 255, 255);
         s.OutlineColor2 = PAVREX_RGB(255, 200, 0);
     }},
    {"tiled_texture_vertical_outline", [](PavrexStyle& s) {
         s.FillType = 5;
         s.TextureTile = 1;
         s.OutlineStyle = 3;
         s.OutlineWidth = 1;
         s.OutlineColor1 = PAVREX_RGB(255, 0, 0);
         s.OutlineColor2 = PAVREX_RGB(0, 0, 255);
     }},
    {"pattern_vertical_trapezoid", [](PavrexStyle& s) {
         s.FillType = 6;
         s.Vertical = 1;
         s.ReliefOn = 2;
         s.ReliefDepth = 3;
         s.ShadowSpread = 1;
     }},
};

}  // namespace gallery

TEST_F(ImgMakeTest, GoldenGalleryOfStyles) {
    for (const auto& look : gallery::kLooks) {
        SCOPED_TRACE(look.name);
        PavrexStyle style = testStyle();
        look.apply(style);
        if (style.FillType == 5 || style.FillType == 6) {
            const std::string texture = path(std::string(look.name) + "_texture.bmp");
            gallery::writeTexture(texture, style.FillType == 5 ? 160 : 320, 40, style.FillType == 5);
            std::snprintf(style.TextureFile, sizeof style.TextureFile, "%s", texture.c_str());
        }
        const std::string out = path(std::string(look.name) + ".bmp");
        ASSERT_EQ(ImgMake(gallery::kTwoKanji, &style, out.c_str(), 0), PAVREX_OK);
        expectMatchesGolden(look.name, out);
    }
}
