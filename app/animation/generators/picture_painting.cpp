#include "picture_painting.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bmp_file.h"
#include "dib_image.h"

namespace vakuro {

void paintStretched(QImage& dst, int dx, int dy, int dw, int dh, const QImage& src, int sx, int sy, int sw, int sh) {
    if (dw == 0 || dh == 0 || sw < 1 || sh < 1) return;
    if (sx < 0 || sy < 0 || sx + sw > src.width() || sy + sh > src.height()) return;
    const int64_t width = std::abs(int64_t{dw});
    const int64_t height = std::abs(int64_t{dh});
    // Only the part of the paste inside the destination is visited.
    const int64_t jBegin = std::max<int64_t>(0, -int64_t{dx});
    const int64_t jEnd = std::min<int64_t>(width, int64_t{dst.width()} - dx);
    const int64_t iBegin = std::max<int64_t>(0, -int64_t{dy});
    const int64_t iEnd = std::min<int64_t>(height, int64_t{dst.height()} - dy);
    if (jBegin >= jEnd || iBegin >= iEnd) return;
    std::vector<int> column(static_cast<size_t>(jEnd - jBegin));
    for (int64_t j = jBegin; j < jEnd; ++j) {
        const int64_t jj = dw < 0 ? width - 1 - j : j;
        column[static_cast<size_t>(j - jBegin)] = sx + static_cast<int>(jj * sw / width);
    }
    for (int64_t i = iBegin; i < iEnd; ++i) {
        const int64_t ii = dh < 0 ? height - 1 - i : i;
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(sy + static_cast<int>(ii * sh / height)));
        auto* out = reinterpret_cast<QRgb*>(dst.scanLine(static_cast<int>(dy + i))) + dx + jBegin;
        for (const int c : column) *out++ = in[c];
    }
}

void fillBox(QImage& picture, int x0, int y0, int x1, int y1, QRgb colour) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, picture.width());
    y1 = std::min(y1, picture.height());
    for (int y = y0; y < y1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        std::fill(row + x0, row + std::max(x0, x1), colour);
    }
}

QImage readPicture(const QByteArray& path) {
    bmp::BmpImage image;
    if (bmp::readBmp(path.constData(), image) != bmp::BmpReadStatus::Ok) return QImage();
    return imageFromDib(image.pixels.data(), image.width(), image.height());
}

}  // namespace vakuro
