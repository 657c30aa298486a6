// Benchmarks of the image-format component on synthetic text art (600 x 150):
// - DIBto8Bit: time, and PSNR of the 256-colour result against the source,
//   beside ImageMagick's "convert -colors 256" (default dithering) and
//   "convert +dither -colors 256" run on the same files in the same run;
// - an animation of 60 frames of sliding text: GIF size written whole, with
//   the changed-rectangle optimisation, and after "gifsicle -O3" of the
//   whole-frame file.
// External tools that are missing make their benchmarks report an error;
// the others still run. At the end a table puts the nearest-colour reduction
// beside both ImageMagick settings, picture by picture, against the goal:
// at least 2 dB better than the better of the two, and faster than both
// (ImageMagick's time includes starting the program).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "imgctl.h"
#include "text_art.h"

extern char** environ;

namespace {

using imgctl_bench::Picture;

constexpr int kWidth = 600, kHeight = 150, kFrames = 60;

const std::string& workDir() {
    static const std::string dir = [] {
        const char* tmp = getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/imgctl-bench-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("imgctl_bench: cannot create a work folder");
            std::exit(1);
        }
        return pattern;
    }();
    return dir;
}

// The source pictures, written once as BMP files.
const std::vector<Picture>& sources() {
    static const std::vector<Picture> pictures = [] {
        std::vector<Picture> out;
        const auto& styles = imgctl_bench::styles();
        for (size_t i = 0; i < styles.size(); ++i) {
            out.push_back(imgctl_bench::renderTextArt(styles[i], kWidth, kHeight, 20.0f));
            imgctl_bench::writeBmp(workDir() + "/art" + std::to_string(i) + ".bmp", out.back());
        }
        return out;
    }();
    return pictures;
}

std::string sourcePath(int i) { return workDir() + "/art" + std::to_string(i) + ".bmp"; }

Picture shownPicture(int handle) {
    Picture p{kWidth, kHeight, std::vector<imgctl_bench::Rgb>(size_t(kWidth) * kHeight)};
    std::vector<uint32_t> px(size_t(kWidth) * kHeight);
    DIBtoRGB32(handle, px.data(), kWidth, kHeight, kWidth * 4);
    for (size_t i = 0; i < px.size(); ++i)
        p.pixels[i] = {uint8_t(px[i] >> 16), uint8_t(px[i] >> 8), uint8_t(px[i])};
    return p;
}

// The first of the names that is an executable file on PATH, or "".
std::string findTool(std::initializer_list<const char*> names) {
    const char* path = getenv("PATH");
    for (const char* name : names) {
        std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
        size_t start = 0;
        while (start <= dirs.size()) {
            const size_t end = std::min(dirs.find(':', start), dirs.size());
            const std::string candidate = dirs.substr(start, end - start) + "/" + name;
            if (access(candidate.c_str(), X_OK) == 0) return candidate;
            start = end + 1;
        }
    }
    return {};
}

// The real ImageMagick 6 binary first: a "convert" earlier on PATH may be a
// wrapper script whose start-up would be timed too.
const std::string& imageMagick() {
    static const std::string tool = findTool({"convert-im6.q16", "magick", "convert"});
    return tool;
}

bool run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int err = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

long fileSize(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Mean wall time of a call and PSNR, for the closing table.
struct Measure {
    double ms = -1;
    double psnr = 0;
};
struct SummaryRow {
    Measure ours, imPlain, imDither;
};
std::map<int, SummaryRow>& summary() {
    static std::map<int, SummaryRow> rows;
    return rows;
}

// DIBto8Bit on each picture; options: 0 nearest colour, 1 dithered.
void BM_DIBto8Bit(benchmark::State& state) {
    const int picture = int(state.range(0)), options = int(state.range(1));
    const Picture& source = sources()[size_t(picture)];
    double psnr = 0, totalMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int handle = ToDIB(sourcePath(picture).c_str());
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const int r = DIBto8Bit(handle, 0, options);
        totalMs += millisecondsSince(start);
        state.PauseTiming();
        if (r != IMGCTL_OK) state.SkipWithError("DIBto8Bit failed");
        psnr = imgctl_bench::psnr(source, shownPicture(handle));
        DeleteDIB(handle);
        state.ResumeTiming();
    }
    state.counters["psnr_dB"] = psnr;
    state.SetLabel(imgctl_bench::styles()[size_t(picture)].name);
    if (options == IMGCTL_QUANT_NEAREST && state.iterations() > 0)
        summary()[picture].ours = {totalMs / double(state.iterations()), psnr};
}
BENCHMARK(BM_DIBto8Bit)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"picture", "dither"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// ImageMagick on the same file: 0 "+dither -colors 256", 1 "-colors 256"
// (its default dithering), 2 no reduction (the cost of starting, reading
// and writing, to subtract from the other two).
void BM_ImageMagick(benchmark::State& state) {
    const int picture = int(state.range(0)), mode = int(state.range(1));
    if (imageMagick().empty()) {
        state.SkipWithError("ImageMagick not found");
        for (auto _ : state) {
        }
        return;
    }
    sources();
    const std::string out = workDir() + "/im" + std::to_string(picture) + ".ppm";
    std::vector<std::string> args = {imageMagick(), sourcePath(picture)};
    if (mode == 0) args.push_back("+dither");
    if (mode != 2) args.insert(args.end(), {"-colors", "256"});
    args.push_back("ppm:" + out);
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!run(args)) state.SkipWithError("convert failed");
        totalMs += millisecondsSince(start);
    }
    Picture result;
    if (mode != 2 && imgctl_bench::readPpm(out, result)) {
        const double psnr = imgctl_bench::psnr(sources()[size_t(picture)], result);
        state.counters["psnr_dB"] = psnr;
        if (state.iterations() > 0) {
            Measure& m = mode == 0 ? summary()[picture].imPlain : summary()[picture].imDither;
            m = {totalMs / double(state.iterations()), psnr};
        }
    }
    state.SetLabel(std::string(imgctl_bench::styles()[size_t(picture)].name) +
                   (mode == 0 ? " +dither -colors 256" : mode == 1 ? " -colors 256" : " no reduction"));
}
BENCHMARK(BM_ImageMagick)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}})
    ->ArgNames({"picture", "mode"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

// The 60 frames of the sliding-text animation, loaded and reduced once.
struct Animation {
    std::vector<FrameRecord> frames;
    Animation() {
        const auto& style = imgctl_bench::styles()[0];
        for (int i = 0; i < kFrames; ++i) {
            const float x = float(kWidth) - (float(kWidth) - 20.0f) * float(i) / float(kFrames - 1);
            const std::string path = workDir() + "/frame.bmp";
            imgctl_bench::writeBmp(path, imgctl_bench::renderTextArt(style, kWidth, kHeight, x));
            FrameRecord r{};
            r.flags = IMGCTL_FRAME_STANDARD;
            r.delay = 5;
            r.dib = ToDIB(path.c_str());
            DIBto8Bit(r.dib, 0, 0);
            frames.push_back(r);
        }
    }
};

Animation& animation() {
    static Animation a;
    return a;
}

std::string animationPath(bool optimized) {
    return workDir() + (optimized ? "/anim_opt.gif" : "/anim_plain.gif");
}

void BM_AnimatedGif(benchmark::State& state) {
    const bool optimized = state.range(0) != 0;
    const Animation& a = animation();
    GifAnimeHeader header{};
    header.flags = IMGCTL_ANIME_HEADER_TAG | (optimized ? 0 : IMGCTL_ANIME_NO_OPTIMIZE);
    for (auto _ : state)
        if (DIBtoGIFAniEx(animationPath(optimized).c_str(), a.frames.data(), kFrames, &header) != IMGCTL_OK)
            state.SkipWithError("DIBtoGIFAniEx failed");
    state.counters["bytes"] = double(fileSize(animationPath(optimized)));
    state.SetLabel(optimized ? "changed rectangles" : "whole frames");
}
BENCHMARK(BM_AnimatedGif)->Arg(0)->Arg(1)->ArgName("optimized")->Unit(benchmark::kMillisecond)->Iterations(3);

// gifsicle -O3 on the whole-frame file written by the benchmark above.
void BM_GifsicleO3(benchmark::State& state) {
    const std::string gifsicle = findTool({"gifsicle"});
    if (gifsicle.empty()) {
        state.SkipWithError("gifsicle not found");
        for (auto _ : state) {
        }
        return;
    }
    const std::string in = animationPath(false), out = workDir() + "/anim_gifsicle.gif";
    if (fileSize(in) < 0) {
        GifAnimeHeader header{};
        header.flags = IMGCTL_ANIME_HEADER_TAG | IMGCTL_ANIME_NO_OPTIMIZE;
        DIBtoGIFAniEx(in.c_str(), animation().frames.data(), kFrames, &header);
    }
    for (auto _ : state)
        if (!run({gifsicle, "-O3", in, "-o", out})) state.SkipWithError("gifsicle failed");
    state.counters["bytes"] = double(fileSize(out));
    state.SetLabel("gifsicle -O3 of the whole-frame file");
}
BENCHMARK(BM_GifsicleO3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The goal, picture by picture, from the rows that were measured.
void printSummary() {
    bool header = false;
    for (const auto& [picture, row] : summary()) {
        if (row.ours.ms < 0 || row.imPlain.ms < 0 || row.imDither.ms < 0) continue;
        if (!header) {
            std::printf("\nDIBto8Bit (nearest colour) beside ImageMagick, mean wall time per call:\n");
            std::printf("%-8s %18s %18s %18s %9s %7s\n", "picture", "ours ms / dB", "+dither ms / dB",
                        "-colors ms / dB", "margin", "faster");
            header = true;
        }
        const double margin = row.ours.psnr - std::max(row.imPlain.psnr, row.imDither.psnr);
        const bool faster = row.ours.ms < row.imPlain.ms && row.ours.ms < row.imDither.ms;
        std::printf("%-8s %8.2f / %6.2f %8.2f / %6.2f %8.2f / %6.2f %+6.2f dB %7s   goal %s\n",
                    imgctl_bench::styles()[size_t(picture)].name, row.ours.ms, row.ours.psnr, row.imPlain.ms,
                    row.imPlain.psnr, row.imDither.ms, row.imDither.psnr, margin, faster ? "yes" : "no",
                    margin >= 2.0 && faster ? "met" : "missed");
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    // Set IMGCTL_BENCH_KEEP to look at the pictures and GIF files afterwards.
    if (getenv("IMGCTL_BENCH_KEEP") != nullptr) {
        std::printf("files kept in %s\n", workDir().c_str());
    } else {
        std::error_code ec;
        std::filesystem::remove_all(workDir(), ec);
    }
    return 0;
}
