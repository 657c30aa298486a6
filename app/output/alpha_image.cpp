#include "alpha_image.h"

#include <algorithm>
#include <cmath>

namespace vakuro {
namespace {

struct Channels {
    int c[3];  // red, green, blue
};

Channels channelsOf(int colour) { return {{colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF}}; }
Channels channelsOf(QRgb p) { return {{qRed(p), qGreen(p), qBlue(p)}}; }

uchar toByte(double v) { return static_cast<uchar>(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

AlphaFavour alphaFavourForShadow(int shadowType) {
    return shadowType == 1 ? AlphaFavour::White : shadowType == 2 ? AlphaFavour::Black : AlphaFavour::Balanced;
}

QImage solveAlpha(const QImage& onBlack, const QImage& onWhite, AlphaFavour favour, int blackBack, int whiteBack) {
    if (onBlack.isNull() || onBlack.size() != onWhite.size()) return {};
    const QImage b = onBlack.convertToFormat(QImage::Format_RGB32);
    const QImage w = onWhite.convertToFormat(QImage::Format_RGB32);
    const Channels kb = channelsOf(blackBack);
    const Channels kw = channelsOf(whiteBack);
    QImage out(b.size(), QImage::Format_RGBA8888);
    for (int y = 0; y < b.height(); ++y) {
        const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        const QRgb* rw = reinterpret_cast<const QRgb*>(w.constScanLine(y));
        uchar* o = out.scanLine(y);
        for (int x = 0; x < b.width(); ++x, o += 4) {
            const Channels cb = channelsOf(rb[x]);
            const Channels cw = channelsOf(rw[x]);
            // The background's share per channel; where the rendering is
            // linear in the background all three agree. Where they do not
            // (a coloured shadow or glow, whose light the engine adds to or
            // takes from the background), the alpha halfway between the
            // extremes and a colour that errs equally on both backgrounds
            // keep the larger error as small as it can be.
            double low = 1.0;
            double high = 0.0;
            for (int ch = 0; ch < 3; ++ch) {
                const int span = kw.c[ch] - kb.c[ch];
                if (span <= 0) continue;
                const double share = std::clamp(static_cast<double>(cw.c[ch] - cb.c[ch]) / span, 0.0, 1.0);
                low = std::min(low, share);
                high = std::max(high, share);
            }
            if (low > high) low = high = 1.0;
            // Shares that differ by rounding only are one share: balanced.
            const AlphaFavour use = (high - low) * 255.0 <= 2.0 ? AlphaFavour::Balanced : favour;
            const double share = use == AlphaFavour::Balanced ? 0.5 * (low + high) : low;
            const uchar alpha = toByte(255.0 * (1.0 - share));
            if (alpha == 0) {
                o[0] = o[1] = o[2] = o[3] = 0;
                continue;
            }
            const double a = alpha / 255.0;
            for (int ch = 0; ch < 3; ++ch) {
                const double fromBlack = cb.c[ch] - kb.c[ch] * (1.0 - a);
                const double fromWhite = cw.c[ch] - kw.c[ch] * (1.0 - a);
                const double c = use == AlphaFavour::Black   ? fromBlack
                                 : use == AlphaFavour::White ? fromWhite
                                                                : 0.5 * (fromBlack + fromWhite);
                o[ch] = toByte(c / a);
            }
            o[3] = alpha;
        }
    }
    return out;
}

QImage applyCoverage(const QImage& opaque, const QImage& coverage, int outside) {
    if (opaque.isNull() || opaque.size() != coverage.size()) return {};
    const QImage p = opaque.convertToFormat(QImage::Format_RGB32);
    const QImage c = coverage.convertToFormat(QImage::Format_RGB32);
    const Channels ko = channelsOf(outside);
    QImage out(p.size(), QImage::Format_RGBA8888);
    for (int y = 0; y < p.height(); ++y) {
        const QRgb* rp = reinterpret_cast<const QRgb*>(p.constScanLine(y));
        const QRgb* rc = reinterpret_cast<const QRgb*>(c.constScanLine(y));
        uchar* o = out.scanLine(y);
        for (int x = 0; x < p.width(); ++x, o += 4) {
            const int alpha = qGreen(rc[x]);
            if (alpha == 0) {
                o[0] = o[1] = o[2] = o[3] = 0;
                continue;
            }
            const Channels cp = channelsOf(rp[x]);
            const double a = alpha / 255.0;
            for (int ch = 0; ch < 3; ++ch) o[ch] = toByte((cp.c[ch] - ko.c[ch] * (1.0 - a)) / a);
            o[3] = static_cast<uchar>(alpha);
        }
    }
    return out;
}

QImage opaqueRgba(const QImage& picture) {
    QImage out = picture.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_RGBA8888);
    return out;
}

QImage flattenOnMatte(const QImage& rgba, int matte) {
    const QImage in = rgba.convertToFormat(QImage::Format_RGBA8888);
    const Channels km = channelsOf(matte);
    QImage out(in.size(), QImage::Format_RGB32);
    for (int y = 0; y < in.height(); ++y) {
        const uchar* i = in.constScanLine(y);
        QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < in.width(); ++x, i += 4) {
            const int alpha = i[3];
            if (alpha < 128) {
                o[x] = qRgb(km.c[0], km.c[1], km.c[2]);
                continue;
            }
            auto mix = [&](int ch) { return (i[ch] * alpha + km.c[ch] * (255 - alpha) + 127) / 255; };
            int r = mix(0);
            // A visible pixel must not take the transparent colour.
            if (r == km.c[0] && mix(1) == km.c[1] && mix(2) == km.c[2]) r = r == 0 ? 1 : r - 1;
            o[x] = qRgb(r, mix(1), mix(2));
        }
    }
    return out;
}

}  // namespace vakuro
