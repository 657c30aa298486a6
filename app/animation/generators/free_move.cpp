#include "free_move.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bmp_file.h"
#include "generators.h"
#include "picture_painting.h"
#include "shared_routines.h"

namespace vakuro {

namespace {

FreeMoveState stateOf(const ScheduleEntry& e, int x, int y, int width, int height, int angle, int transparency) {
    FreeMoveState s;
    s.x = std::clamp(e[x], -100, 100);
    s.y = std::clamp(e[y], -100, 100);
    s.width = std::clamp(e[width], 10, 300);
    s.height = std::clamp(e[height], 10, 300);
    s.angle = std::clamp(e[angle], -360, 360);
    s.transparency = std::clamp(e[transparency], 0, 100);
    return s;
}

// ((1024 - v) * start + v * end) * scale / 102400, to the nearest integer.
int interpolated(int start, int end, int v, int scale) {
    const int64_t sum = (int64_t{1024} - v) * start + int64_t{v} * end;
    return RoundHalfEven(static_cast<double>(sum * scale) / 102400.0);
}

// The size of a picture turned by RotAng: its corners turned about the
// centre, truncated, spanning at least one pixel each way.
void turnedSize(int width, int height, double sine, double cosine, int& outWidth, int& outHeight) {
    const double hw = width / 2.0, hh = height / 2.0;
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (const double x : {0.0, static_cast<double>(width)}) {
        for (const double y : {0.0, static_cast<double>(height)}) {
            const auto cx = static_cast<int64_t>(hw + cosine * (x - hw) + sine * (y - hh));
            const auto cy = static_cast<int64_t>(hh + cosine * (y - hh) - sine * (x - hw));
            minX = std::min(minX, cx);
            maxX = std::max(maxX, cx);
            minY = std::min(minY, cy);
            maxY = std::max(maxY, cy);
        }
    }
    outWidth = static_cast<int>(std::max<int64_t>(1, maxX - minX));
    outHeight = static_cast<int>(std::max<int64_t>(1, maxY - minY));
}

}  // namespace

FreeMoveStates FreeMoveStates::of(const ScheduleEntry& e) {
    FreeMoveStates s;
    s.start = stateOf(e, slot::MoveStartX, slot::MoveStartY, slot::MoveStartWidth, slot::MoveStartHeight,
                      slot::MoveStartAngle, slot::MoveStartTransparency);
    s.end = stateOf(e, slot::MoveEndX, slot::MoveEndY, slot::MoveEndWidth, slot::MoveEndHeight, slot::MoveEndAngle,
                    slot::MoveEndTransparency);
    return s;
}

FreeMoveGeometry freeMoveGeometry(const FreeMoveStates& states, int v, int W4, int H4) {
    const FreeMoveState& a = states.start;
    const FreeMoveState& b = states.end;
    FreeMoveGeometry g;
    g.width = interpolated(a.width, b.width, v, W4);
    g.height = interpolated(a.height, b.height, v, H4);
    g.offsetX = interpolated(a.x, b.x, v, W4);
    g.offsetY = interpolated(a.y, b.y, v, H4);
    g.angle = static_cast<float>(((1024.0 - v) * a.angle + static_cast<double>(v) * b.angle) / 1024.0);
    g.transparency =
        RoundHalfEven((a.transparency * 2.55 * (1024 - v) + b.transparency * 2.55 * v) / 1024.0);
    return g;
}

DibPicture freeMoveReduced(const DibPicture& base, int W4, int H4, const FreeMoveGeometry& g, int backColour) {
    DibPicture out;
    out.width = RoundHalfEven(W4 * 0.25);
    out.height = RoundHalfEven(H4 * 0.25);
    if (out.width < 1 || out.height < 1) return DibPicture();
    out.fill(backColour);
    const int ww = g.width, hh = g.height;
    if (base.isNull() || ww < 1 || hh < 1) return out;  // nothing to paint

    // The resized picture R (ww x hh): its pixel (px, py), rows from the
    // bottom, is the base pixel (px * Wf / ww, py * Hf / hh).
    std::vector<int> baseColumn(static_cast<size_t>(ww)), baseRow(static_cast<size_t>(hh));
    for (int px = 0; px < ww; ++px) baseColumn[static_cast<size_t>(px)] = static_cast<int>(int64_t{px} * base.width / ww);
    for (int py = 0; py < hh; ++py) baseRow[static_cast<size_t>(py)] = static_cast<int>(int64_t{py} * base.height / hh);
    const int baseStride = dibStride(base.width);
    const uint8_t* B = base.bits.data();
    auto basePixel = [&](int px, int py) {
        return B + static_cast<ptrdiff_t>(baseRow[static_cast<size_t>(py)]) * baseStride +
               3 * baseColumn[static_cast<size_t>(px)];
    };

    // The turned picture, when the angle is not 0.
    const bool turned = g.angle != 0.0f;
    const float radians = static_cast<float>(static_cast<double>(g.angle) * 3.14159265 / 180);
    const double sine = std::sin(radians), cosine = std::cos(radians);  // single precision, widened
    int rw = ww, rh = hh;
    if (turned) turnedSize(ww, hh, sine, cosine, rw, rh);
    const int cx = ww / 2, cy = hh / 2, cxOut = rw / 2, cyOut = rh / 2;
    const uint8_t* corner = basePixel(0, 0);

    // Where the picture's top-left corner lies in the working space.
    const int x0 = RoundHalfEven((W4 - rw) * 0.5 + g.offsetX);
    const int y0 = RoundHalfEven((H4 - rh) * 0.5 + g.offsetY);

    // The 3 x 3 samples of the reduction: working-space columns and rows
    // (from the bottom), and what they are in the picture (-1: outside, so
    // the background colour).
    const int n = 3;
    std::vector<int> pictureColumn(static_cast<size_t>(out.width) * n), pictureRow(static_cast<size_t>(out.height) * n);
    for (int x = 0; x < out.width; ++x)
        for (int l = 0; l < n; ++l) {
            const int64_t c = (int64_t{x} * n + l) * W4 / (int64_t{n} * out.width);
            const int64_t pc = c - x0;
            pictureColumn[static_cast<size_t>(x) * n + l] = pc >= 0 && pc < rw ? static_cast<int>(pc) : -1;
        }
    for (int y = 0; y < out.height; ++y)
        for (int k = 0; k < n; ++k) {
            const int64_t rb = (int64_t{y} * n + k) * H4 / (int64_t{n} * out.height);  // from the bottom
            const int64_t rt = int64_t{H4} - 1 - rb;                                    // from the top
            const int64_t pt = rt - y0;
            pictureRow[static_cast<size_t>(y) * n + k] = pt >= 0 && pt < rh ? static_cast<int>(rh - 1 - pt) : -1;
        }

    // Per column of the turned picture: its products with cosine and sine.
    std::vector<double> dxCos, dxSin;
    if (turned) {
        dxCos.resize(static_cast<size_t>(rw));
        dxSin.resize(static_cast<size_t>(rw));
        for (int xo = 0; xo < rw; ++xo) {
            dxCos[static_cast<size_t>(xo)] = (xo - cxOut) * cosine;
            dxSin[static_cast<size_t>(xo)] = (xo - cxOut) * sine;
        }
    }
    const uint8_t back[3] = {static_cast<uint8_t>((backColour >> 16) & 0xFF),
                             static_cast<uint8_t>((backColour >> 8) & 0xFF), static_cast<uint8_t>(backColour & 0xFF)};

    // Row by row: the sums of the 9 samples of every frame pixel, one
    // sample row at a time, so that what depends on the row alone is
    // worked out once.
    const int outStride = dibStride(out.width);
    std::vector<unsigned> sums(static_cast<size_t>(out.width) * 3);
    for (int y = 0; y < out.height; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int k = 0; k < n; ++k) {
            const int pr = pictureRow[static_cast<size_t>(y) * n + k];
            unsigned* sum = sums.data();
            if (pr < 0) {
                for (int x = 0; x < out.width; ++x, sum += 3) {
                    sum[0] += 3u * back[0];
                    sum[1] += 3u * back[1];
                    sum[2] += 3u * back[2];
                }
                continue;
            }
            const double dy = pr - cyOut;
            const double dySin = dy * sine;
            const double rowV = cy + dy * cosine;
            const uint8_t* baseRowBits =
                turned ? nullptr : B + static_cast<ptrdiff_t>(baseRow[static_cast<size_t>(pr)]) * baseStride;
            const int* column = pictureColumn.data();
            for (int x = 0; x < out.width; ++x, sum += 3) {
                for (int l = 0; l < n; ++l, ++column) {
                    const int pc = *column;
                    const uint8_t* p = back;
                    if (pc >= 0) {
                        if (!turned) {
                            p = baseRowBits + 3 * baseColumn[static_cast<size_t>(pc)];
                        } else {
                            // The pixel of the resized picture that RotAng
                            // takes, or its bottom-left corner.
                            const double u = (cx + dxCos[static_cast<size_t>(pc)]) - dySin;
                            const double v = rowV + dxSin[static_cast<size_t>(pc)];
                            p = u > -1.0 && u < ww && v > -1.0 && v < hh
                                    ? basePixel(static_cast<int>(u), static_cast<int>(v))
                                    : corner;
                        }
                    }
                    sum[0] += p[0];
                    sum[1] += p[1];
                    sum[2] += p[2];
                }
            }
        }
        uint8_t* o = out.bits.data() + static_cast<ptrdiff_t>(y) * outStride;
        for (int x = 0; x < out.width; ++x, o += 3) {
            unsigned b = sums[3 * static_cast<size_t>(x)] / 9;
            unsigned gr = sums[3 * static_cast<size_t>(x) + 1] / 9;
            unsigned r = sums[3 * static_cast<size_t>(x) + 2] / 9;
            // The 3 x 3 reduction keeps near-white pixels just below white.
            if (b > 245 && gr > 245 && r > 245) b = gr = r = 245;
            o[0] = static_cast<uint8_t>(b);
            o[1] = static_cast<uint8_t>(gr);
            o[2] = static_cast<uint8_t>(r);
        }
    }
    return out;
}

bool freeMoveFrame(GenerationContext& ctx, const DibPicture& base, int W4, int H4, const FreeMoveStates& states,
                   int v) {
    const FreeMoveGeometry g = freeMoveGeometry(states, v, W4, H4);
    const DibPicture frame = freeMoveReduced(base, W4, H4, g, ctx.backColor());
    if (frame.isNull()) return false;
    if (!bmp::writeBmp(ctx.workFile.constData(), bmp::makeHeader24(frame.width, frame.height), {}, frame.bits))
        return false;
    if (g.transparency != 0) {
        // Blended towards the background colour: 100 % leaves it plain.
        if (ctx.libraries().effects.Fead(ctx.workFile.constData(), ctx.workFile.constData(), ctx.backColor(),
                                         255 - g.transparency, 0) != 1)
            return false;
    }
    return true;
}

void generateFreeMove(GenerationContext& ctx, const EntryTiming& timing) {
    if (timing.n < 0) return;
    // The preparation: the base zoomed to four times the frame size; the
    // holder's size is the working space of the entry's frames.
    const int W4 = 4 * ctx.frameWidth, H4 = 4 * ctx.frameHeight;
    if (ctx.libraries().effects.Zoom(ctx.baseFile.constData(), ctx.workFile.constData(), W4, H4) != 1) {
        ctx.frameFailed();
        return;
    }
    ctx.effects.holder = readPicture(ctx.workFile);
    if (ctx.effects.holder.isNull()) {
        ctx.frameFailed();
        return;
    }
    const int workWidth = ctx.effects.holder.width(), workHeight = ctx.effects.holder.height();
    const DibPicture base = DibPicture::of(ctx.basePicture);
    const FreeMoveStates states = FreeMoveStates::of(*ctx.entry);
    for (int o = 0; o <= timing.n; ++o) {
        if (!freeMoveFrame(ctx, base, workWidth, workHeight, states, levelOf(o, timing.n, 1024))) {
            ctx.frameFailed();
            return;
        }
        if (!ctx.appendWork(timing.delay, 2)) return;
    }
}

}  // namespace vakuro
