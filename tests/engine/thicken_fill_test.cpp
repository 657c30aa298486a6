#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "bmp_file.h"
#include "reference_steps.h"
#include "step_fixture.h"
#include "steps/gradient.h"

namespace pavrex {
namespace {

using namespace pavrex::testing;
using Rows = std::vector<std::string>;

TEST(Thicken, ZeroAndOneChangeNothing) {
    const Rows glyph = {"........", "..#.....", "...##...", "........", "........", "........", "........",
                        "........"};
    for (int t : {0, 1}) {
        auto c = canvasFrom(glyph);
        c.style.ThickenX = t;
        c.style.ThickenY = t;
        thicken(c);
        EXPECT_EQ(inkPicture(c), glyph) << t;
    }
}

TEST(Thicken, GrowsRightThenDown) {
    auto c = canvasFrom({"..........", "..........", "..........", "..........", "....#.....", "..........",
                         "..........", "..........", "........#."});
    c.style.ThickenX = 3;
    c.style.ThickenY = 3;
    thicken(c);
    // Right by 2; down by 2 from rows 3 ... H - 5 only. The pixel in the
    // last columns (beyond W - t - 1) and the bottom row are not visited.
    EXPECT_EQ(inkPicture(c), (Rows{"..........", "..........", "..........", "..........", "....###...",
                                   "....###...", "....###...", "..........", "........#."}));
}

// Thicknesses up to and beyond the canvas: one sweep per row and column
// gives what painting a run from every source pixel gives.
TEST(Thicken, SweepsEqualTheDirectRuns) {
    unsigned seed = 40;
    for (int t : {2, 3, 9, 40, 97, 1000, INT_MAX}) {
        auto fast = randomCanvas(97, 61, seed++, 0);
        auto direct = fast;
        for (auto* c : {&fast, &direct}) {
            c->style.ThickenX = t;
            c->style.ThickenY = t == 9 ? 30 : t;
        }
        thicken(fast);
        reference::thicken(direct);
        EXPECT_EQ(inkPicture(fast), inkPicture(direct)) << t;
    }
}

TEST(Fill, SingleColourPaintsOnlyInk) {
    auto c = canvasFrom({"#.", ".#"});
    c.style.FillType = 0;
    c.style.FillColor1 = PAVREX_RGB(10, 20, 30);
    fill(c);
    EXPECT_EQ(pixelRgb(c, 0, 1), (Rgb{10, 20, 30}));
    EXPECT_EQ(pixelRgb(c, 1, 0), (Rgb{10, 20, 30}));
    EXPECT_EQ(pixelRgb(c, 1, 1), (Rgb{255, 255, 255}));
}

TEST(Fill, ZeroColourBecomesValueOneAndIsNoLongerInk) {
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    s.FillColor1 = 0;
    auto c = canvasFrom({"#"});
    c.style = prepareStyle(s, 0);
    fill(c);
    EXPECT_EQ(pixelRgb(c, 0, 0), (Rgb{1, 0, 0}));
}

TEST(Gradient, TwoColourColumns) {
    const Rgb c1{200, 0, 100}, c2{0, 200, 101};
    // t = x / 10: x = 5 is halfway; x = 3: 0.7 * 200 = 140, 0.3 * 200 = 60.
    EXPECT_EQ(twoColourColumn(0, 10, c1, c2), c1);
    EXPECT_EQ(twoColourColumn(5, 10, c1, c2), (Rgb{100, 100, 100}));
    EXPECT_EQ(twoColourColumn(3, 10, c1, c2), (Rgb{140, 60, 100}));
}

TEST(Gradient, QuadraticPassesThroughItsThreeColoursAndClamps) {
    EXPECT_EQ(quadratic(0, 30, 90, 200), 30);
    EXPECT_EQ(quadratic(500, 30, 90, 200), 90);
    EXPECT_EQ(quadratic(1000, 30, 90, 200), 200);
    EXPECT_EQ(quadratic(0, 0, 90, 200), 1) << "0 is clamped to 1";
    EXPECT_EQ(quadratic(750, 0, 255, 255), 255) << "overshoot is clamped to 255";
    // x = 0.25: 2a(-0.75)(-0.25) + 4b(0.25)(0.75) + 2c(0.25)(-0.25) with a=100, b=200, c=0.
    EXPECT_EQ(quadratic(250, 100, 200, 0), 187);
}

TEST(Gradient, ThreeColourColumnsUseThousandths) {
    const Rgb c1{10, 10, 10}, c2{100, 100, 100}, c3{250, 250, 250};
    EXPECT_EQ(threeColourColumn(0, 7, c1, c2, c3), c1);
    // x = 3 of 6: t = 500.
    EXPECT_EQ(threeColourColumn(3, 6, c1, c2, c3), c2);
}

TEST(Gradient, VerticalTwoColourFloorAndTop) {
    const Rgb c1{255, 10, 100}, c2{0, 200, 100};
    for (int y = 0; y <= 15; ++y) {
        // trunc(0.99999 * C2 + 0.00001 * C1): green one less where C1 is
        // smaller, red 0, blue 100 or 99 as the floating sum falls.
        const Rgb v = twoColourRow(y, 100, c1, c2);
        EXPECT_EQ(v.r, 0) << y;
        EXPECT_EQ(v.g, 199) << y;
        EXPECT_TRUE(v.b == 100 || v.b == 99) << y;
    }
    for (int y = 95; y < 100; ++y) EXPECT_EQ(twoColourRow(y, 100, c1, c2), c1) << y;
    // Row 55: t = (55 - 15) / 80 = 0.5.
    EXPECT_EQ(twoColourRow(55, 100, c1, c2), (Rgb{127, 105, 100}));
}

TEST(Gradient, VerticalThreeColourFlatSixths) {
    const Rgb c1{250, 0, 9}, c2{100, 100, 100}, c3{20, 255, 200};
    const int H = 120;
    for (int y = 0; y < H / 6; ++y) EXPECT_EQ(threeColourRow(y, H, c1, c2, c3), (Rgb{20, 255, 200})) << y;
    for (int y = 5 * H / 6 + 1; y < H; ++y) EXPECT_EQ(threeColourRow(y, H, c1, c2, c3), (Rgb{250, 1, 9})) << y;
    EXPECT_EQ(threeColourRow(60, H, c1, c2, c3), c2);
}

TEST(Fill, UnknownTypeLeavesInk) {
    auto c = canvasFrom({"#"});
    c.style.FillType = 9;
    fill(c);
    EXPECT_EQ(pixelRgb(c, 0, 0), (Rgb{0, 0, 0}));
}

class TextureFill : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("pavrex_texture_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // A texture whose pixel (x, y) is (x % 256, y, 77) as red, green, blue.
    std::string writeTexture(int w, int h) {
        const std::string path = (dir_ / "tex.bmp").string();
        const int stride = bmp::rowStride(24, w);
        std::vector<uint8_t> pixels(static_cast<size_t>(stride) * h, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = pixels.data() + static_cast<size_t>(y) * stride + 3 * x;
                p[0] = 77;
                p[1] = static_cast<uint8_t>(y);
                p[2] = static_cast<uint8_t>(x % 256);
            }
        EXPECT_TRUE(bmp::writeBmp(path.c_str(), bmp::makeHeader24(w, h), {}, pixels));
        return path;
    }
    void useTexture(RenderContext& c, const std::string& path, int type, int tile) {
        c.style.FillType = type;
        c.style.TextureTile = tile;
        std::snprintf(c.style.TextureFile, sizeof c.style.TextureFile, "%s", path.c_str());
    }

    std::filesystem::path dir_;
};

TEST_F(TextureFill, TiledRepeatsEvery160ColumnsAnd40RowsFromBottomLeft) {
    const std::string path = writeTexture(160, 40);
    auto c = canvasFrom(Rows(90, std::string(500, '#')));
    useTexture(c, path, 5, 1);
    fill(c);
    for (auto [x, y] : {std::pair{0, 0}, {159, 39}, {160, 40}, {333, 85}, {499, 89}}) {
        EXPECT_EQ(pixelRgb(c, x, y), (Rgb{x % 160, y % 40, 77})) << x << "," << y;
    }
}

TEST_F(TextureFill, StretchedZoomsTheFileToTheCanvas) {
    const std::string path = writeTexture(4, 4);
    auto c = canvasFrom(Rows(8, std::string(12, '#')));
    useTexture(c, path, 6, 1);  // type 6 always stretches
    fill(c);
    bmp::BmpImage zoomed;
    ASSERT_EQ(bmp::readBmp(path.c_str(), zoomed), bmp::BmpReadStatus::Ok);
    EXPECT_EQ(zoomed.width(), 12);
    EXPECT_EQ(zoomed.height(), 8);
    // Zoom from 4 x 4 to 12 x 8: SX = 30, SY = 20, capX = 3, capY = 2.
    // (0, 0): sx = sy = 0 and fx = fy = 0, the texture's own (0, 0).
    EXPECT_EQ(pixelRgb(c, 0, 0), (Rgb{0, 0, 77}));
    // (11, 7): sx = 11 * 3 / 12 = 2, fx = 11 - 8 = 3; sy = 3 * 7 / 8 = 2,
    // fy = 7 - 5 = 2: all the weight (w11 = 600) on texture (3, 3).
    EXPECT_EQ(pixelRgb(c, 11, 7), (Rgb{3, 3, 77}));
    // (6, 5): sx = 1, fx = 6 - 4 = 2; sy = 1, fy = 5 - 2 = 3, capped at 2:
    // w01 = 200 on texture (1, 2) and w11 = 400 on (2, 2). Red
    // (200 * 1 + 400 * 2) / 600 = 1.67 truncates to 1; green 2.
    EXPECT_EQ(pixelRgb(c, 6, 5), (Rgb{1, 2, 77}));
}

TEST_F(TextureFill, UnreadableTextureLeavesInkUnpainted) {
    auto c = canvasFrom({"#."});
    useTexture(c, (dir_ / "missing.bmp").string(), 5, 1);
    fill(c);
    EXPECT_EQ(pixelRgb(c, 0, 0), (Rgb{0, 0, 0}));
}

TEST_F(TextureFill, HeaderThatLiesAboutItsSizeIsNotTrusted) {
    const std::string path = writeTexture(160, 40);
    // Claim a texture far larger than the pixel data the file holds.
    {
        std::FILE* f = std::fopen(path.c_str(), "r+b");
        ASSERT_TRUE(f);
        const int32_t width = 100000, height = 3000;
        std::fseek(f, 18, SEEK_SET);
        std::fwrite(&width, 4, 1, f);
        std::fwrite(&height, 4, 1, f);
        std::fclose(f);
    }
    auto c = canvasFrom(Rows(50, std::string(200, '#')));
    useTexture(c, path, 5, 1);
    fill(c);  // no over-read (the sanitizer build checks), ink stays
    EXPECT_EQ(pixelRgb(c, 199, 49), (Rgb{0, 0, 0}));
}

// A texture file that ends before the rows its header declares cannot be
// read (the BMP reader refuses it as truncated rather than inventing the
// missing rows), so, like any unreadable texture, it leaves the ink
// unpainted: nothing is read past the file's end, and no row of it is used.
TEST_F(TextureFill, TextureSmallerThanItsRowsIsNotUsed) {
    const std::string path = writeTexture(160, 40);
    std::filesystem::resize_file(path, 54 + 160 * 3 * 20);  // half the rows are gone
    auto c = canvasFrom(Rows(50, std::string(200, '#')));
    useTexture(c, path, 5, 1);
    fill(c);
    for (auto [x, y] : {std::pair{0, 0}, {5, 3}, {159, 19}, {170, 25}, {199, 49}}) {
        EXPECT_EQ(pixelRgb(c, x, y), (Rgb{0, 0, 0})) << x << "," << y;
    }
}

}  // namespace
}  // namespace pavrex
