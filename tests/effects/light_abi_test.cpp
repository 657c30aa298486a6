// The light, fade and colour exports through libTesmor32.so: result codes
// for broken files, argument conventions, same source and destination,
// the version.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>

#include "tesmor32.h"
#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;
namespace fs = std::filesystem;

// Each file function with ordinary arguments.
struct Call {
    const char* name;
    std::function<int(const char*, const char*)> run;
};
const Call kCalls[] = {
    {"Fead", [](const char* s, const char* d) { return Fead(s, d, 0x102030, 100, 0); }},
    {"Light", [](const char* s, const char* d) { return Light(s, d, 5, 1, 3, 2); }},
    {"SideDsp", [](const char* s, const char* d) { return SideDsp(s, d, 0, 2, 0xFFFFFF); }},
    {"Effect", [](const char* s, const char* d) { return Effect(s, d, 10, 20, 30); }},
};

TEST(LightAbi, BrokenFilesTable) {
    const std::vector<uint8_t> ok = bmpBytes(greyImage(3, 3, {0, 10, 20, 30, 40, 50, 60, 70, 80}));
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        int recolour;  // Fead, Light and SideDsp
        int effect;
    };
    const Case cases[] = {
        {"valid", ok, 1, 1},
        {"0-byte file", {}, -2, -3},
        {"53 bytes", cut(ok, 53), -2, -3},
        {"not B", with16(ok, 0, 'X' | 'M' << 8), -3, -5},
        {"not M", with16(ok, 0, 'B' | 'X' << 8), -3, -5},
        {"compression 1", with32(ok, 30, 1), -4, -6},
        {"32 bits", with16(ok, 28, 32), -5, -7},
        {"8 bits", bmpBytes(image8(2, 2, {1, 2, 3, 4})), -5, -7},
        {"one row missing", cut(ok, ok.size() - 12), -13, -13},
        {"only the last padding missing", cut(ok, ok.size() - 3), 1, 1},
        {"data offset 0", with32(ok, 10, 0), -13, -13},
        {"width huge", with32(ok, 18, INT_MAX), -13, -13},
        {"file size field 0", with32(ok, 2, 0), 1, 1},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string source = dir.file("in.bmp"), destination = dir.file("out.bmp");
        writeBytes(source, c.bytes);
        for (const Call& call : kCalls) {
            const int expected = std::string(call.name) == "Effect" ? c.effect : c.recolour;
            EXPECT_EQ(call.run(source.c_str(), destination.c_str()), expected) << c.what << ": " << call.name;
            EXPECT_EQ(fs::exists(destination), expected == 1) << c.what << ": " << call.name;
            fs::remove(destination);
        }
        EXPECT_EQ(readBytes(source), c.bytes) << c.what << ": source changed";
    }
}

TEST(LightAbi, UnreadableSourcesAndUnwritableDestinations) {
    TempDir dir;
    const std::string source = dir.file("in.bmp"), out = dir.file("out.bmp");
    writeImage(source, greyImage(2, 1, {10, 20}));
    for (const Call& call : kCalls) {
        const bool effect = std::string(call.name) == "Effect";
        for (const char* missing : {static_cast<const char*>(nullptr), "", "/no/such/file.bmp"}) {
            EXPECT_EQ(call.run(missing, out.c_str()), effect ? -3 : -1) << call.name;
        }
        for (const char* destination : {static_cast<const char*>(nullptr), "/no/such/dir/out.bmp",
                                        dir.path().c_str()}) {
            EXPECT_EQ(call.run(source.c_str(), destination), effect ? -4 : -10) << call.name;
        }
    }
    EXPECT_EQ(SideDsp(source.c_str(), out.c_str(), 0, 0, 0), -11);
    EXPECT_EQ(TexColEx(nullptr, 40, 40, 0, 0xFFFFFF, 0, 0, 1), -4);
    EXPECT_EQ(TexColEx("/no/such/dir/p.bmp", 40, 40, 0, 0xFFFFFF, 0, 0, 1), -4);
    EXPECT_EQ(TexColEx(out.c_str(), 0, 40, 0, 0xFFFFFF, 0, 0, 1), -1);
    EXPECT_EQ(TexColEx(out.c_str(), 40, -40, 0, 0xFFFFFF, 0, 0, 1), -2);
    EXPECT_FALSE(fs::exists(out));
}

TEST(LightAbi, SourceAndDestinationMayBeTheSameFile) {
    TempDir dir;
    const std::string path = dir.file("same.bmp");
    for (const Call& call : kCalls) {
        writeImage(path, greyImage(3, 3, {0, 10, 20, 30, 40, 50, 60, 70, 80}));
        ASSERT_EQ(call.run(path.c_str(), path.c_str()), 1) << call.name;
        const Image out = readImage(path);
        EXPECT_EQ(out.width, 3) << call.name;
        EXPECT_EQ(out.height, 3) << call.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    }
}

// Effect takes its three arguments by their low 16 bits, signed.
TEST(LightAbi, EffectUsesTheLowSixteenBits) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, greyImage(2, 1, {100, 200}));
    ASSERT_EQ(Effect(a.c_str(), b.c_str(), 0x10005, 0x20000, 0x30000), 1);  // 5, 0, 0
    EXPECT_EQ(greyLevels(readImage(b)), (std::vector<int>{105, 205}));
    ASSERT_EQ(Effect(a.c_str(), b.c_str(), 0xFFFB, 0, 0), 1);  // -5
    EXPECT_EQ(greyLevels(readImage(b)), (std::vector<int>{95, 195}));
    ASSERT_EQ(Effect(a.c_str(), b.c_str(), 0, 0xFF00, 0), 1);  // contrast -256: all 128
    EXPECT_EQ(greyLevels(readImage(b)), (std::vector<int>{128, 128}));
}

TEST(LightAbi, PatternFileAndVersion) {
    TempDir dir;
    const std::string path = dir.file("TexTmp.bmp");
    ASSERT_EQ(TexColEx(path.c_str(), 40, 40, 0x0000FF, 0xFF0000, 0, 0, 1), 1);
    const Image pattern = readImage(path);
    ASSERT_EQ(pattern.width, 40);
    EXPECT_EQ(at(pattern, 0, 0), (Bgr{255, 0, 0}));  // colour B (blue) at the left
    // Column 39: f = 39/40 * pi/2: red 255 * 0.99923 = 254.8, blue 255 * 0.03926 = 10.0.
    EXPECT_EQ(at(pattern, 39, 39), (Bgr{10, 0, 254}));
    EXPECT_EQ(TesmorVer(0), 126);
    EXPECT_EQ(TesmorVer(-1), 126);
}

}  // namespace
}  // namespace tesmor
