// ImgMake3: flags 0 is ImgMake byte for byte; PAVREX_WHITE_INK keeps a pure
// white fill as text. Rendered with the pinned test font (IPAGothic).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "pavrex.h"

namespace fs = std::filesystem;

namespace {

const char* const kSomoro = "\x83\x5C\x83\x82\x83\x8D";  // ソモロ

PavrexStyle testStyle() {
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    std::strcpy(s.FontName, "IPAGothic");
    s.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) s.CharWidth[i] = s.CharHeight[i] = 100;
    return s;
}

class WhiteInkTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("pavrex_white_ink_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<char> bytes(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    bmp::BmpImage read(const std::string& name) const {
        bmp::BmpImage image;
        EXPECT_EQ(bmp::readBmp(path(name).c_str(), image), bmp::BmpReadStatus::Ok);
        return image;
    }

    fs::path dir_;
};

// Counts pixels of the given colour (blue, green, red bytes).
int countColour(const bmp::BmpImage& image, uint8_t b, uint8_t g, uint8_t r) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uint8_t* row = image.pixels.data() + size_t(y) * image.stride();
        for (int x = 0; x < image.width(); ++x) n += row[3 * x] == b && row[3 * x + 1] == g && row[3 * x + 2] == r;
    }
    return n;
}

TEST_F(WhiteInkTest, FlagsZeroAndWhiteInkWithoutWhiteEqualImgMakeByteForByte) {
    struct Case {
        const char* name;
        void (*change)(PavrexStyle&);
        int quality;
    } cases[] = {
        {"defaults", [](PavrexStyle&) {}, 0},
        {"defaults smoothed", [](PavrexStyle&) {}, 101},
        {"glow outline gradient", [](PavrexStyle& s) {
             s.ShadowType = 2;
             s.ShadowColor = PAVREX_RGB(255, 170, 80);
             s.OutlineStyle = 2;
             s.OutlineWidth = 2;
             s.OutlineColor1 = PAVREX_RGB(10, 20, 30);
             s.OutlineColor2 = PAVREX_RGB(200, 20, 30);
             s.FillType = 4;
             s.BackColor = PAVREX_RGB(20, 10, 40);
         }, 101},
        {"trapezoid relief on black", [](PavrexStyle& s) {
             s.ReliefOn = 2;
             s.BackColor = 0;
         }, 1},
    };
    for (const Case& c : cases) {
        PavrexStyle s = testStyle();
        c.change(s);
        ASSERT_EQ(ImgMake(kSomoro, &s, path("a.bmp").c_str(), c.quality), PAVREX_OK) << c.name;
        ASSERT_EQ(ImgMake3(kSomoro, &s, path("b.bmp").c_str(), c.quality, 0), PAVREX_OK) << c.name;
        ASSERT_EQ(ImgMake3(kSomoro, &s, path("c.bmp").c_str(), c.quality, PAVREX_WHITE_INK), PAVREX_OK) << c.name;
        EXPECT_EQ(bytes("a.bmp"), bytes("b.bmp")) << c.name;
        EXPECT_EQ(bytes("a.bmp"), bytes("c.bmp")) << c.name;
    }
}

TEST_F(WhiteInkTest, WhiteFillIsTextOnlyWithTheFlag) {
    // White text with a red outline on black, nothing else.
    PavrexStyle s = testStyle();
    s.FillColor1 = PAVREX_RGB(255, 255, 255);
    s.BackColor = PAVREX_RGB(0, 0, 0);
    s.ShadowType = 0;
    s.ReliefOn = 0;
    s.OutlineStyle = 1;
    s.OutlineWidth = 1;
    s.OutlineColor1 = PAVREX_RGB(255, 0, 0);
    ASSERT_EQ(ImgMake(kSomoro, &s, path("plain.bmp").c_str(), 0), PAVREX_OK);
    ASSERT_EQ(ImgMake3(kSomoro, &s, path("ink.bmp").c_str(), 0, PAVREX_WHITE_INK), PAVREX_OK);
    // The same text filled in a colour that is not white, for the count of ink.
    PavrexStyle grey = s;
    grey.FillColor1 = PAVREX_RGB(128, 128, 128);
    ASSERT_EQ(ImgMake(kSomoro, &grey, path("grey.bmp").c_str(), 0), PAVREX_OK);

    const bmp::BmpImage plain = read("plain.bmp");
    const bmp::BmpImage ink = read("ink.bmp");
    const bmp::BmpImage reference = read("grey.bmp");
    // Without the flag the white text is background: no text, no outline.
    EXPECT_EQ(countColour(plain, 0, 0, 1), plain.width() * plain.height());
    // With it the text is drawn white (the relief is off: no darkening, and
    // the composite's +10 stays at 255) and outlined, exactly where the grey
    // text and its outline are.
    const int greyInk = countColour(reference, 128 + 10, 128 + 10, 128 + 10);
    EXPECT_GT(greyInk, 100);
    EXPECT_EQ(countColour(ink, 255, 255, 255), greyInk);
    EXPECT_EQ(countColour(ink, 0, 0, 255), countColour(reference, 0, 0, 255));
    EXPECT_GT(countColour(ink, 0, 0, 255), 0);
}

TEST_F(WhiteInkTest, UnknownFlagsAreRefused) {
    const PavrexStyle s = testStyle();
    EXPECT_EQ(ImgMake3(kSomoro, &s, path("x.bmp").c_str(), 0, 2), PAVREX_BAD_ARGUMENT);
    EXPECT_EQ(ImgMake3(kSomoro, &s, path("x.bmp").c_str(), 0, -1), PAVREX_BAD_ARGUMENT);
    EXPECT_EQ(ImgMake3(nullptr, &s, path("x.bmp").c_str(), 0, 0), PAVREX_BAD_ARGUMENT);
    EXPECT_FALSE(fs::exists(path("x.bmp")));
}

}  // namespace
