#include "quantize.h"

#include <libimagequant.h>

#include <memory>
#include <new>
#include <optional>

namespace imgctl {
namespace {

// libimagequant's speed 1 is its slowest and most thorough setting.
constexpr int kQuantSpeed = 1;

struct AttrDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
};
struct ImageDeleter {
    void operator()(liq_image* p) const { liq_image_destroy(p); }
};
struct ResultDeleter {
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};

uint32_t packRgb(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16; }

// Small open-addressing set of at most `limit` colours, each with the
// palette index it was given in order of first appearance.
class ColorIndex {
public:
    explicit ColorIndex(int limit) : keys_(1024, kEmpty), values_(1024, 0), limit_(limit) {}

    // Index of colour c, adding it when new. Returns -1 once more than
    // `limit` colours have been seen.
    int indexOf(uint32_t c) {
        size_t slot = (c * 2654435761u) >> 22;  // top 10 bits of a 32-bit hash
        while (true) {
            if (keys_[slot] == c) return values_[slot];
            if (keys_[slot] == kEmpty) {
                if (int(colors_.size()) >= limit_) return -1;
                keys_[slot] = c;
                values_[slot] = uint8_t(colors_.size());
                colors_.push_back(c);
                return values_[slot];
            }
            slot = (slot + 1) & 1023;
        }
    }
    const std::vector<uint32_t>& colors() const { return colors_; }

private:
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;  // never a packed 24-bit colour
    std::vector<uint32_t> keys_;
    std::vector<uint8_t> values_;
    std::vector<uint32_t> colors_;
    int limit_;
};

// Converts a picture of at most maxColors distinct colours without loss;
// returns false when it has more.
bool convertExactly(const Bitmap& src, int maxColors, Bitmap& out) {
    ColorIndex index(maxColors);
    Bitmap b;
    b.width = src.width;
    b.height = src.height;
    b.indexed = true;
    b.indices.resize(src.pixelCount());
    for (size_t i = 0; i < src.pixelCount(); ++i) {
        const int k = index.indexOf(packRgb(&src.rgba[i * 4]));
        if (k < 0) return false;
        b.indices[i] = uint8_t(k);
    }
    for (uint32_t c : index.colors())
        b.palette.push_back({uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
    out = std::move(b);
    return true;
}

}  // namespace

uint64_t squaredError(const Bitmap& rgb, const Bitmap& indexed) {
    uint64_t sum = 0;
    for (size_t i = 0; i < rgb.pixelCount(); ++i) {
        const uint8_t* p = &rgb.rgba[i * 4];
        const Rgb q = indexed.palette[indexed.indices[i]];
        const int dr = int(p[0]) - q.r, dg = int(p[1]) - q.g, db = int(p[2]) - q.b;
        sum += uint64_t(dr * dr + dg * dg + db * db);
    }
    return sum;
}

QuantStatus quantize(const Bitmap& src, int maxColors, Dither dither, Bitmap& out) {
    try {
        if (convertExactly(src, maxColors, out)) return QuantStatus::Ok;

        std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
        if (!attr) return QuantStatus::OutOfMemory;
        if (liq_set_max_colors(attr.get(), maxColors) != LIQ_OK ||
            liq_set_speed(attr.get(), kQuantSpeed) != LIQ_OK ||
            liq_set_quality(attr.get(), 0, 100) != LIQ_OK)
            return QuantStatus::Failed;

        std::unique_ptr<liq_image, ImageDeleter> image(
            liq_image_create_rgba(attr.get(), src.rgba.data(), src.width, src.height, 0));
        if (!image) return QuantStatus::Failed;
        liq_result* rawResult = nullptr;
        const liq_error qerr = liq_image_quantize(image.get(), attr.get(), &rawResult);
        if (qerr == LIQ_OUT_OF_MEMORY) return QuantStatus::OutOfMemory;
        if (qerr != LIQ_OK || rawResult == nullptr) return QuantStatus::Failed;
        std::unique_ptr<liq_result, ResultDeleter> result(rawResult);

        std::optional<Bitmap> best;
        uint64_t bestError = 0;
        const float levels[2] = {0.0f, 1.0f};
        for (float level : levels) {
            if (dither == Dither::Never && level > 0) continue;
            if (dither == Dither::Always && level == 0) continue;
            if (liq_set_dithering_level(result.get(), level) != LIQ_OK) return QuantStatus::Failed;
            Bitmap candidate;
            candidate.width = src.width;
            candidate.height = src.height;
            candidate.indexed = true;
            candidate.indices.resize(src.pixelCount());
            const liq_error rerr = liq_write_remapped_image(
                result.get(), image.get(), candidate.indices.data(), candidate.indices.size());
            if (rerr == LIQ_OUT_OF_MEMORY) return QuantStatus::OutOfMemory;
            if (rerr != LIQ_OK) return QuantStatus::Failed;
            // The palette is refined during remapping, so it is read after.
            const liq_palette* pal = liq_get_palette(result.get());
            if (pal == nullptr || pal->count < 1 || pal->count > 256) return QuantStatus::Failed;
            for (unsigned i = 0; i < pal->count; ++i)
                candidate.palette.push_back({pal->entries[i].r, pal->entries[i].g, pal->entries[i].b});
            for (uint8_t v : candidate.indices)
                if (v >= candidate.palette.size()) return QuantStatus::Failed;
            const uint64_t error = squaredError(src, candidate);
            if (!best || error < bestError) {
                best = std::move(candidate);
                bestError = error;
            }
        }
        out = std::move(*best);
        return QuantStatus::Ok;
    } catch (const std::bad_alloc&) {
        return QuantStatus::OutOfMemory;
    }
}

}  // namespace imgctl
