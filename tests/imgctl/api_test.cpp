// The exported functions around handles: loading, reading pixels, copying to
// a caller's buffer, releasing, and the result codes for bad arguments.
#include <gtest/gtest.h>

#include <thread>

#include "imgctl.h"
#include "support.h"

using namespace imgctl_test;

namespace {

// Loads a picture through a BMP file; the handle is released at the end of
// the scope.
class Loaded {
public:
    Loaded(const ScratchDir& dir, const std::vector<uint8_t>& bmp, const std::string& name = "in.bmp") {
        writeFile(dir.file(name), bmp);
        handle = ToDIB(dir.file(name).c_str());
    }
    ~Loaded() {
        if (handle != 0) DeleteDIB(handle);
    }
    int handle = 0;
};

uint32_t rgb32(Color c) { return 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; }
int colorref(Color c) { return c.r | c.g << 8 | c.b << 16; }

}  // namespace

TEST(ImgctlApi, VersionIs100) { EXPECT_EQ(ImgctlVersion(), 100); }

TEST(ImgctlApi, LoadedBitmapReportsSizeAndPixels) {
    ScratchDir dir;
    const Picture p = gradient(7, 5);
    Loaded img(dir, bmp24(p));
    ASSERT_NE(img.handle, 0);
    int w = 0, h = 0, bits = 0;
    ASSERT_EQ(DIBInfo(img.handle, &w, &h, &bits), IMGCTL_OK);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 5);
    EXPECT_EQ(bits, 24);
    EXPECT_EQ(PixelDIB(img.handle, 0, 0), colorref(p.at(0, 0)));
    EXPECT_EQ(PixelDIB(img.handle, 6, 4), colorref(p.at(6, 4)));
    EXPECT_EQ(PixelDIB(img.handle, 3, 1), colorref(p.at(3, 1)));
}

// Copying behaves like drawing at the top-left corner of the surface: the
// overlap is written, the rest of the surface is left alone.
TEST(ImgctlApi, CopiesPixelsIntoACallersBuffer) {
    ScratchDir dir;
    const Picture p = gradient(7, 5);
    Loaded img(dir, bmp24(p));
    struct Case {
        int width, height, strideWords;
    };
    constexpr uint32_t kUntouched = 0x12345678;
    for (const Case c : {Case{7, 5, 7}, Case{10, 8, 12}, Case{3, 2, 3}}) {
        std::vector<uint32_t> buf(size_t(c.strideWords) * size_t(c.height), kUntouched);
        ASSERT_EQ(DIBtoRGB32(img.handle, buf.data(), c.width, c.height, c.strideWords * 4), IMGCTL_OK);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.strideWords; ++x) {
                const uint32_t got = buf[size_t(y) * size_t(c.strideWords) + size_t(x)];
                const bool inside = x < std::min(c.width, 7) && y < std::min(c.height, 5);
                EXPECT_EQ(got, inside ? rgb32(p.at(x, y)) : kUntouched)
                    << c.width << "x" << c.height << " at " << x << "," << y;
            }
    }
}

TEST(ImgctlApi, EightBitFileLoadsAsPaletteBitmap) {
    ScratchDir dir;
    const std::vector<Color> table = {{10, 20, 30}, {250, 0, 5}};
    Loaded img(dir, bmp8(3, 2, table, {1, 0, 1, 0, 0, 1}));
    ASSERT_NE(img.handle, 0);
    int bits = 0;
    ASSERT_EQ(DIBInfo(img.handle, nullptr, nullptr, &bits), IMGCTL_OK);
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(PixelDIB(img.handle, 0, 0), 1);
    EXPECT_EQ(PixelDIB(img.handle, 1, 0), 0);
    uint32_t px[6];
    ASSERT_EQ(DIBtoRGB32(img.handle, px, 3, 2, 12), IMGCTL_OK);
    EXPECT_EQ(px[0], rgb32(table[1]));
    EXPECT_EQ(px[3], rgb32(table[0]));
    EXPECT_EQ(DIBto8Bit(img.handle, 0, 0), IMGCTL_OK);  // already reduced: unchanged
    EXPECT_EQ(PixelDIB(img.handle, 0, 0), 1);
}

// After the reduction PixelDIB gives palette indices, and a picture of few
// colours still shows exactly its colours.
TEST(ImgctlApi, ReductionGivesPaletteIndicesAndKeepsFewColours) {
    ScratchDir dir;
    const Picture p = bands(9, 4, 10);
    Loaded img(dir, bmp24(p));
    ASSERT_EQ(DIBto8Bit(img.handle, 0, 0), IMGCTL_OK);
    int bits = 0;
    DIBInfo(img.handle, nullptr, nullptr, &bits);
    EXPECT_EQ(bits, 8);
    const int index = PixelDIB(img.handle, 0, 0);
    EXPECT_GE(index, 0);
    EXPECT_LT(index, 10);
    std::vector<uint32_t> px(36);
    ASSERT_EQ(DIBtoRGB32(img.handle, px.data(), 9, 4, 36), IMGCTL_OK);
    for (int i = 0; i < 36; ++i) EXPECT_EQ(px[size_t(i)], rgb32(p.pixels[size_t(i)])) << i;
}

// The animation reduces a frame in a worker thread while it makes the next:
// reductions of distinct bitmaps at the same time give exactly what they give
// one after the other, with either method.
TEST(ImgctlApi, ReductionsOfDistinctBitmapsAtTheSameTimeGiveTheSameResults) {
    ScratchDir dir;
    constexpr size_t kThreads = 4;
    const auto reduced = [&](size_t t, int options) {
        Loaded img(dir, readFile(dir.file("p" + std::to_string(t) + ".bmp")), "copy" + std::to_string(t) + ".bmp");
        std::vector<uint32_t> px;
        if (DIBto8Bit(img.handle, 0, options) != IMGCTL_OK) return px;
        int w = 0, h = 0;
        DIBInfo(img.handle, &w, &h, nullptr);
        px.resize(size_t(w) * size_t(h));
        DIBtoRGB32(img.handle, px.data(), w, h, w * 4);
        return px;
    };
    for (size_t t = 0; t < kThreads; ++t)
        writeFile(dir.file("p" + std::to_string(t) + ".bmp"), bmp24(gradient(90 + 13 * int(t), 50 + 7 * int(t))));
    for (const int options : {IMGCTL_QUANT_NEAREST, IMGCTL_QUANT_DITHER}) {
        std::vector<std::vector<uint32_t>> alone(kThreads), together(kThreads);
        for (size_t t = 0; t < kThreads; ++t) alone[t] = reduced(t, options);
        for (int round = 0; round < 2; ++round) {
            std::vector<std::thread> threads;
            for (size_t t = 0; t < kThreads; ++t) threads.emplace_back([&, t] { together[t] = reduced(t, options); });
            for (std::thread& th : threads) th.join();
            for (size_t t = 0; t < kThreads; ++t) {
                ASSERT_FALSE(alone[t].empty());
                EXPECT_EQ(together[t], alone[t]) << "bitmap " << t << ", options " << options << ", round " << round;
            }
        }
    }
}

TEST(ImgctlApi, BrokenOrMissingFilesGiveHandleZero) {
    ScratchDir dir;
    std::vector<uint8_t> truncated = bmp24(gradient(20, 20));
    truncated.resize(truncated.size() / 2);
    writeFile(dir.file("truncated.bmp"), truncated);
    writeFile(dir.file("empty.bmp"), {});
    writeFile(dir.file("text.bmp"), {'h', 'e', 'l', 'l', 'o'});
    for (const char* name : {"truncated.bmp", "empty.bmp", "text.bmp", "missing.bmp"})
        EXPECT_EQ(ToDIB(dir.file(name).c_str()), 0) << name;
    EXPECT_EQ(ToDIB(nullptr), 0);
    EXPECT_EQ(ToDIB(dir.path().c_str()), 0);
}

TEST(ImgctlApi, HandlesAreDistinctAndEndWithDelete) {
    ScratchDir dir;
    writeFile(dir.file("a.bmp"), bmp24(solid(2, 2, {1, 2, 3})));
    const int a = ToDIB(dir.file("a.bmp").c_str());
    const int b = ToDIB(dir.file("a.bmp").c_str());
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(DeleteDIB(a), IMGCTL_OK);
    EXPECT_EQ(DeleteDIB(a), IMGCTL_ERR_HANDLE);
    EXPECT_EQ(PixelDIB(b, 0, 0), 1 | 2 << 8 | 3 << 16);  // the other handle lives on
    EXPECT_EQ(DeleteDIB(b), IMGCTL_OK);
}

TEST(ImgctlApi, EveryFunctionRefusesBadHandles) {
    ScratchDir dir;
    writeFile(dir.file("a.bmp"), bmp24(solid(2, 2, {})));
    const int deleted = ToDIB(dir.file("a.bmp").c_str());
    DeleteDIB(deleted);
    const std::string out = dir.file("out");
    uint32_t px[4];
    GifOptions options{};
    for (int h : {0, -1, deleted, 0x7FFFFFF0}) {
        EXPECT_EQ(DIBto8Bit(h, 0, 0), IMGCTL_ERR_HANDLE);
        EXPECT_EQ(PixelDIB(h, 0, 0), IMGCTL_ERR_HANDLE);
        EXPECT_EQ(DIBInfo(h, nullptr, nullptr, nullptr), IMGCTL_ERR_HANDLE);
        EXPECT_EQ(DIBtoRGB32(h, px, 2, 2, 8), IMGCTL_ERR_HANDLE);
        EXPECT_EQ(DIBtoGIFex(out.c_str(), h, &options), IMGCTL_ERR_HANDLE);
        EXPECT_EQ(DIBtoJPG(out.c_str(), h, 90, 0), IMGCTL_ERR_HANDLE);
        EXPECT_EQ(DeleteDIB(h), IMGCTL_ERR_HANDLE);
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.bmp"});
}

TEST(ImgctlApi, OutOfRangeArgumentsAreRefused) {
    ScratchDir dir;
    Loaded img(dir, bmp24(gradient(4, 3)));
    uint32_t px[16];
    EXPECT_EQ(DIBto8Bit(img.handle, 1, 0), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBto8Bit(img.handle, 257, 0), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBto8Bit(img.handle, 0, 2), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(PixelDIB(img.handle, 4, 0), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(PixelDIB(img.handle, 0, 3), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(PixelDIB(img.handle, -1, 0), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoRGB32(img.handle, nullptr, 4, 3, 16), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoRGB32(img.handle, px, 4, 3, 12), IMGCTL_ERR_ARGUMENT);  // stride < 4 * width
    EXPECT_EQ(DIBtoRGB32(img.handle, px, 4, 3, 18), IMGCTL_ERR_ARGUMENT);  // not whole pixels
    EXPECT_EQ(DIBtoRGB32(img.handle, px, 0, 3, 16), IMGCTL_ERR_ARGUMENT);
    int bits = 0;
    DIBInfo(img.handle, nullptr, nullptr, &bits);
    EXPECT_EQ(bits, 24);  // a refused reduction leaves the bitmap as it was
}
