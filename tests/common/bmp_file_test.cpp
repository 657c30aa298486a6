#include "bmp_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "bmp_test_support.h"

namespace bmp {
namespace {

using namespace test;
namespace fs = std::filesystem;

TEST(BmpFile, RowStridePadsToFourBytes) {
    struct Case {
        int bits, width, stride;
    };
    const Case cases[] = {{24, 1, 4}, {24, 2, 8}, {24, 3, 12}, {24, 4, 12}, {24, 5, 16},
                          {8, 1, 4},  {8, 4, 4},  {8, 5, 8},   {24, 30000, 90000}};
    for (const Case& c : cases) {
        EXPECT_EQ(rowStride(c.bits, c.width), c.stride) << c.bits << " bits, width " << c.width;
    }
}

TEST(BmpFile, FreshHeaderHasTheConventionalFields) {
    const BmpHeader h = makeHeader24(3, 2);
    const std::vector<uint8_t> bytes(h.bytes.begin(), h.bytes.end());
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(get32(bytes, 2), 54 + 2 * 12);
    EXPECT_EQ(get32(bytes, 6), 0);
    EXPECT_EQ(get32(bytes, 10), 54);
    EXPECT_EQ(get32(bytes, 14), 40);
    EXPECT_EQ(get32(bytes, 18), 3);
    EXPECT_EQ(get32(bytes, 22), 2);
    EXPECT_EQ(bytes[26] | bytes[27] << 8, 1);
    EXPECT_EQ(bytes[28] | bytes[29] << 8, 24);
    for (size_t i = 30; i < 54; ++i) EXPECT_EQ(bytes[i], 0) << "byte " << i;
}

TEST(BmpFile, DerivedHeaderKeepsUninterpretedFields) {
    BmpHeader source = makeHeader24(10, 10);
    std::vector<uint8_t> extra(source.bytes.begin(), source.bytes.end());
    put32(extra, 38, 2835);  // resolutions
    put32(extra, 42, 2836);
    put32(extra, 34, 999);   // a stale image size
    std::copy(extra.begin(), extra.end(), source.bytes.begin());

    const BmpHeader h = deriveHeader(source, 5, 3, 0);
    const std::vector<uint8_t> out(h.bytes.begin(), h.bytes.end());
    EXPECT_EQ(get32(out, 18), 5);
    EXPECT_EQ(get32(out, 22), 3);
    EXPECT_EQ(get32(out, 2), 54 + 3 * 16);
    EXPECT_EQ(get32(out, 34), 3 * 16);
    EXPECT_EQ(get32(out, 38), 2835);
    EXPECT_EQ(get32(out, 42), 2836);
}

TEST(BmpFile, DerivedHeaderDropsAnExtendedInfoHeaderItDoesNotWrite) {
    // A 24-bit file with a 124-byte info header and a 16-entry colour table.
    BmpHeader source = makeHeader24(4, 4);
    source.setInfoSize(124);
    source.setDataOffset(14 + 124 + 64);
    source.setColoursUsed(16);
    const BmpHeader h = deriveHeader(source, 2, 2, 0);
    EXPECT_EQ(h.infoSize(), 40);
    EXPECT_EQ(h.dataOffset(), 54);
    EXPECT_EQ(h.fileSize(), 54 + 2 * 8);
    EXPECT_EQ(h.imageSize(), 0);
    const BmpHeader kept = deriveHeader(source, 2, 2, 124 - 40 + 64);
    EXPECT_EQ(kept.infoSize(), 124);
    EXPECT_EQ(kept.dataOffset(), 14 + 124 + 64);
}

// Header checks against the real file length, one field wrong at a time,
// starting from a 2 x 2 24-bit file of 54 + 16 bytes.
TEST(BmpFile, HeaderChecksTable) {
    struct Case {
        const char* what;
        size_t at;       // field offset, 0 for none
        int32_t value;
        int size;        // 2 or 4 bytes
        int64_t length;  // real file length
        BmpReadStatus expected;
    };
    const Case cases[] = {
        {"valid", 0, 0, 4, 70, BmpReadStatus::Ok},
        {"53 bytes", 0, 0, 4, 53, BmpReadStatus::ShortHeader},
        {"not B", 0, 'X', 2, 70, BmpReadStatus::NotB},
        {"not M", 0, 'B' | 'X' << 8, 2, 70, BmpReadStatus::NotM},
        {"compressed", 30, 1, 4, 70, BmpReadStatus::Compressed},
        {"32 bits", 28, 32, 2, 70, BmpReadStatus::BadBitCount},
        {"8 bits not accepted", 28, 8, 2, 70, BmpReadStatus::BadBitCount},
        {"1 bit", 28, 1, 2, 70, BmpReadStatus::BadBitCount},
        {"info size 64", 14, 64, 4, 200, BmpReadStatus::BadInfoHeader},
        {"two planes", 26, 2, 2, 70, BmpReadStatus::BadInfoHeader},
        {"info size 124 beyond the file", 14, 124, 4, 70, BmpReadStatus::Truncated},
        {"info size 12", 14, 12, 4, 70, BmpReadStatus::BadInfoHeader},
        {"info size past the data", 14, 41, 4, 70, BmpReadStatus::BadInfoHeader},
        {"offset 0", 10, 0, 4, 70, BmpReadStatus::BadOffset},
        {"offset 53", 10, 53, 4, 70, BmpReadStatus::BadOffset},
        {"offset past the end", 10, 71, 4, 70, BmpReadStatus::Truncated},
        {"offset negative", 10, -54, 4, 70, BmpReadStatus::Truncated},
        {"offset leaves too few pixels", 10, 62, 4, 70, BmpReadStatus::Truncated},
        {"offset too far past the header", 10, 54 + (1 << 20) + 1, 4, 54 + (1 << 20) + 17,
         BmpReadStatus::BadOffset},
        {"width 0", 18, 0, 4, 70, BmpReadStatus::BadGeometry},
        {"width negative", 18, -2, 4, 70, BmpReadStatus::BadGeometry},
        {"width huge", 18, 0x7FFFFFFF, 4, 70, BmpReadStatus::BadGeometry},
        {"width 30001", 18, 30001, 4, 1'000'000'000, BmpReadStatus::BadGeometry},
        {"height 0", 22, 0, 4, 70, BmpReadStatus::BadGeometry},
        {"height negative (top-down)", 22, -2, 4, 70, BmpReadStatus::BadGeometry},
        {"height huge", 22, INT32_MIN, 4, 70, BmpReadStatus::BadGeometry},
        {"height 3, one row short", 22, 3, 4, 70, BmpReadStatus::Truncated},
        {"file size field lies high", 2, 1'000'000, 4, 70, BmpReadStatus::Ok},
        {"file size field 0", 2, 0, 4, 70, BmpReadStatus::Ok},
        {"trailing bytes", 0, 0, 4, 100, BmpReadStatus::Ok},
        {"last row lacks its padding", 0, 0, 4, 68, BmpReadStatus::Ok},
        {"last row lacks a pixel byte", 0, 0, 4, 67, BmpReadStatus::Truncated},
    };
    for (const Case& c : cases) {
        BmpHeader h = makeHeader24(2, 2);
        std::vector<uint8_t> bytes(h.bytes.begin(), h.bytes.end());
        if (c.at != 0 || c.size == 2) {
            if (c.size == 2) put16(bytes, c.at, c.value);
            else put32(bytes, c.at, c.value);
        }
        std::copy(bytes.begin(), bytes.end(), h.bytes.begin());
        BmpLayout layout;
        EXPECT_EQ(checkBmpHeader(h, c.length, {}, layout), c.expected) << c.what;
    }
}

TEST(BmpFile, SizeLimitsAreThirtyThousandASideAndOneGibibyte) {
    BmpLayout layout;
    BmpHeader h = makeHeader24(30000, 11930);  // 90000 * 11930 bytes, just under 1 GiB
    EXPECT_EQ(checkBmpHeader(h, 54 + int64_t{90000} * 11930, {}, layout), BmpReadStatus::Ok);
    EXPECT_EQ(layout.pixelBytes, int64_t{90000} * 11930);
    h.setHeight(11931);  // just over
    EXPECT_EQ(checkBmpHeader(h, 54 + int64_t{90000} * 11931, {}, layout),
              BmpReadStatus::BadGeometry);
    EXPECT_TRUE(fitsLimits(30000, 1, 24));
    EXPECT_FALSE(fitsLimits(30001, 1, 24));
    EXPECT_FALSE(fitsLimits(1, 0, 24));
}

TEST(BmpFile, ReadsWhatItWrote) {
    TempDir dir;
    // Two rows of three pixels, each row padded to 12 bytes.
    const std::vector<uint8_t> pixels = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0,
                                         10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
    const std::string path = dir.file("a.bmp");
    ASSERT_TRUE(writeBmp(path.c_str(), makeHeader24(3, 2), {}, pixels));
    const std::vector<uint8_t> bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 54u + 24u);
    BmpImage read;
    ASSERT_EQ(readBmp(path.c_str(), read), BmpReadStatus::Ok);
    EXPECT_EQ(read.width(), 3);
    EXPECT_EQ(read.height(), 2);
    EXPECT_EQ(read.pixels, pixels);
    EXPECT_TRUE(read.between.empty());
}

TEST(BmpFile, EightBitFileKeepsItsColourTable) {
    TempDir dir;
    const std::string path = dir.file("p.bmp");
    writeBytes(path, bmpBytes(5, 1, 8, std::vector<uint8_t>{0, 1, 2, 3, 4, 0, 0, 0}));
    static constexpr int kBits[] = {8, 24};
    BmpImage read;
    ASSERT_EQ(readBmp(path.c_str(), read, {kBits}), BmpReadStatus::Ok);
    ASSERT_EQ(read.between.size(), 1024u);
    EXPECT_EQ(read.between[4 * 10 + 1], 245);  // entry 10: green 255 - 10
    EXPECT_EQ(read.pixels, (std::vector<uint8_t>{0, 1, 2, 3, 4, 0, 0, 0}));
    EXPECT_EQ(readBmp(path.c_str(), read), BmpReadStatus::BadBitCount);  // 24 only by default
}

TEST(BmpFile, MissingLastRowPaddingReadsAsZero) {
    TempDir dir;
    std::vector<uint8_t> bytes = bmpBytes(1, 2, 24, std::vector<uint8_t>{10, 10, 10, 0, 20, 20, 20, 0});
    bytes.resize(bytes.size() - 1);  // the last row's one padding byte
    const std::string path = dir.file("short.bmp");
    writeBytes(path, bytes);
    BmpImage read;
    ASSERT_EQ(readBmp(path.c_str(), read), BmpReadStatus::Ok);
    EXPECT_EQ(read.pixels, (std::vector<uint8_t>{10, 10, 10, 0, 20, 20, 20, 0}));
}

TEST(BmpFile, UnreadableSourcesCannotBeOpened) {
    TempDir dir;
    BmpImage read;
    EXPECT_EQ(readBmp(nullptr, read), BmpReadStatus::CannotOpen);
    EXPECT_EQ(readBmp("", read), BmpReadStatus::CannotOpen);
    EXPECT_EQ(readBmp(dir.file("missing.bmp").c_str(), read), BmpReadStatus::CannotOpen);
    EXPECT_EQ(readBmp(dir.path().c_str(), read), BmpReadStatus::CannotOpen);  // a folder
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(readBmp(fifo.c_str(), read), BmpReadStatus::CannotOpen);  // and does not block
}

// The 8-bit colour table: colours used (256 when 0) entries of 4 bytes
// after the info header, before the pixel data. A 2 x 1 file with a table
// of two entries: 54 + 8 bytes of table + 4 bytes of pixels.
TEST(BmpFile, ColourTableChecksTable) {
    struct Case {
        const char* what;
        size_t at;       // field offset, 0 for none
        int32_t value;
        int64_t length;  // real file length
        BmpReadStatus expected;
    };
    const Case cases[] = {
        {"valid", 0, 0, 66, BmpReadStatus::Ok},
        {"257 entries", 46, 257, 66, BmpReadStatus::BadColourTable},
        {"0 means 256 entries, beyond the file", 46, 0, 66, BmpReadStatus::Truncated},
        {"table beyond the file", 46, 3, 65, BmpReadStatus::Truncated},
        {"offset inside the table", 10, 58, 66, BmpReadStatus::BadOffset},
    };
    static constexpr int kBits[] = {8};
    for (const Case& c : cases) {
        BmpHeader h = makeHeader24(2, 1);
        h.setColoursUsed(2);
        h.setDataOffset(62);
        std::vector<uint8_t> bytes(h.bytes.begin(), h.bytes.end());
        put16(bytes, 28, 8);
        if (c.at != 0) put32(bytes, c.at, c.value);
        std::copy(bytes.begin(), bytes.end(), h.bytes.begin());
        BmpLayout layout;
        EXPECT_EQ(checkBmpHeader(h, c.length, {kBits}, layout), c.expected) << c.what;
        if (c.expected == BmpReadStatus::Ok) {
            EXPECT_EQ(layout.colourTableOffset, 54);
            EXPECT_EQ(layout.colourTableEntries, 2);
        }
    }
}

// What each caller accepts beyond the convention: top-down rows, larger
// sides, a pixel count limit, a file length limit.
TEST(BmpFile, ReadRulesWidenOrNarrowWhatIsRead) {
    BmpHeader topDown = makeHeader24(2, 2);
    topDown.setHeight(-2);
    BmpLayout layout;
    EXPECT_EQ(checkBmpHeader(topDown, 70, {}, layout), BmpReadStatus::BadGeometry);
    EXPECT_EQ(checkBmpHeader(topDown, 70, {.topDownAccepted = true}, layout), BmpReadStatus::Ok);
    EXPECT_EQ(layout.pixelBytes, 16);

    const BmpHeader wide = makeHeader24(32767, 1);
    const int64_t wideLength = 54 + rowStride(24, 32767);
    EXPECT_EQ(checkBmpHeader(wide, wideLength, {}, layout), BmpReadStatus::BadGeometry);
    EXPECT_EQ(checkBmpHeader(wide, wideLength, {.maxSide = 32767}, layout), BmpReadStatus::Ok);

    const BmpHeader square = makeHeader24(100, 100);
    const int64_t squareLength = 54 + 100 * rowStride(24, 100);
    EXPECT_EQ(checkBmpHeader(square, squareLength, {.maxPixels = 10000}, layout), BmpReadStatus::Ok);
    EXPECT_EQ(checkBmpHeader(square, squareLength, {.maxPixels = 9999}, layout), BmpReadStatus::BadGeometry);

    TempDir dir;
    const std::string path = dir.file("long.bmp");
    std::vector<uint8_t> bytes = bmpBytes(1, 1, 24, std::vector<uint8_t>{1, 2, 3, 0});
    bytes.resize(100);  // trailing bytes after the pixels
    writeBytes(path, bytes);
    BmpImage read;
    EXPECT_EQ(readBmp(path.c_str(), read, {.maxFileBytes = 100}), BmpReadStatus::Ok);
    EXPECT_EQ(readBmp(path.c_str(), read, {.maxFileBytes = 99}), BmpReadStatus::TooLarge);
    EXPECT_EQ(decodeBmp(bytes, read, {.maxFileBytes = 99}), BmpReadStatus::TooLarge);
}

// A top-down file keeps its rows in the stored order; height() counts them.
TEST(BmpFile, TopDownFileReadsItsRowsAsStored) {
    std::vector<uint8_t> bytes = bmpBytes(1, 2, 24, std::vector<uint8_t>{10, 11, 12, 0, 20, 21, 22, 0});
    put32(bytes, 22, -2);
    BmpImage read;
    ASSERT_EQ(decodeBmp(bytes, read, {.topDownAccepted = true}), BmpReadStatus::Ok);
    EXPECT_TRUE(read.topDown());
    EXPECT_EQ(read.height(), 2);
    EXPECT_EQ(read.pixels, (std::vector<uint8_t>{10, 11, 12, 0, 20, 21, 22, 0}));
}

// Reading from memory and from the file give the same image and status.
TEST(BmpFile, MemoryAndFileReadAlike) {
    TempDir dir;
    static constexpr int kBits[] = {8, 24};
    const std::vector<std::vector<uint8_t>> files = {
        bmpBytes(3, 2, 24, std::vector<uint8_t>(24, 7)),
        bmpBytes(5, 1, 8, std::vector<uint8_t>{0, 1, 2, 3, 4, 0, 0, 0}),
        cut(bmpBytes(3, 2, 24, std::vector<uint8_t>(24, 7)), 75),  // the last row's padding missing
        cut(bmpBytes(3, 2, 24, std::vector<uint8_t>(24, 7)), 74),  // a pixel byte missing
        with32(bmpBytes(3, 2, 24, std::vector<uint8_t>(24, 7)), 10, 20),
        cut(bmpBytes(3, 2, 24, std::vector<uint8_t>(24, 7)), 30),
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string path = dir.file("f" + std::to_string(i) + ".bmp");
        writeBytes(path, files[i]);
        BmpImage fromFile, fromMemory;
        const BmpReadStatus fileStatus = readBmp(path.c_str(), fromFile, {kBits});
        EXPECT_EQ(decodeBmp(files[i], fromMemory, {kBits}), fileStatus) << "file " << i;
        if (fileStatus != BmpReadStatus::Ok) continue;
        EXPECT_EQ(fromMemory.header.bytes, fromFile.header.bytes) << "file " << i;
        EXPECT_EQ(fromMemory.between, fromFile.between) << "file " << i;
        EXPECT_EQ(fromMemory.pixels, fromFile.pixels) << "file " << i;
    }
}

TEST(BmpFile, ColourTableOfAnEightBitImage) {
    static constexpr int kBits[] = {8, 24};
    BmpImage read;
    ASSERT_EQ(decodeBmp(bmpBytes(5, 1, 8, std::vector<uint8_t>{0, 1, 2, 3, 4, 0, 0, 0}), read, {kBits}),
              BmpReadStatus::Ok);
    const std::span<const uint8_t> table = read.colourTable();
    ASSERT_EQ(table.size(), 1024u);
    EXPECT_EQ(table[4 * 10], 10);       // entry 10: blue 10,
    EXPECT_EQ(table[4 * 10 + 1], 245);  // green 255 - 10,
    EXPECT_EQ(table[4 * 10 + 2], 70);   // red 7 * 10
    ASSERT_EQ(decodeBmp(bmpBytes(1, 1, 24, std::vector<uint8_t>{1, 2, 3, 0}), read), BmpReadStatus::Ok);
    EXPECT_TRUE(read.colourTable().empty());
}

TEST(BmpFile, AtomicWriteReplacesTheTargetAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("t.bin");
    writeBytes(path, {1, 2, 3, 4, 5});
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const uint8_t head[] = {9, 8};
    const uint8_t body[] = {7};
    ASSERT_TRUE(writeFileAtomically(path.c_str(), head, body));
    EXPECT_EQ(readBytes(path), (std::vector<uint8_t>{9, 8, 7}));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(BmpFile, FailedAtomicWriteLeavesNothingBehind) {
    TempDir dir;
    const uint8_t head[] = {1};
    EXPECT_FALSE(writeFileAtomically(nullptr, head, {}));
    EXPECT_FALSE(writeFileAtomically("", head, {}));
    EXPECT_FALSE(writeFileAtomically(dir.file("no/such/folder.bmp").c_str(), head, {}));
    EXPECT_FALSE(writeFileAtomically((dir.path().string() + "/").c_str(), head, {}));
    fs::create_directory(dir.path() / "sub");
    EXPECT_FALSE(writeFileAtomically(dir.file("sub").c_str(), head, {}));  // a folder
    EXPECT_TRUE(fs::is_directory(dir.path() / "sub"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace bmp
