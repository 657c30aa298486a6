// Nearest-point searches shared by the relief and outline steps, so that
// their work grows with the canvas and not with a depth or a width.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace pavrex {

inline constexpr long long kFar = std::numeric_limits<long long>::max();

// An inclusive block of canvas rows and columns; empty when first > last.
struct Area {
    long long firstColumn, lastColumn, firstRow, lastRow;
};

// The scanned area of the relief and outline steps: rows and columns
// d ... size - d, within the canvas.
inline Area innerArea(int width, int height, long long d) {
    const long long from = d > 0 ? d : 0;
    return {from, std::min<long long>(width - 1, width - d), from, std::min<long long>(height - 1, height - d)};
}

// The points of an area of a width x height grid, seen from each row: the
// vertical distance to the nearest point in every column, up to a reach.
// Rows are asked in increasing order; the work is two sweeps over the grid.
class VerticalDistances {
public:
    template <typename IsPoint>
    VerticalDistances(int width, int height, const Area& area, long long reach, IsPoint isPoint)
        : width_(width), reach_(std::min<long long>(reach, kCap - 1)),
          up_(static_cast<size_t>(width) * height, kCap),
          rowsWithPoints_(static_cast<size_t>(height) + 1, 0) {
        const bool empty = area.firstRow > area.lastRow || area.firstColumn > area.lastColumn;
        // Upward distances (to points in this row or above), from the top down.
        std::vector<uint16_t> run(static_cast<size_t>(width), kCap);
        for (long long y = height - 1; y >= 0; --y) {
            const bool rowInArea = !empty && y >= area.firstRow && y <= area.lastRow;
            bool any = false;
            uint16_t* up = up_.data() + static_cast<size_t>(y) * width;
            for (int x = 0; x < width; ++x) {
                const bool point = rowInArea && x >= area.firstColumn && x <= area.lastColumn && isPoint(x, y);
                run[x] = point ? 0 : static_cast<uint16_t>(std::min<int>(run[x] + 1, kCap));
                up[x] = run[x];
                any = any || point;
            }
            rowsWithPoints_[static_cast<size_t>(y) + 1] = any;
        }
        for (int y = 0; y < height; ++y) rowsWithPoints_[y + 1] += rowsWithPoints_[y];
    }

    // The grid's own pass refers to it.
    VerticalDistances(const VerticalDistances&) = delete;
    VerticalDistances& operator=(const VerticalDistances&) = delete;

    // Whether any point lies within the reach of row y.
    bool anyWithin(long long y) const {
        const long long last = static_cast<long long>(rowsWithPoints_.size()) - 1;
        const long long from = std::clamp<long long>(y - reach_, 0, last);
        const long long to = std::clamp<long long>(y + reach_ + 1, 0, last);
        return rowsWithPoints_[to] > rowsWithPoints_[from];
    }

    // Distances from row y to the nearest point of each column, kFar beyond
    // the reach, for one pass down the rows. Rows are asked in increasing
    // order; rows may be left out where no point is within reach. Passes
    // over different rows may run at the same time.
    class Sweep {
    public:
        explicit Sweep(const VerticalDistances& grid)
            : grid_(grid), down_(static_cast<size_t>(grid.width_), static_cast<uint16_t>(kCap)) {}

        // Starts the pass at row y: the rows within reach below it are swept
        // without output, so that points there are seen.
        void startAt(long long y) {
            nextRow_ = std::max(0LL, y - grid_.reach_);
            std::fill(down_.begin(), down_.end(), static_cast<uint16_t>(kCap));
            for (long long r = nextRow_; r < y; ++r) advance(r);
            nextRow_ = y;
        }

        void row(long long y, std::vector<long long>& out) {
            // After a left-out row every point at or below is beyond the reach.
            if (y != nextRow_) std::fill(down_.begin(), down_.end(), static_cast<uint16_t>(kCap));
            advance(y);
            const uint16_t* up = grid_.up_.data() + static_cast<size_t>(y) * grid_.width_;
            for (int x = 0; x < grid_.width_; ++x) {
                const long long v = std::min(up[x], down_[x]);
                out[x] = v <= grid_.reach_ ? v : kFar;
            }
        }

    private:
        void advance(long long y) {
            nextRow_ = y + 1;
            const uint16_t* up = grid_.up_.data() + static_cast<size_t>(y) * grid_.width_;
            for (int x = 0; x < grid_.width_; ++x)
                down_[x] = up[x] == 0 ? 0 : static_cast<uint16_t>(std::min<int>(down_[x] + 1, kCap));
        }

        const VerticalDistances& grid_;
        std::vector<uint16_t> down_;  // per column: rows down to the nearest point at or below
        long long nextRow_ = 0;
    };

    // Row y of the grid's own pass (see Sweep::row).
    void row(long long y, std::vector<long long>& out) { sweep_.row(y, out); }

    long long reach() const { return reach_; }

private:
    static constexpr int kCap = 65535;  // "no point within reach": reaches are below a canvas side

    int width_;
    long long reach_;
    std::vector<uint16_t> up_;              // per pixel: rows up to the nearest point at or above
    std::vector<int> rowsWithPoints_;       // count of rows with points below each row
    Sweep sweep_{*this};
};

// The lower envelope of the parabolas (x - i)^2 + f(i), with centres i added
// in increasing order and asked at positions x >= 0 that never decrease
// (all adds may come first, or adds and asks may alternate).
class ParabolaEnvelope {
public:
    explicit ParabolaEnvelope(int capacity) : centre_(capacity), offset_(capacity), start_(capacity) {}

    void clear() {
        top_ = -1;
        at_ = 0;
    }

    void add(long long i, long long f) {
        // A parabola further right that is lower at the start of the top
        // parabola's stretch is lower on all of it.
        while (top_ >= 0 && value(top_, start_[top_]) > (start_[top_] - i) * (start_[top_] - i) + f) --top_;
        long long start = 0;
        if (top_ >= 0) {
            // Past the last position where the top parabola is not above the new one.
            const long long v = centre_[top_];
            start = 1 + floorDiv(i * i - v * v + f - offset_[top_], 2 * (i - v));
        }
        ++top_;
        centre_[top_] = i;
        offset_[top_] = f;
        start_[top_] = start;
        at_ = std::min(at_, std::max(top_ - 1, 0));
    }

    // The lowest value at x, or kFar when nothing was added.
    long long minAt(long long x) {
        if (top_ < 0) return kFar;
        while (at_ < top_ && start_[at_ + 1] <= x) ++at_;
        return value(at_, x);
    }

private:
    static long long floorDiv(long long n, long long d) { return n / d - ((n % d != 0) && ((n < 0) != (d < 0))); }
    long long value(int k, long long x) const { return (x - centre_[k]) * (x - centre_[k]) + offset_[k]; }

    std::vector<long long> centre_, offset_, start_;
    int top_ = -1;
    int at_ = 0;
};

}  // namespace pavrex
