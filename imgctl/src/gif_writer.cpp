#include "gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <new>

namespace imgctl {
namespace {

// A rectangular block of palette indices with the colour table written for
// it.
struct ImageBlock {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<Rgb> palette;     // 1..256 entries; padded to a power of two when written
    std::vector<uint8_t> pixels;  // width * height indices
    int transparent = -1;
};

struct MapDeleter {
    void operator()(ColorMapObject* m) const { GifFreeMapObject(m); }
};
using ColorMap = std::unique_ptr<ColorMapObject, MapDeleter>;

// giflib wants a power-of-two table of at least two entries.
ColorMap makeColorMap(const std::vector<Rgb>& palette) {
    int size = 2;
    while (size < int(palette.size())) size *= 2;
    std::array<GifColorType, 256> colors{};
    for (size_t i = 0; i < palette.size(); ++i)
        colors[i] = {palette[i].r, palette[i].g, palette[i].b};
    return ColorMap(GifMakeMapObject(size, colors.data()));
}

// giflib's low-level encoder writing into a byte vector.
class GifStream {
public:
    explicit GifStream(std::vector<uint8_t>& sink) : sink_(sink) {
        int error = 0;
        gif_ = EGifOpen(this, &GifStream::write, &error);
    }
    ~GifStream() {
        if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
    }
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;

    bool ok() const { return gif_ != nullptr && !sinkFailed_; }
    bool outOfMemory() const { return sinkFailed_ || gif_ == nullptr; }

    bool screen(int width, int height, const std::vector<Rgb>* globalPalette) {
        if (gif_ == nullptr) return false;
        EGifSetGifVersion(gif_, true);
        ColorMap map;
        if (globalPalette != nullptr) {
            map = makeColorMap(*globalPalette);
            if (!map) return false;
        }
        return EGifPutScreenDesc(gif_, width, height, 8, 0, map.get()) == GIF_OK;
    }

    // NETSCAPE2.0 application extension with the given loop field.
    bool loop(int field) {
        static const char kId[] = "NETSCAPE2.0";
        const uint8_t data[3] = {1, uint8_t(field & 0xFF), uint8_t((field >> 8) & 0xFF)};
        return EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
               EGifPutExtensionBlock(gif_, 11, kId) == GIF_OK &&
               EGifPutExtensionBlock(gif_, 3, data) == GIF_OK &&
               EGifPutExtensionTrailer(gif_) == GIF_OK;
    }

    bool control(int disposal, int delay, int transparent) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = disposal;
        gcb.UserInputFlag = false;
        gcb.DelayTime = delay;
        gcb.TransparentColor = transparent < 0 ? NO_TRANSPARENT_COLOR : transparent;
        GifByteType bytes[4];
        const size_t len = EGifGCBToExtension(&gcb, bytes);
        return EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, int(len), bytes) == GIF_OK;
    }

    // Writes the block; its pixels are consumed (giflib masks them in place).
    // withLocalTable false uses the global table.
    bool image(ImageBlock& block, bool withLocalTable) {
        ColorMap map;
        if (withLocalTable) {
            map = makeColorMap(block.palette);
            if (!map) return false;
        }
        if (EGifPutImageDesc(gif_, block.left, block.top, block.width, block.height, false,
                             map.get()) != GIF_OK)
            return false;
        return EGifPutLine(gif_, block.pixels.data(), int(block.pixels.size())) == GIF_OK;
    }

    // Writes the trailer and releases the encoder.
    bool finish() {
        const int r = EGifCloseFile(gif_, nullptr);
        gif_ = nullptr;
        return r == GIF_OK && !sinkFailed_;
    }

private:
    static int write(GifFileType* gif, const GifByteType* data, int len) {
        auto* self = static_cast<GifStream*>(gif->UserData);
        try {
            self->sink_.insert(self->sink_.end(), data, data + len);
        } catch (const std::bad_alloc&) {
            self->sinkFailed_ = true;
            return 0;
        }
        return len;
    }

    std::vector<uint8_t>& sink_;
    GifFileType* gif_ = nullptr;
    bool sinkFailed_ = false;
};

EncodeStatus failure(const GifStream& s) {
    return s.outOfMemory() ? EncodeStatus::OutOfMemory : EncodeStatus::Failed;
}

ImageBlock wholeBlock(const Bitmap& b, int transparent) {
    ImageBlock block;
    block.width = b.width;
    block.height = b.height;
    block.palette = b.palette;
    block.pixels = b.indices;
    block.transparent = transparent;
    return block;
}

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

uint32_t packed(const Rgb& c) { return uint32_t(c.r) | uint32_t(c.g) << 8 | uint32_t(c.b) << 16; }

// Colours each frame shows, packed 0x00BBGGRR.
std::vector<uint32_t> shownColors(const Bitmap& b) {
    std::array<uint32_t, 256> lut{};
    for (size_t i = 0; i < b.palette.size(); ++i) lut[i] = packed(b.palette[i]);
    std::vector<uint32_t> out(b.pixelCount());
    for (size_t i = 0; i < out.size(); ++i) out[i] = lut[b.indices[i]];
    return out;
}

// Bounding rectangle of the pixels whose colour changed; empty width when
// none did.
Rect changedRect(const std::vector<uint32_t>& prev, const std::vector<uint32_t>& cur, int width,
                 int height) {
    int minX = width, minY = height, maxX = -1, maxY = -1;
    for (int y = 0; y < height; ++y) {
        const uint32_t* p = prev.data() + size_t(y) * size_t(width);
        const uint32_t* c = cur.data() + size_t(y) * size_t(width);
        int first = -1, last = -1;
        for (int x = 0; x < width; ++x)
            if (p[x] != c[x]) {
                if (first < 0) first = x;
                last = x;
            }
        if (first < 0) continue;
        minX = std::min(minX, first);
        maxX = std::max(maxX, last);
        minY = std::min(minY, y);
        maxY = y;
    }
    if (maxX < 0) return {};
    return {minX, minY, maxX - minX + 1, maxY - minY + 1};
}

// The rectangle r of frame b, with a palette of only the entries it uses.
// With unchanged (non-null), pixels whose colour equals the previous frame's
// become one extra transparent entry; returns false when that needs a 257th
// entry.
bool croppedBlock(const Bitmap& b, Rect r, const std::vector<uint32_t>* prev,
                  const std::vector<uint32_t>* cur, ImageBlock& block) {
    std::array<int, 256> remap;
    remap.fill(-1);
    block = ImageBlock{};
    block.left = r.left;
    block.top = r.top;
    block.width = r.width;
    block.height = r.height;
    block.pixels.resize(size_t(r.width) * size_t(r.height));
    std::vector<bool> keep(block.pixels.size(), true);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const size_t src = size_t(r.top + y) * size_t(b.width) + size_t(r.left + x);
            const size_t dst = size_t(y) * size_t(r.width) + size_t(x);
            if (prev != nullptr && (*prev)[src] == (*cur)[src]) {
                keep[dst] = false;
                continue;
            }
            const uint8_t index = b.indices[src];
            if (remap[index] < 0) {
                remap[index] = int(block.palette.size());
                block.palette.push_back(b.palette[index]);
            }
            block.pixels[dst] = uint8_t(remap[index]);
        }
    if (prev != nullptr) {
        if (block.palette.size() >= 256) return false;
        block.transparent = int(block.palette.size());
        block.palette.push_back(Rgb{});
        for (size_t i = 0; i < block.pixels.size(); ++i)
            if (!keep[i]) block.pixels[i] = uint8_t(block.transparent);
    }
    return true;
}

// Bytes the image block (with its control extension) takes in a stream;
// SIZE_MAX when it cannot be encoded.
size_t encodedSize(const ImageBlock& block, int screenWidth, int screenHeight) {
    std::vector<uint8_t> bytes;
    GifStream s(bytes);
    if (!s.screen(screenWidth, screenHeight, nullptr)) return SIZE_MAX;
    const size_t before = bytes.size();
    ImageBlock copy = block;
    if (!s.control(1, 0, copy.transparent) || !s.image(copy, true)) return SIZE_MAX;
    return bytes.size() - before;
}

}  // namespace

int netscapeLoopField(int playCount) {
    if (playCount == 0) return 0;
    if (playCount == 1) return -1;
    return playCount - 1;
}

bool canOptimize(std::span<const AnimationFrame> frames) {
    for (const AnimationFrame& f : frames)
        if (f.transparentIndex >= 0 || f.bitmap->width != frames[0].bitmap->width ||
            f.bitmap->height != frames[0].bitmap->height)
            return false;
    return true;
}

EncodeStatus encodeGif(const Bitmap& bitmap, int transparentIndex, std::vector<uint8_t>& out) {
    try {
        std::vector<uint8_t> bytes;
        GifStream s(bytes);
        ImageBlock block = wholeBlock(bitmap, transparentIndex);
        if (!s.screen(bitmap.width, bitmap.height, &bitmap.palette)) return failure(s);
        if (transparentIndex >= 0 && !s.control(0, 0, transparentIndex)) return failure(s);
        if (!s.image(block, false) || !s.finish()) return failure(s);
        out = std::move(bytes);
        return EncodeStatus::Ok;
    } catch (const std::bad_alloc&) {
        return EncodeStatus::OutOfMemory;
    }
}

EncodeStatus encodeAnimation(std::span<const AnimationFrame> frames, int playCount, bool optimize,
                             std::vector<uint8_t>& out) {
    if (frames.empty()) return EncodeStatus::Failed;
    try {
        int screenWidth = 0, screenHeight = 0;
        for (const AnimationFrame& f : frames) {
            screenWidth = std::max(screenWidth, f.bitmap->width);
            screenHeight = std::max(screenHeight, f.bitmap->height);
        }
        optimize = optimize && canOptimize(frames);

        std::vector<uint8_t> bytes;
        GifStream s(bytes);
        if (!s.screen(screenWidth, screenHeight, nullptr)) return failure(s);
        const int loopField = netscapeLoopField(playCount);
        if (loopField >= 0 && !s.loop(loopField)) return failure(s);

        std::vector<uint32_t> prevColors, curColors;
        for (size_t k = 0; k < frames.size(); ++k) {
            const AnimationFrame& f = frames[k];
            const Bitmap& b = *f.bitmap;
            ImageBlock block;
            int disposal = f.disposal;
            if (!optimize) {
                block = wholeBlock(b, f.transparentIndex);
            } else {
                disposal = 1;  // every later frame builds on what is shown
                curColors = shownColors(b);
                const Rect whole{0, 0, b.width, b.height};
                croppedBlock(b, whole, nullptr, nullptr, block);
                if (k > 0) {
                    Rect changed = changedRect(prevColors, curColors, b.width, b.height);
                    if (changed.width == 0) changed = {0, 0, 1, 1};
                    size_t bestSize = encodedSize(block, screenWidth, screenHeight);
                    ImageBlock candidate;
                    for (bool transparent : {false, true}) {
                        if (!transparent && changed.width == b.width && changed.height == b.height)
                            continue;  // the same as the whole frame
                        if (!croppedBlock(b, changed, transparent ? &prevColors : nullptr,
                                          &curColors, candidate))
                            continue;
                        const size_t size = encodedSize(candidate, screenWidth, screenHeight);
                        if (size < bestSize) {
                            bestSize = size;
                            block = std::move(candidate);
                        }
                    }
                }
                prevColors.swap(curColors);
            }
            if (!s.control(disposal, f.delay, block.transparent) || !s.image(block, true))
                return failure(s);
        }
        if (!s.finish()) return failure(s);
        out = std::move(bytes);
        return EncodeStatus::Ok;
    } catch (const std::bad_alloc&) {
        return EncodeStatus::OutOfMemory;
    }
}

}  // namespace imgctl
