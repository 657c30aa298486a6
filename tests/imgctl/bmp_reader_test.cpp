// The BMP reader of the core: what it accepts and how it refuses broken
// files.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>

#include "bmp_reader.h"
#include "support.h"

using namespace imgctl;
using namespace imgctl_test;

namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

Picture sample() {
    Picture p = solid(5, 3, {});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) p.at(x, y) = {uint8_t(x * 50), uint8_t(y * 100), uint8_t(x + y)};
    return p;
}

// The same picture with negative height: rows stored top row first.
std::vector<uint8_t> topDown(const Picture& p) {
    std::vector<uint8_t> b = bmp24(p);
    put32(b, 22, uint32_t(-p.height));
    const size_t stride = (size_t(p.width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> rows(b.begin() + 54, b.end());
    for (int y = 0; y < p.height; ++y)
        std::copy_n(rows.begin() + long(size_t(p.height - 1 - y) * stride), stride,
                    b.begin() + 54 + long(size_t(y) * stride));
    return b;
}

}  // namespace

TEST(BmpReader, Reads24BitRowsInEitherOrder) {
    const Picture p = sample();
    for (const auto& bytes : {bmp24(p), topDown(p)}) {
        Bitmap b;
        ASSERT_EQ(decodeBmp(bytes, b), BmpStatus::Ok);
        EXPECT_FALSE(b.indexed);
        ASSERT_EQ(b.width, 5);
        ASSERT_EQ(b.height, 3);
        for (int i = 0; i < 15; ++i) {
            const Color c = p.pixels[size_t(i)];
            EXPECT_EQ(b.colorAt(size_t(i)), (Rgb{c.r, c.g, c.b})) << "pixel " << i;
        }
    }
}

TEST(BmpReader, Reads8BitWithItsColourTable) {
    const std::vector<Color> table = {{1, 2, 3}, {200, 100, 50}, {0, 255, 0}};
    const std::vector<uint8_t> indices = {0, 1, 2, 2, 1, 0, 1, 1};  // 4 x 2
    Bitmap b;
    ASSERT_EQ(decodeBmp(bmp8(4, 2, table, indices), b), BmpStatus::Ok);
    EXPECT_TRUE(b.indexed);
    ASSERT_EQ(b.palette.size(), 3u);
    EXPECT_EQ(b.palette[1], (Rgb{200, 100, 50}));
    EXPECT_EQ(b.indices, indices);
}

TEST(BmpReader, MissingPaddingOfTheLastRowIsAccepted) {
    std::vector<uint8_t> bytes = bmp24(sample());  // rows of 15 bytes padded to 16
    bytes.pop_back();
    Bitmap b;
    EXPECT_EQ(decodeBmp(bytes, b), BmpStatus::Ok);
    bytes.pop_back();
    EXPECT_EQ(decodeBmp(bytes, b), BmpStatus::Truncated);
}

TEST(BmpReader, RefusesBrokenFiles) {
    using Edit = std::function<void(std::vector<uint8_t>&)>;
    const auto field = [](size_t at, uint32_t v) -> Edit {
        return [=](std::vector<uint8_t>& b) { put32(b, at, v); };
    };
    const auto field16 = [](size_t at, uint16_t v) -> Edit {
        return [=](std::vector<uint8_t>& b) { b[at] = uint8_t(v); b[at + 1] = uint8_t(v >> 8); };
    };
    struct Case {
        const char* name;
        bool eightBit;
        Edit edit;
        BmpStatus expected;
    };
    const std::vector<Case> cases = {
        {"empty", false, [](auto& b) { b.clear(); }, BmpStatus::Truncated},
        {"53 bytes", false, [](auto& b) { b.resize(53); }, BmpStatus::Truncated},
        {"signature", false, [](auto& b) { b[1] = 'A'; }, BmpStatus::NotBmp},
        {"core header", false, field(14, 12), BmpStatus::Unsupported},
        {"info size beyond file", false, field(14, 124), BmpStatus::Truncated},
        {"two planes", false, field16(26, 2), BmpStatus::Unsupported},
        {"16 bits", false, field16(28, 16), BmpStatus::Unsupported},
        {"run-length", false, field(30, 1), BmpStatus::Unsupported},
        {"zero width", false, field(18, 0), BmpStatus::BadGeometry},
        {"negative width", false, field(18, uint32_t(-5)), BmpStatus::BadGeometry},
        {"zero height", false, field(22, 0), BmpStatus::BadGeometry},
        {"most negative height", false, field(22, uint32_t(INT_MIN)), BmpStatus::BadGeometry},
        {"side too long", false, field(18, 40000), BmpStatus::BadGeometry},
        {"too many pixels", false, [](auto& b) { put32(b, 18, 10000); put32(b, 22, 10000); },
         BmpStatus::BadGeometry},
        {"large but data missing", false, [](auto& b) { put32(b, 18, 30000); put32(b, 22, 2000); },
         BmpStatus::Truncated},
        {"offset inside header", false, field(10, 20), BmpStatus::BadOffset},
        {"offset past the end", false, field(10, 0xFFFFFFF0u), BmpStatus::Truncated},
        {"pixels cut short", false, [](auto& b) { b.resize(b.size() - 20); }, BmpStatus::Truncated},
        {"table of 300", true, field(46, 300), BmpStatus::Unsupported},
        {"table beyond file", true, [](auto& b) { put32(b, 46, 256); b.resize(60); },
         BmpStatus::Truncated},
        {"index outside table", true, [](auto& b) { b.back() = 7; }, BmpStatus::BadIndex},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes =
            c.eightBit ? bmp8(4, 2, {{0, 0, 0}, {9, 9, 9}}, {0, 1, 1, 0, 1, 0, 0, 1}) : bmp24(sample());
        c.edit(bytes);
        Bitmap b;
        EXPECT_EQ(decodeBmp(bytes, b), c.expected) << c.name;
    }
}

// Random damage to the headers and random truncation must give a status,
// never a crash or a read outside the buffer (the sanitizer build checks
// the latter).
TEST(BmpReader, SurvivesRandomDamage) {
    std::mt19937 rng(12345);
    const std::vector<std::vector<uint8_t>> originals = {
        bmp24(sample()), bmp8(4, 2, {{0, 0, 0}, {9, 9, 9}}, {0, 1, 1, 0, 1, 0, 0, 1})};
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<uint8_t> bytes = originals[size_t(round) % 2];
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) bytes[rng() % 64 % bytes.size()] = uint8_t(rng());
        if (rng() % 4 == 0) bytes.resize(rng() % (bytes.size() + 1));
        Bitmap b;
        if (decodeBmp(bytes, b) == BmpStatus::Ok) {
            ++accepted;
            ASSERT_GE(b.width, 1);
            ASSERT_GE(b.height, 1);
            ASSERT_EQ(b.indexed ? b.indices.size() : b.rgba.size() / 4, b.pixelCount());
            for (uint8_t v : b.indices) ASSERT_LT(v, b.palette.size());
        }
    }
    EXPECT_GT(accepted, 0);  // harmless edits (e.g. to reserved fields) still load
}

TEST(BmpReader, MissingFileOrFolderCannotBeOpened) {
    ScratchDir dir;
    Bitmap b;
    EXPECT_EQ(readBmpFile(dir.file("none.bmp").c_str(), b), BmpStatus::CannotOpen);
    EXPECT_EQ(readBmpFile(dir.path().c_str(), b), BmpStatus::CannotOpen);
    EXPECT_EQ(readBmpFile("", b), BmpStatus::CannotOpen);
    writeFile(dir.file("ok.bmp"), bmp24(sample()));
    EXPECT_EQ(readBmpFile(dir.file("ok.bmp").c_str(), b), BmpStatus::Ok);
}
