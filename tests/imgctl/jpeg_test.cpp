// DIBtoJPG, checked with libjpeg's own decoder.
#include <gtest/gtest.h>

#include "imgctl.h"
#include "support.h"

using namespace imgctl_test;

namespace {

class JpegFixture : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(dir.file("in.bmp"), bmp24(picture));
        handle = ToDIB(dir.file("in.bmp").c_str());
        ASSERT_NE(handle, 0);
    }
    void TearDown() override { DeleteDIB(handle); }

    ScratchDir dir;
    Picture picture = gradient(61, 37);  // sides that are not multiples of the 8 x 8 blocks
    int handle = 0;
};

}  // namespace

TEST_F(JpegFixture, BaselineAndProgressiveDecodeToTheSource) {
    struct Case {
        int quality, progressive;
        double minPsnr;
    };
    for (const Case c : {Case{90, 0, 36.0}, Case{90, 1, 36.0}, Case{30, 0, 28.0}, Case{30, 7, 28.0}}) {
        const std::string path = dir.file("out.jpg");
        ASSERT_EQ(DIBtoJPG(path.c_str(), handle, c.quality, c.progressive), IMGCTL_OK);
        const DecodedJpeg jpg = decodeJpeg(path);
        ASSERT_TRUE(jpg.ok);
        EXPECT_EQ(jpg.width, 61);
        EXPECT_EQ(jpg.height, 37);
        EXPECT_EQ(jpg.progressive, c.progressive != 0);
        EXPECT_GT(psnr(jpg.pixels, picture.pixels), c.minPsnr) << "quality " << c.quality;
    }
}

// libjpeg-turbo 2.1.5 writes a broken baseline file when a compressor that
// wrote a progressive one is reused: every file must come out the same
// whatever was written before it.
TEST_F(JpegFixture, EveryFileIsIndependentOfTheOnesBefore) {
    const std::string baseline = dir.file("baseline.jpg"), progressive = dir.file("progressive.jpg");
    ASSERT_EQ(DIBtoJPG(baseline.c_str(), handle, 90, 0), IMGCTL_OK);
    const std::vector<uint8_t> firstBaseline = readFile(baseline);
    ASSERT_EQ(DIBtoJPG(progressive.c_str(), handle, 90, 1), IMGCTL_OK);
    const std::vector<uint8_t> firstProgressive = readFile(progressive);
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(DIBtoJPG(progressive.c_str(), handle, 90, 1), IMGCTL_OK);
        ASSERT_EQ(DIBtoJPG(baseline.c_str(), handle, 90, 0), IMGCTL_OK);
        EXPECT_EQ(readFile(baseline), firstBaseline);
        EXPECT_EQ(readFile(progressive), firstProgressive);
    }
    EXPECT_FALSE(decodeJpeg(baseline).progressive);
}

TEST_F(JpegFixture, QualityOutsideItsRangeTakesTheNearestEnd) {
    const auto bytesAt = [&](int quality) {
        const std::string path = dir.file("q.jpg");
        EXPECT_EQ(DIBtoJPG(path.c_str(), handle, quality, 0), IMGCTL_OK);
        return readFile(path);
    };
    EXPECT_EQ(bytesAt(0), bytesAt(1));
    EXPECT_EQ(bytesAt(-50), bytesAt(1));
    EXPECT_EQ(bytesAt(1000), bytesAt(100));
    EXPECT_NE(bytesAt(1), bytesAt(100));
}

TEST_F(JpegFixture, ReducedBitmapWritesItsPaletteColours) {
    ASSERT_EQ(DIBto8Bit(handle, 4, IMGCTL_QUANT_NEAREST), IMGCTL_OK);
    std::vector<uint32_t> shown(61 * 37);
    ASSERT_EQ(DIBtoRGB32(handle, shown.data(), 61, 37, 61 * 4), IMGCTL_OK);
    std::vector<Color> expected;
    for (uint32_t v : shown) expected.push_back({uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    ASSERT_EQ(DIBtoJPG(dir.file("out.jpg").c_str(), handle, 95, 0), IMGCTL_OK);
    const DecodedJpeg jpg = decodeJpeg(dir.file("out.jpg"));
    ASSERT_TRUE(jpg.ok);
    EXPECT_GT(psnr(jpg.pixels, expected), 30.0);
    EXPECT_LT(psnr(jpg.pixels, picture.pixels), psnr(jpg.pixels, expected));  // 4 colours, not the source
}

TEST_F(JpegFixture, RefusedCallsWriteNothing) {
    EXPECT_EQ(DIBtoJPG(nullptr, handle, 90, 0), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoJPG("", handle, 90, 0), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoJPG(dir.file("none/out.jpg").c_str(), handle, 90, 0), IMGCTL_ERR_WRITE);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.bmp"});
}
