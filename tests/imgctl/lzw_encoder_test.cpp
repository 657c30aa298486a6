// The LZW encoder of the GIF writer: its data, wrapped in a minimal GIF
// built here, is decoded with giflib's own decoder.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <algorithm>

#include "lzw_encoder.h"
#include "support.h"

using namespace imgctl;
using namespace imgctl_test;

namespace {

std::vector<uint8_t> lzwData(const std::vector<uint8_t>& pixels, int minCodeSize,
                             const std::vector<uint8_t>& mayBeTransparent = {}, int transparent = -1,
                             bool keepTablesThatPay = false) {
    LzwImage image;
    image.indices = pixels;
    image.minCodeSize = minCodeSize;
    image.mayBeTransparent = mayBeTransparent;
    image.transparent = transparent;
    image.keepTablesThatPay = keepTablesThatPay;
    std::vector<uint8_t> out;
    appendLzwImageData(image, out);
    return out;
}

// A GIF of one width x height image around the data, with a grey ramp of
// 2^minCodeSize entries as global colour table.
std::vector<uint8_t> wrap(const std::vector<uint8_t>& data, int width, int height, int minCodeSize) {
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    const auto put16 = [&](int v) {
        gif.push_back(uint8_t(v));
        gif.push_back(uint8_t(v >> 8));
    };
    put16(width);
    put16(height);
    gif.insert(gif.end(), {uint8_t(0x80 | (minCodeSize - 1)), 0, 0});
    for (int i = 0; i < (1 << minCodeSize); ++i) gif.insert(gif.end(), {uint8_t(i), uint8_t(i), uint8_t(i)});
    gif.push_back(0x2C);
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    gif.push_back(0);
    gif.insert(gif.end(), data.begin(), data.end());
    gif.push_back(0x3B);
    return gif;
}

// The indices giflib decodes from the data, empty when it refuses them.
std::vector<uint8_t> decoded(const std::vector<uint8_t>& data, int width, int height, int minCodeSize) {
    ScratchDir dir;
    writeFile(dir.file("lzw.gif"), wrap(data, width, height, minCodeSize));
    const DecodedGif gif = decodeGif(dir.file("lzw.gif"));
    if (!gif.ok || gif.frames.size() != 1) return {};
    return gif.frames[0].indices;
}

// The image data giflib's own encoder writes for the pixels: everything
// after the image descriptor up to the trailer.
std::vector<uint8_t> giflibData(const std::vector<uint8_t>& pixels, int width, int height, int minCodeSize) {
    std::vector<uint8_t> file;
    int error = 0;
    GifFileType* gif = EGifOpen(&file, [](GifFileType* g, const GifByteType* data, int len) {
        auto* out = static_cast<std::vector<uint8_t>*>(g->UserData);
        out->insert(out->end(), data, data + len);
        return len;
    }, &error);
    if (gif == nullptr) return {};
    ColorMapObject* map = GifMakeMapObject(1 << minCodeSize, nullptr);
    std::vector<uint8_t> line = pixels;
    bool ok = map != nullptr && EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK &&
              EGifPutLine(gif, line.data(), int(line.size())) == GIF_OK;
    GifFreeMapObject(map);
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    // Signature and screen (13 bytes), global table, image descriptor (10).
    const size_t start = 13 + size_t(3) * (size_t(1) << minCodeSize) + 10;
    if (!ok || file.size() < start + 1) return {};
    return std::vector<uint8_t>(file.begin() + long(start), file.end() - 1);
}

// Deterministic noise of `symbols` indices.
std::vector<uint8_t> noise(size_t n, int symbols, uint32_t seed) {
    std::vector<uint8_t> v(n);
    for (uint8_t& x : v) {
        seed = seed * 1103515245u + 12345u;
        x = uint8_t((seed >> 16) % uint32_t(symbols));
    }
    return v;
}

}  // namespace

// Four pixels of index 0 with code size 2 (clear 4, end 5, first free code
// 6). The encoder writes: clear (3 bits); "0"; "00" as the new code 6;
// "0"; end. Code 8 would be next after the last "0", so the end code takes
// 4 bits. LSB first: 100 000 011 000 | 1010 -> bytes 0x84 0x51.
TEST(LzwEncoder, FourEqualPixelsGiveTheCodesWorkedByHand) {
    EXPECT_EQ(lzwData({0, 0, 0, 0}, 2), (std::vector<uint8_t>{2, 2, 0x84, 0x51, 0}));
}

// Pixels that may be transparent: eight of them with alternating indices 0
// and 1, transparent index 2. Written as one run of 2 the codes are those
// of "22222222": 2, 22 (code 6), 222 (code 7), 22, end; the widths grow to
// 4 bits once code 8 is next. LSB first:
//   100 010 011 111 | 0110 1010 -> 0x94 0x6F 0x05.
TEST(LzwEncoder, PixelsThatMayBeTransparentBecomeOneRun) {
    const std::vector<uint8_t> alternating = {0, 1, 0, 1, 0, 1, 0, 1};
    const std::vector<uint8_t> data = lzwData(alternating, 2, std::vector<uint8_t>(8, 1), 2);
    EXPECT_EQ(data, (std::vector<uint8_t>{2, 3, 0x94, 0x6F, 0x05, 0}));
    EXPECT_EQ(data, lzwData(std::vector<uint8_t>(8, 2), 2));
    EXPECT_EQ(decoded(data, 8, 1, 2), std::vector<uint8_t>(8, 2));
}

// Every case decodes to its pixels: the widths grow to 12 bits, the table
// is cleared when full, the sub-blocks end at 255 bytes, a string followed
// by its own first pixel (abababa) uses the code defined just before.
TEST(LzwEncoder, GiflibDecodesEveryCase) {
    struct Case {
        const char* name;
        int width, height, minCodeSize;
        std::vector<uint8_t> pixels;
    };
    std::vector<uint8_t> ramp(256 * 40);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = uint8_t(i * 7 % 256);
    const Case cases[] = {
        {"one pixel", 1, 1, 2, {3}},
        {"repeat of a string", 7, 1, 2, {0, 1, 0, 1, 0, 1, 0}},
        {"long run", 500, 400, 2, std::vector<uint8_t>(200000, 1)},
        {"noise of 4 indices", 300, 200, 2, noise(60000, 4, 1)},
        {"noise of 256 indices, many clears", 400, 250, 8, noise(100000, 256, 2)},
        {"every index", 256, 40, 8, ramp},
        {"noise of 16 indices", 123, 77, 4, noise(123 * 77, 16, 3)},
    };
    for (const Case& c : cases)
        for (const bool keep : {false, true}) {
            const std::vector<uint8_t> data = lzwData(c.pixels, c.minCodeSize, {}, -1, keep);
            EXPECT_EQ(decoded(data, c.width, c.height, c.minCodeSize), c.pixels) << c.name << ", keep " << keep;
        }
}

// Without pixels free to be transparent the data is giflib's, byte for
// byte: the same parse, the same code widths, the table cleared at the same
// code.
TEST(LzwEncoder, WritesTheSameDataAsGiflib) {
    struct Case {
        const char* name;
        int width, height, minCodeSize;
        std::vector<uint8_t> pixels;
    };
    const Case cases[] = {
        {"noise of 2 indices", 200, 150, 2, noise(30000, 2, 9)},
        {"noise of 256 indices", 300, 200, 8, noise(60000, 256, 10)},
        {"runs", 640, 100, 4, [] {
             std::vector<uint8_t> v(64000);
             for (size_t i = 0; i < v.size(); ++i) v[i] = uint8_t(i / 37 % 16);
             return v;
         }()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lzwData(c.pixels, c.minCodeSize), giflibData(c.pixels, c.width, c.height, c.minCodeSize)) << c.name;
}

// With pixels free to be transparent, each decodes to its own index or to
// the transparent one, and only where it is free to.
TEST(LzwEncoder, FreePixelsDecodeToTheirIndexOrTheTransparentOne) {
    struct Case {
        const char* name;
        int width, height, minCodeSize, transparent;
        std::vector<uint8_t> pixels, free;
    };
    std::vector<uint8_t> runs(20000), runsFree(20000);
    for (size_t i = 0; i < runs.size(); ++i) {
        runs[i] = uint8_t(i / 97 % 5);
        runsFree[i] = (i / 13) % 3 != 0;
    }
    const Case cases[] = {
        {"noise, half free", 250, 200, 4, 15, noise(50000, 15, 4), noise(50000, 2, 5)},
        {"runs, stretches free", 200, 100, 3, 5, runs, runsFree},
        {"all free, 255 indices", 300, 300, 8, 255, noise(90000, 255, 6), std::vector<uint8_t>(90000, 1)},
        {"transparent pixels among them", 100, 50, 2, 3, noise(5000, 4, 7), noise(5000, 2, 8)},
    };
    for (const Case& c : cases)
        for (const bool keep : {false, true}) {
            const std::vector<uint8_t> data = lzwData(c.pixels, c.minCodeSize, c.free, c.transparent, keep);
            const std::vector<uint8_t> got = decoded(data, c.width, c.height, c.minCodeSize);
            ASSERT_EQ(got.size(), c.pixels.size()) << c.name;
            size_t mismatches = 0, madeTransparent = 0;
            for (size_t i = 0; i < got.size(); ++i) {
                if (got[i] == c.pixels[i]) continue;
                if (c.free[i] != 0 && got[i] == c.transparent)
                    ++madeTransparent;
                else
                    ++mismatches;
            }
            EXPECT_EQ(mismatches, 0u) << c.name << ", keep " << keep;
            EXPECT_GT(madeTransparent, 0u) << c.name << ", keep " << keep;
        }
}

// A picture whose rows all repeat one row of noise: once the table has
// learnt the row, keeping it spends far fewer bits than learning the row
// again after every clear; the data still decodes to the picture.
TEST(LzwEncoder, TableThatKeepsPayingIsKept) {
    const std::vector<uint8_t> row = noise(500, 16, 11);
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 400; ++y) pixels.insert(pixels.end(), row.begin(), row.end());
    const std::vector<uint8_t> cleared = lzwData(pixels, 4), kept = lzwData(pixels, 4, {}, -1, true);
    EXPECT_LT(double(kept.size()), 0.75 * double(cleared.size()));
    EXPECT_EQ(decoded(kept, 500, 400, 4), pixels);
}

// Where the picture changes all the time a kept table would not pay: the
// data comes out as when every full table is cleared.
TEST(LzwEncoder, TableThatStopsPayingIsCleared) {
    const std::vector<uint8_t> pixels = noise(200000, 256, 12);
    EXPECT_EQ(lzwData(pixels, 8, {}, -1, true), lzwData(pixels, 8));
}

TEST(LzwEncoder, CodeSizeFitsTheIndices) {
    struct Case {
        int entries, bits;
    };
    for (const Case c : {Case{1, 2}, Case{2, 2}, Case{4, 2}, Case{5, 3}, Case{16, 4}, Case{17, 5}, Case{129, 8},
                         Case{256, 8}})
        EXPECT_EQ(lzwCodeSizeFor(c.entries), c.bits) << c.entries;
}
