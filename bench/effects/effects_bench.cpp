// The operations of the effects library on a 600 x 150 text-sized image,
// in memory and file to file (the way the program calls them): resizing
// and zoom, rotation, light, fade and colour effects.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "bmp_file.h"
#include "effect.h"
#include "fead.h"
#include "light.h"
#include "rot.h"
#include "rotang.h"
#include "sidedsp.h"
#include "sresize.h"
#include "texcolex.h"
#include "zoom.h"

namespace {

using namespace tesmor;

// Text-like content: dark strokes on a light background with soft edges.
Image textLikeImage(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image.pixel(x, y);
            const bool stroke = ((x / 7 + y / 11) % 5 == 0) || (x % 37 < 4);
            p[0] = stroke ? 30 : 240;
            p[1] = static_cast<uint8_t>(stroke ? 60 : 235 - y / 3);
            p[2] = static_cast<uint8_t>(stroke ? 200 : 250 - x / 5);
        }
    }
    return image;
}

const Image& source() {
    static const Image image = textLikeImage(600, 150);
    return image;
}

// Rendered text as the animation frames see it: one plain background
// colour (the bottom-left pixel) with letter strokes, about a fifth ink.
const Image& textOnPlainBackground() {
    static const Image image = [] {
        Image out(600, 150);
        for (int y = 0; y < 150; ++y) {
            for (int x = 0; x < 600; ++x) {
                uint8_t* p = out.pixel(x, y);
                const int cx = x % 75, cy = y;
                const bool stem = cx >= 20 && cx < 30 && cy >= 30 && cy < 120;
                const bool bar = cx >= 20 && cx < 60 && ((cy >= 70 && cy < 80) || (cy >= 110 && cy < 120));
                const bool ink = stem || bar;
                p[0] = ink ? 40 : 250;
                p[1] = ink ? 90 : 250;
                p[2] = ink ? 210 : 250;
            }
        }
        return out;
    }();
    return image;
}

void BM_SReSize(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    for (auto _ : state) {
        Image out = superSample(source().view(), w, h, 4);
        benchmark::DoNotOptimize(out.data.data());
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}
BENCHMARK(BM_SReSize)->Args({300, 75})->Args({1200, 300})->Unit(benchmark::kMicrosecond);

void BM_Zoom(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    for (auto _ : state) {
        Image out = zoomBilinear(source().view(), w, h);
        benchmark::DoNotOptimize(out.data.data());
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}
BENCHMARK(BM_Zoom)->Args({1200, 300})->Args({300, 75})->Unit(benchmark::kMicrosecond);

void BM_Rot(benchmark::State& state) {
    for (auto _ : state) {
        Image out = rotateQuarter(source().view(), QuarterTurn::Clockwise);
        benchmark::DoNotOptimize(out.data.data());
    }
    state.SetItemsProcessed(state.iterations() * 600 * 150);
}
BENCHMARK(BM_Rot)->Unit(benchmark::kMicrosecond);

// Angle in degrees, converted as the program does.
void BM_RotAng(benchmark::State& state) {
    const auto angle = static_cast<float>(state.range(0) * 3.14159265 / 180);
    for (auto _ : state) {
        Image out = rotateByAngle(source().view(), angle);
        benchmark::DoNotOptimize(out.data.data());
    }
    state.SetItemsProcessed(state.iterations() * 600 * 150);
}
BENCHMARK(BM_RotAng)->Arg(30)->Arg(90)->Unit(benchmark::kMicrosecond);

// Mode 0 (blend) and 1 (darken all but the background colour).
void BM_Fead(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Image image = textOnPlainBackground();
        state.ResumeTiming();
        fade(image, colourOf(0x00FAFAFA), 128, mode);
        benchmark::DoNotOptimize(image.data.data());
    }
    state.SetItemsProcessed(state.iterations() * 600 * 150);
}
BENCHMARK(BM_Fead)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The light in the middle (the flash frames) and right of the picture
// (the first back-light frame from the right), strength 5, falloff 2.
void BM_Light(benchmark::State& state) {
    const int lightX = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Image out = lightRays(textOnPlainBackground().view(), lightX, 75, 5, 2);
        benchmark::DoNotOptimize(out.data.data());
    }
    state.SetItemsProcessed(state.iterations() * 600 * 150);
}
BENCHMARK(BM_Light)->Arg(300)->Arg(601)->Unit(benchmark::kMicrosecond);

void BM_SideDsp(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Image image = source();
        state.ResumeTiming();
        sideReveal(image, 300, 60, colourOf(0x00FFFFFF));
        benchmark::DoNotOptimize(image.data.data());
    }
    state.SetItemsProcessed(state.iterations() * 600 * 150);
}
BENCHMARK(BM_SideDsp)->Unit(benchmark::kMicrosecond);

// Sharpen 0 (map only) and 30.
void BM_Effect(benchmark::State& state) {
    const int sharpen = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Image out = adjustBytes(source().view(), 10, 20, sharpen);
        benchmark::DoNotOptimize(out.data.data());
    }
    state.SetItemsProcessed(state.iterations() * 600 * 150);
}
BENCHMARK(BM_Effect)->Arg(0)->Arg(30)->Unit(benchmark::kMicrosecond);

// The 40 x 40 pattern the program writes, and a 600 x 150 one.
void BM_TexColEx(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    for (auto _ : state) {
        Image out = stripePattern(w, h, colourOf(0x0000FF), colourOf(0xFF0000), 3, 30);
        benchmark::DoNotOptimize(out.data.data());
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}
BENCHMARK(BM_TexColEx)->Args({40, 40})->Args({600, 150})->Unit(benchmark::kMicrosecond);

// File to file, in place, as the program resizes its scratch image: read,
// resize, write through a temporary file and rename. The source is
// rewritten outside the timed part.
class FileFixture : public benchmark::Fixture {
public:
    void SetUp(benchmark::State&) override {
        char pattern[] = "/tmp/tesmor-bench-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        path_ = dir_ + "/VakTmp.bmp";
    }
    void TearDown(benchmark::State&) override {
        ::unlink(path_.c_str());
        ::rmdir(dir_.c_str());
    }
    void writeSource() {
        const Image& s = source();
        bmp::writeBmp(path_.c_str(), bmp::makeHeader24(s.width, s.height), {}, s.data);
    }

protected:
    std::string dir_;
    std::string path_;
};

BENCHMARK_DEFINE_F(FileFixture, SReSizeFile)(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        writeSource();
        state.ResumeTiming();
        if (sReSizeFile(path_.c_str(), path_.c_str(), w, h, 4) != 1) state.SkipWithError("failed");
    }
}
BENCHMARK_REGISTER_F(FileFixture, SReSizeFile)->Args({300, 75})->Args({1200, 300})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_DEFINE_F(FileFixture, ZoomFile)(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        writeSource();
        state.ResumeTiming();
        if (zoomFile(path_.c_str(), path_.c_str(), w, h) != 1) state.SkipWithError("failed");
    }
}
BENCHMARK_REGISTER_F(FileFixture, ZoomFile)->Args({1200, 300})->Args({300, 75})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_DEFINE_F(FileFixture, RotAngFile)(benchmark::State& state) {
    const auto angle = static_cast<float>(30 * 3.14159265 / 180);
    for (auto _ : state) {
        state.PauseTiming();
        writeSource();
        state.ResumeTiming();
        int w = 0, h = 0;
        if (rotAngFile(path_.c_str(), path_.c_str(), &w, &h, angle) != 1) state.SkipWithError("failed");
    }
}
BENCHMARK_REGISTER_F(FileFixture, RotAngFile)->Unit(benchmark::kMicrosecond);

BENCHMARK_DEFINE_F(FileFixture, FeadFile)(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        writeSource();
        state.ResumeTiming();
        if (feadFile(path_.c_str(), path_.c_str(), 0x00FFFFFF, 128, 0) != 1) state.SkipWithError("failed");
    }
}
BENCHMARK_REGISTER_F(FileFixture, FeadFile)->Unit(benchmark::kMicrosecond);

BENCHMARK_DEFINE_F(FileFixture, LightFile)(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const Image& s = textOnPlainBackground();
        bmp::writeBmp(path_.c_str(), bmp::makeHeader24(s.width, s.height), {}, s.data);
        state.ResumeTiming();
        if (lightFile(path_.c_str(), path_.c_str(), 300, 75, 5, 2) != 1) state.SkipWithError("failed");
    }
}
BENCHMARK_REGISTER_F(FileFixture, LightFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
