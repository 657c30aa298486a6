#include <gtest/gtest.h>

#include <vector>

#include "rot.h"

namespace tesmor {
namespace {

constexpr uint8_t kGuard = 0xEE;

struct Case {
    const char* what;
    int16_t width, height;
    int mode;
    std::vector<uint8_t> before;  // rows of 4 * floor((width + 3) / 4) bytes
    std::vector<uint8_t> after;   // rows of 4 * floor((height + 3) / 4) bytes
};

// Source 3 x 2 (rows of 4 bytes, the fourth is padding):
//   top    4 5 6 .
//   bottom 1 2 3 .
// Clockwise, 2 x 3 (rows of 4 bytes), from the top: 1 4 / 2 5 / 3 6.
TEST(RotM, TurnsInPlaceAndSwapsTheSizes) {
    const Case cases[] = {
        {"clockwise", 3, 2, 1, {1, 2, 3, 99, 4, 5, 6, 99}, {3, 6, 0, 0, 2, 5, 0, 0, 1, 4, 0, 0}},
        {"counter-clockwise", 3, 2, 2, {1, 2, 3, 99, 4, 5, 6, 99},
         {4, 1, 0, 0, 5, 2, 0, 0, 6, 3, 0, 0}},
        {"any other mode is counter-clockwise", 3, 2, -7, {1, 2, 3, 99, 4, 5, 6, 99},
         {4, 1, 0, 0, 5, 2, 0, 0, 6, 3, 0, 0}},
        // 5 x 1 (8 bytes) turns into 1 x 5: five rows of 4 bytes, 20 bytes.
        {"wide row", 5, 1, 1, {1, 2, 3, 4, 5, 99, 99, 99},
         {5, 0, 0, 0, 4, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0}},
        // 1 x 5 (20 bytes) turns into 5 x 1: one row of 8 bytes.
        {"tall column", 1, 5, 2, {1, 99, 99, 99, 2, 99, 99, 99, 3, 99, 99, 99, 4, 99, 99, 99, 5, 99,
                                  99, 99},
         {5, 4, 3, 2, 1, 0, 0, 0}},
        {"one pixel", 1, 1, 1, {7, 99, 99, 99}, {7, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        // The buffer holds the larger of the two images and a guard after it.
        const size_t size = std::max(c.before.size(), c.after.size());
        std::vector<uint8_t> buffer(size + 8, kGuard);
        std::copy(c.before.begin(), c.before.end(), buffer.begin());
        int16_t w = c.width, h = c.height;
        ASSERT_EQ(rotateInPlace(buffer.data(), &w, &h, c.mode), 1) << c.what;
        EXPECT_EQ(w, c.height) << c.what;
        EXPECT_EQ(h, c.width) << c.what;
        EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(c.after.size())),
                  c.after)
            << c.what;
        for (size_t i = c.after.size(); i < buffer.size(); ++i) {
            const uint8_t expected = i < c.before.size() ? c.before[i] : kGuard;
            EXPECT_EQ(buffer[i], expected) << c.what << ": byte " << i << " beyond the result";
        }
    }
}

TEST(RotM, ModeZeroDoesNothing) {
    std::vector<uint8_t> buffer{1, 2, 3, 4, 5, 6, 7, 8};
    int16_t w = 3, h = 2;
    EXPECT_EQ(rotateInPlace(buffer.data(), &w, &h, 0), 0);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(buffer, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(rotateInPlace(nullptr, nullptr, nullptr, 0), 0);
}

// Sizes are checked only when not both 0; sizes outside 1 .. 30000 (whose
// copy would be too large, or whose byte counts would be nonsense) and
// null pointers are refused without touching anything.
TEST(RotM, RefusedSizesAndPointers) {
    struct Refusal {
        int16_t width, height;
        int code;
    };
    const Refusal refusals[] = {
        {0, 3, -1},     {-1, 3, -1}, {30001, 1, -1}, {32767, 32767, -1}, {-32768, 1, -1},
        {3, 0, -2},     {3, -5, -2}, {1, 30001, -2}, {2, -32768, -2},
    };
    std::vector<uint8_t> buffer(16, kGuard);
    for (const Refusal& r : refusals) {
        int16_t w = r.width, h = r.height;
        EXPECT_EQ(rotateInPlace(buffer.data(), &w, &h, 1), r.code) << r.width << " x " << r.height;
        EXPECT_EQ(w, r.width);
        EXPECT_EQ(h, r.height);
    }
    EXPECT_EQ(buffer, std::vector<uint8_t>(16, kGuard));

    int16_t w = 1, h = 1;
    EXPECT_EQ(rotateInPlace(nullptr, &w, &h, 1), -5);
    EXPECT_EQ(rotateInPlace(buffer.data(), nullptr, &h, 1), -5);
    EXPECT_EQ(rotateInPlace(buffer.data(), &w, nullptr, 2), -5);
    // Both sizes 0: an empty image, nothing to move.
    w = 0;
    h = 0;
    EXPECT_EQ(rotateInPlace(buffer.data(), &w, &h, 1), 1);
    EXPECT_EQ(buffer, std::vector<uint8_t>(16, kGuard));
}

TEST(RotM, FourTurnsGiveTheImageBack) {
    const int16_t w0 = 7, h0 = 3;
    std::vector<uint8_t> original(static_cast<size_t>(bytes8(w0, h0)));
    for (int y = 0; y < h0; ++y)
        for (int x = 0; x < w0; ++x) original[static_cast<size_t>(y * 8 + x)] = static_cast<uint8_t>(10 * y + x);
    std::vector<uint8_t> buffer(static_cast<size_t>(std::max(bytes8(w0, h0), bytes8(h0, w0))));
    std::copy(original.begin(), original.end(), buffer.begin());
    int16_t w = w0, h = h0;
    for (int i = 0; i < 4; ++i) ASSERT_EQ(rotateInPlace(buffer.data(), &w, &h, 1), 1);
    EXPECT_EQ(w, w0);
    EXPECT_EQ(h, h0);
    EXPECT_TRUE(std::equal(original.begin(), original.end(), buffer.begin()));
}

}  // namespace
}  // namespace tesmor
