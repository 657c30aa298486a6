// Tests of the generated resources as the program sees them: embedded in the
// Qt resource system by linking vakuro_resources.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "bmp_file.h"
#include "textures.h"
#include "vakuro_resources.h"

namespace {

namespace fs = std::filesystem;
namespace res = vakuro::resources;

QByteArray resourceBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

std::vector<uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> toVector(const QByteArray& a) {
    return {reinterpret_cast<const uint8_t*>(a.constData()),
            reinterpret_cast<const uint8_t*>(a.constData()) + a.size()};
}

// A fresh, empty folder of this process in the temporary folder.
fs::path freshFolder(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() /
                            ("vakuro_resources_test_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// Reads an embedded texture through the system's own BMP reader.
bmp::BmpImage readTexture(int resourceNumber) {
    const QByteArray bytes = resourceBytes(res::texturePath(resourceNumber));
    const fs::path path = freshFolder("read") / "texture.bmp";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.constData(), bytes.size());
    }
    bmp::BmpImage image;
    EXPECT_EQ(bmp::readBmp(path.c_str(), image), bmp::BmpReadStatus::Ok) << resourceNumber;
    return image;
}

// Mean absolute channel difference between neighbouring columns (x, x + 1)
// for every x, or rows (y, y + 1) for every y; the last entry is the pair
// across the wrap (last, first).
std::vector<double> neighbourDifferences(const bmp::BmpImage& image, bool columns) {
    const int w = image.width(), h = image.height(), stride = image.stride();
    auto px = [&](int x, int y, int c) { return int(image.pixels[size_t(y) * stride + 3 * x + c]); };
    std::vector<double> d;
    const int pairs = columns ? w : h;
    for (int i = 0; i < pairs; ++i) {
        double sum = 0;
        const int along = columns ? h : w;
        for (int j = 0; j < along; ++j)
            for (int c = 0; c < 3; ++c) {
                const int a = columns ? px(i, j, c) : px(j, i, c);
                const int b = columns ? px((i + 1) % w, j, c) : px(j, (i + 1) % h, c);
                sum += std::abs(a - b);
            }
        d.push_back(sum / (3.0 * along));
    }
    return d;
}

// True when the wrap seam is no more different than neighbouring interior
// columns (rows) typically are: within three standard deviations of their
// mean difference.
bool seamless(const std::vector<double>& d, double* seamOut = nullptr, double* limitOut = nullptr) {
    const size_t n = d.size() - 1;
    double mean = 0;
    for (size_t i = 0; i < n; ++i) mean += d[i];
    mean /= n;
    double var = 0;
    for (size_t i = 0; i < n; ++i) var += (d[i] - mean) * (d[i] - mean);
    const double limit = mean + 3 * std::sqrt(var / (n - 1));
    if (seamOut) *seamOut = d.back();
    if (limitOut) *limitOut = limit;
    return d.back() <= limit;
}

}  // namespace

TEST(Textures, FortyEightOf160By40TwentyFourBitReadableBmps) {
    for (int n = 0; n < res::kTextureCount; ++n) {
        const int number = res::kFirstTexture + n;
        const QByteArray bytes = resourceBytes(res::texturePath(number));
        ASSERT_EQ(bytes.size(), 54 + 40 * 480) << number;  // rows of 160 * 3 bytes, already 4-aligned
        const bmp::BmpImage image = readTexture(number);
        EXPECT_EQ(image.width(), 160) << number;
        EXPECT_EQ(image.height(), 40) << number;
        EXPECT_EQ(image.header.bitCount(), 24) << number;
        EXPECT_EQ(image.header.dataOffset(), 54) << number;
        EXPECT_EQ(image.header.fileSize(), bytes.size()) << number;
        // A picture, not a flat colour.
        std::set<uint32_t> colours;
        for (size_t i = 0; i + 2 < image.pixels.size(); i += 3)
            colours.insert(image.pixels[i] | image.pixels[i + 1] << 8 | image.pixels[i + 2] << 16);
        EXPECT_GE(colours.size(), 8u) << number;
    }
    // A loader counting textures by trying numbers stops after the last one.
    EXPECT_FALSE(QFile::exists(res::texturePath(res::kFirstTexture + res::kTextureCount)));
    EXPECT_FALSE(QFile::exists(res::texturePath(res::kFirstTexture - 1)));
}

TEST(Textures, TiledSetMatchesTheRenderPipelinesTable) {
    // The render pipeline's table: the n-th character (counting from 0) of
    // this string is the tiling flag of texture n; beyond its end, 0.
    const std::string table = std::string("000000011") + "100011110" + "001110001" + std::string(36, '0');
    for (int n = 0; n < res::kTextureCount; ++n)
        EXPECT_EQ(vakuro::gen::textureIsTiled(n), n < int(table.size()) && table[n] == '1') << n;
}

TEST(Textures, TiledTexturesJoinWithoutASeam) {
    for (int n = 0; n < res::kTextureCount; ++n) {
        if (!vakuro::gen::textureIsTiled(n)) continue;
        const bmp::BmpImage image = readTexture(res::kFirstTexture + n);
        for (const bool columns : {true, false}) {
            double seam = 0, limit = 0;
            EXPECT_TRUE(seamless(neighbourDifferences(image, columns), &seam, &limit))
                << "texture " << n << (columns ? " left/right" : " top/bottom") << " seam " << seam
                << " > " << limit;
        }
    }
}

TEST(Textures, SeamCheckCatchesStretchedPictures) {
    // The check is sharp enough to see the edges of pictures that are not
    // meant to repeat: gradients, a rainbow, marble, a sky.
    for (const int n : {12, 28, 41, 42}) {
        const bmp::BmpImage image = readTexture(res::kFirstTexture + n);
        EXPECT_FALSE(seamless(neighbourDifferences(image, true)) && seamless(neighbourDifferences(image, false)))
            << n;
    }
}

namespace {

struct Wav {
    uint16_t format = 0, channels = 0, blockAlign = 0, bits = 0;
    uint32_t rate = 0, byteRate = 0;
    std::vector<double> samples;  // -1 .. 1
};

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// Parses a canonical PCM WAVE file, failing the test on any inconsistency.
Wav parseWav(const std::vector<uint8_t>& b) {
    Wav w;
    EXPECT_GE(b.size(), 44u);
    if (b.size() < 44) return w;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(le32(&b[4]), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "fmt ");
    EXPECT_EQ(le32(&b[16]), 16u);
    w.format = le16(&b[20]);
    w.channels = le16(&b[22]);
    w.rate = le32(&b[24]);
    w.byteRate = le32(&b[28]);
    w.blockAlign = le16(&b[32]);
    w.bits = le16(&b[34]);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    const uint32_t size = le32(&b[40]);
    EXPECT_EQ(size, b.size() - 44);
    EXPECT_EQ(w.blockAlign, w.channels * w.bits / 8);
    EXPECT_EQ(w.byteRate, w.rate * w.blockAlign);
    if (size != b.size() - 44 || w.blockAlign == 0) return w;
    for (size_t i = 44; i + w.blockAlign <= b.size(); i += w.blockAlign)
        w.samples.push_back(w.bits == 8 ? (b[i] - 128) / 128.0 : int16_t(le16(&b[i])) / 32768.0);
    return w;
}

// The template files are kept with the sources; their generator must still
// write exactly those bytes, so that editing its table changes only what
// was meant to change.
TEST(Generators, TemplateGeneratorWritesTheKeptTemplates) {
    const fs::path out = freshFolder("templates");
    const std::string command = std::string("\"") + VAKURO_GEN_TEMPLATES + "\" \"" + out.string() + "\" >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    size_t compared = 0;
    for (const auto& entry : fs::directory_iterator(VAKURO_TEMPLATE_DIR)) {
        if (entry.path().extension() != ".VTF") continue;
        const fs::path written = out / entry.path().filename();
        ASSERT_TRUE(fs::exists(written)) << written;
        EXPECT_EQ(fileBytes(written), fileBytes(entry.path())) << entry.path().filename();
        ++compared;
    }
    EXPECT_EQ(compared, 28u);
    EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(out), fs::directory_iterator())), compared);
}


}  // namespace

TEST(Sounds, PcmMonoWavesOfTheRightKindAndLength) {
    for (int n = 101; n <= 104; ++n) {
        const Wav w = parseWav(toVector(resourceBytes(res::soundPath(n))));
        EXPECT_EQ(w.format, 1) << n;  // PCM
        EXPECT_EQ(w.channels, 1) << n;
        EXPECT_EQ(w.rate, 22050u) << n;
        EXPECT_EQ(w.bits, n == res::kCompletionSound ? 8 : 16) << n;
        ASSERT_FALSE(w.samples.empty()) << n;
        const double seconds = double(w.samples.size()) / w.rate;
        if (n == res::kCompletionSound) {
            EXPECT_GE(seconds, 0.15);
            EXPECT_LE(seconds, 1.0);
        } else {
            EXPECT_GE(seconds, 1.0) << n;
            EXPECT_LE(seconds, 3.0) << n;
        }
        // Audible but not clipped, and starting and ending in silence (no click).
        double peak = 0;
        for (double s : w.samples) peak = std::max(peak, std::abs(s));
        EXPECT_GT(peak, 0.5) << n;
        EXPECT_LT(peak, 0.95) << n;
        EXPECT_LE(std::abs(w.samples.front()), 1.0 / 128) << n;
        EXPECT_LE(std::abs(w.samples.back()), 1.0 / 128) << n;
    }
    EXPECT_FALSE(QFile::exists(res::soundPath(105)));
}

TEST(Pictures, TitleBackgroundAndIcons) {
    const QImage back(QString::fromLatin1(res::kTitleBackground));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(1060, 260));
    // Light everywhere, so that the dark title text combined onto it by a
    // bitwise AND stays readable; and not a flat fill.
    double darkest = 255;
    std::set<QRgb> colours;
    for (int y = 0; y < back.height(); y += 2)
        for (int x = 0; x < back.width(); x += 2) {
            const QRgb c = back.pixel(x, y);
            darkest = std::min(darkest, 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c));
            colours.insert(c);
        }
    EXPECT_GT(darkest, 140);
    EXPECT_GT(colours.size(), 5000u);

    const std::map<const char*, int> icons{{res::kIcon, 256}, {res::kIcon64, 64}, {res::kIcon32, 32}};
    for (const auto& [path, size] : icons) {
        const QImage icon(QString::fromLatin1(path));
        ASSERT_FALSE(icon.isNull()) << path;
        EXPECT_EQ(icon.size(), QSize(size, size)) << path;
        EXPECT_TRUE(icon.hasAlphaChannel()) << path;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << path;  // rounded, transparent corners
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << path;
    }
}

TEST(Generators, TwoRunsGiveTheEmbeddedBytes) {
    struct Generator {
        const char* program;
        const char* subfolder;  // where the generator writes, relative to its argument
        bool wholeTree;         // the argument is the top of the resource tree
    };
    const Generator generators[] = {
        {VAKURO_GEN_TEXTURES, "textures", false},
        {VAKURO_GEN_SOUNDS, "sounds", false},
        {VAKURO_GEN_PICTURES, "", true},
    };
    for (const Generator& g : generators) {
        std::vector<fs::path> runs;
        for (int run = 0; run < 2; ++run) {
            const fs::path top = freshFolder("run" + std::to_string(run));
            const fs::path arg = g.wholeTree ? top : top / g.subfolder;
            const std::string command = std::string("\"") + g.program + "\" \"" + arg.string() + "\"";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            runs.push_back(top);
        }
        size_t compared = 0;
        for (const auto& entry : fs::recursive_directory_iterator(runs[0])) {
            if (!entry.is_regular_file()) continue;
            const fs::path relative = fs::relative(entry.path(), runs[0]);
            const auto first = fileBytes(entry.path());
            EXPECT_EQ(first, fileBytes(runs[1] / relative)) << relative;
            EXPECT_EQ(first, toVector(resourceBytes(QString::fromStdString(":/" + relative.generic_string()))))
                << relative;
            ++compared;
        }
        EXPECT_EQ(compared, g.wholeTree ? 4u : std::string(g.subfolder) == "textures" ? 48u : 4u) << g.program;
    }
}
