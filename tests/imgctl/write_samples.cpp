// Writes one of each kind of file the library produces into a folder, with a
// manifest.json of what they must show, for the checks with decoders from
// outside this project (check_with_tools.py).
#include <cstdio>
#include <string>
#include <vector>

#include "imgctl.h"
#include "support.h"

using namespace imgctl_test;

namespace {

Picture banner(int shift) {
    Picture p = solid(80, 30, {240, 230, 200});
    for (int y = 8; y < 22; ++y)
        for (int x = 10; x < 50; ++x) p.at((x + shift) % 80, y) = {uint8_t(150 + x), 80, uint8_t(40 + (y & 1))};
    return p;
}

// A title of many colours on a plain background, faded from the
// background colour as the animation's fade makes it.
Picture faded(int level) {
    const Picture text = banner(20);
    const Color bg = text.at(0, 0);
    const Picture shades = gradient(80, 30);
    Picture p = text;
    for (int y = 5; y < 25; ++y)
        for (int x = 12; x < 68; ++x)
            if (p.at(x, y) == bg) p.at(x, y) = shades.at(x, y);
    for (Color& c : p.pixels) {
        const auto mix = [&](uint8_t v, uint8_t b) { return uint8_t(((255 - level) * b + level * v) / 255); };
        c = {mix(c.r, bg.r), mix(c.g, bg.g), mix(c.b, bg.b)};
    }
    return p;
}

int load(const std::string& path, const Picture& p) {
    writeFile(path, bmp24(p));
    return ToDIB(path.c_str());
}

bool check(bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "failed: %s\n", what);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;

    // Still GIF with the top-left colour transparent.
    const int still = load(dir + "/still.bmp", banner(0));
    ok &= check(DIBto8Bit(still, 0, 0) == IMGCTL_OK, "reduce still");
    const int transparent = PixelDIB(still, 0, 0);
    const GifOptions options{IMGCTL_TRANSPARENT, transparent, {}};
    ok &= check(DIBtoGIFex((dir + "/still.gif").c_str(), still, &options) == IMGCTL_OK, "still.gif");
    DeleteDIB(still);

    // JPEG, baseline and progressive, from a picture of many colours.
    const int photo = load(dir + "/photo.bmp", gradient(97, 41));
    ok &= check(DIBtoJPG((dir + "/baseline.jpg").c_str(), photo, 90, 0) == IMGCTL_OK, "baseline.jpg");
    ok &= check(DIBtoJPG((dir + "/progressive.jpg").c_str(), photo, 90, 1) == IMGCTL_OK,
                "progressive.jpg");
    DeleteDIB(photo);

    // Two animations of 10 frames, played 3 times, each written whole and
    // optimised: a sliding banner of few colours (one shared colour table)
    // and a fade of a picture of many colours (a table per frame, unchanged
    // pixels transparent or not).
    for (const bool fade : {false, true}) {
        std::vector<FrameRecord> frames;
        for (int i = 0; i < 10; ++i) {
            FrameRecord r{};
            r.flags = IMGCTL_FRAME_STANDARD;
            r.delay = int16_t(10 + 5 * i);
            r.dib = load(dir + "/frame.bmp", fade ? faded(i * 255 / 9) : banner(i * 4));
            ok &= check(DIBto8Bit(r.dib, 0, 0) == IMGCTL_OK, "reduce frame");
            frames.push_back(r);
        }
        const std::string name = fade ? "/fade" : "/anim";
        GifAnimeHeader header{};
        header.flags = IMGCTL_ANIME_HEADER_TAG | IMGCTL_ANIME_NO_OPTIMIZE;
        header.loopCount = 3;
        ok &= check(DIBtoGIFAniEx((dir + name + "_plain.gif").c_str(), frames.data(), 10, &header) == IMGCTL_OK,
                    "plain animation");
        header.flags = IMGCTL_ANIME_HEADER_TAG;
        ok &= check(DIBtoGIFAniEx((dir + name + "_opt.gif").c_str(), frames.data(), 10, &header) == IMGCTL_OK,
                    "optimised animation");
        for (const FrameRecord& r : frames) DeleteDIB(r.dib);
    }

    FILE* m = std::fopen((dir + "/manifest.json").c_str(), "w");
    if (m == nullptr) return 1;
    std::fprintf(m,
                 "{\"still\": {\"source\": \"still.bmp\", \"gif\": \"still.gif\", \"transparent\": %d},\n"
                 " \"jpeg\": {\"source\": \"photo.bmp\", \"baseline\": \"baseline.jpg\","
                 " \"progressive\": \"progressive.jpg\"},\n"
                 " \"animations\": [",
                 transparent);
    for (const char* name : {"anim", "fade"}) {
        std::fprintf(m, "%s{\"plain\": \"%s_plain.gif\", \"optimised\": \"%s_opt.gif\", \"frames\": 10, \"delays\": [",
                     name[0] == 'a' ? "" : ", ", name, name);
        for (int i = 0; i < 10; ++i) std::fprintf(m, "%s%d", i ? ", " : "", 10 + 5 * i);
        std::fprintf(m, "], \"plays\": 3, \"width\": 80, \"height\": 30}");
    }
    std::fprintf(m, "]}\n");
    std::fclose(m);
    return ok ? 0 : 1;
}
