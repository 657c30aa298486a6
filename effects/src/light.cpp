#include "light.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "exact_divider.h"
#include "parallel_for.h"
#include "recolour_file.h"

namespace tesmor {
namespace {

// For every pixel whether it is ink (not of the key colour), and its
// chessboard distance to the nearest pixel of the other kind (for ink,
// outside the image counts as key colour), capped. Every probe of a march
// closer to a probe than that probe's distance is of the same kind, so the
// march crosses them in one step instead of one probe at a time.
class InkDistances {
public:
    static constexpr uint8_t kInk = 0x80;
    static constexpr uint8_t kCap = 0x7F;

    explicit InkDistances(ImageView image)
        : width_(image.width), height_(image.height), cells_(static_cast<size_t>(width_) * static_cast<size_t>(height_)) {
        const uint8_t* key = image.pixel(0, 0);
        // Per row, for each pixel and its left and right neighbours: is
        // any of them ink, are all of them ink (a missing neighbour is not).
        std::vector<uint8_t> anyInk(cells_.size()), allInk(cells_.size());
        parallel::forEachIndex(static_cast<size_t>(height_), [&](size_t y) {
            uint8_t* row = line(cells_, y);
            for (int x = 0; x < width_; ++x) {
                const uint8_t* p = image.pixel(x, static_cast<int>(y));
                row[x] = p[0] != key[0] || p[1] != key[1] || p[2] != key[2] ? kInk : 0;
            }
            spanInk(row, line(anyInk, y), line(allInk, y));
        });
        // The distance to the nearest pixel of the other kind is one more
        // than the distance to the nearest pixel with a neighbour of the
        // other kind (a border pixel).
        std::vector<uint8_t> toBorder(cells_.size());
        parallel::forEachIndex(static_cast<size_t>(height_), [&](size_t y) { markBorders(anyInk, allInk, y, line(toBorder, y)); });
        chessboard(toBorder);
        for (size_t i = 0; i < cells_.size(); ++i)
            cells_[i] = static_cast<uint8_t>(cells_[i] | std::min<uint8_t>(kCap, static_cast<uint8_t>(toBorder[i] + 1)));
    }

    int width() const { return width_; }
    const uint8_t* data() const { return cells_.data(); }

private:
    uint8_t* line(std::vector<uint8_t>& v, size_t y) const { return v.data() + y * static_cast<size_t>(width_); }
    const uint8_t* line(const std::vector<uint8_t>& v, size_t y) const { return v.data() + y * static_cast<size_t>(width_); }

    void spanInk(const uint8_t* row, uint8_t* any, uint8_t* all) const {
        const int w = width_;
        for (int x = 1; x + 1 < w; ++x) {
            any[x] = row[x - 1] | row[x] | row[x + 1];
            all[x] = row[x - 1] & row[x] & row[x + 1];
        }
        any[0] = row[0] | (w > 1 ? row[1] : 0);
        any[w - 1] = row[w - 1] | (w > 1 ? row[w - 2] : 0);
        all[0] = 0;
        all[w - 1] = 0;
    }

    // 0 for a border pixel of row y, kCap for the others. Outside the image
    // is key colour for ink, so ink on the image's edge is a border pixel,
    // and no colour for the background.
    void markBorders(const std::vector<uint8_t>& anyInk, const std::vector<uint8_t>& allInk, size_t y, uint8_t* out) const {
        const bool top = y + 1 == static_cast<size_t>(height_), bottom = y == 0;
        const uint8_t* kind = line(cells_, y);
        const uint8_t* any[3] = {line(anyInk, y), bottom ? nullptr : line(anyInk, y - 1), top ? nullptr : line(anyInk, y + 1)};
        const uint8_t* all[3] = {line(allInk, y), bottom ? nullptr : line(allInk, y - 1), top ? nullptr : line(allInk, y + 1)};
        for (int x = 0; x < width_; ++x) {
            uint8_t anyNear = any[0][x], allNear = all[0][x];
            if (any[1]) anyNear |= any[1][x];
            if (any[2]) anyNear |= any[2][x];
            allNear = (all[1] && all[2]) ? static_cast<uint8_t>(allNear & all[1][x] & all[2][x]) : 0;
            const bool border = kind[x] ? allNear == 0 : anyNear != 0;
            out[x] = border ? 0 : kCap;
        }
    }

    // Two passes of the 8-neighbour distance; the values stay at most kCap.
    void chessboard(std::vector<uint8_t>& dist) const {
        const int w = width_;
        const auto pass = [&](size_t y, const uint8_t* from, int dir) {
            uint8_t* row = line(dist, y);
            if (from) {
                for (int x = 1; x + 1 < w; ++x)
                    row[x] = std::min<uint8_t>(row[x], static_cast<uint8_t>(std::min({from[x - 1], from[x], from[x + 1]}) + 1));
                row[0] = std::min<uint8_t>(row[0], static_cast<uint8_t>(std::min(from[0], from[w > 1 ? 1 : 0]) + 1));
                row[w - 1] = std::min<uint8_t>(row[w - 1], static_cast<uint8_t>(std::min(from[w - 1], from[w > 1 ? w - 2 : 0]) + 1));
            }
            if (dir > 0) {
                for (int x = 1; x < w; ++x) row[x] = std::min<uint8_t>(row[x], static_cast<uint8_t>(row[x - 1] + 1));
            } else {
                for (int x = w - 2; x >= 0; --x) row[x] = std::min<uint8_t>(row[x], static_cast<uint8_t>(row[x + 1] + 1));
            }
        };
        const size_t h = static_cast<size_t>(height_);
        for (size_t y = 0; y < h; ++y) pass(y, y > 0 ? line(dist, y - 1) : nullptr, 1);
        for (size_t y = h; y-- > 0;) pass(y, y + 1 < h ? line(dist, y + 1) : nullptr, -1);
    }

    int width_;
    int height_;
    std::vector<uint8_t> cells_;
};

struct March {
    int64_t count;  // probes of ink
    int64_t px;     // last probe
    int64_t py;
};

// Division by D, the same for a whole column of pixels: by multiplication
// when the numerators stay below 2^32 (the usual sizes), by the processor's
// division for lights absurdly far away.
class ColumnDivider {
public:
    explicit ColumnDivider(uint64_t d) : d_(d), exact_(d <= UINT32_MAX ? static_cast<uint32_t>(d) : 1) {}
    uint64_t divisor() const { return d_; }
    // Whether |dy| k and 2 |dy| (k < D) all stay below 2^32.
    bool fastFor(uint64_t ady) const { return d_ <= UINT32_MAX && ady < (uint64_t{1} << 31) && ady * d_ <= UINT32_MAX; }
    // floor(n / D); n below 2^32 when fastFor held.
    template <bool Fast>
    uint64_t divide(uint64_t n) const {
        if constexpr (Fast) return exact_.divide(static_cast<uint32_t>(n));
        return n / d_;
    }

private:
    uint64_t d_;
    ExactDivider exact_;
};

// What the brightness needs of a march: with falloff 0 only the count,
// which stops growing at kMaxLightCount; with a falloff of 0 or more
// nothing when no ink is met; otherwise the last probe too.
struct MarchNeeds {
    bool stopAtCap;
    bool positionWithoutInk;
};

// The probe march of one pixel toward the light. Column and row move
// monotonically toward the light, so once a probe leaves the image every
// later one lies outside too: the march ends there, or, when no ink has
// been met, jumps to the last probe (only its position still matters).
// Probes that InkDistances shows to be of the current probe's kind are
// crossed in one step.
template <bool Fast>
March marchTowardLight(const InkDistances& cells, const ColumnDivider& byD, int width, int height, int x, int y,
                       int64_t lightX, int64_t lightY, MarchNeeds needs) {
    March m{0, x, y};
    const int64_t dx = lightX - x, dy = lightY - y;
    const uint64_t adx = static_cast<uint64_t>(dx < 0 ? -dx : dx);
    if (adx == 0) return m;
    const uint64_t ady = static_cast<uint64_t>(dy < 0 ? -dy : dy);
    const int64_t stepX = x < lightX ? 1 : -1;
    const int64_t stepY = y < lightY ? 1 : -1;
    // Both below 2^32, so |dy| * k (k < |dx|) fits in 64 bits.
    const auto rowAt = [&](uint64_t k) { return y + stepY * static_cast<int64_t>(byD.template divide<Fast>(ady * k)); };
    const uint64_t columnEnd = static_cast<uint64_t>(stepX > 0 ? width - x : x + 1);
    const uint64_t lastK = (adx - 1) & ~uint64_t{1};
    // A step of k by 2 moves 2 columns and at most floor(2 |dy| / D) + 1
    // rows: j steps stay within chessboard distance j * span of the probe.
    const uint32_t span = static_cast<uint32_t>(
        std::min<uint64_t>(std::max<uint64_t>(2, byD.template divide<Fast>(2 * ady) + 1), InkDistances::kCap));
    const uint8_t* cell = cells.data();
    const int64_t stride = cells.width();
    for (uint64_t k = 0;; k += 2) {
        const int64_t col = x + stepX * static_cast<int64_t>(k);
        const int64_t row = rowAt(k);
        if (k >= columnEnd || static_cast<uint64_t>(row) >= static_cast<uint64_t>(height)) {
            // Outside the image: key colour.
            if (m.count > 0) {
                m.px = col;
                m.py = row;
            } else if (needs.positionWithoutInk) {
                m.px = x + stepX * static_cast<int64_t>(lastK);
                m.py = rowAt(lastK);
            }
            break;
        }
        const uint8_t here = cell[row * stride + col];
        const bool ink = (here & InkDistances::kInk) != 0;
        if (ink) {
            if (++m.count >= kMaxLightCount && needs.stopAtCap) break;
        } else if (m.count > 0) {
            m.px = col;
            m.py = row;
            break;  // a key-coloured probe after ink
        }
        const uint32_t distance = here & InkDistances::kCap;
        if (distance > span) {
            // The next j probes are of this probe's kind (and, for ink,
            // inside the image).
            const uint32_t near = span == 2 ? (distance - 1) >> 1 : (distance - 1) / span;
            const uint64_t jump = std::min<uint64_t>(near, (lastK - k) / 2);
            if (ink) m.count += static_cast<int64_t>(jump);
            k += 2 * jump;
        }
        if (k >= lastK) {
            m.px = x + stepX * static_cast<int64_t>(k);
            m.py = rowAt(k);
            break;
        }
    }
    m.count = std::min<int64_t>(m.count, kMaxLightCount);
    return m;
}

void lightRow(const InkDistances& cells, const std::vector<ColumnDivider>& dividers, ImageView source, Image& out,
              int y, int lightX, int lightY, int strength, int falloff) {
    uint8_t* o = out.row(y);
    const int64_t dy = static_cast<int64_t>(lightY) - y;
    const uint64_t ady = static_cast<uint64_t>(dy < 0 ? -dy : dy);
    const MarchNeeds needs{falloff == 0, falloff < 0};
    for (int x = 0; x < source.width; ++x, o += 3) {
        const ColumnDivider& byD = dividers[static_cast<size_t>(x)];
        const March m = byD.fastFor(ady)
                            ? marchTowardLight<true>(cells, byD, source.width, source.height, x, y, lightX, lightY, needs)
                            : marchTowardLight<false>(cells, byD, source.width, source.height, x, y, lightX, lightY, needs);
        if (m.count == 0 && falloff >= 0) continue;  // no light: unchanged
        const double ex = static_cast<double>(x - m.px);
        const double ey = static_cast<double>(y - m.py);
        double brightness = std::trunc(static_cast<double>(m.count) - std::sqrt(ex * ex + 2 * ey * ey) * falloff / 30);
        if (!(brightness > 0)) continue;  // 0 or negative: unchanged
        // Beyond +-255 every channel saturates alike.
        brightness = std::clamp(brightness * strength, -255.0, 255.0);
        const int add = static_cast<int>(brightness);
        for (int ch = 0; ch < 3; ++ch) o[ch] = static_cast<uint8_t>(std::clamp(o[ch] + add, 0, 255));
    }
}

}  // namespace

Image lightRays(ImageView source, int lightX, int lightY, int strength, int falloff) {
    Image out(source.width, source.height);
    std::copy(source.data, source.data + out.data.size(), out.data.begin());
    if (source.width <= 0 || source.height <= 0) return out;
    const InkDistances cells(source);
    std::vector<ColumnDivider> dividers;
    dividers.reserve(static_cast<size_t>(source.width));
    for (int x = 0; x < source.width; ++x) {
        const int64_t dx = static_cast<int64_t>(lightX) - x;
        const uint64_t adx = static_cast<uint64_t>(dx < 0 ? -dx : dx);
        dividers.emplace_back(adx > 1 ? adx : 1);
    }
    // Rows are independent; a few rows per piece keeps the pieces even
    // however the ink lies.
    constexpr int kRowsPerPiece = 8;
    const int pieces = (source.height + kRowsPerPiece - 1) / kRowsPerPiece;
    parallel::forEachIndex(static_cast<size_t>(pieces), [&](size_t piece) {
        const int first = static_cast<int>(piece) * kRowsPerPiece;
        const int last = std::min(source.height, first + kRowsPerPiece);
        for (int y = first; y < last; ++y) lightRow(cells, dividers, source, out, y, lightX, lightY, strength, falloff);
    });
    return out;
}

int lightFile(const char* source, const char* destination, int lightX, int lightY,
              int strength, int falloff) {
    return recolourFile(source, destination, [&](Image& image) {
        image = lightRays(image.view(), lightX, lightY, strength, falloff);
    });
}

}  // namespace tesmor
