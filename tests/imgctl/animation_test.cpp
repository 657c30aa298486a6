// DIBtoGIFAniEx, checked with giflib's own decoder and a compositor that
// plays the frames the way browsers do.
#include <gtest/gtest.h>

#include "imgctl.h"
#include "support.h"

using namespace imgctl_test;

namespace {

// Text-like block with a gradient of 96 colours sliding over a plain
// background.
Picture slideFrame(int step) {
    Picture p = solid(64, 24, {30, 60, 200});
    for (int y = 8; y < 16; ++y)
        for (int x = 0; x < 12; ++x) {
            const int cx = step * 3 + x;
            if (cx < 64) p.at(cx, y) = {uint8_t(200 + x), 20, uint8_t(30 + 10 * (y - 8))};
        }
    return p;
}

// The same over a smooth background of more colours than a palette holds,
// so that every frame is quantised on its own and palettes differ.
Picture slideOverGradient(int step) {
    Picture p = gradient(64, 24);
    const Picture text = slideFrame(step);
    for (size_t i = 0; i < p.pixels.size(); ++i)
        if (text.pixels[i] != Color{30, 60, 200}) p.pixels[i] = text.pixels[i];
    return p;
}

// The picture over the gradient faded from the background colour as the
// animation's fade does it: background + (pixel - background) * level / 255.
Picture fadeFrame(int step) {
    const Picture full = slideOverGradient(4);
    const Color bg{30, 60, 200};
    const int level = step * 255 / 15;
    Picture p = full;
    for (Color& c : p.pixels) {
        const auto mix = [&](uint8_t v, uint8_t b) { return uint8_t(((255 - level) * b + level * v) / 255); };
        c = {mix(c.r, bg.r), mix(c.g, bg.g), mix(c.b, bg.b)};
    }
    return p;
}

uint32_t rgb32(Color c) { return 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; }

// Frames loaded and reduced through the library, released at the end.
class FrameTable {
public:
    FrameTable(const ScratchDir& dir, const std::vector<Picture>& pictures, bool transparent,
               const std::vector<int16_t>& delays) {
        for (size_t i = 0; i < pictures.size(); ++i) {
            const std::string path = dir.file("frame" + std::to_string(i) + ".bmp");
            writeFile(path, bmp24(pictures[i]));
            FrameRecord r{};
            r.dib = ToDIB(path.c_str());
            EXPECT_NE(r.dib, 0);
            EXPECT_EQ(DIBto8Bit(r.dib, 0, 0), IMGCTL_OK);
            r.transparentIndex = uint32_t(PixelDIB(r.dib, 0, 0));
            r.flags = transparent ? IMGCTL_FRAME_STANDARD | IMGCTL_TRANSPARENT : IMGCTL_FRAME_STANDARD;
            r.disposal = transparent ? 2 : 0;
            r.delay = delays[i % delays.size()];
            records.push_back(r);
        }
    }
    ~FrameTable() {
        for (const FrameRecord& r : records) DeleteDIB(r.dib);
    }
    int count() const { return int(records.size()); }
    std::vector<FrameRecord> records;
};

GifAnimeHeader header(int16_t loops, uint32_t extraFlags = 0) {
    GifAnimeHeader h{};
    h.flags = IMGCTL_ANIME_HEADER_TAG | extraFlags;
    h.loopCount = loops;
    return h;
}

std::vector<Picture> slide(int frames, Picture (*make)(int) = slideFrame) {
    std::vector<Picture> out;
    for (int i = 0; i < frames; ++i) out.push_back(make(i));
    return out;
}

}  // namespace

TEST(GifAnimation, FramesKeepTheirDelayDisposalAndTransparency) {
    ScratchDir dir;
    for (bool transparent : {false, true}) {
        FrameTable table(dir, slide(3), transparent, {10, 25, 200});
        const GifAnimeHeader h = header(0, IMGCTL_ANIME_NO_OPTIMIZE);
        const std::string path = dir.file("anim.gif");
        ASSERT_EQ(DIBtoGIFAniEx(path.c_str(), table.records.data(), table.count(), &h), IMGCTL_OK);
        const DecodedGif gif = decodeGif(path);
        ASSERT_TRUE(gif.ok) << gif.error;
        EXPECT_EQ(gif.version, "GIF89a");
        EXPECT_FALSE(gif.globalTable);
        EXPECT_EQ(gif.width, 64);
        EXPECT_EQ(gif.height, 24);
        ASSERT_EQ(gif.frames.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            const GifFrame& f = gif.frames[i];
            EXPECT_TRUE(f.localTable);
            EXPECT_LE(f.table.size(), 256u);
            EXPECT_EQ(f.width * f.height, 64 * 24);
            EXPECT_EQ(f.delay, table.records[i].delay);
            EXPECT_EQ(f.disposal, transparent ? 2 : 0);
            if (transparent) {
                EXPECT_EQ(f.transparent, int(table.records[i].transparentIndex));
                EXPECT_EQ(f.indices[0], f.transparent);  // the top-left colour is the transparent one
            } else {
                EXPECT_EQ(f.transparent, -1);
            }
        }
    }
}

// The header's loop count n means "plays n times in all"; browsers read the
// NETSCAPE2.0 field as repetitions after the first play.
TEST(GifAnimation, LoopCountIsWrittenAsBrowsersReadIt) {
    ScratchDir dir;
    FrameTable table(dir, slide(2), false, {10});
    struct Case {
        int16_t loops;
        int field;  // -1: no NETSCAPE2.0 extension
    };
    for (const Case c : {Case{0, 0}, Case{1, -1}, Case{2, 1}, Case{3, 2}, Case{9, 8}, Case{32767, 32766}}) {
        const GifAnimeHeader h = header(c.loops);
        ASSERT_EQ(DIBtoGIFAniEx(dir.file("a.gif").c_str(), table.records.data(), 2, &h), IMGCTL_OK);
        const DecodedGif gif = decodeGif(dir.file("a.gif"));
        ASSERT_TRUE(gif.ok);
        EXPECT_EQ(gif.loopField, c.field) << "loop count " << c.loops;
    }
}

// Rectangle optimisation: the same pictures frame by frame, never more bytes,
// and small frames when only the moving part changes.
TEST(GifAnimation, OptimisedFileShowsTheSameFramesInFewerBytes) {
    struct Case {
        const char* name;
        Picture (*make)(int);
        bool expectSmallFrames;
    };
    for (const Case c : {Case{"plain background", slideFrame, true},
                         Case{"quantised background", slideOverGradient, false},
                         Case{"fade of a quantised picture", fadeFrame, false}}) {
        ScratchDir dir;
        FrameTable table(dir, slide(16, c.make), false, {8});
        const GifAnimeHeader plainHeader = header(0, IMGCTL_ANIME_NO_OPTIMIZE), optHeader = header(0);
        const std::string plainPath = dir.file("plain.gif"), optPath = dir.file("opt.gif");
        ASSERT_EQ(DIBtoGIFAniEx(plainPath.c_str(), table.records.data(), table.count(), &plainHeader),
                  IMGCTL_OK);
        ASSERT_EQ(DIBtoGIFAniEx(optPath.c_str(), table.records.data(), table.count(), &optHeader), IMGCTL_OK);
        const DecodedGif plain = decodeGif(plainPath), opt = decodeGif(optPath);
        ASSERT_TRUE(plain.ok && opt.ok);
        ASSERT_EQ(opt.frames.size(), 16u);

        const auto plainShown = composeFrames(plain), optShown = composeFrames(opt);
        for (size_t i = 0; i < 16; ++i) {
            EXPECT_EQ(optShown[i], plainShown[i]) << c.name << ", frame " << i;
            EXPECT_EQ(opt.frames[i].disposal, 1);
            EXPECT_EQ(opt.frames[i].delay, 8);
        }
        const size_t plainSize = readFile(plainPath).size(), optSize = readFile(optPath).size();
        EXPECT_LE(optSize, plainSize) << c.name;
        if (c.expectSmallFrames) {
            for (size_t i = 1; i < 16; ++i) EXPECT_LT(opt.frames[i].width * opt.frames[i].height, 64 * 24);
            EXPECT_LT(optSize, plainSize) << c.name;
        }
    }
}

// Two small changes in opposite corners span the whole frame; over a busy
// background the cheap encoding keeps only the changed pixels and makes the
// rest of the rectangle transparent.
TEST(GifAnimation, DistantChangesUseTransparentUnchangedPixels) {
    ScratchDir dir;
    std::vector<Picture> pictures;
    for (int i = 0; i < 4; ++i) {
        Picture p = bands(64, 24, 200);
        const Color mark = i % 2 ? Color{255, 255, 255} : Color{0, 0, 0};
        p.at(1, 1) = mark;
        p.at(62, 22) = mark;
        pictures.push_back(p);
    }
    FrameTable table(dir, pictures, false, {20});
    const GifAnimeHeader h = header(0);
    ASSERT_EQ(DIBtoGIFAniEx(dir.file("a.gif").c_str(), table.records.data(), 4, &h), IMGCTL_OK);
    const DecodedGif gif = decodeGif(dir.file("a.gif"));
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.frames.size(), 4u);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_GE(gif.frames[i].transparent, 0) << "frame " << i;
        EXPECT_EQ(gif.frames[i].width * gif.frames[i].height, 62 * 22);
    }
    const auto shown = composeFrames(gif);
    for (size_t i = 0; i < 4; ++i) {
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 64; ++x) {
                const Color c = pictures[i].at(x, y);
                ASSERT_EQ(shown[i][size_t(y) * 64 + size_t(x)], rgb32(c))
                    << "frame " << i << " at " << x << "," << y;
            }
    }
}

TEST(GifAnimation, RepeatedFrameShrinksToOnePixel) {
    ScratchDir dir;
    FrameTable table(dir, std::vector<Picture>(4, slideFrame(2)), false, {50});
    const GifAnimeHeader h = header(0);
    ASSERT_EQ(DIBtoGIFAniEx(dir.file("a.gif").c_str(), table.records.data(), 4, &h), IMGCTL_OK);
    const DecodedGif gif = decodeGif(dir.file("a.gif"));
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.frames.size(), 4u);
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(gif.frames[i].width * gif.frames[i].height, 1);
    const auto shown = composeFrames(gif);
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(shown[i], shown[0]);
}

// Frames with a transparent colour are drawn on a cleared canvas: they are
// written whole even with the optimisation on.
TEST(GifAnimation, TransparentFramesAreWrittenWhole) {
    ScratchDir dir;
    FrameTable table(dir, slide(4), true, {10});
    const GifAnimeHeader h = header(0);
    ASSERT_EQ(DIBtoGIFAniEx(dir.file("a.gif").c_str(), table.records.data(), 4, &h), IMGCTL_OK);
    const DecodedGif gif = decodeGif(dir.file("a.gif"));
    ASSERT_TRUE(gif.ok);
    for (const GifFrame& f : gif.frames) {
        EXPECT_EQ(f.width * f.height, 64 * 24);
        EXPECT_EQ(f.disposal, 2);
    }
}

TEST(GifAnimation, FramesOfDifferentSizesShareTheLargestScreen) {
    ScratchDir dir;
    FrameTable table(dir, {solid(10, 4, {1, 1, 1}), solid(6, 9, {2, 2, 2})}, false, {10});
    const GifAnimeHeader h = header(0);
    ASSERT_EQ(DIBtoGIFAniEx(dir.file("a.gif").c_str(), table.records.data(), 2, &h), IMGCTL_OK);
    const DecodedGif gif = decodeGif(dir.file("a.gif"));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.width, 10);
    EXPECT_EQ(gif.height, 9);
    ASSERT_EQ(gif.frames.size(), 2u);
    EXPECT_EQ(gif.frames[1].width, 6);
    EXPECT_EQ(gif.frames[1].height, 9);
    EXPECT_EQ(gif.frames[1].left, 0);
    EXPECT_EQ(gif.frames[1].top, 0);
}

TEST(GifAnimation, BadTablesAreRefusedAndWriteNothing) {
    ScratchDir dir;
    FrameTable table(dir, slide(2), false, {10});
    writeFile(dir.file("full.bmp"), bmp24(slideFrame(0)));
    const int full = ToDIB(dir.file("full.bmp").c_str());
    const std::vector<std::string> before = dir.entries();
    const std::string path = dir.file("a.gif");
    const GifAnimeHeader h = header(0);

    struct Case {
        const char* name;
        void (*edit)(FrameRecord&, GifAnimeHeader&, int full);
        int expected;
    };
    const Case cases[] = {
        {"bad handle", [](FrameRecord& r, GifAnimeHeader&, int) { r.dib = 0; }, IMGCTL_ERR_HANDLE},
        {"not reduced", [](FrameRecord& r, GifAnimeHeader&, int f) { r.dib = f; }, IMGCTL_ERR_NOT_8BIT},
        {"negative delay", [](FrameRecord& r, GifAnimeHeader&, int) { r.delay = -1; }, IMGCTL_ERR_ARGUMENT},
        {"disposal 4", [](FrameRecord& r, GifAnimeHeader&, int) { r.disposal = 4; }, IMGCTL_ERR_ARGUMENT},
        {"transparent index outside palette",
         [](FrameRecord& r, GifAnimeHeader&, int) { r.flags |= IMGCTL_TRANSPARENT; r.transparentIndex = 300; },
         IMGCTL_ERR_ARGUMENT},
        {"negative loop count", [](FrameRecord&, GifAnimeHeader& hh, int) { hh.loopCount = -1; },
         IMGCTL_ERR_ARGUMENT},
    };
    for (const Case& c : cases) {
        std::vector<FrameRecord> records = table.records;
        GifAnimeHeader hh = h;
        c.edit(records[1], hh, full);
        EXPECT_EQ(DIBtoGIFAniEx(path.c_str(), records.data(), 2, &hh), c.expected) << c.name;
    }
    EXPECT_EQ(DIBtoGIFAniEx(path.c_str(), nullptr, 2, &h), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoGIFAniEx(path.c_str(), table.records.data(), 0, &h), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(DIBtoGIFAniEx(nullptr, table.records.data(), 2, &h), IMGCTL_ERR_ARGUMENT);
    EXPECT_EQ(dir.entries(), before);
    DeleteDIB(full);
}

// Frames whose colours together fit in 256 entries share the global colour
// table and carry none of their own; writing the same frames again gives the
// same bytes.
TEST(GifAnimation, FramesWhoseColoursFitShareOneGlobalTable) {
    ScratchDir dir;
    FrameTable table(dir, slide(16), false, {8});
    const GifAnimeHeader plainHeader = header(0, IMGCTL_ANIME_NO_OPTIMIZE), optHeader = header(0);
    const std::string plainPath = dir.file("plain.gif"), optPath = dir.file("opt.gif"), again = dir.file("again.gif");
    ASSERT_EQ(DIBtoGIFAniEx(plainPath.c_str(), table.records.data(), table.count(), &plainHeader), IMGCTL_OK);
    ASSERT_EQ(DIBtoGIFAniEx(optPath.c_str(), table.records.data(), table.count(), &optHeader), IMGCTL_OK);
    ASSERT_EQ(DIBtoGIFAniEx(again.c_str(), table.records.data(), table.count(), &optHeader), IMGCTL_OK);
    const DecodedGif plain = decodeGif(plainPath), opt = decodeGif(optPath);
    ASSERT_TRUE(plain.ok && opt.ok) << opt.error;
    EXPECT_TRUE(opt.globalTable);
    ASSERT_EQ(opt.frames.size(), 16u);
    for (size_t i = 0; i < opt.frames.size(); ++i) EXPECT_FALSE(opt.frames[i].localTable) << "frame " << i;
    EXPECT_EQ(composeFrames(opt), composeFrames(plain));
    EXPECT_EQ(readFile(again), readFile(optPath));
}

// Two scenes of 200 colours each cannot share one table: one keeps its
// colours in the global table, the other brings its own; the small frames of
// a moving mark within each scene need no table of their own.
TEST(GifAnimation, ScenesOfTooManyColoursForOneTableKeepTheirOwn) {
    ScratchDir dir;
    std::vector<Picture> pictures;
    for (int scene = 0; scene < 2; ++scene)
        for (int i = 0; i < 4; ++i) {
            Picture p = bands(64, 24, 200);
            if (scene == 1)
                for (Color& c : p.pixels) c = {uint8_t(255 - c.r), c.b, uint8_t(c.g ^ 0x55)};
            p.at(10 + 5 * i, 12) = {255, 255, 255};
            pictures.push_back(p);
        }
    FrameTable table(dir, pictures, false, {20});
    const GifAnimeHeader h = header(0), plainHeader = header(0, IMGCTL_ANIME_NO_OPTIMIZE);
    ASSERT_EQ(DIBtoGIFAniEx(dir.file("a.gif").c_str(), table.records.data(), table.count(), &h), IMGCTL_OK);
    ASSERT_EQ(DIBtoGIFAniEx(dir.file("p.gif").c_str(), table.records.data(), table.count(), &plainHeader),
              IMGCTL_OK);
    const DecodedGif gif = decodeGif(dir.file("a.gif")), plain = decodeGif(dir.file("p.gif"));
    ASSERT_TRUE(gif.ok && plain.ok) << gif.error;
    ASSERT_EQ(gif.frames.size(), 8u);
    EXPECT_TRUE(gif.globalTable);
    EXPECT_NE(gif.frames[0].localTable, gif.frames[4].localTable);
    for (size_t i : {1, 2, 3, 5, 6, 7}) EXPECT_FALSE(gif.frames[i].localTable) << "frame " << i;
    const auto shown = composeFrames(gif);
    EXPECT_EQ(shown, composeFrames(plain));
    for (size_t i = 0; i < pictures.size(); ++i)
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(shown[i][size_t(y) * 64 + size_t(x)], rgb32(pictures[i].at(x, y)))
                    << "frame " << i << " at " << x << "," << y;
}

// Frames with a transparent colour (the program's background transparency)
// keep their disposal and show, frame by frame, every pixel but those of the
// transparent colour, also when their colours come from a shared table.
TEST(GifAnimation, TransparentFramesShowTheirPicturesFromASharedTable) {
    ScratchDir dir;
    const std::vector<Picture> pictures = slide(6);
    FrameTable table(dir, pictures, true, {10});
    const GifAnimeHeader h = header(0);
    ASSERT_EQ(DIBtoGIFAniEx(dir.file("a.gif").c_str(), table.records.data(), table.count(), &h), IMGCTL_OK);
    const DecodedGif gif = decodeGif(dir.file("a.gif"));
    ASSERT_TRUE(gif.ok) << gif.error;
    EXPECT_TRUE(gif.globalTable);
    const auto shown = composeFrames(gif);
    ASSERT_EQ(shown.size(), pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_FALSE(gif.frames[i].localTable);
        EXPECT_EQ(gif.frames[i].disposal, 2);
        const Color key = pictures[i].at(0, 0);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 64; ++x) {
                const Color c = pictures[i].at(x, y);
                ASSERT_EQ(shown[i][size_t(y) * 64 + size_t(x)], c == key ? 0u : rgb32(c))
                    << "frame " << i << " at " << x << "," << y;
            }
    }
}

// When the changed pixels use all 256 colours no index is left for the
// transparent one: the rectangle is written with its own colours, the
// unchanged pixels inside it included.
TEST(GifAnimation, ChangesInEveryColourLeaveNoRoomForTransparency) {
    ScratchDir dir;
    const auto color = [](int i) { return Color{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)}; };
    Picture before = solid(32, 16, {}), after = solid(32, 16, {});
    for (int i = 0; i < 512; ++i) {
        before.pixels[size_t(i)] = color(i % 256);
        // The top half takes the next colour, every one of the 256; one
        // pixel of the bottom row too; the rest stays.
        after.pixels[size_t(i)] = i < 256 || i == 500 ? color((i + 1) % 256) : color(i % 256);
    }
    FrameTable table(dir, {before, after}, false, {10});
    const GifAnimeHeader h = header(0);
    ASSERT_EQ(DIBtoGIFAniEx(dir.file("a.gif").c_str(), table.records.data(), 2, &h), IMGCTL_OK);
    const DecodedGif gif = decodeGif(dir.file("a.gif"));
    ASSERT_TRUE(gif.ok) << gif.error;
    ASSERT_EQ(gif.frames.size(), 2u);
    EXPECT_EQ(gif.frames[1].transparent, -1);
    EXPECT_EQ(gif.frames[1].width * gif.frames[1].height, 32 * 16);
    const auto shown = composeFrames(gif);
    for (size_t i = 0; i < 512; ++i) {
        ASSERT_EQ(shown[0][i], rgb32(before.pixels[i])) << i;
        ASSERT_EQ(shown[1][i], rgb32(after.pixels[i])) << i;
    }
}
