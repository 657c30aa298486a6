#include "support.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include <jpeglib.h>

namespace imgctl_test {
namespace fs = std::filesystem;

Picture solid(int width, int height, Color c) {
    return Picture{width, height, std::vector<Color>(size_t(width) * size_t(height), c)};
}

Picture gradient(int width, int height) {
    Picture p = solid(width, height, {});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.at(x, y) = {uint8_t(x * 255 / std::max(1, width - 1)),
                          uint8_t(y * 255 / std::max(1, height - 1)),
                          uint8_t((x + y) * 255 / std::max(1, width + height - 2))};
    return p;
}

Picture bands(int width, int height, int colors) {
    Picture p = solid(width, height, {});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int k = (y * width + x) % colors;
            p.at(x, y) = {uint8_t(k * 37), uint8_t(k * 11 + 3), uint8_t(255 - k)};
        }
    return p;
}

namespace {

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

std::vector<uint8_t> header(int width, int height, int bits, size_t tableBytes, size_t dataBytes) {
    std::vector<uint8_t> b(54 + tableBytes + dataBytes, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, uint32_t(b.size()));
    put32(b, 10, uint32_t(54 + tableBytes));
    put32(b, 14, 40);
    put32(b, 18, uint32_t(width));
    put32(b, 22, uint32_t(height));
    put16(b, 26, 1);
    put16(b, 28, uint32_t(bits));
    return b;
}

}  // namespace

std::vector<uint8_t> bmp24(const Picture& p) {
    const size_t stride = (size_t(p.width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> b = header(p.width, p.height, 24, 0, stride * size_t(p.height));
    for (int y = 0; y < p.height; ++y) {
        uint8_t* row = b.data() + 54 + size_t(p.height - 1 - y) * stride;
        for (int x = 0; x < p.width; ++x) {
            const Color c = p.at(x, y);
            row[x * 3 + 0] = c.b;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.r;
        }
    }
    return b;
}

std::vector<uint8_t> bmp8(int width, int height, const std::vector<Color>& table,
                          const std::vector<uint8_t>& indices) {
    const size_t stride = (size_t(width) + 3) / 4 * 4;
    std::vector<uint8_t> b = header(width, height, 8, table.size() * 4, stride * size_t(height));
    put32(b, 46, uint32_t(table.size()));
    for (size_t i = 0; i < table.size(); ++i) {
        b[54 + i * 4 + 0] = table[i].b;
        b[54 + i * 4 + 1] = table[i].g;
        b[54 + i * 4 + 2] = table[i].r;
    }
    const size_t data = 54 + table.size() * 4;
    for (int y = 0; y < height; ++y)
        std::memcpy(b.data() + data + size_t(height - 1 - y) * stride,
                    indices.data() + size_t(y) * size_t(width), size_t(width));
    return b;
}

void writeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

ScratchDir::ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "imgctl-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    if (kept_ || ::testing::Test::HasFailure()) {
        std::fprintf(stderr, "files kept in %s\n", path_.string().c_str());
        return;
    }
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::vector<std::string> ScratchDir::entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

DecodedGif decodeGif(const std::string& path) {
    DecodedGif out;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) {
        out.error = GifErrorString(error);
        return out;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        out.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return out;
    }
    // The signature as stored (giflib's reader does not report it).
    const std::vector<uint8_t> head = readFile(path);
    out.version.assign(head.begin(), head.begin() + long(std::min<size_t>(6, head.size())));
    out.width = gif->SWidth;
    out.height = gif->SHeight;
    out.globalTable = gif->SColorMap != nullptr;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& img = gif->SavedImages[i];
        GifFrame f;
        f.left = img.ImageDesc.Left;
        f.top = img.ImageDesc.Top;
        f.width = img.ImageDesc.Width;
        f.height = img.ImageDesc.Height;
        f.localTable = img.ImageDesc.ColorMap != nullptr;
        const ColorMapObject* map = f.localTable ? img.ImageDesc.ColorMap : gif->SColorMap;
        if (map != nullptr)
            for (int c = 0; c < map->ColorCount; ++c)
                f.table.push_back({map->Colors[c].Red, map->Colors[c].Green, map->Colors[c].Blue});
        f.indices.assign(img.RasterBits, img.RasterBits + size_t(f.width) * size_t(f.height));
        for (int e = 0; e < img.ExtensionBlockCount; ++e) {
            const ExtensionBlock& ext = img.ExtensionBlocks[e];
            if (ext.Function == APPLICATION_EXT_FUNC_CODE && ext.ByteCount == 11 &&
                std::memcmp(ext.Bytes, "NETSCAPE2.0", 11) == 0 && e + 1 < img.ExtensionBlockCount) {
                const ExtensionBlock& data = img.ExtensionBlocks[e + 1];
                if (data.ByteCount == 3 && data.Bytes[0] == 1)
                    out.loopField = data.Bytes[1] | (data.Bytes[2] << 8);
            }
        }
        GraphicsControlBlock gcb;
        if (DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK) {
            f.hasControl = true;
            f.disposal = gcb.DisposalMode;
            f.delay = gcb.DelayTime;
            f.transparent = gcb.TransparentColor;
        }
        out.frames.push_back(std::move(f));
    }
    DGifCloseFile(gif, &error);
    out.ok = true;
    return out;
}

std::vector<std::vector<uint32_t>> composeFrames(const DecodedGif& gif) {
    std::vector<std::vector<uint32_t>> shown;
    std::vector<uint32_t> canvas(size_t(gif.width) * size_t(gif.height), 0);
    for (const GifFrame& f : gif.frames) {
        const std::vector<uint32_t> before = canvas;
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x) {
                const int cx = f.left + x, cy = f.top + y;
                if (cx >= gif.width || cy >= gif.height) continue;
                const uint8_t idx = f.indices[size_t(y) * size_t(f.width) + size_t(x)];
                if (idx == f.transparent) continue;
                const Color c = idx < f.table.size() ? f.table[idx] : Color{};
                canvas[size_t(cy) * size_t(gif.width) + size_t(cx)] =
                    0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
            }
        shown.push_back(canvas);
        if (f.disposal == 2) {
            for (int y = f.top; y < std::min(gif.height, f.top + f.height); ++y)
                for (int x = f.left; x < std::min(gif.width, f.left + f.width); ++x)
                    canvas[size_t(y) * size_t(gif.width) + size_t(x)] = 0;
        } else if (f.disposal == 3) {
            canvas = before;
        }
    }
    return shown;
}

namespace {

struct JpegError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jpegFail(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

// Kept free of objects with destructors: libjpeg leaves it by longjmp.
bool decodeJpegFile(FILE* file, DecodedJpeg* out, std::vector<uint8_t>* rgb) {
    jpeg_decompress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = jpegFail;
    if (setjmp(err.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    out->progressive = cinfo.progressive_mode != 0;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out->width = int(cinfo.output_width);
    out->height = int(cinfo.output_height);
    rgb->resize(size_t(out->width) * size_t(out->height) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rgb->data() + size_t(cinfo.output_scanline) * size_t(out->width) * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

DecodedJpeg decodeJpeg(const std::string& path) {
    DecodedJpeg out;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return out;
    std::vector<uint8_t> rgb;
    out.ok = decodeJpegFile(file, &out, &rgb);
    std::fclose(file);
    if (out.ok)
        for (size_t i = 0; i + 2 < rgb.size(); i += 3) out.pixels.push_back({rgb[i], rgb[i + 1], rgb[i + 2]});
    return out;
}

double psnr(const std::vector<Color>& a, const std::vector<Color>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double dr = a[i].r - b[i].r, dg = a[i].g - b[i].g, db = a[i].b - b[i].b;
        sum += dr * dr + dg * dg + db * db;
    }
    const double mse = sum / (3.0 * double(a.size()));
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace imgctl_test
