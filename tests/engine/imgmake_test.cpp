// Tests of the exported entry points of libPavrex.so with the pinned test
// font (IPAGothic from fonts-ipafont-gothic).
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>
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

// ImgMeasure gives the size ImgMake writes, for every quality and for the
// styles that change the canvas: margins, vertical text, slant, spacing,
// degenerate and empty ones; it refuses what ImgMake refuses.
TEST_F(ImgMakeTest, MeasureGivesTheSizeImgMakeWrites) {
    struct Case {
        const char* name;
        const char* text;
        void (*adjust)(PavrexStyle&);
    };
    const Case cases[] = {
        {"plain", kSomoro, [](PavrexStyle&) {}},
        {"vertical dash", kSoDash, [](PavrexStyle& s) { s.Vertical = 1; s.RotateDashes = 1; }},
        {"margins", kFiveGlyphs, [](PavrexStyle& s) { s.ThickenX = 7; s.OutlineWidth = 3; s.ShadowType = 1; s.ShadowDistance = 9; s.ShadowBlur = 4; s.ReliefDepth = 5; }},
        {"slant and sizes", kFiveGlyphs, [](PavrexStyle& s) { s.Slant = 30; s.CharWidth[1] = 250; s.CharHeight[3] = 40; s.CharGap[2] = 17; }},
        {"degenerate", kSomoro, [](PavrexStyle& s) { s.ShadowDistance = -1000000; }},
        {"half-width voiced", kVoicedHalfWidth, [](PavrexStyle&) {}},
        {"empty", "", [](PavrexStyle&) {}},
    };
    for (const Case& c : cases) {
        PavrexStyle style = testStyle();
        c.adjust(style);
        for (int quality : {0, 1, 100, 101}) {
            int w = -1, h = -1;
            ASSERT_EQ(ImgMeasure(c.text, &style, quality, &w, &h), PAVREX_OK) << c.name << " q" << quality;
            const bmp::BmpImage image = render(c.text, style, quality, "m.bmp");
            EXPECT_EQ(w, image.width()) << c.name << " q" << quality;
            EXPECT_EQ(h, image.height()) << c.name << " q" << quality;
        }
    }
    PavrexStyle style = testStyle();
    int w = -1, h = -1;
    EXPECT_EQ(ImgMeasure(std::string(256, 'A').c_str(), &style, 0, &w, &h), PAVREX_TEXT_TOO_LONG);
    EXPECT_EQ(ImgMeasure(kSomoro, nullptr, 0, &w, &h), PAVREX_BAD_ARGUMENT);
    EXPECT_EQ(ImgMeasure(kSomoro, &style, 0, nullptr, &h), PAVREX_BAD_ARGUMENT);
    style.CharGap[0] = 2000000000;
    EXPECT_EQ(ImgMeasure(kSomoro, &style, 2, &w, &h), PAVREX_CANNOT_RENDER);
    EXPECT_EQ(w, -1) << "nothing is written on failure";
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

// Property checks of the gallery images, worked out from the rendering
// rules rather than from the images, so that a picture that is wrong but
// stable cannot be approved by its snapshot alone. Rows y count from the
// bottom, as the fills count them; W and H are the image's size.
struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb at(const bmp::BmpImage& image, int x, int y) {
    const uint8_t* p = image.pixels.data() + static_cast<size_t>(y) * image.stride() + 3 * static_cast<size_t>(x);
    return {p[2], p[1], p[0]};
}

int clamp255(int v) { return std::clamp(v, 0, 255); }

// A text pixel with height h: each fill channel + 10 - h, within 0 ... 255.
Rgb composed(Rgb fill, int h) { return {clamp255(fill.r + 10 - h), clamp255(fill.g + 10 - h), clamp255(fill.b + 10 - h)}; }

// The quadratic through (0, a), (0.5, b), (1, c) of the three-colour fills.
int quadratic(int t, int a, int b, int c) {
    const double x = 0.001 * t;
    const int v = static_cast<int>(2 * a * (x - 1) * (x - 0.5) + 4 * b * x * (1 - x) + 2 * c * x * (x - 0.5));
    return v <= 1 ? 1 : v >= 255 ? 255 : v;
}

bool isGrey(Rgb c) { return c.r == c.g && c.g == c.b; }

void expectBackgroundCorners(const bmp::BmpImage& image, Rgb back) {
    const int w = image.width(), h = image.height();
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
        EXPECT_EQ(at(image, x, y), back) << "corner " << x << "," << y;
    }
}

// Fill type 1, orange-red (255, 80, 40) on the left to (255, 220, 40) on the
// right. Text pixels without relief height are the column's fill + 10:
// red 255, blue 50, green trunc((1 - x / W) 80 + (x / W) 220) + 10, rising
// from left to right. The shadow (grey, moved 7 right and 7 down) lies
// below and to the right of the text; the outline is (90, 20, 10).
void checkGradientShadowOutline(const bmp::BmpImage& image) {
    const int w = image.width(), h = image.height();
    expectBackgroundCorners(image, {255, 255, 255});
    int flat = 0, left = w, right = 0, outline = 0;
    long long textX = 0, textY = 0, shadowX = 0, shadowY = 0, text = 0, shadow = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = at(image, x, y);
            if (c.r == 255 && c.b == 50) {
                const double t = double(x) / w;
                ASSERT_EQ(c.g, static_cast<int>((1 - t) * 80 + t * 220) + 10) << x << "," << y;
                ++flat;
                left = std::min(left, x);
                right = std::max(right, x);
            }
            if (c == Rgb{90, 20, 10}) ++outline;
            if (isGrey(c) && c.r < 255) {
                shadowX += x, shadowY += y, ++shadow;
            } else if (!isGrey(c) && !(c == Rgb{90, 20, 10})) {
                textX += x, textY += y, ++text;
            }
        }
    EXPECT_GT(flat, 500);
    EXPECT_LT(left, w / 3);
    EXPECT_GT(right, 2 * w / 3);
    EXPECT_GT(outline, 1000);
    ASSERT_GT(shadow, 0);
    ASSERT_GT(text, 0);
    EXPECT_GT(shadowX * text, textX * shadow);  // the shadow's centre lies to the right
    EXPECT_LT(shadowY * text, textY * shadow);  // and lower
}

// Fill type 2 on a dark blue back (10, 20, 60): white at the left and right
// ends, (120, 220, 255) in the middle. Text pixels without relief height
// are Q(t, ...) + 10 per channel with t = floor(1000 x / W): bluest (lowest
// red) in the middle. The light shadow (glow) adds the shadow colour
// (40, 120, 255) to the back colour in proportion to the share E / 81 of its
// 9 x 9 blur window that the spread text covers: (40 E / 81 + 10,
// 120 E / 81 + 20, min(255 E / 81 + 60, 255)), fully covered (50, 140, 255).
void checkThreeColoursGlow(const bmp::BmpImage& image) {
    const int w = image.width(), h = image.height();
    expectBackgroundCorners(image, {10, 20, 60});
    std::vector<Rgb> glowColours;
    for (int e = 1; e <= 81; ++e) glowColours.push_back({40 * e / 81 + 10, 120 * e / 81 + 20, std::min(255 * e / 81 + 60, 255)});
    int flat = 0, glow = 0, fullGlow = 0, edgeRed = 0, middleRed = 255;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = at(image, x, y);
            const int t = 1000 * x / w;
            const Rgb fill{quadratic(t, 255, 120, 255), quadratic(t, 255, 220, 255), 255};
            if (c == composed(fill, 0) && c.r < 255) {
                ++flat;
                if (std::abs(2 * x - w) < w / 10) middleRed = std::min(middleRed, c.r);
                if (std::abs(2 * x - w) > w / 2) edgeRed = std::max(edgeRed, c.r);
            } else if (std::find(glowColours.begin(), glowColours.end(), c) != glowColours.end()) {
                ++glow;
                fullGlow += c == glowColours.back();
            }
        }
    EXPECT_GT(flat, 500);
    EXPECT_GT(glow, 3000);
    EXPECT_GT(fullGlow, 10);
    EXPECT_LT(middleRed + 40, edgeRed);
}

// Fill type 3, (230, 60, 20) at the bottom rising to (250, 250, 120) at the
// top: row y has t = (y - 0.15 H) / trunc(0.8 H) within 0.00001 ... 1 and
// each channel trunc((1 - t) C2 + t C1). A relief of depth 1 gives no text
// pixel any height, so every text pixel is its row's fill + 10 exactly, and
// the unblurred shadow is the text moved 7 right and 7 down in (128, 128, 128).
void checkVerticalGradientShallowRelief(const bmp::BmpImage& image) {
    const int w = image.width(), h = image.height();
    expectBackgroundCorners(image, {255, 255, 255});
    auto fill = [h](int y) {
        double t = (y - 0.15 * h) / static_cast<int>(0.8 * h);
        if (t <= 0.00001f) t = 0.00001f;
        if (t >= 1) t = 1;
        auto channel = [t](int c1, int c2) { return static_cast<int>((1 - t) * c2 + t * c1); };
        return Rgb{channel(250, 230), channel(250, 60), channel(120, 20)};
    };
    int text = 0, low = h, high = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = at(image, x, y);
            if (isGrey(c)) {
                if (c.r < 255) {
                    ASSERT_EQ(c, (Rgb{128, 128, 128})) << x << "," << y;
                    ASSERT_TRUE(x >= 7 && y + 7 < h && !isGrey(at(image, x - 7, y + 7)))
                        << "shadow without text at " << x << "," << y;
                }
                continue;
            }
            ASSERT_EQ(c, composed(fill(y), 0)) << x << "," << y;
            if (x + 7 < w && y >= 7) {
                const Rgb below = at(image, x + 7, y - 7);
                ASSERT_TRUE(!isGrey(below) || below == (Rgb{128, 128, 128})) << x << "," << y;
            }
            ++text;
            low = std::min(low, y);
            high = std::max(high, y);
        }
    EXPECT_GT(text, 2000);
    // Red-orange at the foot of the text, pale yellow at its head.
    EXPECT_LT(composed(fill(low), 0).b + 60, composed(fill(high), 0).b);
}

// Fill type 4: (20, 30, 120) at the bottom, (60, 110, 220) in the middle,
// (200, 230, 255) at the top; row y has a = floor(1500 y / H) - 250 within
// 0 ... 1000 and each channel Q(a, C3, C2, C1). The relief's height of a
// text pixel is its fill's blue + 10 - its blue. Across the horizontal
// stroke of 字 (rows 77 to 83, 7 pixels high) the heights are the same at
// the same distance from the upper and the lower edge and fall towards the
// middle row; the gloss band lights the middle row near the stroke's right
// end (column 215), where the reflection (rows between half and 85 % of the
// height) makes it almost white.
void checkDeepReliefGlossReflection(const bmp::BmpImage& image) {
    const int h = image.height();
    expectBackgroundCorners(image, {255, 255, 255});
    auto blueFill = [h](int y) { return quadratic(std::clamp(1500 * y / h - 250, 0, 1000), 120, 220, 255); };
    auto height = [&](int x, int y) { return blueFill(y) + 10 - at(image, x, y).b; };
    for (int x = 150; x <= 200; x += 10) {
        SCOPED_TRACE(x);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(height(x, 83 - k), height(x, 77 + k)) << k;
            EXPECT_GT(height(x, 83 - k), height(x, 82 - k)) << k;
        }
        EXPECT_GT(height(x, 80), 0);
        EXPECT_LT(height(x, 80), 25);
    }
    for (int x : {211, 212}) {
        const Rgb c = at(image, x, 80);
        EXPECT_GT(c.r, 200) << x << c;
        EXPECT_EQ(c.g, 255) << x << c;
    }
    EXPECT_LT(at(image, 200, 80).r, 100);
}

// Fill type 5, tiled from the bottom-left corner: the 160 x 40 stripe
// texture's pixel (x mod 160, y mod 40) is (250, 180, 40) where
// floor((x mod 160 + y mod 40) / 8) is even and (200, 120, 10) where it is
// odd. A text pixel without relief height is the texture's colour + 10, so
// each of the two colours may only appear in its own stripes.
void checkTiledTexture(const bmp::BmpImage& image) {
    const int w = image.width(), h = image.height();
    expectBackgroundCorners(image, {255, 255, 255});
    const Rgb even = composed({250, 180, 40}, 0), odd = composed({200, 120, 10}, 0);
    int seen[2] = {0, 0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = at(image, x, y);
            if (!(c == even) && !(c == odd)) continue;
            const bool evenStripe = ((x % 160 + y % 40) / 8) % 2 == 0;
            ASSERT_EQ(c, evenStripe ? even : odd) << x << "," << y;
            ++seen[evenStripe];
        }
    EXPECT_GT(seen[0], 300);
    EXPECT_GT(seen[1], 300);
}

// Fill type 6: the 320 x 40 pattern stretched to the canvas. Shrinking
// samples column floor(x 319 / W) of it, whose colour is red t, green 60 or
// 110 (alternating every 6 columns), blue 255 - t, with t = 255 column / 319:
// blue on the left, red on the right. The trapezoid relief gives every text
// pixel the height 0, 127 (left of an edge) or 20 (d - |dy|) for a pixel
// straight above or below an edge (d = 3), so every coloured pixel is the
// fill + 10 - one of those heights, and every horizontal run of text of four
// or more pixels ends in three pixels of height 127.
void checkPatternTrapezoid(const bmp::BmpImage& image) {
    const int w = image.width(), h = image.height();
    expectBackgroundCorners(image, {255, 255, 255});
    auto fill = [w](int x) {
        const int column = x * 319 / w;
        const int t = 255 * column / 319;
        return Rgb{t, (column / 6) % 2 ? 60 : 110, 255 - t};
    };
    std::vector<int> heights(static_cast<size_t>(w) * h, -1);
    int flat = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = at(image, x, y);
            if (isGrey(c)) continue;
            for (int k : {0, 127, 60, 40, 20})
                if (c == composed(fill(x), k)) {
                    heights[static_cast<size_t>(y) * w + x] = k;
                    break;
                }
            ASSERT_GE(heights[static_cast<size_t>(y) * w + x], 0) << x << "," << y << c;
            flat += heights[static_cast<size_t>(y) * w + x] == 0;
        }
    EXPECT_GT(flat, 500);
    int runs = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w;) {
            if (heights[static_cast<size_t>(y) * w + x] < 0) {
                ++x;
                continue;
            }
            int end = x;
            while (end < w && heights[static_cast<size_t>(y) * w + end] >= 0) ++end;
            if (end - x >= 4) {
                ++runs;
                for (int k = end - 3; k < end; ++k)
                    EXPECT_EQ(heights[static_cast<size_t>(y) * w + k], 127) << k << "," << y;
            }
            x = end;
        }
    EXPECT_GT(runs, 50);
    // Blue on the left, red on the right.
    EXPECT_GT(fill(w / 4).b, fill(3 * w / 4).b);
}

struct Look {
    const char* name;
    void (*apply)(PavrexStyle&);
    void (*check)(const bmp::BmpImage&);
};

const Look kLooks[] = {
    {"gradient_shadow_outline", [](PavrexStyle& s) {
         s.FillType = 1;
         s.FillColor1 = PAVREX_RGB(255, 80, 40);
         s.FillColor2 = PAVREX_RGB(255, 220, 40);
         s.OutlineStyle = 1;
         s.OutlineWidth = 1;
         s.OutlineColor1 = PAVREX_RGB(90, 20, 10);
     },
     checkGradientShadowOutline},
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
     },
     checkThreeColoursGlow},
    {"vertical_gradient_shallow_relief", [](PavrexStyle& s) {
         s.FillType = 3;
         s.FillColor1 = PAVREX_RGB(250, 250, 120);
         s.FillColor2 = PAVREX_RGB(230, 60, 20);
         s.ReliefDepth = 1;
         s.ShadowBlur = 0;
     },
     checkVerticalGradientShallowRelief},
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
     },
     checkDeepReliefGlossReflection},
    {"tiled_texture_vertical_outline", [](PavrexStyle& s) {
         s.FillType = 5;
         s.TextureTile = 1;
         s.OutlineStyle = 3;
         s.OutlineWidth = 1;
         s.OutlineColor1 = PAVREX_RGB(255, 0, 0);
         s.OutlineColor2 = PAVREX_RGB(0, 0, 255);
     },
     checkTiledTexture},
    {"pattern_vertical_trapezoid", [](PavrexStyle& s) {
         s.FillType = 6;
         s.Vertical = 1;
         s.ReliefOn = 2;
         s.ReliefDepth = 3;
         s.ShadowSpread = 1;
     },
     checkPatternTrapezoid},
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
        bmp::BmpImage image;
        ASSERT_EQ(bmp::readBmp(out.c_str(), image), bmp::BmpReadStatus::Ok);
        look.check(image);
        expectMatchesGolden(look.name, out);
    }
}
