#include "dibpast.h"

#include <gtest/gtest.h>

#include <climits>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

const Bgr kWhite{255, 255, 255};
const Bgr kBlack{0, 0, 0};
const Bgr kA{10, 0, 0}, kB{0, 20, 0}, kC{0, 0, 30}, kD{40, 40, 0};

// Pixels of an image listed top row first, as they appear on screen.
std::vector<Bgr> topDown(const Image& image) {
    std::vector<Bgr> v;
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x) v.push_back(at(image, x, y));
    return v;
}

void paste(Image& target, const Image& source, int x, int y, int w, int h, bool keyed) {
    pasteScaled({target.data.data(), target.width, target.height}, source.view(), x, y, w, h,
                keyed);
}

// Source 2 x 2 on screen:  A B
//                          C D
const Image kSource = image24(2, 2, {kC, kD, kA, kB});

TEST(DIBPast, KeyedPasteReplacesOnlyTheWhiteKeyPixels) {
    // 4 x 3 white destination with one black pixel at column 1, second row
    // from the top; the bottom-left pixel is white, so white is the key.
    auto destination = [] {
        Image d = image24(4, 3, {kWhite, kWhite, kWhite, kWhite,   // bottom row
                                 kWhite, kBlack, kWhite, kWhite,   // middle row
                                 kWhite, kWhite, kWhite, kWhite}); // top row
        return d;
    };
    Image keyed = destination();
    paste(keyed, kSource, 1, 0, 2, 2, true);
    EXPECT_EQ(topDown(keyed), (std::vector<Bgr>{kWhite, kA, kB, kWhite,      //
                                                kWhite, kBlack, kD, kWhite,  //
                                                kWhite, kWhite, kWhite, kWhite}));
    Image every = destination();
    paste(every, kSource, 1, 0, 2, 2, false);
    EXPECT_EQ(topDown(every), (std::vector<Bgr>{kWhite, kA, kB, kWhite,  //
                                                kWhite, kC, kD, kWhite,  //
                                                kWhite, kWhite, kWhite, kWhite}));
}

TEST(DIBPast, KeyIsTheBottomLeftPixelWhateverItsColour) {
    Image d = image24(2, 1, {kBlack, kWhite});
    paste(d, image24(1, 1, {kA}), 0, 0, 2, 1, true);
    EXPECT_EQ(topDown(d), (std::vector<Bgr>{kA, kWhite}));
}

TEST(DIBPast, StretchingAndMirroringTable) {
    const Image row = image24(2, 1, {kA, kB});       // A B
    const Image column = image24(1, 2, {kC, kA});    // A over C
    struct Case {
        const char* what;
        const Image* source;
        int width, height, w, h;
        std::vector<Bgr> expected;  // top row first
    };
    const Case cases[] = {
        // columns floor(j * 2 / 4) = 0 0 1 1
        {"stretched", &row, 4, 1, 4, 1, {kA, kA, kB, kB}},
        // floor(2 (j - 3) / -4) = 1 1 0 0
        {"mirrored", &row, 4, 1, -4, 1, {kB, kB, kA, kA}},
        {"mirrored 1:1", &row, 2, 1, -2, 1, {kB, kA}},
        {"squeezed", &row, 1, 1, 1, 1, {kA}},
        {"upside down", &column, 1, 2, 1, -2, {kC, kA}},
        // rows floor(i * 2 / 3) = 0 0 1, mirrored 1 0 0
        {"upside down stretched", &column, 1, 3, 1, -3, {kC, kA, kA}},
    };
    for (const Case& c : cases) {
        Image d(c.width, c.height);
        paste(d, *c.source, 0, 0, c.w, c.h, false);
        EXPECT_EQ(topDown(d), c.expected) << c.what;
    }
}

TEST(DIBPast, PixelsOutsideTheDestinationAreDropped) {
    // 3 x 3 source on screen: 1 2 3 / 4 5 6 / 7 8 9 (grey levels).
    const Image source = greyImage(3, 3, {7, 8, 9, 4, 5, 6, 1, 2, 3});
    struct Case {
        int x, y, w, h;
        std::vector<int> expected;  // 2 x 2 destination of 0, top row first
    };
    const Case cases[] = {
        {-1, -1, 3, 3, {5, 6, 8, 9}},
        {1, 1, 3, 3, {0, 0, 0, 1}},
        {2, 0, 3, 3, {0, 0, 0, 0}},
        {0, 2, 3, 3, {0, 0, 0, 0}},
        {-3, 0, 3, 3, {0, 0, 0, 0}},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, {0, 0, 0, 0}},
        // near the origin of a huge paste every pixel comes from source (0, 0)
        {-2, -2, INT_MAX, INT_MAX, {1, 1, 1, 1}},
        {0, 0, 0, 5, {0, 0, 0, 0}},
        {0, 0, 5, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Image d(2, 2);
        paste(d, source, c.x, c.y, c.w, c.h, false);
        std::vector<int> got;
        for (const Bgr& p : topDown(d)) got.push_back(p.b);
        EXPECT_EQ(got, c.expected) << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }
}

TEST(DIBPast, PasteWithinOneArrayReadsTheOriginal) {
    Image d = greyImage(3, 1, {1, 2, 3});
    pasteScaled({d.data.data(), 3, 1}, d.view(), 0, 0, -3, 1, false);
    EXPECT_EQ(greyLevels(d), (std::vector<int>{3, 2, 1}));
}

// DIBPast2: pixel (j, i) takes column floor(j * spanX / w) and row
// top + floor(i * spanY / h) from the top of the source.
TEST(DIBPast2, SpanTable) {
    // 4 x 3 source on screen: 1 2 3 4 / 5 6 7 8 / 9 10 11 12.
    const Image source = greyImage(4, 3, {9, 10, 11, 12, 5, 6, 7, 8, 1, 2, 3, 4});
    struct Case {
        const char* what;
        SourceSpan span;
        int w, h;
        std::vector<int> expected;  // 4 x 2 destination, top row first
    };
    const Case cases[] = {
        // columns 0 0 1 1, rows 1 2
        {"stretch of the lower left", {1, 2, 2}, 4, 2, {5, 5, 6, 6, 9, 9, 10, 10}},
        // columns 0 1 2 3, rows 0 0 (span 1 high, stretched)
        {"top row doubled", {0, 4, 1}, 4, 2, {1, 2, 3, 4, 1, 2, 3, 4}},
        // columns floor(j * 4 / 2) = 0 2 only in a 2-wide paste
        {"squeezed", {2, 4, 1}, 2, 1, {9, 11, 0, 0, 0, 0, 0, 0}},
        {"span 0 repeats column 0", {1, 0, 1}, 3, 1, {5, 5, 5, 0, 0, 0, 0, 0}},
        {"nothing for w 0", {0, 4, 3}, 0, 2, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"nothing for h -1", {0, 4, 3}, 4, -1, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Image d(4, 2);
        pasteSpan({d.data.data(), 4, 2}, source.view(), 0, 0, c.w, c.h, c.span, false);
        std::vector<int> got;
        for (const Bgr& p : topDown(d)) got.push_back(p.b);
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

TEST(DIBPast2, SpanMustLieInsideTheSource) {
    struct Case {
        SourceSpan span;
        bool inside;
    };
    const Case cases[] = {
        {{0, 4, 3}, true},  {{2, 4, 1}, true},   {{2, 0, 0}, true},   {{2, 4, 2}, false},
        {{3, 1, 0}, false}, {{-1, 1, 1}, false}, {{0, 5, 1}, false},  {{0, -1, 1}, false},
        {{0, 1, -1}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(spanInside(c.span, 4, 3), c.inside)
            << c.span.top << " " << c.span.spanX << " " << c.span.spanY;
    }
}

TEST(DIBPast2, KeyedSpanPaste) {
    Image d = image24(2, 1, {kWhite, kBlack});
    pasteSpan({d.data.data(), 2, 1}, kSource.view(), 0, 0, 2, 1, {1, 2, 1}, true);
    EXPECT_EQ(topDown(d), (std::vector<Bgr>{kC, kBlack}));
}

}  // namespace
}  // namespace tesmor
