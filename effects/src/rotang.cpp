#include "rotang.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "file_op.h"

namespace tesmor {
namespace {

struct Turn {
    double sine;    // single-precision values, widened
    double cosine;
};

Turn turnOf(float angle) { return {std::sin(angle), std::cos(angle)}; }

RotatedSize sizeAfter(int width, int height, Turn t) {
    const double hw = width / 2.0, hh = height / 2.0;
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (const double x : {0.0, static_cast<double>(width)}) {
        for (const double y : {0.0, static_cast<double>(height)}) {
            const auto cx = static_cast<int64_t>(hw + t.cosine * (x - hw) + t.sine * (y - hh));
            const auto cy = static_cast<int64_t>(hh + t.cosine * (y - hh) - t.sine * (x - hw));
            minX = std::min(minX, cx);
            maxX = std::max(maxX, cx);
            minY = std::min(minY, cy);
            maxY = std::max(maxY, cy);
        }
    }
    // The corners span at least one pixel each way; the truncation of
    // values around 0 could still make a span look empty.
    return {static_cast<int>(std::max<int64_t>(1, maxX - minX)),
            static_cast<int>(std::max<int64_t>(1, maxY - minY))};
}

}  // namespace

RotatedSize rotatedSize(int width, int height, float angle) {
    return sizeAfter(width, height, turnOf(angle));
}

Image rotateByAngle(ImageView source, float angle) {
    const Turn t = turnOf(angle);
    const RotatedSize size = sizeAfter(source.width, source.height, t);
    if (!bmp::fitsLimits(size.width, size.height, 24)) throw std::length_error("rotated image too large");
    Image out(size.width, size.height);

    const int w = source.width, h = source.height;
    const int cx = w / 2, cy = h / 2;
    const int cxOut = size.width / 2, cyOut = size.height / 2;
    const uint8_t* background = source.pixel(0, 0);
    // The products of dx with cosine and sine, one per output column.
    std::vector<double> dxCos(static_cast<size_t>(size.width)), dxSin(dxCos.size());
    for (int xo = 0; xo < size.width; ++xo) {
        dxCos[static_cast<size_t>(xo)] = (xo - cxOut) * t.cosine;
        dxSin[static_cast<size_t>(xo)] = (xo - cxOut) * t.sine;
    }
    for (int yo = 0; yo < size.height; ++yo) {
        const double dy = yo - cyOut;
        const double dySin = dy * t.sine;
        const double rowV = cy + dy * t.cosine;
        uint8_t* o = out.row(yo);
        for (size_t xo = 0; xo < dxCos.size(); ++xo, o += 3) {
            // Evaluated left to right as written: u = cx + dx cos - dy sin,
            // v = cy + dy cos + dx sin.
            const double u = (cx + dxCos[xo]) - dySin;
            const double v = rowV + dxSin[xo];
            const uint8_t* p = background;
            // Compared before the conversion so that far-off values never
            // reach an integer; truncation keeps (-1, 0) at column or row 0.
            if (u > -1.0 && u < w && v > -1.0 && v < h) {
                p = source.pixel(static_cast<int>(u), static_cast<int>(v));
            }
            o[0] = p[0];
            o[1] = p[1];
            o[2] = p[2];
        }
    }
    return out;
}

int rotAngFile(const char* source, const char* destination, int* outWidth, int* outHeight,
               float angle) {
    using namespace file_result;
    if (!std::isfinite(angle)) return BadArgument;
    const auto report = [&](int width, int height) {
        if (outWidth != nullptr) *outWidth = width;
        if (outHeight != nullptr) *outHeight = height;
    };
    bmp::BmpImage image;
    if (angle == 0.0f && samePath(source, destination)) {
        if (bmp::readBmp(source, image) == bmp::BmpReadStatus::Ok) report(image.width(), image.height());
        return Unchanged;
    }
    const int read = sourceCode(bmp::readBmp(source, image), kFileCodes);
    if (read != kSuccess) return read;

    const RotatedSize size = rotatedSize(image.width(), image.height(), angle);
    if (!bmp::fitsLimits(size.width, size.height, 24)) return OutOfMemory;
    const Image result = rotateByAngle(viewOf(image), angle);
    if (!writeResult(destination, image, result, false)) return CannotWrite;
    report(result.width, result.height);
    return Ok;
}

}  // namespace tesmor
