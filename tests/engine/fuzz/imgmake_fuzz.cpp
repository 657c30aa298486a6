// Fuzz entry for ImgMake2 over a whole style record and a text.
//
// Input layout:
//   bytes 0 ... 4147   the style record (a shorter input overlays the start
//                      of the default style); FontName is pinned to the test
//                      font IPAGothic, and TextureFile to a small scratch
//                      texture written afresh before each call;
//   byte 4148          quality: 0, 0, 0, 1, 2, 100, 101, 102 by value mod 8,
//                      or a value outside every meaning from 0xF0 on;
//   byte 4149          glyph: -1 below 0x80, else value - 0x80;
//   bytes 4150 ...     the text (up to 300 bytes, cut at a NUL byte);
//                      "ソモロ文字" when the input ends before it.
// Every call must return 0, -1 (exactly when the text is longer than 255
// bytes), -2 or -3; a call that returns 0 leaves a 24-bit picture with no
// zero side whose size matches its header, any other leaves no file.
//
// The fuzzer build (VAKURO_LIBFUZZER) adds a mutator that spends most
// mutations on the fields the engine reads, the two selector bytes and the
// text, often setting a field to an extreme value. The fuzzer built without
// sanitizers (VAKURO_FUZZ_TIME_BUDGET) also holds each call to a processor
// time budget by resolution: the goal of 1 s at factor 1 and a few seconds
// at factor 4, with half again for the coverage counters and a shared
// machine: 1.5 s, 3 s (factor 2) and 6 s. A slower call aborts, so the
// input is kept as a finding. The replay test never measures time.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <ctime>
#include <vector>

#include "pavrex.h"

namespace {

constexpr size_t kRecordSize = sizeof(PavrexStyle);
constexpr size_t kQualityByte = kRecordSize;
constexpr size_t kGlyphByte = kRecordSize + 1;
constexpr size_t kTextOffset = kRecordSize + 2;
constexpr size_t kMaxText = 300;

const char* const kDefaultText = "\x83\x5C\x83\x82\x83\x8D\x95\xB6\x8E\x9A";  // ソモロ文字

PavrexStyle defaultStyle() {
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    s.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) s.CharWidth[i] = s.CharHeight[i] = 100;
    return s;
}

std::string scratchPath(const char* suffix) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/pavrex-fuzz-" + std::to_string(::getpid()) +
           suffix;
}

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void put32(uint8_t* at, uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}

// An 8 x 4 striped 24-bit texture (stretched fills zoom it in place, so it
// is written before every call that paints with it).
void writeTexture(const std::string& path) {
    std::array<uint8_t, 54 + 4 * 24> file{};
    file[0] = 'B';
    file[1] = 'M';
    put32(&file[2], static_cast<uint32_t>(file.size()));
    put32(&file[10], 54);
    put32(&file[14], 40);
    put32(&file[18], 8);
    put32(&file[22], 4);
    file[26] = 1;
    file[28] = 24;
    for (size_t i = 54; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 53);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                static_cast<std::streamsize>(file.size()));
}

int qualityOf(uint8_t b) {
    static constexpr int kQualities[8] = {0, 0, 0, 1, 2, 100, 101, 102};
    if (b < 0xF0) return kQualities[b % 8];
    return (b & 1) ? 1000 * b : -static_cast<int>(b);
}

struct Header {
    bool valid = false;
    int32_t width = 0, height = 0;
};

int32_t read32(const unsigned char* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

Header readHeader(const std::string& path) {
    unsigned char h[54] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return {};
    const bool valid = h[0] == 'B' && h[1] == 'M' && read32(h + 10) == 54 && read32(h + 14) == 40 && h[28] == 24;
    return {valid, read32(h + 18), read32(h + 22)};
}

#ifdef VAKURO_FUZZ_TIME_BUDGET
double processorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string out = scratchPath(".out.bmp");
    static const std::string texture = scratchPath(".texture.bmp");

    PavrexStyle style = defaultStyle();
    std::memcpy(&style, data, std::min(size, kRecordSize));
    std::memset(style.FontName, 0, sizeof style.FontName);
    std::strcpy(style.FontName, "IPAGothic");
    std::memset(style.TextureFile, 0, sizeof style.TextureFile);
    std::snprintf(style.TextureFile, sizeof style.TextureFile, "%s", texture.c_str());
    if (style.FillType == 5 || style.FillType == 6) writeTexture(texture);

    const int quality = size > kQualityByte ? qualityOf(data[kQualityByte]) : 0;
    const int glyph = size > kGlyphByte && data[kGlyphByte] >= 0x80 ? data[kGlyphByte] - 0x80 : -1;
    std::string text = kDefaultText;
    if (size > kTextOffset) {
        const auto* first = reinterpret_cast<const char*>(data + kTextOffset);
        text.assign(first, std::min(size - kTextOffset, kMaxText));
        text.resize(std::strlen(text.c_str()));
    }

    std::remove(out.c_str());
    int start = INT_MIN, end = INT_MIN;
#ifdef VAKURO_FUZZ_TIME_BUDGET
    const double startTime = processorSeconds();
#endif
    const int result = ImgMake2(text.c_str(), &style, out.c_str(), quality, glyph, &start, &end);
#ifdef VAKURO_FUZZ_TIME_BUDGET
    const double took = processorSeconds() - startTime;
    const int q = quality > 99 ? std::min(quality, 102) - 100 : std::clamp(quality, 0, 2);
    if (took > (q == 0 ? 1.5 : q == 1 ? 3.0 : 6.0)) {
        std::fprintf(stderr, "slow: %.2f s of processor time at quality %d\n", took, quality);
        std::abort();
    }
#endif

    check(result == PAVREX_OK || result == PAVREX_TEXT_TOO_LONG || result == PAVREX_WRITE_FAILED ||
              result == PAVREX_CANNOT_RENDER,
          "a documented result code");
    check((result == PAVREX_TEXT_TOO_LONG) == (text.size() > 255), "-1 exactly for a text over 255 bytes");
    struct stat st {};
    const bool written = ::stat(out.c_str(), &st) == 0;
    check(written == (result == PAVREX_OK), "a file exactly when the result is 0");
    if (written) {
        const Header h = readHeader(out);
        check(h.valid, "a 24-bit BMP header");
        check(h.width >= 1 && h.height >= 1, "no picture with a zero side");
        const long long stride = 4 * ((3LL * h.width + 3) / 4);
        check(st.st_size == 54 + stride * h.height, "file size matches the header");
        check(glyph == -1 || (start != INT_MIN && end != INT_MIN), "a selected glyph reports its columns");
        std::remove(out.c_str());
    }
    return 0;
}

#ifdef VAKURO_LIBFUZZER

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

struct ReadField {
    size_t offset;
    int count;  // 1, or 40 for a per-character table
};

#define READ_FIELD(name) {offsetof(PavrexStyle, name), 1}
#define READ_TABLE(name) {offsetof(PavrexStyle, name), 40}

// The numeric fields the engine reads.
constexpr ReadField kReadFields[] = {
    READ_FIELD(FillType),     READ_FIELD(FillColor1),    READ_FIELD(FillColor2),      READ_FIELD(FillColor3),
    READ_FIELD(ThickenX),     READ_FIELD(ThickenY),      READ_FIELD(OutlineWidth),    READ_FIELD(OutlineStyle),
    READ_FIELD(OutlineColor1), READ_FIELD(OutlineColor2), READ_FIELD(ReliefOn),       READ_FIELD(ReliefDepth),
    READ_FIELD(ReliefCurvature), READ_FIELD(ReliefGloss), READ_FIELD(ShadowType),     READ_FIELD(ShadowColor),
    READ_FIELD(ShadowDistance), READ_FIELD(ShadowBlur),  READ_FIELD(BackColor),       READ_FIELD(Slant),
    READ_FIELD(TextureTile),  READ_FIELD(ShadowSpread),  READ_FIELD(Vertical),        READ_FIELD(ReliefReflection),
    READ_TABLE(CharGap),      READ_TABLE(CharWidth),     READ_TABLE(CharHeight),      READ_TABLE(CharOffsetX),
    READ_TABLE(CharOffsetY),  READ_FIELD(SpacingPx),     READ_FIELD(RotateDashes),
};

constexpr int32_t kExtremes[] = {0,        1,          -1,       2,         5,          16,      89,
                                 -89,      100,        150,      255,       1000,       -1000,   1000000,
                                 -1000000, 1 << 24,    -(1 << 24), 1 << 30, -(1 << 30), INT_MAX, INT_MIN};

// Brings a shorter input to its full layout: the default style, quality 0,
// every glyph, the default text.
size_t complete(uint8_t* data, size_t size, size_t maxSize) {
    if (size >= kTextOffset || maxSize < kTextOffset + std::strlen(kDefaultText)) return size;
    const PavrexStyle s = defaultStyle();
    const auto* bytes = reinterpret_cast<const uint8_t*>(&s);
    for (size_t i = size; i < kRecordSize; ++i) data[i] = bytes[i];
    if (size <= kQualityByte) data[kQualityByte] = 0;
    if (size <= kGlyphByte) data[kGlyphByte] = 0;
    std::memcpy(data + kTextOffset, kDefaultText, std::strlen(kDefaultText));
    return kTextOffset + std::strlen(kDefaultText);
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned seed) {
    std::minstd_rand rng(seed);
    size = complete(data, size, maxSize);
    if (size < kTextOffset) return LLVMFuzzerMutate(data, size, maxSize);
    const unsigned choice = rng() % 10;
    if (choice < 6) {
        const ReadField& f = kReadFields[rng() % std::size(kReadFields)];
        // Per-character tables: mostly the 20 entries the layout uses.
        const size_t entry = f.count == 1 ? 0 : (rng() % 8 == 0 ? rng() % 40 : rng() % 20);
        uint8_t* at = data + f.offset + 4 * entry;
        if (rng() % 3 == 0) {
            put32(at, static_cast<uint32_t>(kExtremes[rng() % std::size(kExtremes)]));
        } else {
            LLVMFuzzerMutate(at, 4, 4);
        }
    } else if (choice == 6) {
        LLVMFuzzerMutate(data + kQualityByte, 2, 2);
    } else if (choice < 9) {
        const size_t room = std::min(maxSize - kTextOffset, kMaxText);
        size_t length = std::min(size - kTextOffset, room);
        if (length == 0 && room > 0) data[kTextOffset + length++] = static_cast<uint8_t>(rng());
        size = kTextOffset + (room > 0 ? LLVMFuzzerMutate(data + kTextOffset, length, room) : 0);
    } else {
        size = LLVMFuzzerMutate(data, size, maxSize);
    }
    return size;
}

#endif  // VAKURO_LIBFUZZER
