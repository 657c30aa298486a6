// The exported C functions: argument checks, handle lookups and result codes
// around the core. No exception leaves this file.
#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "atomic_file.h"
#include "bitmap.h"
#include "bmp_reader.h"
#include "gif_writer.h"
#include "handle_table.h"
#include "imgctl.h"
#include "jpeg_writer.h"
#include "png_writer.h"
#include "quantize.h"
#include "webp_writer.h"

using namespace imgctl;

namespace {

constexpr int kMaxAnimationFrames = 65535;
// The largest side a WebP picture may have.
constexpr int kMaxWebPSide = 16383;

bool validPath(const char* path) { return path != nullptr && *path != '\0'; }

int encodeResult(EncodeStatus s) {
    switch (s) {
        case EncodeStatus::Ok: return IMGCTL_OK;
        case EncodeStatus::OutOfMemory: return IMGCTL_ERR_MEMORY;
        case EncodeStatus::Failed: break;
    }
    return IMGCTL_ERR_CODEC;
}

int writeResult(const char* path, const std::vector<uint8_t>& bytes) {
    return writeFileAtomically(path, bytes) ? IMGCTL_OK : IMGCTL_ERR_WRITE;
}

// Runs body, turning any escaping exception into a result code.
template <class F>
int guarded(F&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return IMGCTL_ERR_MEMORY;
    } catch (...) {
        return IMGCTL_ERR_CODEC;
    }
}

// The checks both animated WebP entries share; head is the header to use.
int webpArguments(const char* path, bool haveFrames, int count, const GifAnimeHeader* header, int quality,
                  GifAnimeHeader& head) {
    if (!validPath(path) || !haveFrames || count < 1 || count > kMaxAnimationFrames || quality > 100)
        return IMGCTL_ERR_ARGUMENT;
    head = header != nullptr ? *header : GifAnimeHeader{};
    return head.loopCount < 0 ? IMGCTL_ERR_ARGUMENT : IMGCTL_OK;
}

int writeWebPAnimation(const char* path, const std::vector<WebPFrame>& frames, int loopCount, int quality) {
    std::vector<uint8_t> bytes;
    const int r = encodeResult(encodeWebPAnimation(frames, loopCount, quality, bytes));
    return r == IMGCTL_OK ? writeResult(path, bytes) : r;
}

}  // namespace

extern "C" {

IMGCTL_API int ImgctlVersion(void) { return IMGCTL_VERSION; }

IMGCTL_API int ToDIB(const char* path) {
    const int r = guarded([&] {
        auto bitmap = std::make_shared<Bitmap>();
        if (readBmpFile(path, *bitmap) != BmpStatus::Ok) return 0;
        return int(handles().add(std::move(bitmap)));
    });
    return r > 0 ? r : 0;
}

IMGCTL_API int DIBto8Bit(int handle, int maxColors, int options) {
    return guarded([&] {
        const auto bitmap = handles().get(handle);
        if (!bitmap) return IMGCTL_ERR_HANDLE;
        if (maxColors == 0) maxColors = 256;
        if (maxColors < 2 || maxColors > 256) return IMGCTL_ERR_ARGUMENT;
        if (options != IMGCTL_QUANT_NEAREST && options != IMGCTL_QUANT_DITHER) return IMGCTL_ERR_ARGUMENT;
        const Dither dither = options == IMGCTL_QUANT_DITHER ? Dither::Always : Dither::Nearest;
        if (bitmap->indexed && int(bitmap->palette.size()) <= maxColors) return IMGCTL_OK;

        auto reduced = std::make_shared<Bitmap>();
        const QuantStatus s = bitmap->indexed
                                  ? quantize(expandToRgb(*bitmap), maxColors, dither, *reduced)
                                  : quantize(*bitmap, maxColors, dither, *reduced);
        if (s == QuantStatus::OutOfMemory) return IMGCTL_ERR_MEMORY;
        if (s != QuantStatus::Ok) return IMGCTL_ERR_CODEC;
        return handles().replace(handle, std::move(reduced)) ? IMGCTL_OK : IMGCTL_ERR_HANDLE;
    });
}

IMGCTL_API int PixelDIB(int handle, int x, int y) {
    return guarded([&] {
        const auto bitmap = handles().get(handle);
        if (!bitmap) return IMGCTL_ERR_HANDLE;
        if (x < 0 || y < 0 || x >= bitmap->width || y >= bitmap->height) return IMGCTL_ERR_ARGUMENT;
        const size_t i = size_t(y) * size_t(bitmap->width) + size_t(x);
        if (bitmap->indexed) return int(bitmap->indices[i]);
        const Rgb c = bitmap->colorAt(i);
        return int(c.r) | int(c.g) << 8 | int(c.b) << 16;
    });
}

IMGCTL_API int DIBInfo(int handle, int* width, int* height, int* bitsPerPixel) {
    return guarded([&] {
        const auto bitmap = handles().get(handle);
        if (!bitmap) return IMGCTL_ERR_HANDLE;
        if (width != nullptr) *width = bitmap->width;
        if (height != nullptr) *height = bitmap->height;
        if (bitsPerPixel != nullptr) *bitsPerPixel = bitmap->indexed ? 8 : 24;
        return IMGCTL_OK;
    });
}

IMGCTL_API int DIBtoRGB32(int handle, uint32_t* dst, int width, int height, int strideBytes) {
    return guarded([&] {
        const auto bitmap = handles().get(handle);
        if (!bitmap) return IMGCTL_ERR_HANDLE;
        if (dst == nullptr || width < 1 || width > kMaxSide || height < 1 || height > kMaxSide ||
            strideBytes % 4 != 0 || int64_t{strideBytes} < int64_t{width} * 4)
            return IMGCTL_ERR_ARGUMENT;
        const int w = std::min(width, bitmap->width);
        const int h = std::min(height, bitmap->height);
        const size_t strideWords = size_t(strideBytes) / 4;
        for (int y = 0; y < h; ++y) {
            uint32_t* row = dst + size_t(y) * strideWords;
            const size_t base = size_t(y) * size_t(bitmap->width);
            for (int x = 0; x < w; ++x) {
                const Rgb c = bitmap->colorAt(base + size_t(x));
                row[x] = 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
            }
        }
        return IMGCTL_OK;
    });
}

IMGCTL_API int DIBtoGIFex(const char* path, int handle, const GifOptions* options) {
    return guarded([&] {
        const auto bitmap = handles().get(handle);
        if (!bitmap) return IMGCTL_ERR_HANDLE;
        if (!validPath(path)) return IMGCTL_ERR_ARGUMENT;
        if (!bitmap->indexed) return IMGCTL_ERR_NOT_8BIT;
        int transparent = -1;
        if (options != nullptr && (options->flags & IMGCTL_TRANSPARENT) != 0) {
            if (options->transparentIndex < 0 ||
                options->transparentIndex >= int(bitmap->palette.size()))
                return IMGCTL_ERR_ARGUMENT;
            transparent = options->transparentIndex;
        }
        std::vector<uint8_t> bytes;
        const int r = encodeResult(encodeGif(*bitmap, transparent, bytes));
        return r == IMGCTL_OK ? writeResult(path, bytes) : r;
    });
}

IMGCTL_API int DIBtoJPG(const char* path, int handle, int quality, int progressive) {
    return guarded([&] {
        const auto bitmap = handles().get(handle);
        if (!bitmap) return IMGCTL_ERR_HANDLE;
        if (!validPath(path)) return IMGCTL_ERR_ARGUMENT;
        std::vector<uint8_t> bytes;
        const int r = encodeResult(encodeJpeg(*bitmap, std::clamp(quality, 1, 100), progressive != 0, bytes));
        return r == IMGCTL_OK ? writeResult(path, bytes) : r;
    });
}

IMGCTL_API int DIBtoGIFAniEx(const char* path, const FrameRecord* frames, int count,
                             const GifAnimeHeader* header) {
    return guarded([&] {
        if (!validPath(path) || frames == nullptr || count < 1 || count > kMaxAnimationFrames)
            return IMGCTL_ERR_ARGUMENT;
        const GifAnimeHeader head = header != nullptr ? *header : GifAnimeHeader{};
        if (head.loopCount < 0) return IMGCTL_ERR_ARGUMENT;

        // Hold every bitmap for the whole write, whatever other calls do.
        std::vector<std::shared_ptr<const Bitmap>> held(static_cast<size_t>(count));
        std::vector<AnimationFrame> list(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const FrameRecord& rec = frames[i];
            held[size_t(i)] = handles().get(rec.dib);
            const Bitmap* bitmap = held[size_t(i)].get();
            if (bitmap == nullptr) return IMGCTL_ERR_HANDLE;
            if (!bitmap->indexed) return IMGCTL_ERR_NOT_8BIT;
            if (rec.delay < 0 || rec.disposal < 0 || rec.disposal > 3) return IMGCTL_ERR_ARGUMENT;
            AnimationFrame& f = list[size_t(i)];
            f.bitmap = bitmap;
            f.delay = rec.delay;
            f.disposal = rec.disposal;
            if ((rec.flags & IMGCTL_TRANSPARENT) != 0) {
                if (rec.transparentIndex >= bitmap->palette.size()) return IMGCTL_ERR_ARGUMENT;
                f.transparentIndex = int(rec.transparentIndex);
            }
        }
        const bool optimize = (head.flags & IMGCTL_ANIME_NO_OPTIMIZE) == 0;
        std::vector<uint8_t> bytes;
        const int r = encodeResult(encodeAnimation(list, head.loopCount, optimize, bytes));
        return r == IMGCTL_OK ? writeResult(path, bytes) : r;
    });
}

IMGCTL_API int RGBAtoPNG(const char* path, const uint8_t* pixels, int width, int height, int strideBytes) {
    return guarded([&] {
        if (!validPath(path) || pixels == nullptr || width < 1 || height < 1 || width > kMaxSide ||
            height > kMaxSide || int64_t(width) * height > kMaxPixels || strideBytes < 4 * width)
            return IMGCTL_ERR_ARGUMENT;
        const RgbaView view{pixels, width, height, strideBytes};
        std::vector<uint8_t> bytes;
        const int r = encodeResult(encodePng(view, bytes));
        return r == IMGCTL_OK ? writeResult(path, bytes) : r;
    });
}

IMGCTL_API int DIBtoWebPAni(const char* path, const FrameRecord* frames, int count, const GifAnimeHeader* header,
                            int quality) {
    return guarded([&] {
        GifAnimeHeader head;
        if (const int r = webpArguments(path, frames != nullptr, count, header, quality, head); r != IMGCTL_OK) return r;
        // Every frame as RGBA; a transparent colour (24-bit) or index (8-bit)
        // gets alpha 0.
        std::vector<std::vector<uint8_t>> pictures(static_cast<size_t>(count));
        std::vector<WebPFrame> list(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const FrameRecord& rec = frames[i];
            const auto bitmap = handles().get(rec.dib);
            if (!bitmap) return IMGCTL_ERR_HANDLE;
            if (rec.delay < 0) return IMGCTL_ERR_ARGUMENT;
            const bool keyed = (rec.flags & IMGCTL_TRANSPARENT) != 0;
            if (keyed && bitmap->indexed && rec.transparentIndex >= bitmap->palette.size()) return IMGCTL_ERR_ARGUMENT;
            const Rgb key{uint8_t(rec.transparentIndex & 0xFF), uint8_t((rec.transparentIndex >> 8) & 0xFF),
                          uint8_t((rec.transparentIndex >> 16) & 0xFF)};
            std::vector<uint8_t>& rgba = pictures[size_t(i)];
            rgba.resize(bitmap->pixelCount() * 4);
            for (size_t p = 0; p < bitmap->pixelCount(); ++p) {
                const Rgb c = bitmap->colorAt(p);
                const bool clear = keyed && (bitmap->indexed ? bitmap->indices[p] == rec.transparentIndex : c == key);
                rgba[4 * p] = c.r;
                rgba[4 * p + 1] = c.g;
                rgba[4 * p + 2] = c.b;
                rgba[4 * p + 3] = clear ? 0 : 255;
            }
            list[size_t(i)] = WebPFrame{RgbaView{rgba.data(), bitmap->width, bitmap->height, 4 * bitmap->width},
                                        rec.delay};
        }
        return writeWebPAnimation(path, list, head.loopCount, quality);
    });
}

IMGCTL_API int RGBAtoWebPAni(const char* path, const RgbaFrame* frames, int count, const GifAnimeHeader* header,
                             int quality) {
    return guarded([&] {
        GifAnimeHeader head;
        if (const int r = webpArguments(path, frames != nullptr, count, header, quality, head); r != IMGCTL_OK) return r;
        std::vector<WebPFrame> list(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const RgbaFrame& f = frames[i];
            if (f.pixels == nullptr || f.width < 1 || f.height < 1 || f.width > kMaxWebPSide ||
                f.height > kMaxWebPSide || f.strideBytes < 4 * f.width || f.delay < 0 || f.delay > 32767)
                return IMGCTL_ERR_ARGUMENT;
            list[size_t(i)] = WebPFrame{RgbaView{f.pixels, f.width, f.height, f.strideBytes}, f.delay};
        }
        return writeWebPAnimation(path, list, head.loopCount, quality);
    });
}

IMGCTL_API int DeleteDIB(int handle) {
    return guarded([&] { return handles().remove(handle) ? IMGCTL_OK : IMGCTL_ERR_HANDLE; });
}

}  // extern "C"
