// Tests through the exported C functions of libTesmor32.so: result codes for
// broken files, argument conventions, same source and destination.
#include "tesmor32.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;
namespace fs = std::filesystem;

// A valid 2 x 2 24-bit file: 54 + 2 rows of 8 bytes.
std::vector<uint8_t> validFile() { return bmpBytes(greyImage(2, 2, {10, 20, 30, 40})); }

struct Codes {
    int hReSize, sReSize, sReSize2, zoom;
};

// Calls each file function with small valid sizes.
Codes callAll(const std::string& source, const std::string& destination) {
    return {HReSize(source.c_str(), destination.c_str(), 3, 3),
            SReSize(source.c_str(), destination.c_str(), 3, 3, 2),
            SReSize2(source.c_str(), destination.c_str(), 0, 0, 2, 2, 3, 3, 2),
            Zoom(source.c_str(), destination.c_str(), 3, 3)};
}

TEST(Tesmor32Abi, BrokenFilesTable) {
    const std::vector<uint8_t> ok = validFile();
    const std::vector<uint8_t> eightBit = bmpBytes(image8(2, 2, {1, 2, 3, 4}));
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        Codes expected;
    };
    const Case cases[] = {
        {"valid", ok, {1, 1, 1, 1}},
        {"0-byte file", {}, {-3, -13, -13, -2}},
        {"truncated header", cut(ok, 30), {-3, -13, -13, -2}},
        {"53 bytes", cut(ok, 53), {-3, -13, -13, -2}},
        {"not B", with16(ok, 0, 'X' | 'M' << 8), {-5, -4, -4, -3}},
        {"not M", with16(ok, 0, 'B' | 'X' << 8), {-5, -5, -5, -3}},
        {"32 bits", with16(ok, 28, 32), {-7, -6, -6, -5}},
        {"16 bits", with16(ok, 28, 16), {-7, -6, -6, -5}},
        {"8 bits", eightBit, {1, -6, -6, -5}},
        {"compression 1", with32(ok, 30, 1), {-6, -6, -6, -4}},
        {"compression 3", with32(ok, 30, 3), {-6, -6, -6, -4}},
        {"one row of pixels missing", cut(ok, 62), {-13, -13, -13, -13}},
        {"one pixel byte missing", cut(ok, 67), {-13, -13, -13, -13}},
        {"only the last padding missing", cut(ok, 68), {1, 1, 1, 1}},
        {"header only", cut(ok, 54), {-13, -13, -13, -13}},
        {"data offset past the end", with32(ok, 10, 1000), {-13, -13, -13, -13}},
        {"data offset 0", with32(ok, 10, 0), {-13, -13, -13, -13}},
        {"data offset negative", with32(ok, 10, INT_MIN), {-13, -13, -13, -13}},
        {"info size 12", with32(ok, 14, 12), {-13, -13, -13, -13}},
        {"info size huge", with32(ok, 14, INT_MAX), {-13, -13, -13, -13}},
        {"width negative", with32(ok, 18, -2), {-13, -13, -13, -13}},
        {"width 0", with32(ok, 18, 0), {-13, -13, -13, -13}},
        {"width huge", with32(ok, 18, INT_MAX), {-13, -13, -13, -13}},
        {"height negative", with32(ok, 22, -2), {-13, -13, -13, -13}},
        {"height 0", with32(ok, 22, 0), {-13, -13, -13, -13}},
        {"height huge", with32(ok, 22, 0x40000000), {-13, -13, -13, -13}},
        {"20000 x 20000 claimed", with32(with32(ok, 18, 20000), 22, 20000), {-13, -13, -13, -13}},
        {"file size field huge", with32(ok, 2, INT_MAX), {1, 1, 1, 1}},
        {"file size field 0", with32(ok, 2, 0), {1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string source = dir.file("in.bmp"), destination = dir.file("out.bmp");
        writeBytes(source, c.bytes);
        const Codes got = callAll(source, destination);
        EXPECT_EQ(got.hReSize, c.expected.hReSize) << c.what << ": HReSize";
        EXPECT_EQ(got.sReSize, c.expected.sReSize) << c.what << ": SReSize";
        EXPECT_EQ(got.sReSize2, c.expected.sReSize2) << c.what << ": SReSize2";
        EXPECT_EQ(got.zoom, c.expected.zoom) << c.what << ": Zoom";
        const bool anySuccess = got.hReSize == 1 || got.sReSize == 1 || got.sReSize2 == 1 ||
                                got.zoom == 1;
        EXPECT_EQ(fs::exists(destination), anySuccess) << c.what;
        EXPECT_EQ(readBytes(source), c.bytes) << c.what << ": source changed";
    }
}

TEST(Tesmor32Abi, UnreadableSourcesAndUnwritableDestinations) {
    TempDir dir;
    const std::string source = dir.file("in.bmp");
    writeBytes(source, validFile());
    const std::string missing = dir.file("missing.bmp");
    const std::string out = dir.file("out.bmp");

    Codes got = callAll(missing, out);
    EXPECT_EQ(got.hReSize, -3);
    EXPECT_EQ(got.sReSize, -3);
    EXPECT_EQ(got.sReSize2, -3);
    EXPECT_EQ(got.zoom, -1);
    got = callAll(dir.path().string(), out);  // a folder
    EXPECT_EQ(got.hReSize, -3);
    EXPECT_EQ(got.zoom, -1);
    EXPECT_EQ(HReSize(nullptr, out.c_str(), 3, 3), -3);
    EXPECT_EQ(SReSize(nullptr, out.c_str(), 3, 3, 2), -3);
    EXPECT_EQ(SReSize2(nullptr, out.c_str(), 0, 0, 1, 1, 3, 3, 2), -3);
    EXPECT_EQ(Zoom(nullptr, out.c_str(), 3, 3), -1);

    for (const std::string& destination :
         {dir.file("no/such/folder/out.bmp"), dir.path().string()}) {
        got = callAll(source, destination);
        EXPECT_EQ(got.hReSize, -4) << destination;
        EXPECT_EQ(got.sReSize, -11) << destination;
        EXPECT_EQ(got.sReSize2, -11) << destination;
        EXPECT_EQ(got.zoom, -6) << destination;
    }
    EXPECT_EQ(HReSize(source.c_str(), nullptr, 3, 3), -4);
    EXPECT_EQ(SReSize(source.c_str(), nullptr, 3, 3, 2), -11);
    EXPECT_EQ(SReSize2(source.c_str(), nullptr, 0, 0, 1, 1, 3, 3, 2), -11);
    EXPECT_EQ(Zoom(source.c_str(), nullptr, 3, 3), -6);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(Tesmor32Abi, SourceAndDestinationMayBeTheSameFile) {
    TempDir dir;
    const std::string path = dir.file("same.bmp");
    const std::vector<std::function<int()>> calls = {
        [&] { return HReSize(path.c_str(), path.c_str(), 4, 2); },
        [&] { return SReSize(path.c_str(), path.c_str(), 4, 2, 1); },
        [&] { return SReSize2(path.c_str(), path.c_str(), 0, 0, 2, 2, 4, 2, 1); },
        [&] { return Zoom(path.c_str(), path.c_str(), 4, 2); },
    };
    for (size_t i = 0; i < calls.size(); ++i) {
        writeImage(path, greyImage(2, 2, {10, 20, 30, 40}));
        ASSERT_EQ(calls[i](), 1) << "call " << i;
        const Image out = readImage(path);
        ASSERT_EQ(out.width, 4) << "call " << i;
        ASSERT_EQ(out.height, 2) << "call " << i;
        EXPECT_EQ(at(out, 0, 0), grey(10)) << "call " << i;
        EXPECT_EQ(at(out, 3, 1), grey(40)) << "call " << i;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    }
}

TEST(Tesmor32Abi, ResizeSizesUseTheLowSixteenBitsSigned) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, greyImage(2, 1, {10, 20}));
    ASSERT_EQ(HReSize(a.c_str(), b.c_str(), 0x10000 + 3, 0x20000 + 2), 1);
    EXPECT_EQ(readImage(b).width, 3);
    EXPECT_EQ(readImage(b).height, 2);
    EXPECT_EQ(HReSize(a.c_str(), b.c_str(), 0x10000, 0x10005), -1);  // low bits 0 and 5
    // 0xFFFE is -2: a mirrored SReSize 2 wide.
    ASSERT_EQ(SReSize(a.c_str(), b.c_str(), 0xFFFE, 1, 1), 1);
    EXPECT_EQ(greyLevels(readImage(b)), (std::vector<int>{20, 10}));
    ASSERT_EQ(SReSize2(a.c_str(), b.c_str(), 0x10001, 0x30000, 0x10001, 0x10001, 0x10002, 1, 1),
              1);
    EXPECT_EQ(greyLevels(readImage(b)), (std::vector<int>{20, 20}));
    EXPECT_EQ(SReSize2(a.c_str(), b.c_str(), 0xFFFF, 0, 1, 1, 1, 1, 1), -12);  // x0 = -1
    // Zoom uses all 32 bits.
    EXPECT_EQ(Zoom(a.c_str(), b.c_str(), 0x10000 + 3, 1), -9);
}

TEST(Tesmor32Abi, PixelArrayArgumentChecks) {
    std::vector<unsigned char> d(8 * 2, 255), s(4 * 1, 7);
    int top = -5, bottom = -5;
    EXPECT_EQ(DIBPast(nullptr, s.data(), 0, 2, 2, 1, 1, 0, 0, 1, 1, 0), -1);
    EXPECT_EQ(DIBPast(d.data(), nullptr, 0, 2, 2, 1, 1, 0, 0, 1, 1, 0), -1);
    EXPECT_EQ(DIBPast(d.data(), s.data(), 0, 0, 2, 1, 1, 0, 0, 1, 1, 0), -2);
    EXPECT_EQ(DIBPast(d.data(), s.data(), 0, 2, 2, 1, -1, 0, 0, 1, 1, 0), -2);
    EXPECT_EQ(DIBPast(d.data(), s.data(), 0, 30001, 1, 1, 1, 0, 0, 1, 1, 0), -2);
    EXPECT_EQ(DIBPast2(d.data(), s.data(), 0, 2, 2, 1, 1, 0, 0, 1, 1, 0, 1, 1, 1, 0), -3);
    EXPECT_EQ(DIBPast2(d.data(), s.data(), 0, 2, 2, 1, 1, 0, 0, 0, 1, 0, 1, 1, 1, 0), 1);
    EXPECT_EQ(DIBPast2(nullptr, s.data(), 0, 2, 2, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0), -1);
    EXPECT_EQ(DIBPast2(d.data(), s.data(), 0, 2, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0), -2);
    EXPECT_EQ(GetMarg(nullptr, 2, 2, 0, &top, &bottom), -1);
    EXPECT_EQ(GetMarg(d.data(), 2, 2, 0, nullptr, &bottom), -1);
    EXPECT_EQ(GetMarg(d.data(), 2, 2, 0, &top, nullptr), -1);
    EXPECT_EQ(GetMarg(d.data(), 2, 0, 0, &top, &bottom), -2);
    EXPECT_EQ(top, -5);
    EXPECT_EQ(bottom, -5);
    EXPECT_EQ(std::vector<unsigned char>(8 * 2, 255), d);  // untouched by the refusals
}

TEST(Tesmor32Abi, PasteAndMarginsThroughTheExports) {
    // 2 x 2 white picture (rows of 8 bytes); paste a 1 x 1 grey 7 pixel
    // onto its top-right pixel keyed, then measure.
    std::vector<unsigned char> picture(16, 255);
    const std::vector<unsigned char> dot(4, 7);
    ASSERT_EQ(DIBPast(picture.data(), dot.data(), 0, 2, 2, 1, 1, 1, 0, 1, 1, 1), 1);
    EXPECT_EQ(picture[8 + 3], 7);   // top row (stored second), column 1
    EXPECT_EQ(picture[8 + 0], 255);
    EXPECT_EQ(picture[3], 255);
    int top = -1, bottom = -1;
    ASSERT_EQ(GetMarg(picture.data(), 2, 2, 0, &top, &bottom), 1);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(bottom, 1);
    ASSERT_EQ(DIBPast2(picture.data(), dot.data(), 0, 2, 2, 1, 1, 0, 1, 1, 1, 0, 0, 1, 1, 1), 1);
    EXPECT_EQ(picture[0], 7);  // bottom-left, the key itself
}

}  // namespace
}  // namespace tesmor
