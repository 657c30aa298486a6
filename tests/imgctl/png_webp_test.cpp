// RGBAtoPNG and DIBtoWebPAni: the files decoded with libpng's and libwebp's
// own readers.
#include <gtest/gtest.h>
#include <png.h>
#include <webp/demux.h>

#include <cstring>
#include <vector>

#include "imgctl.h"
#include "support.h"

using namespace imgctl_test;

namespace {

struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;  // top-down, r g b a
};

Rgba decodePng(const std::string& path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    Rgba out;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
    image.format = PNG_FORMAT_RGBA;
    out.bytes.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.bytes.data(), 0, nullptr)) return {};
    out.width = int(image.width);
    out.height = int(image.height);
    return out;
}

// The raw IHDR colour type and bit depth.
std::pair<int, int> pngColourTypeAndDepth(const std::string& path) {
    const std::vector<uint8_t> b = readFile(path);
    if (b.size() < 29) return {-1, -1};
    return {b[25], b[24]};
}

struct WebPFrames {
    int width = 0, height = 0, loopCount = -1;
    std::vector<Rgba> frames;
    std::vector<int> timestamps;  // end time of each frame, ms
};

WebPFrames decodeWebP(const std::string& path) {
    const std::vector<uint8_t> file = readFile(path);
    WebPData data{file.data(), file.size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* dec = WebPAnimDecoderNew(&data, &options);
    WebPFrames out;
    if (dec == nullptr) return out;
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(dec, &info);
    out.width = int(info.canvas_width);
    out.height = int(info.canvas_height);
    out.loopCount = int(info.loop_count);
    while (WebPAnimDecoderHasMoreFrames(dec)) {
        uint8_t* buf = nullptr;
        int timestamp = 0;
        if (!WebPAnimDecoderGetNext(dec, &buf, &timestamp)) break;
        Rgba f{out.width, out.height, std::vector<uint8_t>(buf, buf + size_t(out.width) * out.height * 4)};
        out.frames.push_back(std::move(f));
        out.timestamps.push_back(timestamp);
    }
    WebPAnimDecoderDelete(dec);
    return out;
}

// A small picture: a straight-alpha ramp across, colours down.
std::vector<uint8_t> ramp(int w, int h, int stride) {
    std::vector<uint8_t> p(size_t(stride) * h, 0xEE);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* q = &p[size_t(y) * stride + 4 * size_t(x)];
            q[0] = uint8_t(10 * y);
            q[1] = uint8_t(200 - 3 * x);
            q[2] = 77;
            q[3] = uint8_t(x * 255 / (w - 1));
        }
    return p;
}

TEST(Png, WritesRgbaWithStraightAlphaExactly) {
    ScratchDir dir;
    const int w = 9, h = 5, stride = 4 * w + 8;  // a stride wider than the row
    const std::vector<uint8_t> pixels = ramp(w, h, stride);
    const std::string path = dir.file("a.png");
    ASSERT_EQ(RGBAtoPNG(path.c_str(), pixels.data(), w, h, stride), IMGCTL_OK);
    EXPECT_EQ(pngColourTypeAndDepth(path), std::make_pair(6, 8));  // RGBA, 8 bits
    const Rgba d = decodePng(path);
    ASSERT_EQ(d.width, w);
    ASSERT_EQ(d.height, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* want = &pixels[size_t(y) * stride + 4 * size_t(x)];
            const uint8_t* got = &d.bytes[(size_t(y) * w + x) * 4];
            if (want[3] == 0) {
                // Invisible pixels are written as zeros.
                EXPECT_EQ(got[0] | got[1] | got[2] | got[3], 0) << x << "," << y;
            } else {
                EXPECT_EQ(std::vector<uint8_t>(got, got + 4), std::vector<uint8_t>(want, want + 4)) << x << "," << y;
            }
        }
}

TEST(Png, RefusesBadArgumentsAndLeavesNoFile) {
    ScratchDir dir;
    const std::vector<uint8_t> pixels(64, 255);
    const std::string path = dir.file("b.png");
    struct Case {
        const char* path;
        const uint8_t* pixels;
        int w, h, stride;
    } cases[] = {
        {nullptr, pixels.data(), 2, 2, 8}, {"", pixels.data(), 2, 2, 8},      {path.c_str(), nullptr, 2, 2, 8},
        {path.c_str(), pixels.data(), 0, 2, 8}, {path.c_str(), pixels.data(), 2, 0, 8},
        {path.c_str(), pixels.data(), 2, 2, 7}, {path.c_str(), pixels.data(), 32768, 1, 4 * 32768},
    };
    for (const Case& c : cases) EXPECT_EQ(RGBAtoPNG(c.path, c.pixels, c.w, c.h, c.stride), IMGCTL_ERR_ARGUMENT);
    EXPECT_TRUE(dir.entries().empty());
    EXPECT_EQ(RGBAtoPNG(dir.file("missing/c.png").c_str(), pixels.data(), 2, 2, 8), IMGCTL_ERR_WRITE);
}

TEST(Png, IsNoLargerThanPlainAdaptiveFiltering) {
    // A flat picture with a few edges: the writer tries several settings and
    // keeps the smallest, so it never loses to adaptive filtering alone.
    ScratchDir dir;
    const int w = 300, h = 80;
    std::vector<uint8_t> pixels(size_t(w) * h * 4, 0);
    for (int y = 20; y < 60; ++y)
        for (int x = 30; x < 270; ++x) {
            uint8_t* q = &pixels[(size_t(y) * w + x) * 4];
            q[0] = uint8_t(x);
            q[1] = 90;
            q[2] = uint8_t(y * 3);
            q[3] = (x / 7 + y / 5) % 3 == 0 ? 128 : 255;
        }
    const std::string ours = dir.file("ours.png");
    ASSERT_EQ(RGBAtoPNG(ours.c_str(), pixels.data(), w, h, 4 * w), IMGCTL_OK);
    // The same picture through libpng's simplified writer (default settings).
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = w;
    image.height = h;
    image.format = PNG_FORMAT_RGBA;
    const std::string plain = dir.file("plain.png");
    ASSERT_TRUE(png_image_write_to_file(&image, plain.c_str(), 0, pixels.data(), 4 * w, nullptr));
    EXPECT_LE(readFile(ours).size(), readFile(plain).size());
}

int loadFrame(const ScratchDir& dir, const std::string& name, const Picture& p) {
    const std::string path = dir.file(name);
    writeFile(path, bmp24(p));
    return ToDIB(path.c_str());
}

TEST(WebP, FramesDelaysLoopCountAndKeyedAlpha) {
    ScratchDir dir;
    const Color back{250, 240, 230};
    std::vector<int> handles;
    for (int i = 0; i < 3; ++i) {
        Picture p = solid(20, 10, back);
        for (int y = 2; y < 8; ++y)
            for (int x = 2 + 4 * i; x < 8 + 4 * i; ++x) p.at(x, y) = {uint8_t(40 * i), 120, 200};
        handles.push_back(loadFrame(dir, "f" + std::to_string(i) + ".bmp", p));
        ASSERT_NE(handles.back(), 0);
    }
    std::vector<FrameRecord> frames(3);
    const int16_t delays[3] = {5, 20, 0};
    for (int i = 0; i < 3; ++i) {
        frames[size_t(i)].flags = IMGCTL_FRAME_STANDARD | IMGCTL_TRANSPARENT;
        frames[size_t(i)].transparentIndex = uint32_t(back.r | back.g << 8 | back.b << 16);
        frames[size_t(i)].delay = delays[i];
        frames[size_t(i)].dib = handles[size_t(i)];
    }
    GifAnimeHeader header{};
    header.loopCount = 3;
    for (const int quality : {IMGCTL_WEBP_LOSSLESS, 90}) {
        const std::string path = dir.file("a" + std::to_string(quality) + ".webp");
        ASSERT_EQ(DIBtoWebPAni(path.c_str(), frames.data(), 3, &header, quality), IMGCTL_OK);
        const WebPFrames d = decodeWebP(path);
        ASSERT_EQ(d.frames.size(), 3u);
        EXPECT_EQ(d.width, 20);
        EXPECT_EQ(d.height, 10);
        EXPECT_EQ(d.loopCount, 3);
        EXPECT_EQ(d.timestamps, (std::vector<int>{50, 250, 260}));  // a delay of 0 shows 10 ms
        for (int i = 0; i < 3; ++i) {
            const uint8_t* corner = &d.frames[size_t(i)].bytes[0];
            EXPECT_EQ(corner[3], 0) << "background transparent, frame " << i;
            const uint8_t* ink = &d.frames[size_t(i)].bytes[(size_t(4) * 20 + 4 + 4 * i) * 4];
            EXPECT_EQ(ink[3], 255);
            if (quality < 0) {
                EXPECT_EQ(ink[0], 40 * i);
                EXPECT_EQ(ink[1], 120);
                EXPECT_EQ(ink[2], 200);
            } else {
                EXPECT_NEAR(ink[1], 120, 12);
            }
        }
    }
    for (int h : handles) DeleteDIB(h);
}

TEST(WebP, RefusesBadArguments) {
    ScratchDir dir;
    const int h = loadFrame(dir, "f.bmp", solid(4, 4, {1, 2, 3}));
    FrameRecord f{};
    f.dib = h;
    f.delay = 10;
    const std::string path = dir.file("x.webp");
    EXPECT_EQ(DIBtoWebPAni(nullptr, &f, 1, nullptr, -1), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoWebPAni(path.c_str(), nullptr, 1, nullptr, -1), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoWebPAni(path.c_str(), &f, 0, nullptr, -1), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoWebPAni(path.c_str(), &f, 1, nullptr, 101), IMGCTL_ERR_ARGUMENT);
    FrameRecord bad = f;
    bad.delay = -1;
    EXPECT_EQ(DIBtoWebPAni(path.c_str(), &bad, 1, nullptr, -1), IMGCTL_ERR_ARGUMENT);
    bad = f;
    bad.dib = 0;
    EXPECT_EQ(DIBtoWebPAni(path.c_str(), &bad, 1, nullptr, -1), IMGCTL_ERR_HANDLE);
    GifAnimeHeader header{};
    header.loopCount = -1;
    EXPECT_EQ(DIBtoWebPAni(path.c_str(), &f, 1, &header, -1), IMGCTL_ERR_ARGUMENT);
    EXPECT_FALSE(std::filesystem::exists(path));
    DeleteDIB(h);
}

TEST(WebP, RgbaFramesKeepTheirAlpha) {
    // Two 3 x 2 frames: opaque, half, quarter and clear pixels; lossless
    // keeps alpha and colour exactly wherever alpha is not 0.
    ScratchDir dir;
    const std::vector<uint8_t> a = {10, 20, 30, 255, 200, 100, 50, 128, 255, 255, 255, 64,
                                    0,  0,  0,  0,   1,   2,   3,  1,   90,  80,  70,  200};
    std::vector<uint8_t> b = a;
    b[3] = 0;       // the first pixel cleared
    b[4 + 3] = 255;  // the second made opaque
    const RgbaFrame frames[2] = {{a.data(), 3, 2, 12, 7}, {b.data(), 3, 2, 12, 0}};
    GifAnimeHeader header{};
    header.loopCount = 2;
    const std::string path = dir.file("rgba.webp");
    ASSERT_EQ(RGBAtoWebPAni(path.c_str(), frames, 2, &header, IMGCTL_WEBP_LOSSLESS), IMGCTL_OK);
    const WebPFrames d = decodeWebP(path);
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.width, 3);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.loopCount, 2);
    EXPECT_EQ(d.timestamps, (std::vector<int>{70, 80}));
    for (int f = 0; f < 2; ++f) {
        const std::vector<uint8_t>& want = f == 0 ? a : b;
        for (size_t p = 0; p < 6; ++p) {
            const uint8_t* got = &d.frames[size_t(f)].bytes[4 * p];
            EXPECT_EQ(got[3], want[4 * p + 3]) << "frame " << f << " pixel " << p;
            if (want[4 * p + 3] == 0) continue;
            for (int c = 0; c < 3; ++c) EXPECT_EQ(got[c], want[4 * p + size_t(c)]) << "frame " << f << " pixel " << p;
        }
    }
}

TEST(WebP, RgbaFramesRefuseBadArguments) {
    ScratchDir dir;
    const std::vector<uint8_t> px(16, 255);
    const RgbaFrame good{px.data(), 2, 2, 8, 10};
    const std::string path = dir.file("x.webp");
    EXPECT_EQ(RGBAtoWebPAni(nullptr, &good, 1, nullptr, -1), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(RGBAtoWebPAni(path.c_str(), nullptr, 1, nullptr, -1), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(RGBAtoWebPAni(path.c_str(), &good, 0, nullptr, -1), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(RGBAtoWebPAni(path.c_str(), &good, 1, nullptr, 101), IMGCTL_ERR_ARGUMENT);
    const RgbaFrame bad[] = {
        {nullptr, 2, 2, 8, 10}, {px.data(), 0, 2, 8, 10},  {px.data(), 2, 0, 8, 10},
        {px.data(), 2, 2, 7, 10}, {px.data(), 2, 2, 8, -1}, {px.data(), 16384, 1, 65536, 10},
    };
    for (const RgbaFrame& f : bad) EXPECT_EQ(RGBAtoWebPAni(path.c_str(), &f, 1, nullptr, -1), IMGCTL_ERR_ARGUMENT);
    GifAnimeHeader header{};
    header.loopCount = -1;
    EXPECT_EQ(RGBAtoWebPAni(path.c_str(), &good, 1, &header, -1), IMGCTL_ERR_ARGUMENT);
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
