#include "quantize.h"

#include <libimagequant.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

namespace imgctl {
namespace {

static_assert(std::endian::native == std::endian::little, "pixels are packed from little-endian loads");

// Dithered reduction: libimagequant's speed 1, its slowest and most thorough
// setting, chooses the palette.
constexpr int kQuantSpeed = 1;
// The quantiser is told the values are linear (gamma 1), so that its inner
// error measure is the plain squared RGB difference that PSNR reports.
constexpr double kLinearGamma = 1.0;
// Rounds of k-means at most; it usually settles in fewer.
constexpr int kMaxRefineRounds = 16;
// k-means stops early once a round lowers the squared error by less than
// this fraction: the rounds after it gain hundredths of a dB at most.
struct Ratio {
    uint64_t num, den;
};
constexpr Ratio kSettledRatio{999, 1000};
// Slack added to distance bounds computed with float square roots, far
// larger than their rounding error and far smaller than the distance of two
// different integer colours, so that a pruned search stays exact.
constexpr float kBoundSlack = 0.01f;

struct AttrDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
};
struct ImageDeleter {
    void operator()(liq_image* p) const { liq_image_destroy(p); }
};
struct ResultDeleter {
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};

// One 4-byte load of r, g, b, alpha with alpha masked off: the same value
// as r | g << 8 | b << 16 on the little-endian machines this builds for.
uint32_t packRgb(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v & 0xFFFFFFu;
}
constexpr uint32_t kNoColor = 0xFFFFFFFFu;  // never a packed 24-bit colour

// Slot of a colour in a hash table of 2^bits slots: the top bits of a
// multiplicative hash, which depend on every bit of the colour.
size_t hashSlot(uint32_t c, int bits) { return size_t((uint64_t(c) * 0x9E3779B97F4A7C15ull) >> (64 - bits)); }

// The distinct colours of a picture in order of first appearance, with their
// pixel counts, and for every pixel the number of its colour. The hash table
// starts small and doubles when half full, so a picture of few colours stays
// in cache; a pixel of the same colour as the one before skips the look-up.
struct Histogram {
    std::vector<uint32_t> colors;
    std::vector<uint32_t> counts;
    std::vector<uint32_t> colorOfPixel;

    explicit Histogram(const Bitmap& src) {
        const size_t n = src.pixelCount();
        int bits = 12;
        size_t mask = (size_t{1} << bits) - 1;
        std::vector<uint32_t> keys(mask + 1, kNoColor), values(mask + 1);
        colorOfPixel.resize(n);
        uint32_t last = kNoColor, lastIndex = 0;
        for (size_t i = 0; i < n; ++i) {
            const uint32_t c = packRgb(&src.rgba[i * 4]);
            if (c != last) {
                size_t slot = hashSlot(c, bits);
                while (keys[slot] != c && keys[slot] != kNoColor) slot = (slot + 1) & mask;
                if (keys[slot] == kNoColor) {
                    keys[slot] = c;
                    values[slot] = uint32_t(colors.size());
                    colors.push_back(c);
                    counts.push_back(0);
                    if (colors.size() * 2 > mask + 1) grow(keys, values, bits, mask);
                    lastIndex = uint32_t(colors.size() - 1);
                } else {
                    lastIndex = values[slot];
                }
                last = c;
            }
            ++counts[lastIndex];
            colorOfPixel[i] = lastIndex;
        }
    }

private:
    void grow(std::vector<uint32_t>& keys, std::vector<uint32_t>& values, int& bits, size_t& mask) const {
        ++bits;
        mask = mask * 2 + 1;
        keys.assign(mask + 1, kNoColor);
        values.resize(mask + 1);
        for (uint32_t k = 0; k < colors.size(); ++k) {
            size_t slot = hashSlot(colors[k], bits);
            while (keys[slot] != kNoColor) slot = (slot + 1) & mask;
            keys[slot] = colors[k];
            values[slot] = k;
        }
    }
};

// A distinct colour of the picture and its pixel count.
struct Point {
    std::array<int, 3> c;
    uint32_t weight;
};

int distance2(const std::array<int, 3>& a, const std::array<int, 3>& b) {
    const int d0 = a[0] - b[0], d1 = a[1] - b[1], d2 = a[2] - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

// Exact moments of a set of weighted colours: total weight and weighted
// sums of the channels (at most 2^26 pixels of 255: no overflow).
struct Moments {
    int64_t weight = 0;
    std::array<int64_t, 3> sum{0, 0, 0};

    void add(const Point& p) {
        const int64_t w = p.weight;
        weight += w;
        for (size_t k = 0; k < 3; ++k) sum[k] += w * p.c[k];
    }
    void add(const Moments& m) {
        weight += m.weight;
        for (size_t k = 0; k < 3; ++k) sum[k] += m.sum[k];
    }
    Moments minus(const Moments& m) const {
        Moments r;
        r.weight = weight - m.weight;
        for (size_t k = 0; k < 3; ++k) r.sum[k] = sum[k] - m.sum[k];
        return r;
    }
    // The mean rounded to integers: the palette colour with the smallest
    // squared error over the set.
    Rgb mean() const {
        const auto channel = [&](size_t k) { return uint8_t((2 * sum[k] + weight) / (2 * weight)); };
        return {channel(0), channel(1), channel(2)};
    }
};

// How much the squared error of a set falls when it is split into a and b,
// each represented by its mean: wa wb / (wa + wb) |mean a - mean b|², that
// is |sa wb - sb wa|² / (wa wb (wa + wb)), whose differences are exact
// integers (below 2^26 * 255 * 2^26).
double splitGain(const Moments& a, const Moments& b) {
    double d = 0;
    for (size_t k = 0; k < 3; ++k) {
        const double e = double(a.sum[k] * b.weight - b.sum[k] * a.weight);
        d += e * e;
    }
    return d / (double(a.weight) * double(b.weight) * double(a.weight + b.weight));
}

// A colour of the picture as the initial palette's cuts move it around,
// with its number in the histogram.
struct Item {
    Point point;
    uint32_t index;
};

// A box of the initial palette: the colours items[begin, end) and the cut
// that would lower their squared error most.
struct Box {
    uint32_t begin = 0, end = 0;
    Moments moments;
    int axis = -1;  // -1: cannot be split (a single colour)
    int cut = 0;    // channel values <= cut go to the first half
    double gain = 0;
};

// Finds the best cut of a box across one channel at some value, with the
// channel histograms of its colours: exact, two passes over the colours and
// one over the range of values of each channel. bins is all zero before and
// after.
void findBestCut(const std::vector<Item>& items, Box& box, std::array<std::array<Moments, 256>, 3>& bins) {
    box.axis = -1;
    box.gain = 0;
    if (box.end - box.begin < 2) return;
    std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
    for (uint32_t i = box.begin; i < box.end; ++i) {
        const Point& p = items[i].point;
        for (size_t k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], p.c[k]);
            hi[k] = std::max(hi[k], p.c[k]);
        }
    }
    for (uint32_t i = box.begin; i < box.end; ++i) {
        const Point& p = items[i].point;
        for (size_t k = 0; k < 3; ++k)
            if (lo[k] < hi[k]) bins[k][size_t(p.c[k])].add(p);
    }
    for (size_t k = 0; k < 3; ++k) {
        Moments first;
        for (int v = lo[k]; v < hi[k]; ++v) {
            if (bins[k][size_t(v)].weight == 0) continue;
            first.add(bins[k][size_t(v)]);
            const double gain = splitGain(first, box.moments.minus(first));
            if (gain > box.gain) {
                box.gain = gain;
                box.axis = int(k);
                box.cut = v;
            }
        }
    }
    for (uint32_t i = box.begin; i < box.end; ++i) {
        const Point& p = items[i].point;
        for (size_t k = 0; k < 3; ++k) bins[k][size_t(p.c[k])] = Moments{};
    }
}

// The initial palette: starting from one box of all colours, the box whose
// best cut lowers the squared error most is cut, until there are maxColors
// boxes; every box gives its mean. Works on the exact colours, so that near
// colours of large areas (a gradient background) can be told apart. Fills
// boxOf with the box of every colour.
std::vector<Rgb> splitPalette(const std::vector<Point>& points, int maxColors, std::vector<int>& boxOf) {
    std::vector<Item> items(points.size());
    for (size_t i = 0; i < points.size(); ++i) items[i] = {points[i], uint32_t(i)};
    auto bins = std::make_unique<std::array<std::array<Moments, 256>, 3>>();
    std::vector<Box> boxes;
    boxes.reserve(size_t(maxColors));
    Box all;
    all.end = uint32_t(points.size());
    for (const Point& p : points) all.moments.add(p);
    findBestCut(items, all, *bins);
    boxes.push_back(all);
    while (int(boxes.size()) < maxColors) {
        size_t best = 0;
        for (size_t i = 1; i < boxes.size(); ++i)
            if (boxes[i].gain > boxes[best].gain) best = i;
        const Box box = boxes[best];
        if (box.axis < 0) break;  // every box holds a single colour
        const auto axis = size_t(box.axis);
        const auto middle = std::partition(items.begin() + box.begin, items.begin() + box.end,
                                           [&](const Item& item) { return item.point.c[axis] <= box.cut; });
        Box first, second;
        first.begin = box.begin;
        first.end = second.begin = uint32_t(middle - items.begin());
        second.end = box.end;
        for (uint32_t i = first.begin; i < first.end; ++i) first.moments.add(items[i].point);
        second.moments = box.moments.minus(first.moments);
        findBestCut(items, first, *bins);
        findBestCut(items, second, *bins);
        boxes[best] = first;
        boxes.push_back(second);
    }
    std::vector<Rgb> palette;
    boxOf.assign(points.size(), 0);
    for (size_t b = 0; b < boxes.size(); ++b) {
        palette.push_back(boxes[b].moments.mean());
        for (uint32_t i = boxes[b].begin; i < boxes[b].end; ++i) boxOf[items[i].index] = int(b);
    }
    return palette;
}

// Lloyd's k-means over the weighted colours: every colour goes to its
// nearest entry, every entry moves to the mean of its colours, until no
// colour changes entry or the error has settled; the last step is always a
// nearest-entry assignment for the final palette. The nearest-entry search is exact but short: a
// colour x of entry a, at distance u, can only be nearer to an entry c
// with |a c| < 2u (triangle inequality), so each entry keeps the list of
// the entries within twice the distance of its farthest colour, sorted by
// distance, and the search stops in it as soon as |a c| >= u + the best
// distance so far.
class Refiner {
public:
    Refiner(const std::vector<Point>& points, std::vector<Rgb>& palette, std::vector<int>& entryOf)
        : points_(points), palette_(palette), entryOf_(entryOf) {}

    void run() {
        assignNearest();
        for (int round = 0; round < kMaxRefineRounds; ++round) {
            const uint64_t before = error_;
            moveToMeans();
            if (!assignNearest() || error_ * kSettledRatio.den > before * kSettledRatio.num) break;
        }
    }

private:
    std::array<int, 3> entry(int k) const {
        const Rgb& q = palette_[size_t(k)];
        return {q.r, q.g, q.b};
    }

    // Gives every colour its nearest entry, starting from its current one,
    // and sums the squared error. Returns whether any colour changed entry.
    bool assignNearest() {
        const size_t n = points_.size(), k = palette_.size();
        distance_.resize(n);
        std::vector<float> reach(k, 0.0f);
        for (size_t i = 0; i < n; ++i) {
            distance_[i] = std::sqrt(float(distance2(points_[i].c, entry(entryOf_[i]))));
            reach[size_t(entryOf_[i])] = std::max(reach[size_t(entryOf_[i])], distance_[i]);
        }
        // Entries within twice the farthest distance of each entry's colours,
        // looked for among those whose channel sum is near enough: the sums
        // of two colours at distance d differ by at most d √3.
        std::vector<std::array<int, 3>> entries(k);
        std::vector<std::pair<int, int>> bySum(k);
        for (size_t j = 0; j < k; ++j) {
            entries[j] = entry(int(j));
            bySum[j] = {entries[j][0] + entries[j][1] + entries[j][2], int(j)};
        }
        std::sort(bySum.begin(), bySum.end());
        listStart_.assign(k + 1, 0);
        neighbors_.clear();
        for (size_t j = 0; j < k; ++j) {
            listStart_[j] = uint32_t(neighbors_.size());
            const float radius = 2 * reach[j] + kBoundSlack;
            const int sum = entries[j][0] + entries[j][1] + entries[j][2];
            const int spread = int(radius * 1.7320509f) + 1;
            auto q = std::lower_bound(bySum.begin(), bySum.end(), std::pair<int, int>{sum - spread, -1});
            for (; q != bySum.end() && q->first <= sum + spread; ++q) {
                if (size_t(q->second) == j) continue;
                const float d = float(distance2(entries[j], entries[size_t(q->second)]));
                if (d < radius * radius) neighbors_.push_back({std::sqrt(d), q->second});
            }
            std::sort(neighbors_.begin() + listStart_[j], neighbors_.end(), [](const Neighbor& a, const Neighbor& b) {
                return a.distance < b.distance || (a.distance == b.distance && a.entry < b.entry);
            });
        }
        listStart_[k] = uint32_t(neighbors_.size());

        bool changed = false;
        error_ = 0;
        for (size_t i = 0; i < n; ++i) {
            const int own = entryOf_[i];
            const float u = distance_[i];
            int best = own, bestD2 = distance2(points_[i].c, entries[size_t(own)]);
            float bestD = u;
            for (uint32_t t = listStart_[size_t(own)]; t < listStart_[size_t(own) + 1]; ++t) {
                const Neighbor& nb = neighbors_[t];
                if (nb.distance >= u + bestD + kBoundSlack) break;
                const int d2 = distance2(points_[i].c, entries[size_t(nb.entry)]);
                if (d2 < bestD2) {
                    best = nb.entry;
                    bestD2 = d2;
                    bestD = std::sqrt(float(d2));
                }
            }
            error_ += uint64_t(points_[i].weight) * uint64_t(bestD2);
            if (best != own) {
                entryOf_[i] = best;
                changed = true;
            }
        }
        return changed;
    }

    // Moves every entry to the rounded mean of its colours. An entry left
    // without colours takes the colour that costs most where it is.
    void moveToMeans() {
        std::vector<Moments> moments(palette_.size());
        for (size_t i = 0; i < points_.size(); ++i) moments[size_t(entryOf_[i])].add(points_[i]);
        for (size_t k = 0; k < palette_.size(); ++k)
            if (moments[k].weight > 0) palette_[k] = moments[k].mean();
        for (size_t k = 0; k < palette_.size(); ++k) {
            if (moments[k].weight > 0) continue;
            size_t worst = 0;
            uint64_t worstCost = 0;
            for (size_t i = 0; i < points_.size(); ++i) {
                const uint64_t cost =
                    uint64_t(points_[i].weight) * uint64_t(distance2(points_[i].c, entry(entryOf_[i])));
                if (cost > worstCost) worstCost = cost, worst = i;
            }
            if (worstCost == 0) break;
            const Point& p = points_[worst];
            palette_[k] = {uint8_t(p.c[0]), uint8_t(p.c[1]), uint8_t(p.c[2])};
            entryOf_[worst] = int(k);
        }
    }

    struct Neighbor {
        float distance;
        int entry;
    };

    const std::vector<Point>& points_;
    std::vector<Rgb>& palette_;
    std::vector<int>& entryOf_;
    std::vector<float> distance_;
    std::vector<uint32_t> listStart_;
    std::vector<Neighbor> neighbors_;
    uint64_t error_ = 0;
};

// The dithered reduction: libimagequant chooses the palette and diffuses the
// error, sparing edges.
QuantStatus quantizeDithered(const Bitmap& src, int maxColors, Bitmap& b) {
    std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
    if (!attr) return QuantStatus::OutOfMemory;
    if (liq_set_max_colors(attr.get(), maxColors) != LIQ_OK || liq_set_speed(attr.get(), kQuantSpeed) != LIQ_OK ||
        liq_set_quality(attr.get(), 0, 100) != LIQ_OK)
        return QuantStatus::Failed;
    std::unique_ptr<liq_image, ImageDeleter> image(
        liq_image_create_rgba(attr.get(), src.rgba.data(), src.width, src.height, kLinearGamma));
    if (!image) return QuantStatus::Failed;
    liq_result* rawResult = nullptr;
    const liq_error qerr = liq_image_quantize(image.get(), attr.get(), &rawResult);
    if (qerr == LIQ_OUT_OF_MEMORY) return QuantStatus::OutOfMemory;
    if (qerr != LIQ_OK || rawResult == nullptr) return QuantStatus::Failed;
    // The palette comes out in the image's gamma, so it needs no conversion
    // back.
    std::unique_ptr<liq_result, ResultDeleter> result(rawResult);
    if (liq_set_dithering_level(result.get(), 1.0f) != LIQ_OK) return QuantStatus::Failed;
    const liq_error rerr = liq_write_remapped_image(result.get(), image.get(), b.indices.data(), b.indices.size());
    if (rerr == LIQ_OUT_OF_MEMORY) return QuantStatus::OutOfMemory;
    if (rerr != LIQ_OK) return QuantStatus::Failed;
    // The palette is read after remapping, which refines it.
    const liq_palette* pal = liq_get_palette(result.get());
    if (pal == nullptr || pal->count < 1 || pal->count > unsigned(maxColors)) return QuantStatus::Failed;
    for (unsigned i = 0; i < pal->count; ++i) b.palette.push_back({pal->entries[i].r, pal->entries[i].g, pal->entries[i].b});
    for (uint8_t v : b.indices)
        if (v >= b.palette.size()) return QuantStatus::Failed;
    return QuantStatus::Ok;
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
        Bitmap b;
        b.width = src.width;
        b.height = src.height;
        b.indexed = true;
        b.indices.resize(src.pixelCount());

        const Histogram hist(src);
        if (hist.colors.size() <= size_t(maxColors)) {
            // Few colours: each gets its own entry, in order of appearance.
            for (const uint32_t c : hist.colors) b.palette.push_back({uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
            for (size_t i = 0; i < b.indices.size(); ++i) b.indices[i] = uint8_t(hist.colorOfPixel[i]);
            out = std::move(b);
            return QuantStatus::Ok;
        }

        if (dither == Dither::Always) {
            const QuantStatus s = quantizeDithered(src, maxColors, b);
            if (s == QuantStatus::Ok) out = std::move(b);
            return s;
        }

        // Nearest colour: the palette that the cuts give, refined by k-means
        // for the nearest-colour mapping; every pixel then takes its nearest
        // entry.
        std::vector<Point> points(hist.colors.size());
        for (size_t i = 0; i < points.size(); ++i) {
            const uint32_t c = hist.colors[i];
            points[i] = {{int(c & 0xFF), int((c >> 8) & 0xFF), int(c >> 16)}, hist.counts[i]};
        }
        std::vector<int> entryOf;
        b.palette = splitPalette(points, maxColors, entryOf);
        Refiner(points, b.palette, entryOf).run();
        for (size_t i = 0; i < b.indices.size(); ++i) b.indices[i] = uint8_t(entryOf[hist.colorOfPixel[i]]);
        out = std::move(b);
        return QuantStatus::Ok;
    } catch (const std::bad_alloc&) {
        return QuantStatus::OutOfMemory;
    }
}

}  // namespace imgctl
