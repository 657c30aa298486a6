#include "reference_steps.h"

#include <algorithm>

#include "steps/steps.h"

namespace pavrex::reference {
namespace {

bool isText(RenderContext& c, long x, long y) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return false;
    return !isWhite(c.pixel(static_cast<int>(x), static_cast<int>(y)));
}

uint8_t* layer(std::vector<uint8_t>& l, const RenderContext& c, long x, long y) {
    return l.data() + y * c.stride + 3 * x;
}

void setInk(RenderContext& c, long x, long y) {
    uint8_t* p = c.pixel(static_cast<int>(x), static_cast<int>(y));
    p[0] = p[1] = p[2] = 0;
}

}  // namespace

void transferGlyph(RenderContext& c, const GlyphRaster& r, const GlyphPlacement& p, double slantSine) {
    if (p.sx <= 0 || p.sy <= 0 || r.width <= 0 || r.height <= 0) return;
    const long long X = p.x, w = r.width, h = r.height;
    const long long firstColumn = X < 0 ? -X : 0;
    if (!p.turned) {
        const auto u = static_cast<float>(slantSine);
        long long span = static_cast<long long>(static_cast<float>(c.height) * u) + p.sx;
        if (X + span > c.width) span = c.width - X;
        for (long long j = 0; j < p.sy; ++j) {
            const long long row = p.y + j;
            if (row < 0) continue;
            if (row >= c.height) break;
            const long long sourceRow = j * h / p.sy;
            const long long shift = static_cast<long long>(u * static_cast<float>(j));
            for (long long col = firstColumn; col < span; ++col) {
                const long long g = w * col / p.sx - shift;
                if (g < 0) continue;
                if (g >= w) break;
                if (r.isInk(static_cast<int>(g), static_cast<int>(sourceRow))) setInk(c, X + col, row);
            }
        }
        return;
    }
    const long long columns = std::min<long long>(p.sy, c.width - X);
    for (long long j = 0; j < p.sx; ++j) {
        const long long row = p.y + p.sx - j;
        if (row < 0 || row >= c.height) continue;
        const long long sourceColumn = j * h / p.sy;
        for (long long col = firstColumn; col < columns; ++col) {
            if (sourceColumn >= w) break;
            const long long sourceRow = w * col / p.sx;
            if (sourceRow >= h) continue;
            if (r.isInk(static_cast<int>(sourceColumn), static_cast<int>(sourceRow))) setInk(c, X + col, row);
        }
    }
}

void thicken(RenderContext& c) {
    const long long W = c.width, H = c.height, tx = c.style.ThickenX, ty = c.style.ThickenY;
    if (tx > 1) {
        for (long long y = 0; y < H; ++y)
            for (long long x = W - tx - 1; x >= 0; --x)
                if (c.pixel(static_cast<int>(x), static_cast<int>(y))[0] == 0)
                    for (long long k = x + 1; k <= x + tx - 1 && k < W; ++k) setInk(c, k, y);
    }
    if (ty > 1) {
        for (long long y = ty; y <= H - ty - 2; ++y)
            for (long long x = 0; x < W; ++x)
                if (c.pixel(static_cast<int>(x), static_cast<int>(y))[0] == 0)
                    for (long long k = y - 1; k >= y - ty + 1; --k) setInk(c, x, k);
    }
}

void markShadow(RenderContext& c) {
    if (c.style.ShadowType == 0) return;
    const long W = c.width, H = c.height, d = c.style.ShadowDistance, s = c.style.ShadowSpread;
    if (s == 0) {
        for (long r = 0; r <= H - d - 1; ++r)
            for (long x = std::max(0L, d); x < W; ++x)
                if (r < H && isText(c, x - d, r + d)) layer(c.backLayer, c, x, r)[0] = 1;
    } else if (s > 0) {
        for (long r = 0; r < H - s; ++r) {
            if (r + d >= H) break;
            for (long x = std::max(0L, d); x < W; ++x) {
                if (!isText(c, x - d, r + d)) continue;
                for (long yy = r - s; yy <= r + s - 1; ++yy)
                    for (long xx = x - s; xx <= x + s - 1; ++xx)
                        if (yy >= 0 && yy < H && xx >= 0 && xx < W) layer(c.backLayer, c, xx, yy)[0] = 1;
            }
        }
    }
}

void colourShadow(RenderContext& c) {
    const int type = c.style.ShadowType;
    if (type == 0) return;
    const long W = c.width, H = c.height, d = c.style.ShadowDistance, b = c.style.ShadowBlur;
    const long g = d + b, t = (2 * b + 1) * (2 * b + 1);
    // Rows and columns from g (or d) on, within the image: a negative
    // distance starts them at 0.
    const long from = std::max(0L, g);
    std::vector<uint8_t> mask(W * H, 0);
    if (b > 0) {
        for (long r = from; r <= H - b - 1; ++r)
            for (long x = from; x <= W - b - 1; ++x)
                if (layer(c.backLayer, c, x, r)[0])
                    for (long yy = r - b; yy <= r + b - 1; ++yy)
                        for (long xx = x - b; xx <= x + b - 1; ++xx)
                            if (yy >= 0 && xx >= 0) mask[yy * W + xx] = 1;
    } else {
        for (long r = std::max(0L, d); r < H; ++r)
            for (long x = std::max(0L, d); x < W; ++x) mask[r * W + x] = layer(c.backLayer, c, x, r)[0] != 0;
    }
    const Rgb S = channels(c.style.ShadowColor);
    Rgb K = channels(c.style.BackColor);
    if (K.r == 0 && K.g == 0 && K.b == 0) K.r = 1;
    std::vector<uint8_t> scratch(c.backLayer.size(), 0);
    for (long r = 0; r < H; ++r) {
        for (long x = from; x <= W - b - 1; ++x) {
            if (!mask[r * W + x]) continue;
            long E = 0;
            for (long yy = r - b; yy <= r + b; ++yy)
                for (long xx = x - b; xx <= x + b; ++xx)
                    if (yy >= 0 && yy < H && xx >= 0 && xx < W && layer(c.backLayer, c, xx, yy)[0]) ++E;
            uint8_t* p = layer(scratch, c, x, r);
            const long s3[3] = {S.b, S.g, S.r}, k3[3] = {K.b, K.g, K.r};
            for (int ch = 0; ch < 3; ++ch) {
                if (type == 1) {
                    long v = ((s3[ch] - 255) * E + 255 * t) / t + k3[ch] - 255;
                    p[ch] = static_cast<uint8_t>(v <= 1 ? 1 : v);
                } else if (type == 2) {
                    long v = (s3[ch] * E) / t + k3[ch];
                    p[ch] = static_cast<uint8_t>(v >= 255 ? 255 : v);
                }
            }
        }
    }
    c.backLayer = scratch;
}

void buildReliefEdges(RenderContext& c) {
    const long W = c.width, H = c.height, d = c.style.ReliefDepth;
    for (long y = d; y <= H - d; ++y) {
        for (long x = d; x <= W - d; ++x) {
            if (!isText(c, x, y)) continue;
            for (long yy = y - 1; yy <= y + 1; ++yy)
                for (long xx = x - 1; xx <= x + 1; ++xx)
                    if (yy >= 0 && yy < H && xx >= 0 && xx < W) ++c.edgeMask[yy * W + xx];
            c.edgeMask[y * W + x] = 156;
        }
    }
    if (c.style.ReliefOn == 0) return;
    const auto kernel = reliefKernel(c.style.ReliefOn, static_cast<int>(d), c.style.ReliefCurvature);
    const long size = 2 * d + 1;
    for (long y = d; y <= H - d; ++y) {
        for (long x = d; x <= W - d; ++x) {
            if (y >= H || x >= W || static_cast<int8_t>(c.edgeMask[y * W + x]) <= 0) continue;
            for (long dy = -d; dy <= d; ++dy) {
                for (long dx = -d; dx <= d; ++dx) {
                    const long tx = x + dx, ty = y + dy;
                    if (tx < 0 || ty < 0 || tx >= W || ty >= H) continue;
                    int16_t& h = c.heightMap[ty * W + tx];
                    h = static_cast<int16_t>(std::max<int>(h, kernel[(dy + d) * size + dx + d]));
                }
            }
        }
    }
}

void drawOutline(RenderContext& c) {
    const long W = c.width, H = c.height;
    const int style = c.style.OutlineStyle;
    const long a = c.style.OutlineWidth;
    if (a > 0) {
        const long r = a + 2;
        for (long y = r; y <= H - r; ++y) {
            for (long x = r; x <= W - r; ++x) {
                if (y >= H || x >= W || !isText(c, x, y)) continue;
                for (long dy = -r; dy <= r; ++dy)
                    for (long dx = -r; dx <= r; ++dx)
                        if (dx * dx + dy * dy < r * r && y + dy >= 0 && y + dy < H && x + dx >= 0 && x + dx < W &&
                            c.edgeMask[(y + dy) * W + x + dx] == 0)
                            c.edgeMask[(y + dy) * W + x + dx] = 1;
                if (c.edgeMask[y * W + x] == 0) c.edgeMask[y * W + x] = 1;
            }
        }
    }
    if (style < 1 || style > 3) return;
    const Rgb c1 = channels(c.style.OutlineColor1), c2 = channels(c.style.OutlineColor2);
    for (long y = 0; y < H; ++y) {
        for (long x = 0; x < W; ++x) {
            if (!c.edgeMask[y * W + x]) continue;
            Rgb v = c1;
            if (style == 1 && v.r == 0) v.r = 1;
            if (style == 2) {
                const double t = static_cast<double>(x) / W;
                v = {int(c1.r * (1 - t) + c2.r * t), int(c1.g * (1 - t) + c2.g * t), int(c1.b * (1 - t) + c2.b * t)};
            }
            if (style == 3) {
                const double t = static_cast<double>(y) / H;
                v = {int(c2.r * (1 - t) + c1.r * t), int(c2.g * (1 - t) + c1.g * t), int(c2.b * (1 - t) + c1.b * t)};
            }
            uint8_t* p = layer(c.backLayer, c, x, y);
            p[0] = static_cast<uint8_t>(v.b);
            p[1] = static_cast<uint8_t>(v.g);
            p[2] = static_cast<uint8_t>(v.r);
        }
    }
}

void runRenderingSteps(RenderContext& c) {
    reference::thicken(c);
    pavrex::fill(c);
    reference::markShadow(c);
    reference::colourShadow(c);
    pavrex::paintBackground(c);
    reference::buildReliefEdges(c);
    pavrex::shapeRelief(c);
    reference::drawOutline(c);
    pavrex::composite(c);
}

}  // namespace pavrex::reference
