// Resizing and zoom of a 600 x 150 text-sized image, in memory and file to
// file (the way the program calls them).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "bmp_file.h"
#include "sresize.h"
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
        writeBmp(path_.c_str(), makeHeader24(s.width, s.height), {}, s.data);
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

}  // namespace

BENCHMARK_MAIN();
