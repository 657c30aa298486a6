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

    // Animation of 10 frames, played 3 times, written whole and optimised.
    std::vector<FrameRecord> frames;
    for (int i = 0; i < 10; ++i) {
        FrameRecord r{};
        r.flags = IMGCTL_FRAME_STANDARD;
        r.delay = int16_t(10 + 5 * i);
        r.dib = load(dir + "/frame.bmp", banner(i * 4));
        ok &= check(DIBto8Bit(r.dib, 0, 0) == IMGCTL_OK, "reduce frame");
        frames.push_back(r);
    }
    GifAnimeHeader header{};
    header.flags = IMGCTL_ANIME_HEADER_TAG | IMGCTL_ANIME_NO_OPTIMIZE;
    header.loopCount = 3;
    ok &= check(DIBtoGIFAniEx((dir + "/anim_plain.gif").c_str(), frames.data(), 10, &header) == IMGCTL_OK,
                "anim_plain.gif");
    header.flags = IMGCTL_ANIME_HEADER_TAG;
    ok &= check(DIBtoGIFAniEx((dir + "/anim_opt.gif").c_str(), frames.data(), 10, &header) == IMGCTL_OK,
                "anim_opt.gif");
    for (const FrameRecord& r : frames) DeleteDIB(r.dib);

    FILE* m = std::fopen((dir + "/manifest.json").c_str(), "w");
    if (m == nullptr) return 1;
    std::fprintf(m,
                 "{\"still\": {\"source\": \"still.bmp\", \"gif\": \"still.gif\", \"transparent\": %d},\n"
                 " \"jpeg\": {\"source\": \"photo.bmp\", \"baseline\": \"baseline.jpg\","
                 " \"progressive\": \"progressive.jpg\"},\n"
                 " \"animation\": {\"plain\": \"anim_plain.gif\", \"optimised\": \"anim_opt.gif\","
                 " \"frames\": 10, \"delays\": [",
                 transparent);
    for (int i = 0; i < 10; ++i) std::fprintf(m, "%s%d", i ? ", " : "", 10 + 5 * i);
    std::fprintf(m, "], \"plays\": 3, \"width\": 80, \"height\": 30}}\n");
    std::fclose(m);
    return ok ? 0 : 1;
}
