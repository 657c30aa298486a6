// The animation's 10-second fade at 20 frames per second, 999 x 300: a
// styled title fades in from the background colour over 100 frames and out
// again over 100, each frame made as the effects library's fade makes it
// (every channel = ((255 - level) * background + level * pixel) / 255).
// Measures, per stage:
// - the frame's file round trip (BMP written, loaded with ToDIB);
// - DIBto8Bit on each frame (mean, fastest and slowest of the 200);
// - DIBtoGIFAniEx of the 200 frames, written whole and optimised;
// - gifsicle -O3 of the whole-frame file (the size to beat);
// and ends with a table of the sizes side by side.
// The title is synthetic text art; IMGCTL_FADE_SOURCE=title.bmp fades a
// rendered title instead (resized by nothing: use a 999 x 300 picture),
// with its pixel (1, 1) as the background colour. IMGCTL_BENCH_KEEP=1 keeps
// the files.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "imgctl.h"
#include "text_art.h"

extern char** environ;

namespace {

using imgctl_bench::Picture;
using imgctl_bench::Rgb;

constexpr int kWidth = 999, kHeight = 300;
constexpr int kFramesPerSecond = 20, kSecondsEachWay = 5;
constexpr int kDelay = 100 / kFramesPerSecond;

const std::string& workDir() {
    static const std::string dir = [] {
        const char* tmp = getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/imgctl-fade-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("imgctl_fade_bench: cannot create a work folder");
            std::exit(1);
        }
        return pattern;
    }();
    return dir;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Processor time of the calling thread, and of the whole process (every
// thread), in milliseconds: on a busy machine they show the work apart from
// the waiting.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}
double processCpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Wall and processor time of one stage.
struct Timer {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu;
    bool wholeProcess;
    explicit Timer(bool process = false) : cpu(process ? processCpuMs() : threadCpuMs()), wholeProcess(process) {}
    double wallMs() const { return millisecondsSince(wall); }
    double cpuMs() const { return (wholeProcess ? processCpuMs() : threadCpuMs()) - cpu; }
};

long fileSize(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1;
}

std::string findTool(const char* name) {
    const char* path = getenv("PATH");
    const std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

bool run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int err = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A title in the program's manner: gradient letters with a shadow and a glow
// on a plain background, the colour the fade starts from.
const imgctl_bench::Style kTitle = {"title",         {24, 40, 96},   {24, 40, 96},   {255, 250, 200},
                                    {255, 190, 40},  {230, 70, 20},  {0, 0, 16},     0.75f,
                                    {120, 200, 255}, 0.85f};

struct Base {
    Picture picture;
    Rgb background;
    std::string origin;
};

Picture pictureOfHandle(int handle) {
    int w = 0, h = 0;
    DIBInfo(handle, &w, &h, nullptr);
    std::vector<uint32_t> px(size_t(w) * size_t(h));
    DIBtoRGB32(handle, px.data(), w, h, w * 4);
    Picture p{w, h, std::vector<Rgb>(px.size())};
    for (size_t i = 0; i < px.size(); ++i) p.pixels[i] = {uint8_t(px[i] >> 16), uint8_t(px[i] >> 8), uint8_t(px[i])};
    return p;
}

const Base& base() {
    static const Base b = [] {
        Base out;
        const char* source = getenv("IMGCTL_FADE_SOURCE");
        if (source != nullptr && *source != '\0') {
            const int handle = ToDIB(source);
            if (handle == 0) {
                std::fprintf(stderr, "imgctl_fade_bench: cannot load %s\n", source);
                std::exit(1);
            }
            out.picture = pictureOfHandle(handle);
            DeleteDIB(handle);
            out.background = out.picture.pixels[size_t(std::min(1, out.picture.height - 1)) * size_t(out.picture.width) +
                                                size_t(std::min(1, out.picture.width - 1))];
            out.origin = source;
        } else {
            out.picture = imgctl_bench::renderTextArt(kTitle, kWidth, kHeight, 12.0f);
            out.background = kTitle.background1;
            out.origin = "synthetic text art";
        }
        return out;
    }();
    return b;
}

Picture fade(const Picture& p, Rgb c, int level) {
    Picture out = p;
    const auto mix = [&](uint8_t v, uint8_t bg) { return uint8_t(((255 - level) * bg + level * v) / 255); };
    for (Rgb& px : out.pixels) px = {mix(px.r, c.r), mix(px.g, c.g), mix(px.b, c.b)};
    return out;
}

// Levels of the schedule: fade-in then fade-out of 5 s each at 20 fps,
// n = 99, level = l * 255 / n to the nearest integer.
std::vector<int> levels() {
    const int n = kFramesPerSecond * kSecondsEachWay - 1;
    std::vector<int> out;
    for (int l = 0; l <= n; ++l) out.push_back(int(std::lround(double(l) * 255.0 / n)));
    for (int l = 0; l <= n; ++l) out.push_back(255 - int(std::lround(double(l) * 255.0 / n)));
    return out;
}

struct Stats {
    double totalMs = 0, minMs = 1e300, maxMs = 0, cpuMs = 0;
    int count = 0;
    void add(const Timer& t) {
        const double ms = t.wallMs();
        totalMs += ms;
        minMs = std::min(minMs, ms);
        maxMs = std::max(maxMs, ms);
        cpuMs += t.cpuMs();
        ++count;
    }
    double mean() const { return count > 0 ? totalMs / count : 0; }
    double meanCpu() const { return count > 0 ? cpuMs / count : 0; }
};

// The 200 frames, loaded and reduced as the animation driver does; made once.
struct Frames {
    std::vector<FrameRecord> records;
    Stats effect, roundTrip, reduce;
    Frames() {
        const std::string path = workDir() + "/GifAnimeW.bmp";
        for (const int level : levels()) {
            const Timer effectTimer;
            const Picture frame = fade(base().picture, base().background, level);
            effect.add(effectTimer);
            const Timer fileTimer;
            imgctl_bench::writeBmp(path, frame);
            FrameRecord r{};
            r.flags = IMGCTL_FRAME_STANDARD;
            r.delay = kDelay;
            r.dib = ToDIB(path.c_str());
            roundTrip.add(fileTimer);
            const Timer reduceTimer;
            if (DIBto8Bit(r.dib, 0, 0) != IMGCTL_OK) std::fprintf(stderr, "DIBto8Bit failed\n");
            reduce.add(reduceTimer);
            r.transparentIndex = uint32_t(PixelDIB(r.dib, 0, 0));
            records.push_back(r);
        }
    }
    ~Frames() {
        for (const FrameRecord& r : records) DeleteDIB(r.dib);
    }
};

// Made on first use, released at the end of main.
Frames* madeFrames = nullptr;
Frames& frames() {
    if (madeFrames == nullptr) madeFrames = new Frames;
    return *madeFrames;
}

struct Sizes {
    long whole = -1, optimised = -1, gifsicle = -1;
    double wholeMs = -1, optimisedMs = -1, gifsicleMs = -1;
    double wholeCpuMs = -1, optimisedCpuMs = -1;
} sizes;

std::string gifPath(const char* name) { return workDir() + "/" + name; }

// DIBto8Bit on one 999 x 300 frame of the fade: every frame of the schedule
// in turn, reloaded before each call.
void BM_ReduceFadeFrame(benchmark::State& state) {
    const std::vector<int> all = levels();
    const std::string path = workDir() + "/reduce.bmp";
    size_t k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        imgctl_bench::writeBmp(path, fade(base().picture, base().background, all[k++ % all.size()]));
        const int handle = ToDIB(path.c_str());
        state.ResumeTiming();
        if (DIBto8Bit(handle, 0, 0) != IMGCTL_OK) state.SkipWithError("DIBto8Bit failed");
        state.PauseTiming();
        DeleteDIB(handle);
        state.ResumeTiming();
    }
    state.SetLabel("999 x 300, levels of the schedule in turn");
}
BENCHMARK(BM_ReduceFadeFrame)->Unit(benchmark::kMillisecond)->Iterations(40)->UseRealTime();

void BM_WriteFade(benchmark::State& state) {
    const bool optimised = state.range(0) != 0;
    const Frames& f = frames();
    GifAnimeHeader header{};
    header.flags = IMGCTL_ANIME_HEADER_TAG | (optimised ? 0 : IMGCTL_ANIME_NO_OPTIMIZE);
    const std::string path = gifPath(optimised ? "fade_opt.gif" : "fade_whole.gif");
    double totalMs = 0, cpuMs = 0;
    for (auto _ : state) {
        const Timer timer(true);
        if (DIBtoGIFAniEx(path.c_str(), f.records.data(), int(f.records.size()), &header) != IMGCTL_OK)
            state.SkipWithError("DIBtoGIFAniEx failed");
        totalMs += timer.wallMs();
        cpuMs += timer.cpuMs();
    }
    const long bytes = fileSize(path);
    const double runs = double(std::max<int64_t>(1, state.iterations()));
    state.counters["bytes"] = double(bytes);
    (optimised ? sizes.optimised : sizes.whole) = bytes;
    (optimised ? sizes.optimisedMs : sizes.wholeMs) = totalMs / runs;
    (optimised ? sizes.optimisedCpuMs : sizes.wholeCpuMs) = cpuMs / runs;
    state.SetLabel(optimised ? "optimised" : "whole frames");
}
BENCHMARK(BM_WriteFade)->Arg(0)->Arg(1)->ArgName("optimised")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_GifsicleO3(benchmark::State& state) {
    const std::string gifsicle = findTool("gifsicle");
    if (gifsicle.empty()) {
        state.SkipWithError("gifsicle not found");
        for (auto _ : state) {
        }
        return;
    }
    const std::string in = gifPath("fade_whole.gif"), out = gifPath("fade_gifsicle.gif");
    if (fileSize(in) < 0) {
        GifAnimeHeader header{};
        header.flags = IMGCTL_ANIME_HEADER_TAG | IMGCTL_ANIME_NO_OPTIMIZE;
        DIBtoGIFAniEx(in.c_str(), frames().records.data(), int(frames().records.size()), &header);
    }
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!run({gifsicle, "-O3", in, "-o", out})) state.SkipWithError("gifsicle failed");
        totalMs += millisecondsSince(start);
    }
    sizes.gifsicle = fileSize(out);
    sizes.gifsicleMs = totalMs / double(std::max<int64_t>(1, state.iterations()));
    state.counters["bytes"] = double(sizes.gifsicle);
    state.SetLabel("gifsicle -O3 of the whole-frame file");
}
BENCHMARK(BM_GifsicleO3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void printSummary() {
    const Frames& f = frames();
    std::printf("\nFade of %s, %d x %d, %zu frames, background %d,%d,%d\n", base().origin.c_str(),
                base().picture.width, base().picture.height, f.records.size(), base().background.r,
                base().background.g, base().background.b);
    std::printf("per frame, ms: wall mean / fastest / slowest, processor time mean\n");
    const auto line = [](const char* name, const Stats& s) {
        std::printf("  %-34s %8.2f %8.2f %8.2f %8.2f   (all frames: wall %8.1f, processor %8.1f)\n", name, s.mean(),
                    s.minMs, s.maxMs, s.meanCpu(), s.totalMs, s.cpuMs);
    };
    line("fade (in memory)", f.effect);
    line("BMP written and loaded (ToDIB)", f.roundTrip);
    line("DIBto8Bit", f.reduce);
    std::printf("GIF of all frames (processor time of all threads):\n");
    std::printf("  %-34s %10s %10s %12s\n", "", "bytes", "wall ms", "processor ms");
    std::printf("  %-34s %10ld %10.1f %12.1f\n", "DIBtoGIFAniEx, whole frames", sizes.whole, sizes.wholeMs,
                sizes.wholeCpuMs);
    std::printf("  %-34s %10ld %10.1f %12.1f\n", "DIBtoGIFAniEx, optimised", sizes.optimised, sizes.optimisedMs,
                sizes.optimisedCpuMs);
    std::printf("  %-34s %10ld %10.1f\n", "gifsicle -O3 of the whole frames", sizes.gifsicle, sizes.gifsicleMs);
    if (sizes.optimised > 0 && sizes.gifsicle > 0)
        std::printf("  optimised / gifsicle -O3 = %.3f   goal (no larger) %s\n",
                    double(sizes.optimised) / double(sizes.gifsicle),
                    sizes.optimised <= sizes.gifsicle ? "met" : "missed");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    delete madeFrames;
    if (getenv("IMGCTL_BENCH_KEEP") != nullptr) {
        std::printf("files kept in %s\n", workDir().c_str());
    } else {
        std::error_code ec;
        std::filesystem::remove_all(workDir(), ec);
    }
    return 0;
}
