// The rotation exports through libTesmor32.so: result codes for broken
// files, argument conventions, same source and destination.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "tesmor32.h"
#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;
namespace fs = std::filesystem;

TEST(RotationAbi, BrokenFilesTable) {
    const std::vector<uint8_t> ok = bmpBytes(greyImage(2, 2, {10, 20, 30, 40}));
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        int rot, rotAng;
    };
    const Case cases[] = {
        {"valid", ok, 1, 1},
        {"0-byte file", {}, -2, -2},
        {"53 bytes", cut(ok, 53), -2, -2},
        {"not B", with16(ok, 0, 'X' | 'M' << 8), -3, -3},
        {"not M", with16(ok, 0, 'B' | 'X' << 8), -3, -3},
        {"compression 1", with32(ok, 30, 1), -4, -4},
        {"32 bits", with16(ok, 28, 32), -5, -5},
        {"8 bits", bmpBytes(image8(2, 2, {1, 2, 3, 4})), 1, -5},
        {"one pixel byte missing", cut(ok, 67), -13, -13},
        {"data offset past the end", with32(ok, 10, 1000), -13, -13},
        {"height negative", with32(ok, 22, -2), -13, -13},
        {"20000 x 20000 claimed", with32(with32(ok, 18, 20000), 22, 20000), -13, -13},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string source = dir.file("in.bmp"), destination = dir.file("out.bmp");
        writeBytes(source, c.bytes);
        EXPECT_EQ(Rot(source.c_str(), destination.c_str(), 1), c.rot) << c.what;
        EXPECT_EQ(fs::exists(destination), c.rot == 1) << c.what;
        fs::remove(destination);
        int w = -1, h = -1;
        EXPECT_EQ(RotAng(source.c_str(), destination.c_str(), &w, &h, 0.5f), c.rotAng) << c.what;
        EXPECT_EQ(fs::exists(destination), c.rotAng == 1) << c.what;
        if (c.rotAng != 1) {
            EXPECT_EQ(w, -1) << c.what;
            EXPECT_EQ(h, -1) << c.what;
        }
        EXPECT_EQ(readBytes(source), c.bytes) << c.what << ": source changed";
    }
}

TEST(RotationAbi, UnreadableSourcesAndUnwritableDestinations) {
    TempDir dir;
    const std::string source = dir.file("in.bmp"), out = dir.file("out.bmp");
    writeImage(source, greyImage(2, 1, {10, 20}));
    int w = 0, h = 0;
    for (const char* missing : {static_cast<const char*>(nullptr), "", "/no/such/file.bmp"}) {
        EXPECT_EQ(Rot(missing, out.c_str(), 1), -1);
        EXPECT_EQ(RotAng(missing, out.c_str(), &w, &h, 1.0f), -1);
    }
    EXPECT_EQ(Rot(dir.path().c_str(), out.c_str(), 1), -1);  // a folder
    for (const char* destination : {static_cast<const char*>(nullptr), "/no/such/dir/out.bmp",
                                    dir.path().c_str()}) {
        EXPECT_EQ(Rot(source.c_str(), destination, 1), -10);
        EXPECT_EQ(Rot(source.c_str(), destination, 0), -10);
        EXPECT_EQ(RotAng(source.c_str(), destination, &w, &h, 1.0f), -10);
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST(RotationAbi, ModesUseTheLowSixteenBits) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, greyImage(3, 1, {10, 20, 30}));
    // 0x10001 is mode 1: 3 x 1 turned clockwise is 1 x 3, 10 at the top.
    ASSERT_EQ(Rot(a.c_str(), b.c_str(), 0x10001), 1);
    EXPECT_EQ(greyLevels(readImage(b)), (std::vector<int>{30, 20, 10}));
    EXPECT_EQ(Rot(a.c_str(), a.c_str(), 0x10000), 0);
    EXPECT_EQ(Rot(a.c_str(), b.c_str(), 0x10003), -11);

    std::vector<unsigned char> pixels{1, 2, 3, 0, 4, 5, 6, 0, 0, 0, 0, 0};
    short w = 3, h = 2;
    EXPECT_EQ(RotM(pixels.data(), &w, &h, 0x10000), 0);
    EXPECT_EQ(w, 3);
    ASSERT_EQ(RotM(pixels.data(), &w, &h, 0x20001), 1);  // clockwise
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(pixels, (std::vector<unsigned char>{3, 6, 0, 0, 2, 5, 0, 0, 1, 4, 0, 0}));
    w = 0;
    h = 5;
    EXPECT_EQ(RotM(pixels.data(), &w, &h, 1), -1);
    EXPECT_EQ(RotM(nullptr, &w, &h, 1), -5);
}

TEST(RotationAbi, SourceAndDestinationMayBeTheSameFile) {
    TempDir dir;
    const std::string path = dir.file("same.bmp");
    writeImage(path, greyImage(3, 1, {10, 20, 30}));
    ASSERT_EQ(Rot(path.c_str(), path.c_str(), 2), 1);
    EXPECT_EQ(greyLevels(readImage(path)), (std::vector<int>{10, 20, 30}));
    int w = 0, h = 0;
    ASSERT_EQ(RotAng(path.c_str(), path.c_str(), &w, &h, static_cast<float>(3.14159265 / 2)), 1);
    EXPECT_EQ(readImage(path).width, w);
    EXPECT_EQ(readImage(path).height, h);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace tesmor
