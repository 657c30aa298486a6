#include "quantize.h"

#include <libimagequant.h>

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <new>

namespace imgctl {
namespace {

// libimagequant's speed 1 is its slowest and most thorough setting.
constexpr int kQuantSpeed = 1;
// The quantiser is told the values are linear (gamma 1), so that its inner
// error measure is the plain squared RGB difference that the palette polish
// below minimises and that PSNR reports.
constexpr double kLinearGamma = 1.0;
// Rounds of palette polishing at most; it usually settles in fewer.
constexpr int kMaxPolishRounds = 16;

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
constexpr uint32_t kNoColor = 0xFFFFFFFFu;  // never a packed 24-bit colour

// The distinct colours of a picture with their pixel counts, and for every
// pixel the number of its colour.
struct Histogram {
    std::vector<uint32_t> colors;
    std::vector<uint32_t> counts;
    std::vector<uint32_t> colorOfPixel;

    explicit Histogram(const Bitmap& src) {
        const size_t n = src.pixelCount();
        size_t capacity = 1024;
        while (capacity < n * 2 && capacity < (size_t{1} << 25)) capacity *= 2;
        std::vector<uint32_t> keys(capacity, kNoColor), values(capacity);
        colorOfPixel.resize(n);
        for (size_t i = 0; i < n; ++i) {
            const uint32_t c = packRgb(&src.rgba[i * 4]);
            size_t slot = size_t(c * 2654435761u) & (capacity - 1);
            while (keys[slot] != c && keys[slot] != kNoColor) slot = (slot + 1) & (capacity - 1);
            if (keys[slot] == kNoColor) {
                keys[slot] = c;
                values[slot] = uint32_t(colors.size());
                colors.push_back(c);
                counts.push_back(0);
            }
            ++counts[values[slot]];
            colorOfPixel[i] = values[slot];
        }
    }
};

// Converts a picture of at most maxColors distinct colours without loss;
// returns false (quickly) when it has more.
bool convertExactly(const Bitmap& src, int maxColors, Bitmap& out) {
    std::array<uint32_t, 1024> keys;
    std::array<uint8_t, 1024> values{};
    keys.fill(kNoColor);
    Bitmap b;
    b.width = src.width;
    b.height = src.height;
    b.indexed = true;
    b.indices.resize(src.pixelCount());
    for (size_t i = 0; i < src.pixelCount(); ++i) {
        const uint32_t c = packRgb(&src.rgba[i * 4]);
        size_t slot = (c * 2654435761u) >> 22;  // top 10 bits of the hash
        while (keys[slot] != c && keys[slot] != kNoColor) slot = (slot + 1) & 1023;
        if (keys[slot] == kNoColor) {
            if (int(b.palette.size()) >= maxColors) return false;
            keys[slot] = c;
            values[slot] = uint8_t(b.palette.size());
            b.palette.push_back({uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
        }
        b.indices[i] = values[slot];
    }
    out = std::move(b);
    return true;
}

int distance2(int r, int g, int b, const Rgb& q) {
    const int dr = r - q.r, dg = g - q.g, db = b - q.b;
    return dr * dr + dg * dg + db * db;
}

// Exact nearest palette entry by squared RGB distance. Entries are sorted by
// r + g + b; since (Δr + Δg + Δb)² <= 3 (Δr² + Δg² + Δb²), the search walks
// outwards from the colour's own sum and stops once the sum alone rules out
// anything closer.
class NearestColor {
public:
    explicit NearestColor(const std::vector<Rgb>& palette) : palette_(palette), order_(palette.size()) {
        for (size_t i = 0; i < order_.size(); ++i) order_[i] = int(i);
        std::sort(order_.begin(), order_.end(), [&](int a, int b) { return sum(palette[size_t(a)]) < sum(palette[size_t(b)]); });
        for (int i : order_) sums_.push_back(sum(palette[size_t(i)]));
    }

    // hint: an entry likely to be close (or -1), which tightens the search.
    int find(uint32_t color, int hint) const {
        const int r = int(color & 0xFF), g = int((color >> 8) & 0xFF), b = int(color >> 16);
        const int s = r + g + b;
        int best = hint, bestD = hint >= 0 ? distance2(r, g, b, palette_[size_t(hint)]) : INT_MAX;
        const int n = int(sums_.size());
        int hi = int(std::lower_bound(sums_.begin(), sums_.end(), s) - sums_.begin());
        int lo = hi - 1;
        while (lo >= 0 || hi < n) {
            if (hi < n) {
                const int64_t ds = sums_[size_t(hi)] - s;
                if (ds * ds > 3 * int64_t(bestD)) {
                    hi = n;
                } else {
                    const int d = distance2(r, g, b, palette_[size_t(order_[size_t(hi)])]);
                    if (d < bestD) bestD = d, best = order_[size_t(hi)];
                    ++hi;
                }
            }
            if (lo >= 0) {
                const int64_t ds = s - sums_[size_t(lo)];
                if (ds * ds > 3 * int64_t(bestD)) {
                    lo = -1;
                } else {
                    const int d = distance2(r, g, b, palette_[size_t(order_[size_t(lo)])]);
                    if (d < bestD) bestD = d, best = order_[size_t(lo)];
                    --lo;
                }
            }
        }
        return best;
    }

private:
    static int sum(const Rgb& c) { return c.r + c.g + c.b; }
    const std::vector<Rgb>& palette_;
    std::vector<int> order_;
    std::vector<int> sums_;
};

// Lloyd's k-means over the colour histogram in plain RGB: every colour goes
// to its nearest entry, every entry moves to the mean of its colours, until
// nothing moves. Returns the entry of every histogram colour.
std::vector<int> polishPalette(const Histogram& hist, std::vector<Rgb>& palette) {
    std::vector<int> entryOf(hist.colors.size(), -1);
    for (int round = 0; round < kMaxPolishRounds; ++round) {
        const NearestColor nearest(palette);
        bool changed = false;
        std::vector<std::array<uint64_t, 4>> sums(palette.size(), {0, 0, 0, 0});
        for (size_t i = 0; i < hist.colors.size(); ++i) {
            const int k = nearest.find(hist.colors[i], entryOf[i]);
            changed |= k != entryOf[i];
            entryOf[i] = k;
            const uint32_t c = hist.colors[i], w = hist.counts[i];
            auto& s = sums[size_t(k)];
            s[0] += uint64_t(w) * (c & 0xFF);
            s[1] += uint64_t(w) * ((c >> 8) & 0xFF);
            s[2] += uint64_t(w) * (c >> 16);
            s[3] += w;
        }
        if (!changed && round > 0) break;
        for (size_t k = 0; k < palette.size(); ++k) {
            const auto& s = sums[k];
            if (s[3] == 0) continue;  // an unused entry stays where it is
            const auto mean = [&](uint64_t v) { return uint8_t((v + s[3] / 2) / s[3]); };
            palette[k] = {mean(s[0]), mean(s[1]), mean(s[2])};
        }
    }
    // The last move may have changed which entry is nearest.
    const NearestColor nearest(palette);
    for (size_t i = 0; i < hist.colors.size(); ++i) entryOf[i] = nearest.find(hist.colors[i], entryOf[i]);
    return entryOf;
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
            liq_image_create_rgba(attr.get(), src.rgba.data(), src.width, src.height, kLinearGamma));
        if (!image) return QuantStatus::Failed;
        liq_result* rawResult = nullptr;
        const liq_error qerr = liq_image_quantize(image.get(), attr.get(), &rawResult);
        if (qerr == LIQ_OUT_OF_MEMORY) return QuantStatus::OutOfMemory;
        if (qerr != LIQ_OK || rawResult == nullptr) return QuantStatus::Failed;
        // The palette comes out in the image's gamma, so it needs no
        // conversion back.
        std::unique_ptr<liq_result, ResultDeleter> result(rawResult);

        Bitmap b;
        b.width = src.width;
        b.height = src.height;
        b.indexed = true;
        b.indices.resize(src.pixelCount());
        if (dither == Dither::Always) {
            // libimagequant's own error diffusion, which spares edges.
            if (liq_set_dithering_level(result.get(), 1.0f) != LIQ_OK) return QuantStatus::Failed;
            const liq_error rerr =
                liq_write_remapped_image(result.get(), image.get(), b.indices.data(), b.indices.size());
            if (rerr == LIQ_OUT_OF_MEMORY) return QuantStatus::OutOfMemory;
            if (rerr != LIQ_OK) return QuantStatus::Failed;
        }
        // The palette is read after remapping, which refines it.
        const liq_palette* pal = liq_get_palette(result.get());
        if (pal == nullptr || pal->count < 1 || pal->count > unsigned(maxColors)) return QuantStatus::Failed;
        for (unsigned i = 0; i < pal->count; ++i)
            b.palette.push_back({pal->entries[i].r, pal->entries[i].g, pal->entries[i].b});

        if (dither == Dither::Always) {
            for (uint8_t v : b.indices)
                if (v >= b.palette.size()) return QuantStatus::Failed;
        } else {
            // Nearest-colour mapping gives every pixel its smallest possible
            // error for the palette; polishing the palette for that mapping
            // lowers the total further.
            const Histogram hist(src);
            const std::vector<int> entryOf = polishPalette(hist, b.palette);
            for (size_t i = 0; i < b.indices.size(); ++i)
                b.indices[i] = uint8_t(entryOf[hist.colorOfPixel[i]]);
        }
        out = std::move(b);
        return QuantStatus::Ok;
    } catch (const std::bad_alloc&) {
        return QuantStatus::OutOfMemory;
    }
}

}  // namespace imgctl
