#include <algorithm>
#include <cmath>

#include "steps.h"

namespace pavrex {
namespace {

// Depths beyond this (after scaling) are treated as this: four times the
// deepest relief the program offers, so no real style is affected, while an
// absurd depth from a damaged file cannot make the kernel unbounded.
constexpr int kMaxReliefDepth = 160;

void buildEdgeMask(RenderContext& c, int d) {
    const int W = c.width;
    const int H = c.height;
    for (int y = std::max(0, d); y <= std::min(H - 1, H - d); ++y) {
        for (int x = std::max(0, d); x <= std::min(W - 1, W - d); ++x) {
            if (isWhite(c.pixel(x, y))) continue;
            for (int ny = std::max(0, y - 1); ny <= std::min(H - 1, y + 1); ++ny) {
                for (int nx = std::max(0, x - 1); nx <= std::min(W - 1, x + 1); ++nx) {
                    ++c.edgeMask[static_cast<size_t>(ny) * W + nx];
                }
            }
            c.edgeMask[static_cast<size_t>(y) * W + x] = 156;
        }
    }
}

// One kernel row: the columns dx with a non-zero value and those values.
struct KernelRow {
    int dy = 0;
    int firstDx = 0;
    std::vector<int16_t> values;
};

// The non-zero part of each kernel row. The height map is zero before the
// stamping, so stamping zeros changes nothing and is skipped.
std::vector<KernelRow> kernelRows(const std::vector<int>& kernel, int d) {
    std::vector<KernelRow> rows;
    const int size = 2 * d + 1;
    for (int dy = -d; dy <= d; ++dy) {
        const int* k = kernel.data() + static_cast<size_t>(dy + d) * size;
        int lo = 0;
        while (lo < size && k[lo] <= 0) ++lo;
        int hi = size - 1;
        while (hi >= lo && k[hi] <= 0) --hi;
        if (lo > hi) continue;
        KernelRow row;
        row.dy = dy;
        row.firstDx = lo - d;
        row.values.assign(k + lo, k + hi + 1);
        rows.push_back(std::move(row));
    }
    return rows;
}

void stampHeights(RenderContext& c, const std::vector<int>& kernel, int d) {
    const int W = c.width;
    const int H = c.height;
    const auto rows = kernelRows(kernel, d);
    for (int y = std::max(0, d); y <= std::min(H - 1, H - d); ++y) {
        for (int x = std::max(0, d); x <= std::min(W - 1, W - d); ++x) {
            const auto m = static_cast<int8_t>(c.edgeMask[static_cast<size_t>(y) * W + x]);
            if (m <= 0) continue;
            for (const auto& row : rows) {
                const int ty = y + row.dy;
                if (ty < 0 || ty >= H) continue;
                int16_t* h = c.heightMap.data() + static_cast<size_t>(ty) * W;
                const int x0 = x + row.firstDx;
                const int from = std::max(0, -x0);
                const int to = std::min(static_cast<int>(row.values.size()), W - x0);
                for (int i = from; i < to; ++i) h[x0 + i] = std::max(h[x0 + i], row.values[i]);
            }
        }
    }
}

}  // namespace

std::vector<int> reliefKernel(int reliefOn, int d, int curvature) {
    const int size = 2 * d + 1;
    std::vector<int> kernel(static_cast<size_t>(size) * size, 0);
    const float p = 0.2f * static_cast<float>(curvature) + 1.0f;
    for (int dy = -d; dy <= d; ++dy) {
        for (int dx = -d; dx <= d; ++dx) {
            int k = 0;
            if (reliefOn == 2) {
                k = dx < 0 ? 127 : dx > 0 ? 0 : std::clamp(20 * (d - std::abs(dy)), 0, 127);
            } else if (reliefOn == 1) {
                const int e = std::max(0, d - static_cast<int>(std::sqrt(3.0 * dy * dy + 1.0 * dx * dx)));
                const double ep = std::pow(static_cast<double>(e), static_cast<double>(p));
                const double v = dx >= 0 ? ep + 0.5 : (ep + 1) * 0.5;
                k = static_cast<int>(std::clamp(v, 0.0, 127.0));
            }
            kernel[static_cast<size_t>(dy + d) * size + (dx + d)] = k;
        }
    }
    return kernel;
}

void buildReliefEdges(RenderContext& c) {
    const int d = std::min(c.style.ReliefDepth, kMaxReliefDepth);
    buildEdgeMask(c, d);
    if (c.style.ReliefOn == 0 || d < 0) return;
    stampHeights(c, reliefKernel(c.style.ReliefOn, d, c.style.ReliefCurvature), d);
}

}  // namespace pavrex
