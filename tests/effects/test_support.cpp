#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <ostream>
#include <stdexcept>

namespace tesmor::test {

namespace fs = std::filesystem;

std::ostream& operator<<(std::ostream& os, const Bgr& c) {
    return os << "(b " << c.b << ", g " << c.g << ", r " << c.r << ")";
}

Image image24(int width, int height, std::initializer_list<Bgr> bottomRowFirst) {
    if (bottomRowFirst.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        throw std::invalid_argument("image24: wrong number of pixels");
    }
    Image image(width, height);
    auto it = bottomRowFirst.begin();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, ++it) {
            uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<uint8_t>(it->b);
            p[1] = static_cast<uint8_t>(it->g);
            p[2] = static_cast<uint8_t>(it->r);
        }
    }
    return image;
}

Image channelled(int width, int height, std::initializer_list<int> values) {
    Image image(width, height);
    auto it = values.begin();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, ++it) {
            uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<uint8_t>(*it);
            p[1] = static_cast<uint8_t>(*it + 1);
            p[2] = static_cast<uint8_t>(*it + 2);
        }
    }
    return image;
}

Image greyImage(int width, int height, std::initializer_list<int> bottomRowFirst) {
    if (bottomRowFirst.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        throw std::invalid_argument("greyImage: wrong number of pixels");
    }
    Image image(width, height);
    auto it = bottomRowFirst.begin();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, ++it) {
            uint8_t* p = image.pixel(x, y);
            p[0] = p[1] = p[2] = static_cast<uint8_t>(*it);
        }
    }
    return image;
}

Image image8(int width, int height, std::initializer_list<int> bottomRowFirst) {
    Image image(width, height, 1);
    auto it = bottomRowFirst.begin();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, ++it) *image.pixel(x, y) = static_cast<uint8_t>(*it);
    }
    return image;
}

Bgr at(const Image& image, int x, int y) {
    const uint8_t* p = image.view().pixel(x, y);
    return {p[0], p[1], p[2]};
}

std::vector<int> greyLevels(const Image& image) {
    std::vector<int> levels;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Bgr c = at(image, x, y);
            EXPECT_TRUE(c.b == c.g && c.g == c.r) << "pixel " << x << "," << y << " " << c;
            levels.push_back(c.b);
        }
    }
    return levels;
}

Image testCard(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<uint8_t>(255 * x / std::max(1, width - 1));
            p[1] = static_cast<uint8_t>(255 * y / std::max(1, height - 1));
            p[2] = static_cast<uint8_t>(((x / 3 + y / 3) % 2) ? 220 : 30);
            const bool whiteBlock = x >= width / 2 && x < width / 2 + width / 4 && y >= height / 4 &&
                                    y < height / 4 + height / 3;
            if (whiteBlock) p[0] = p[1] = p[2] = 250;
        }
    }
    return image;
}

std::vector<uint8_t> bmpBytes(const Image& image) {
    return bmp::test::bmpBytes(image.width, image.height, 8 * image.bytesPerPixel, image.data);
}

void writeImage(const std::string& path, const Image& image) { writeBytes(path, bmpBytes(image)); }

Image readImage(const std::string& path) {
    bmp::BmpImage file;
    static constexpr int kBits[] = {8, 24};
    const bmp::BmpReadStatus status = bmp::readBmp(path.c_str(), file, {kBits});
    EXPECT_EQ(status, bmp::BmpReadStatus::Ok) << path;
    if (status != bmp::BmpReadStatus::Ok) return {};
    Image image;
    image.width = file.width();
    image.height = file.height();
    image.bytesPerPixel = file.header.bitCount() / 8;
    image.data = std::move(file.pixels);
    return image;
}

void expectMatchesGolden(const Image& actual, const std::string& name) {
    const fs::path golden = fs::path(VAKURO_GOLDEN_DIR) / (name + ".bmp");
    const char* update = std::getenv("UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        fs::create_directories(golden.parent_path());
        writeImage(golden.string(), actual);
        std::cout << "[golden] wrote " << golden << "\n";
        return;
    }
    if (!fs::exists(golden)) {
        ADD_FAILURE() << "missing golden image " << golden << " (run with UPDATE_GOLDEN=1)";
        return;
    }
    const Image expected = readImage(golden.string());
    bool same = expected.width == actual.width && expected.height == actual.height &&
                expected.bytesPerPixel == actual.bytesPerPixel && expected.data == actual.data;
    if (same) return;

    const fs::path failures = fs::path(VAKURO_FAILURE_DIR) / name;
    fs::create_directories(failures.parent_path());
    writeImage(failures.string() + ".actual.bmp", actual);
    if (expected.width == actual.width && expected.height == actual.height &&
        expected.bytesPerPixel == 3 && actual.bytesPerPixel == 3) {
        // Black where equal; differing channels lit, small differences still visible.
        Image diff(actual.width, actual.height);
        for (size_t i = 0; i < diff.data.size(); ++i) {
            const int d = std::abs(int{actual.data[i]} - int{expected.data[i]});
            diff.data[i] = static_cast<uint8_t>(d == 0 ? 0 : std::min(255, 64 + 8 * d));
        }
        writeImage(failures.string() + ".diff.bmp", diff);
    }
    ADD_FAILURE() << "image differs from golden " << golden << "; actual and difference written to "
                  << failures.parent_path();
}

}  // namespace tesmor::test
