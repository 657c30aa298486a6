// Transparent outputs, measured:
// - the standard title (eight Japanese characters, the pinned font, the
//   default style with an outline, smoothed) with real alpha as PNG: write
//   time and size, beside ImageMagick writing the same RGBA picture at its
//   best compression (the smallest of -quality 90..95, metadata stripped);
// - a 60-frame slide of that title (the title moving in from the left, 2 s
//   at 30 frames per second, 600 x 150 frames on its background) as animated
//   WebP, lossless and lossy at quality 90, beside the animated GIF of the
//   same frames (each reduced to 256 colours, written optimised): size and
//   time. The frames are composed here from the engine's rendering, so the
//   encoders are compared on the same pictures; webp_alpha_bench runs the
//   slide kind itself through the driver.
// Goals: the PNG no larger than ImageMagick's; the lossless WebP smaller
// than the GIF. VAKURO_BENCH_KEEP=1 keeps the files (in the temporary folder).
#include <QCoreApplication>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "alpha_image.h"
#include "bmp_file.h"
#include "dib_image.h"
#include "imgctl.h"
#include "pavrex.h"

using namespace vakuro;
namespace fs = std::filesystem;

namespace {

// 文字画像を作ろう in code page 932.
const char* const kStandardTitle = "\x95\xB6\x8E\x9A\x89\xE6\x91\x9C\x82\xF0\x8D\xEC\x82\xEB\x82\xA4";

PavrexStyle standardStyle() {
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    std::strcpy(s.FontName, "IPAGothic");
    s.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) s.CharWidth[i] = s.CharHeight[i] = 100;
    s.OutlineStyle = 1;
    s.OutlineColor1 = PAVREX_RGB(30, 30, 120);
    return s;
}

double msSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

long long fileSize(const fs::path& p) {
    std::error_code e;
    const auto n = fs::file_size(p, e);
    return e ? -1 : static_cast<long long>(n);
}

QImage renderOn(const PavrexStyle& style, int back, const fs::path& file) {
    PavrexStyle s = style;
    s.BackColor = back;
    if (ImgMake3(kStandardTitle, &s, file.c_str(), 101, PAVREX_WHITE_INK) != PAVREX_OK) return {};
    return QImage(QString::fromStdString(file.string()), "BMP");
}

// Median of a few runs of f, in milliseconds.
template <class F>
double medianMs(int runs, F&& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        t.push_back(msSince(start));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

bool haveConvert() { return std::system("command -v convert >/dev/null 2>&1") == 0; }

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const fs::path dir = fs::temp_directory_path() / "vakuro_transparency_bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const PavrexStyle style = standardStyle();

    // The title with real alpha.
    const QImage black = renderOn(style, kAlphaBlack, dir / "black.bmp");
    const QImage white = renderOn(style, kAlphaWhite, dir / "white.bmp");
    const QImage opaque = renderOn(style, style.BackColor, dir / "opaque.bmp");
    if (black.isNull() || white.isNull() || opaque.isNull()) {
        std::fprintf(stderr, "rendering failed\n");
        return 1;
    }
    QImage rgba = solveAlpha(black, white, alphaFavourForShadow(style.ShadowType));
    // Invisible pixels as zeros, as the PNG writer stores them, so that both
    // writers get the same picture.
    for (int y = 0; y < rgba.height(); ++y) {
        uchar* p = rgba.scanLine(y);
        for (int x = 0; x < rgba.width(); ++x, p += 4)
            if (p[3] == 0) p[0] = p[1] = p[2] = 0;
    }
    const fs::path png = dir / "title.png";
    const double pngMs = medianMs(5, [&] {
        RGBAtoPNG(png.c_str(), rgba.constBits(), rgba.width(), rgba.height(), int(rgba.bytesPerLine()));
    });
    std::printf("standard title %d x %d, RGBA\n", rgba.width(), rgba.height());
    std::printf("  %-34s %8lld bytes %9.1f ms\n", "RGBAtoPNG", fileSize(png), pngMs);
    long long magickBest = -1;
    if (haveConvert()) {
        const fs::path raw = dir / "title.rgba";
        {
            QFile f(QString::fromStdString(raw.string()));
            f.open(QIODevice::WriteOnly);
            for (int y = 0; y < rgba.height(); ++y)
                f.write(reinterpret_cast<const char*>(rgba.constScanLine(y)), 4 * rgba.width());
        }
        for (int q = 90; q <= 95; ++q) {
            const fs::path out = dir / ("magick" + std::to_string(q) + ".png");
            const std::string cmd = "convert -size " + std::to_string(rgba.width()) + "x" +
                                    std::to_string(rgba.height()) + " -depth 8 rgba:" + raw.string() +
                                    " -strip -quality " + std::to_string(q) + " PNG32:" + out.string();
            const double ms = medianMs(3, [&] { (void)std::system(cmd.c_str()); });
            const long long n = fileSize(out);
            std::printf("  ImageMagick -quality %-13d %8lld bytes %9.1f ms (with its start)\n", q, n, ms);
            if (n > 0 && (magickBest < 0 || n < magickBest)) magickBest = n;
        }
        std::printf("  goal, no larger than ImageMagick's best (%lld): %s\n", magickBest,
                    fileSize(png) <= magickBest ? "met" : "NOT met");
    } else {
        std::printf("  ImageMagick's convert is not installed: no comparison\n");
    }

    // The 60-frame slide: 600 x 150 frames on the style's background, the
    // title entering from the left and stopping centred.
    constexpr int kW = 600, kH = 150, kFrames = 60;
    const QImage title = opaque.height() > kH ? opaque.scaledToHeight(kH, Qt::SmoothTransformation) : opaque;
    const int stopX = (kW - title.width()) / 2;
    const int y0 = (kH - title.height()) / 2;
    std::vector<int> handles;
    std::vector<FrameRecord> frames;
    for (int i = 0; i < kFrames; ++i) {
        QImage frame(kW, kH, QImage::Format_RGB32);
        frame.fill(qRgb(255, 255, 255));
        const int x = -title.width() + (stopX + title.width()) * (i + 1) / kFrames;
        for (int y = 0; y < title.height(); ++y)
            for (int tx = 0; tx < title.width(); ++tx) {
                const int fx = x + tx;
                if (fx >= 0 && fx < kW && y0 + y >= 0 && y0 + y < kH) frame.setPixel(fx, y0 + y, title.pixel(tx, y));
            }
        const fs::path f = dir / ("frame" + std::to_string(i) + ".bmp");
        bmp::writeBmp(f.c_str(), bmp::makeHeader24(kW, kH), {}, ReadPictureBits(frame));
        handles.push_back(ToDIB(f.c_str()));
        FrameRecord r{};
        r.flags = IMGCTL_FRAME_STANDARD;
        r.delay = 3;  // 30 ms, about 30 frames per second
        r.dib = handles.back();
        frames.push_back(r);
    }
    GifAnimeHeader header{};
    header.flags = IMGCTL_ANIME_HEADER_TAG;
    std::printf("slide, %d frames of %d x %d\n", kFrames, kW, kH);
    const fs::path lossless = dir / "slide_lossless.webp";
    const fs::path lossy = dir / "slide_q90.webp";
    const double losslessMs = medianMs(1, [&] {
        DIBtoWebPAni(lossless.c_str(), frames.data(), kFrames, &header, IMGCTL_WEBP_LOSSLESS);
    });
    const double lossyMs = medianMs(1, [&] { DIBtoWebPAni(lossy.c_str(), frames.data(), kFrames, &header, 90); });
    // The GIF: every frame reduced to 256 colours, then written optimised.
    const fs::path gif = dir / "slide.gif";
    const auto gifStart = std::chrono::steady_clock::now();
    for (int h : handles) DIBto8Bit(h, 0, 0);
    const double reduceMs = msSince(gifStart);
    const double writeMs = medianMs(1, [&] { DIBtoGIFAniEx(gif.c_str(), frames.data(), kFrames, &header); });
    std::printf("  %-34s %8lld bytes %9.1f ms\n", "WebP lossless", fileSize(lossless), losslessMs);
    std::printf("  %-34s %8lld bytes %9.1f ms\n", "WebP lossy, quality 90", fileSize(lossy), lossyMs);
    std::printf("  %-34s %8lld bytes %9.1f ms (reduction %.1f + writing %.1f)\n", "GIF (256 colours, optimised)",
                fileSize(gif), reduceMs + writeMs, reduceMs, writeMs);
    std::printf("  goal, lossless WebP smaller than the GIF: %s\n",
                fileSize(lossless) < fileSize(gif) ? "met" : "NOT met");
    for (int h : handles) DeleteDIB(h);
    if (qEnvironmentVariableIntValue("VAKURO_BENCH_KEEP") != 1) fs::remove_all(dir);
    else std::printf("files kept in %s\n", dir.c_str());
    return 0;
}
