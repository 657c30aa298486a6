#include <algorithm>
#include <cmath>

#include "distance.h"
#include "parallel_for.h"
#include "steps.h"

namespace pavrex {
namespace {

// Depths beyond this (after scaling) are treated as this: four times the
// deepest relief the program offers, so no real style is affected.
constexpr int kMaxReliefDepth = 160;

// The lowest curvature whose exponent 0.2 * curvature + 1 is still
// positive. Lower values would make a bevel that rises away from the edge,
// which no style can ask for; they are read as this one.
constexpr int kMinCurvature = -4;

// Every text pixel of the scanned area adds 1 to the nine bytes of its 3 x 3
// block and then sets its own byte to 156, in row order. So a non-text byte
// (or one outside the area) gains the number of such text pixels around it,
// and a text pixel's byte ends as 156 plus those of its neighbours that come
// after it (the rest of its row to the right, the three above). Worked out
// per row from the text of the rows below, at and above.
void buildEdgeMask(RenderContext& c, int d) {
    const int W = c.width;
    const int H = c.height;
    const Area area = innerArea(W, H, d);
    if (area.firstRow > area.lastRow || area.firstColumn > area.lastColumn) return;
    // Text of the area, one row with a blank column at each end.
    auto textRow = [&](long long y, std::vector<uint8_t>& row) {
        std::fill(row.begin(), row.end(), 0);
        if (y < area.firstRow || y > area.lastRow) return;
        for (long long x = area.firstColumn; x <= area.lastColumn; ++x) {
            row[static_cast<size_t>(x) + 1] = c.isText(static_cast<int>(x), static_cast<int>(y));
        }
    };
    std::vector<uint8_t> below(static_cast<size_t>(W) + 2), at(below.size()), above(below.size());
    const long long firstRow = std::max(0LL, area.firstRow - 1);
    const long long lastRow = std::min<long long>(H - 1, area.lastRow + 1);
    textRow(firstRow - 1, below);
    textRow(firstRow, at);
    for (long long y = firstRow; y <= lastRow; ++y) {
        textRow(y + 1, above);
        uint8_t* mask = c.edgeMask.data() + static_cast<size_t>(y) * W;
        for (int x = 0; x < W; ++x) {
            const size_t i = static_cast<size_t>(x) + 1;  // x's place in the padded rows
            if (at[i]) {
                mask[x] = static_cast<uint8_t>(156 + at[i + 1] + above[i - 1] + above[i] + above[i + 1]);
            } else {
                mask[x] = static_cast<uint8_t>(mask[x] + below[i - 1] + below[i] + below[i + 1] + at[i - 1] +
                                               at[i + 1] + above[i - 1] + above[i] + above[i + 1]);
            }
        }
        std::swap(below, at);
        std::swap(at, above);
    }
}

// The edge pixels that stamp heights: edge-mask bytes above 0 (as signed
// bytes) in the scanned area, seen up to d rows away.
VerticalDistances edgeDistances(const RenderContext& c, int d) {
    return VerticalDistances(c.width, c.height, innerArea(c.width, c.height, d), d, [&](long long x, long long y) {
        return static_cast<int8_t>(c.edgeMask[static_cast<size_t>(y) * c.width + x]) > 0;
    });
}

// Bevel: the kernel value falls with e = d - trunc(sqrt(3 dy^2 + dx^2)), and
// an edge at or left of a pixel (dx >= 0) gives the full value, one to its
// right the halved value. So a pixel's height is the value of the nearest
// edge on each side in that measure, found row by row with the lower
// envelope of the parabolas dx^2 + 3 dy^2 over the columns. Values are 0
// from e = 0 on, so edges beyond the kernel's square change nothing.
void stampBevel(RenderContext& c, int d, float p) {
    const int W = c.width;
    const int H = c.height;
    std::vector<int> full(static_cast<size_t>(d) + 1), half(static_cast<size_t>(d) + 1);
    for (int e = 0; e <= d; ++e) {
        full[e] = bevelValue(e, p, false);
        half[e] = bevelValue(e, p, true);
    }
    // By q = dx^2 + 3 dy^2 below d^2 (from q = d^2 on, e is 0 and so is the value).
    const long long inside = static_cast<long long>(d) * d;
    std::vector<int> fullAt(static_cast<size_t>(inside)), halfAt(static_cast<size_t>(inside));
    for (long long q = 0; q < inside; ++q) {
        const int e = d - static_cast<int>(std::sqrt(static_cast<double>(q)));
        fullAt[q] = full[e];
        halfAt[q] = half[e];
    }
    auto valueAt = [&](const std::vector<int>& values, long long q) { return q < inside ? values[q] : 0; };
    const VerticalDistances edges = edgeDistances(c, d);
    // Rows are independent: bands of them on all cores, each band with its
    // own pass down the rows and its own buffers.
    constexpr int kBandRows = 32;
    const int bands = (H + kBandRows - 1) / kBandRows;
    parallel::forEachIndex(static_cast<size_t>(bands), [&](size_t band) {
        const int firstRow = static_cast<int>(band) * kBandRows;
        const int endRow = std::min(H, firstRow + kBandRows);
        VerticalDistances::Sweep sweep(edges);
        sweep.startAt(firstRow);
        ParabolaEnvelope envelope(W);
        std::vector<long long> vertical(static_cast<size_t>(W));
        std::vector<long long> fromLeft(static_cast<size_t>(W));
        for (int y = firstRow; y < endRow; ++y) {
            if (!edges.anyWithin(y)) continue;
            sweep.row(y, vertical);
            for (int x = 0; x < W; ++x) {
                if (vertical[x] != kFar) vertical[x] *= 3 * vertical[x];
            }
            // Columns d or more away from every column with an edge get nothing
            // from that side (dx^2 >= d^2), so the envelope is not asked there.
            envelope.clear();
            long long lastEdgeColumn = -kFar / 2;
            for (int x = 0; x < W; ++x) {
                if (vertical[x] != kFar) {
                    envelope.add(x, vertical[x]);
                    lastEdgeColumn = x;
                }
                fromLeft[x] = x - lastEdgeColumn < d ? envelope.minAt(x) : kFar;
            }
            envelope.clear();  // mirrored: the centre W - 1 - x
            long long nextEdgeColumn = kFar / 2;
            int16_t* heights = c.heightMap.data() + static_cast<size_t>(y) * W;
            for (int x = W - 1; x >= 0; --x) {
                const long long fromRight = nextEdgeColumn - x < d ? envelope.minAt(W - 1 - x) : kFar;
                const int v = std::max(valueAt(fullAt, fromLeft[x]), valueAt(halfAt, fromRight));
                heights[x] = static_cast<int16_t>(std::max<int>(heights[x], v));
                if (vertical[x] != kFar) {
                    envelope.add(W - 1 - x, vertical[x]);
                    nextEdgeColumn = x;
                }
            }
        }
    });
}

// Trapezoid: 127 from any edge up to d columns to the right (and up to d
// rows away), 20 (d - |dy|) from an edge in the pixel's own column, nothing
// from edges to the left.
void stampTrapezoid(RenderContext& c, int d) {
    const int W = c.width;
    const int H = c.height;
    VerticalDistances edges = edgeDistances(c, d);
    std::vector<long long> vertical(static_cast<size_t>(W));
    for (int y = 0; y < H; ++y) {
        if (!edges.anyWithin(y)) continue;
        edges.row(y, vertical);
        int16_t* heights = c.heightMap.data() + static_cast<size_t>(y) * W;
        long long nearestRight = kFar;  // nearest column right of x with an edge within d rows
        for (int x = W - 1; x >= 0; --x) {
            int v = 0;
            if (nearestRight - x <= d) {
                v = 127;
            } else if (vertical[x] <= d) {
                v = trapezoidValue(d, 0, static_cast<int>(vertical[x]));
            }
            heights[x] = static_cast<int16_t>(std::max<int>(heights[x], v));
            if (vertical[x] <= d) nearestRight = x;
        }
    }
}

}  // namespace

float curvatureExponent(int curvature) {
    return 0.2f * static_cast<float>(std::max(curvature, kMinCurvature)) + 1.0f;
}

int bevelValue(int e, float p, bool leftOfEdge) {
    const double ep = std::pow(static_cast<double>(e), static_cast<double>(p));
    const double v = leftOfEdge ? (ep + 1) * 0.5 : ep + 0.5;
    return static_cast<int>(std::clamp(v, 0.0, 127.0));
}

int trapezoidValue(int d, int dx, int dy) {
    if (dx < 0) return 127;
    if (dx > 0) return 0;
    return std::clamp(20 * (d - std::abs(dy)), 0, 127);
}

std::vector<int> reliefKernel(int reliefOn, int d, int curvature) {
    const int size = 2 * d + 1;
    std::vector<int> kernel(static_cast<size_t>(size) * size, 0);
    const float p = curvatureExponent(curvature);
    for (int dy = -d; dy <= d; ++dy) {
        for (int dx = -d; dx <= d; ++dx) {
            int k = 0;
            if (reliefOn == 2) {
                k = trapezoidValue(d, dx, dy);
            } else if (reliefOn == 1) {
                const int e = std::max(0, d - static_cast<int>(std::sqrt(3.0 * dy * dy + 1.0 * dx * dx)));
                k = bevelValue(e, p, dx < 0);
            }
            kernel[static_cast<size_t>(dy + d) * size + (dx + d)] = k;
        }
    }
    return kernel;
}

void buildReliefEdges(RenderContext& c) {
    const int d = std::min(c.style.ReliefDepth, kMaxReliefDepth);
    // A negative depth scans the whole canvas, as depth 0 does.
    buildEdgeMask(c, std::max(d, 0));
    if (d < 0) return;
    if (c.style.ReliefOn == 1) stampBevel(c, d, curvatureExponent(c.style.ReliefCurvature));
    if (c.style.ReliefOn == 2) stampTrapezoid(c, d);
}

}  // namespace pavrex
