// DIBtoGIFex, checked with giflib's own decoder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "imgctl.h"
#include "support.h"

using namespace imgctl_test;

namespace {

int loadReduced(const ScratchDir& dir, const Picture& p) {
    writeFile(dir.file("in.bmp"), bmp24(p));
    const int h = ToDIB(dir.file("in.bmp").c_str());
    EXPECT_NE(h, 0);
    EXPECT_EQ(DIBto8Bit(h, 0, 0), IMGCTL_OK);
    return h;
}

std::vector<Color> shown(const GifFrame& f) {
    std::vector<Color> out;
    for (uint8_t i : f.indices) out.push_back(f.table.at(i));
    return out;
}

}  // namespace

TEST(DibToGif, WritesGif89aThatShowsTheSourceExactly) {
    for (const Picture& p : {bands(37, 23, 200), bands(16, 16, 256), solid(1, 1, {7, 8, 9})}) {
        ScratchDir dir;
        const int h = loadReduced(dir, p);
        ASSERT_EQ(DIBtoGIFex(dir.file("out.gif").c_str(), h, nullptr), IMGCTL_OK);
        const DecodedGif gif = decodeGif(dir.file("out.gif"));
        ASSERT_TRUE(gif.ok) << gif.error;
        EXPECT_EQ(gif.version, "GIF89a");
        EXPECT_EQ(gif.width, p.width);
        EXPECT_EQ(gif.height, p.height);
        EXPECT_TRUE(gif.globalTable);
        ASSERT_EQ(gif.frames.size(), 1u);
        EXPECT_EQ(gif.frames[0].transparent, -1);
        EXPECT_EQ(shown(gif.frames[0]), p.pixels) << p.width << "x" << p.height;
        DeleteDIB(h);
    }
}

TEST(DibToGif, ManyColoursBecomeAtMost256CloseOnes) {
    ScratchDir dir;
    const Picture p = gradient(120, 80);
    const int h = loadReduced(dir, p);
    ASSERT_EQ(DIBtoGIFex(dir.file("out.gif").c_str(), h, nullptr), IMGCTL_OK);
    const DecodedGif gif = decodeGif(dir.file("out.gif"));
    ASSERT_TRUE(gif.ok) << gif.error;
    ASSERT_EQ(gif.frames.size(), 1u);
    EXPECT_LE(gif.frames[0].table.size(), 256u);
    EXPECT_GT(psnr(shown(gif.frames[0]), p.pixels), 34.0);
    DeleteDIB(h);
}

// What file output does: the top-left pixel's palette index becomes the
// transparent colour.
TEST(DibToGif, TopLeftColourBecomesTransparent) {
    ScratchDir dir;
    Picture p = solid(30, 12, {250, 250, 240});
    for (int x = 5; x < 25; ++x) p.at(x, 6) = {200, 0, 0};
    const int h = loadReduced(dir, p);
    const int index = PixelDIB(h, 0, 0);
    const GifOptions options{IMGCTL_TRANSPARENT, index, {0, 0, 0, 0, 0}};
    ASSERT_EQ(DIBtoGIFex(dir.file("out.gif").c_str(), h, &options), IMGCTL_OK);
    const DecodedGif gif = decodeGif(dir.file("out.gif"));
    ASSERT_TRUE(gif.ok) << gif.error;
    const GifFrame& f = gif.frames.at(0);
    EXPECT_EQ(f.transparent, index);
    EXPECT_EQ(f.indices[0], f.transparent);
    EXPECT_EQ(f.table.at(size_t(f.transparent)), (Color{250, 250, 240}));
    EXPECT_EQ(shown(f), p.pixels);
    DeleteDIB(h);
}

TEST(DibToGif, RefusedCallsWriteNothing) {
    ScratchDir dir;
    writeFile(dir.file("in.bmp"), bmp24(bands(8, 8, 4)));
    const int full = ToDIB(dir.file("in.bmp").c_str());
    const int reduced = ToDIB(dir.file("in.bmp").c_str());
    ASSERT_EQ(DIBto8Bit(reduced, 0, 0), IMGCTL_OK);
    const std::string out = dir.file("out.gif");
    const GifOptions outside{IMGCTL_TRANSPARENT, 4, {}};
    const GifOptions negative{IMGCTL_TRANSPARENT, -1, {}};
    EXPECT_EQ(DIBtoGIFex(out.c_str(), full, nullptr), IMGCTL_ERR_NOT_8BIT);
    EXPECT_EQ(DIBtoGIFex(out.c_str(), reduced, &outside), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoGIFex(out.c_str(), reduced, &negative), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoGIFex(nullptr, reduced, nullptr), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoGIFex("", reduced, nullptr), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.bmp"});
    DeleteDIB(full);
    DeleteDIB(reduced);
}

// Writes go through a temporary file: a failed write leaves neither a
// partial file nor a stray temporary, and a successful one replaces the old
// file whole.
TEST(DibToGif, WritesAreAllOrNothing) {
    ScratchDir dir;
    writeFile(dir.file("in.bmp"), bmp24(bands(8, 8, 4)));
    const int h = ToDIB(dir.file("in.bmp").c_str());
    ASSERT_EQ(DIBto8Bit(h, 0, 0), IMGCTL_OK);

    EXPECT_EQ(DIBtoGIFex(dir.file("no/such/folder.gif").c_str(), h, nullptr), IMGCTL_ERR_WRITE);
    ::mkdir(dir.file("taken.gif").c_str(), 0755);
    EXPECT_EQ(DIBtoGIFex(dir.file("taken.gif").c_str(), h, nullptr), IMGCTL_ERR_WRITE);
    EXPECT_EQ(DIBtoGIFex((dir.path().string() + "/").c_str(), h, nullptr), IMGCTL_ERR_WRITE);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"in.bmp", "taken.gif"}));

    writeFile(dir.file("out.gif"), std::vector<uint8_t>(100000, 'x'));
    ASSERT_EQ(DIBtoGIFex(dir.file("out.gif").c_str(), h, nullptr), IMGCTL_OK);
    EXPECT_TRUE(decodeGif(dir.file("out.gif")).ok);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"in.bmp", "out.gif", "taken.gif"}));
    DeleteDIB(h);
}
