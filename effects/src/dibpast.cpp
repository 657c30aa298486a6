#include "dibpast.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace tesmor {
namespace {

bool overlaps(const uint8_t* a, size_t aSize, const uint8_t* b, size_t bSize) {
    const std::less<const uint8_t*> before;
    return before(a, b + bSize) && before(b, a + aSize);
}

// Shared loop of both pastes. pasteWidth x pasteHeight is the size of the
// paste (>= 1); sourceColumn(j) and sourceRowFromTop(i) say where pixel
// (j, i) of the paste comes from. Only the part of the paste that falls
// inside the target is visited, so huge or far-off pastes cost nothing.
template <class ColumnOf, class RowOf>
void pasteLoop(TargetView target, ImageView source, int64_t x, int64_t y, int64_t pasteWidth,
               int64_t pasteHeight, bool keyed, ColumnOf sourceColumn, RowOf sourceRowFromTop) {
    const int64_t iBegin = std::max<int64_t>(0, -y);
    const int64_t iEnd = std::min<int64_t>(pasteHeight, target.height - y);
    const int64_t jBegin = std::max<int64_t>(0, -x);
    const int64_t jEnd = std::min<int64_t>(pasteWidth, target.width - x);
    if (iBegin >= iEnd || jBegin >= jEnd) return;

    // Reading from a copy keeps a paste within one array from reading
    // pixels it has already written.
    std::vector<uint8_t> copy;
    const size_t sourceBytes = static_cast<size_t>(source.height) * static_cast<size_t>(source.stride());
    const size_t targetBytes = static_cast<size_t>(target.height) * static_cast<size_t>(target.stride());
    if (overlaps(source.data, sourceBytes, target.data, targetBytes)) {
        copy.assign(source.data, source.data + sourceBytes);
        source.data = copy.data();
    }

    uint8_t key[3];
    std::memcpy(key, target.data, 3);  // bottom-left pixel
    for (int64_t i = iBegin; i < iEnd; ++i) {
        const int64_t targetRow = target.height - 1 - (y + i);
        const int64_t sourceRow = source.height - 1 - sourceRowFromTop(i);
        uint8_t* out = target.data + targetRow * target.stride();
        const uint8_t* in = source.row(static_cast<int>(sourceRow));
        for (int64_t j = jBegin; j < jEnd; ++j) {
            uint8_t* o = out + 3 * (x + j);
            if (keyed && std::memcmp(o, key, 3) != 0) continue;
            std::memcpy(o, in + 3 * sourceColumn(j), 3);
        }
    }
}

}  // namespace

void pasteScaled(TargetView target, ImageView source, int x, int y, int w, int h, bool keyed) {
    if (w == 0 || h == 0) return;
    const int64_t width = std::abs(int64_t{w});
    const int64_t height = std::abs(int64_t{h});
    const bool mirrorX = w < 0;
    const bool mirrorY = h < 0;
    // A mirrored paste reads pixel j as the plain paste reads |w| - 1 - j.
    const auto column = [&](int64_t j) {
        return (mirrorX ? width - 1 - j : j) * source.width / width;
    };
    const auto row = [&](int64_t i) {
        return (mirrorY ? height - 1 - i : i) * source.height / height;
    };
    pasteLoop(target, source, x, y, width, height, keyed, column, row);
}

bool spanInside(const SourceSpan& span, int width, int height) {
    return span.top >= 0 && span.top < height && span.spanX >= 0 && span.spanX <= width &&
           span.spanY >= 0 && int64_t{span.top} + span.spanY <= height;
}

void pasteSpan(TargetView target, ImageView source, int x, int y, int w, int h,
               const SourceSpan& span, bool keyed) {
    if (w < 1 || h < 1) return;
    const auto column = [&](int64_t j) { return j * span.spanX / w; };
    const auto row = [&](int64_t i) { return span.top + i * span.spanY / h; };
    pasteLoop(target, source, x, y, w, h, keyed, column, row);
}

}  // namespace tesmor
