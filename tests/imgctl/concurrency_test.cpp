// Calls from several threads at once, as the animation driver makes them:
// loading, reducing to 256 colours and reading pixels on distinct handles
// give exactly what the same calls give one after another, and two
// reductions of one handle at once leave one of the two equal results.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "imgctl.h"
#include "support.h"

using namespace imgctl_test;

namespace {

// What a reduced frame shows and its top-left index.
struct Result {
    std::vector<uint32_t> pixels;
    int corner = -1;
    friend bool operator==(const Result&, const Result&) = default;
};

Result loadReduceRead(const std::string& path, int width, int height) {
    Result r;
    const int handle = ToDIB(path.c_str());
    if (handle == 0) return r;
    if (DIBto8Bit(handle, 0, 0) == IMGCTL_OK) {
        r.pixels.assign(size_t(width) * size_t(height), 0);
        DIBtoRGB32(handle, r.pixels.data(), width, height, width * 4);
        r.corner = PixelDIB(handle, 0, 0);
    }
    DeleteDIB(handle);
    return r;
}

// Pictures of many colours, each different.
Picture frame(int k) {
    Picture p = gradient(96, 48);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.at(x, y).b = uint8_t((p.at(x, y).b + 37 * k + x * y) & 0xFF);
    return p;
}

}  // namespace

TEST(ImgctlConcurrency, DistinctHandlesReduceAsAloneFromManyThreads) {
    ScratchDir dir;
    constexpr int kPictures = 8;
    std::vector<std::string> paths;
    std::vector<Result> alone;
    for (int k = 0; k < kPictures; ++k) {
        paths.push_back(dir.file("f" + std::to_string(k) + ".bmp"));
        writeFile(paths.back(), bmp24(frame(k)));
        alone.push_back(loadReduceRead(paths.back(), 96, 48));
        ASSERT_EQ(alone.back().pixels.size(), size_t(96 * 48));
    }
    constexpr int kThreads = 4, kRounds = 3;
    std::vector<std::vector<Result>> seen(kThreads);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            while (!go) std::this_thread::yield();
            for (int round = 0; round < kRounds; ++round)
                for (int k = 0; k < kPictures; ++k)
                    seen[size_t(t)].push_back(loadReduceRead(paths[size_t((k + t) % kPictures)], 96, 48));
        });
    }
    go = true;
    for (std::thread& t : threads) t.join();
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(seen[size_t(t)].size(), size_t(kRounds * kPictures));
        for (int i = 0; i < kRounds * kPictures; ++i)
            EXPECT_EQ(seen[size_t(t)][size_t(i)], alone[size_t((i % kPictures + t) % kPictures)])
                << "thread " << t << " call " << i;
    }
}

TEST(ImgctlConcurrency, OneHandleReducedTwiceAtOnce) {
    ScratchDir dir;
    const std::string path = dir.file("f.bmp");
    writeFile(path, bmp24(frame(3)));
    const Result alone = loadReduceRead(path, 96, 48);
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int handle = ToDIB(path.c_str());
        ASSERT_NE(handle, 0);
        int results[2] = {0, 0};
        std::thread a([&] { results[0] = DIBto8Bit(handle, 0, 0); });
        std::thread b([&] { results[1] = DIBto8Bit(handle, 0, 0); });
        a.join();
        b.join();
        EXPECT_EQ(results[0], IMGCTL_OK);
        EXPECT_EQ(results[1], IMGCTL_OK);
        Result r;
        r.pixels.assign(96 * 48, 0);
        ASSERT_EQ(DIBtoRGB32(handle, r.pixels.data(), 96, 48, 96 * 4), IMGCTL_OK);
        r.corner = PixelDIB(handle, 0, 0);
        EXPECT_EQ(r, alone);
        EXPECT_EQ(DeleteDIB(handle), IMGCTL_OK);
    }
}

// Many short calls at once, so that the threads meet in the handle table
// itself: every handle a thread gets is its own until it deletes it.
TEST(ImgctlConcurrency, HandleTableUnderManyShortCalls) {
    ScratchDir dir;
    constexpr int kThreads = 6, kCalls = 4000;
    std::vector<std::string> paths;
    for (int t = 0; t < kThreads; ++t) {
        paths.push_back(dir.file("s" + std::to_string(t) + ".bmp"));
        writeFile(paths.back(), bmp24(solid(3, 2, Color{uint8_t(40 * t), 7, 9})));
    }
    std::atomic<int> wrong{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            while (!go) std::this_thread::yield();
            for (int i = 0; i < kCalls; ++i) {
                const int handle = ToDIB(paths[size_t(t)].c_str());
                uint32_t pixel = 0;
                if (handle == 0 || DIBto8Bit(handle, 0, 0) != IMGCTL_OK || PixelDIB(handle, 2, 1) != 0 ||
                    DIBtoRGB32(handle, &pixel, 1, 1, 4) != IMGCTL_OK ||
                    pixel != (0xFF000000u | uint32_t(40 * t) << 16 | 7u << 8 | 9u) || DeleteDIB(handle) != IMGCTL_OK)
                    ++wrong;
            }
        });
    }
    go = true;
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(wrong.load(), 0);
}
