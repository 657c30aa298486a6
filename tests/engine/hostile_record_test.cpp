// Damaged or hostile style records: any value in any field. Each row sets
// some fields of the default style (with the pinned font IPAGothic),
// renders a text at a quality, and states what must hold. A row that hangs
// fails by the test's time limit (the TIMEOUT property in CMakeLists.txt),
// so no row measures time itself.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <unistd.h>

#include "bmp_file.h"
#include "pavrex.h"

namespace fs = std::filesystem;

namespace {

// Code page 932 texts.
const std::string kSomoroMoji = "\x83\x5C\x83\x82\x83\x8D\x95\xB6\x8E\x9A";  // ソモロ文字
const std::string kSoDashDash = "\x83\x5C\x81\x5B\x81\x5B";                  // ソーー

std::string repeated(const std::string& glyph, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += glyph;
    return s;
}
const std::string k255A = repeated("A", 255);
const std::string k127LongVowels = repeated("\x81\x5B", 127);  // ー x 127 (254 bytes)
const std::string k127A = repeated("\x82\xA0", 127);           // あ x 127

void everyEntry(int32_t (&table)[40], int32_t value) {
    for (int32_t& v : table) v = value;
}

enum class Expect {
    Picture,    // result 0 and a readable 24-bit picture, no side 0
    PlainSize,  // as Picture, and the size of the same text with the default style
    Size,       // as Picture, and exactly width x height
    Refused,    // result -3 (canvas too large) and no file
};

struct HostileCase {
    const char* name;
    const std::string* text;
    int quality;
    void (*apply)(PavrexStyle&);
    Expect expect;
    int width = 0;  // for Expect::Size
    int height = 0;
};

// Margins that cancel: m = max(ThickenX, ThickenY) + 2 ShadowBlur +
// ShadowDistance + 5 + 2 ReliefDepth (relief on) [+ OutlineWidth], so the
// canvas is of normal size while ShadowDistance is hugely negative.
const HostileCase kCases[] = {
    {"DistanceMinCancelledByDepth", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ShadowDistance = INT_MIN; s.ReliefDepth = 1 << 30; }, Expect::Picture},
    {"DistanceMinCancelledByBlur", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ShadowDistance = INT_MIN; s.ShadowBlur = 1 << 30; }, Expect::Picture},
    {"DistanceMinCancelledByThickenX", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ShadowDistance = INT_MIN; s.ThickenX = INT_MAX; }, Expect::Picture},
    {"DistanceMinCancelledByOutlineWidth", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ShadowDistance = INT_MIN; s.OutlineStyle = 1; s.OutlineWidth = INT_MAX; }, Expect::Picture},
    {"DistanceMinusTwoPow28CancelledByDepth", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ShadowDistance = -(1 << 28); s.ReliefDepth = 1 << 27; }, Expect::Picture},
    {"DistanceMinCancelledWithSpread", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ShadowDistance = INT_MIN; s.ReliefDepth = 1 << 30; s.ShadowSpread = 3; }, Expect::Picture},
    // m = 3 + 4 + INT_MIN + 5 + 10 < 0: the smallest canvas, 4 x 1.
    {"DistanceMinAloneGivesTheSmallestCanvas", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ShadowDistance = INT_MIN; }, Expect::Size, 4, 1},
    // The same degenerate 4 x 1 canvas halved: 2 x 1, never 2 x 0.
    {"NegativeDistanceHalvedAt100", &kSomoroMoji, 100,
     [](PavrexStyle& s) { s.ShadowDistance = -1000000; }, Expect::Size, 2, 1},
    {"NegativeDistanceHalvedAt101", &kSomoroMoji, 101,
     [](PavrexStyle& s) { s.ShadowDistance = -1000000; }, Expect::Size, 2, 1},
    {"NegativeDistanceHalvedAt102", &kSomoroMoji, 102,
     [](PavrexStyle& s) { s.ShadowDistance = -1000000; }, Expect::Size, 2, 1},
    {"NegativeDepthHalvedAt100", &kSomoroMoji, 100,
     [](PavrexStyle& s) { s.ReliefDepth = -1000000; }, Expect::Size, 2, 1},
    {"NegativeDepthHalvedAt102", &kSomoroMoji, 102,
     [](PavrexStyle& s) { s.ReliefDepth = -1000000; }, Expect::Size, 2, 1},
    {"NegativeBlurHalvedAt101", &kSomoroMoji, 101,
     [](PavrexStyle& s) { s.ShadowBlur = -1000000; }, Expect::Size, 2, 1},
    {"NegativeBlurHalvedAt102", &kSomoroMoji, 102,
     [](PavrexStyle& s) { s.ShadowBlur = -1000000; }, Expect::Size, 2, 1},
    // Per-character sizes and offsets far outside the canvas: the glyph
    // copy starts at the first visible row and column. They do not enter
    // the canvas size.
    {"EveryCharHeightMax", &k255A, 0, [](PavrexStyle& s) { everyEntry(s.CharHeight, INT_MAX); }, Expect::PlainSize},
    {"EveryCharHeightMaxAtQuality2", &kSomoroMoji, 2,
     [](PavrexStyle& s) { everyEntry(s.CharHeight, INT_MAX); }, Expect::PlainSize},
    {"EveryCharWidthMax", &k255A, 0, [](PavrexStyle& s) { everyEntry(s.CharWidth, INT_MAX); }, Expect::PlainSize},
    {"EveryCharSizeMin", &kSomoroMoji, 0,
     [](PavrexStyle& s) { everyEntry(s.CharWidth, INT_MIN); everyEntry(s.CharHeight, INT_MIN); }, Expect::PlainSize},
    {"TurnedLongVowelsWithCharWidthMax", &k127LongVowels, 0,
     [](PavrexStyle& s) { s.Vertical = 1; s.RotateDashes = 1; everyEntry(s.CharWidth, INT_MAX); }, Expect::PlainSize},
    {"TurnedLongVowelsWithCharWidthMaxAtQuality2", &kSoDashDash, 2,
     [](PavrexStyle& s) { s.Vertical = 1; s.RotateDashes = 1; everyEntry(s.CharWidth, INT_MAX); }, Expect::PlainSize},
    {"VerticalWithCharOffsetYMin", &k127A, 0,
     [](PavrexStyle& s) { s.Vertical = 1; everyEntry(s.CharOffsetY, INT_MIN); }, Expect::PlainSize},
    {"CharOffsetsMax", &kSomoroMoji, 1,
     [](PavrexStyle& s) { everyEntry(s.CharOffsetX, INT_MAX); everyEntry(s.CharOffsetY, INT_MAX); }, Expect::PlainSize},
    {"Slant89", &kSomoroMoji, 0, [](PavrexStyle& s) { s.Slant = 89; }, Expect::Picture},
    {"Slant89AtQuality2", &kSomoroMoji, 2, [](PavrexStyle& s) { s.Slant = 89; }, Expect::Picture},
    {"Slant89With255Glyphs", &k255A, 0, [](PavrexStyle& s) { s.Slant = 89; }, Expect::Picture},
    {"SlantMinus89Vertical", &kSomoroMoji, 0, [](PavrexStyle& s) { s.Slant = -89; s.Vertical = 1; }, Expect::Picture},
    // Absurd values of the step fields on a canvas of normal size.
    {"ThickenYMax", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ShadowDistance = INT_MIN; s.ThickenY = INT_MAX; }, Expect::Picture},
    {"ThickenWiderThanTheCanvas", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ThickenX = 1000; s.ThickenY = 1000; s.ShadowDistance = -1000; }, Expect::Picture},
    {"SpreadMax", &kSomoroMoji, 0, [](PavrexStyle& s) { s.ShadowSpread = INT_MAX; }, Expect::Picture},
    {"BlurMaxCancelledByDistance", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ShadowBlur = INT_MAX; s.ShadowDistance = INT_MIN; s.ReliefDepth = -(1 << 30); }, Expect::Picture},
    // The glyphs moved down into the scanned area of a deep relief.
    {"DeepReliefWithExtremeCurvature", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ReliefDepth = 150; everyEntry(s.CharOffsetY, -250); s.ReliefCurvature = INT_MIN; }, Expect::Picture},
    {"TrapezoidReliefDeepAtQuality2", &kSomoroMoji, 2,
     [](PavrexStyle& s) { s.ReliefOn = 2; s.ReliefDepth = 40; s.ShadowDistance = -80; s.ReliefCurvature = INT_MAX; }, Expect::Picture},
    {"GlossAndReflectionMax", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.ReliefGloss = INT_MAX; s.ReliefReflection = INT_MAX; s.ReliefDepth = 40; s.ShadowDistance = -80; }, Expect::Picture},
    {"WideOutlineCancelledByDistance", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.OutlineStyle = 3; s.OutlineWidth = 60; s.ShadowDistance = -60; }, Expect::Picture},
    {"SpacingMinGivesTheSmallestCanvas", &kSomoroMoji, 0,
     [](PavrexStyle& s) { s.SpacingPx = INT_MIN; everyEntry(s.CharGap, INT_MIN); }, Expect::Picture},
    // Too large a canvas is refused, at every quality.
    {"DistanceMinCancelledByDepthAtQuality2IsRefused", &kSomoroMoji, 2,
     [](PavrexStyle& s) { s.ShadowDistance = INT_MIN; s.ReliefDepth = 1 << 30; }, Expect::Refused},
    // m = 3000 + 29: about 6350 x 3134, beyond 16 million pixels at factor 1.
    {"HugeMarginIsRefused", &kSomoroMoji, 0, [](PavrexStyle& s) { s.ShadowDistance = 3000; }, Expect::Refused},
    // The widest style within the program's ranges still renders: 255
    // glyphs of vertical text with every spacing, slant and margin at its
    // largest, nearly 60000 rows.
    {"LargestStyleInRangeRenders", &k255A, 0,
     [](PavrexStyle& s) {
         s.Vertical = 1;
         s.SpacingPx = s.Spacing = 100;
         everyEntry(s.CharGap, 39);
         s.Slant = 30;
         s.ThickenX = s.ThickenY = 8;
         s.ShadowBlur = 5;
         s.ShadowDistance = 16;
         s.ShadowSpread = 8;
         s.ReliefDepth = 10;
         s.OutlineStyle = 1;
         s.OutlineWidth = 5;
     },
     Expect::Picture},
};

// Shown by name in test output and CTest names.
void PrintTo(const HostileCase& k, std::ostream* os) { *os << k.name; }

PavrexStyle plainStyle() {
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    std::strcpy(s.FontName, "IPAGothic");
    s.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) s.CharWidth[i] = s.CharHeight[i] = 100;
    return s;
}

// The 54-byte header of a written picture (all zero when there is none).
// Read directly, as the largest canvases exceed what the effects library
// reads.
bmp::BmpHeader headerOf(const std::string& path) {
    bmp::BmpHeader header;
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(header.bytes.data()), static_cast<std::streamsize>(header.bytes.size()));
    return header;
}

class HostileRecord : public ::testing::TestWithParam<HostileCase> {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("pavrex_hostile_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

TEST_P(HostileRecord, RendersAPictureOrIsRefused) {
    const HostileCase& k = GetParam();
    PavrexStyle style = plainStyle();
    k.apply(style);
    const std::string out = (dir_ / "out.bmp").string();
    const int result = ImgMake(k.text->c_str(), &style, out.c_str(), k.quality);

    if (k.expect == Expect::Refused) {
        EXPECT_EQ(result, PAVREX_CANNOT_RENDER);
        EXPECT_FALSE(fs::exists(out));
        return;
    }
    ASSERT_EQ(result, PAVREX_OK);
    const bmp::BmpHeader header = headerOf(out);
    EXPECT_EQ(header.bytes[0], 'B');
    EXPECT_EQ(header.bytes[1], 'M');
    EXPECT_EQ(header.bitCount(), 24);
    ASSERT_GE(header.width(), 1) << "no picture with a zero side";
    ASSERT_GE(header.height(), 1) << "no picture with a zero side";
    EXPECT_EQ(fs::file_size(out),
              54u + static_cast<uintmax_t>(header.height()) * bmp::rowStride(24, header.width()));
    if (header.width() <= bmp::kMaxSide && header.height() <= bmp::kMaxSide) {
        bmp::BmpImage image;
        EXPECT_EQ(bmp::readBmp(out.c_str(), image), bmp::BmpReadStatus::Ok) << "the effects library reads it";
    }
    if (k.expect == Expect::Size) {
        EXPECT_EQ(header.width(), k.width);
        EXPECT_EQ(header.height(), k.height);
    }
    if (k.expect == Expect::PlainSize) {
        PavrexStyle plain = plainStyle();
        plain.Vertical = style.Vertical;
        plain.RotateDashes = style.RotateDashes;
        const std::string plainOut = (dir_ / "plain.bmp").string();
        ASSERT_EQ(ImgMake(k.text->c_str(), &plain, plainOut.c_str(), k.quality), PAVREX_OK);
        const bmp::BmpHeader expected = headerOf(plainOut);
        EXPECT_EQ(header.width(), expected.width());
        EXPECT_EQ(header.height(), expected.height());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileRecord, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

}  // namespace
