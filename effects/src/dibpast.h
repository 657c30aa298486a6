// Pasting one 24-bit pixel array onto another, scaled, optionally mirrored
// and optionally only onto the destination's key colour.
#pragma once

#include "pixel_image.h"

namespace tesmor {

namespace dibpast_result {
enum : int {
    Ok = 1,
    NullPointer = -1,
    BadSize = -2,
    SpanOutside = -3,
    OutOfMemory = -4,  // the copy of a source that shares memory with the target
};
}

// A writable 24-bit pixel array in the bitmap layout.
struct TargetView {
    uint8_t* data;
    int width;
    int height;
    int stride() const { return bmp::rowStride(24, width); }
};

// Pastes source stretched to |w| x |h| pixels with its top-left corner at
// column x, row y counted from the top of target. Pixel (j, i) of the paste
// takes source column floor(j * sourceWidth / |w|) and row (from the top)
// floor(i * sourceHeight / |h|), counted from the other side when w (or h)
// is negative, which mirrors the paste. Pixels outside target are dropped.
// With keyed only target pixels equal to the key colour (target's
// bottom-left pixel before the paste) are replaced. w or h 0 does nothing.
// target and source may share memory.
void pasteScaled(TargetView target, ImageView source, int x, int y, int w, int h, bool keyed);

// The part of the source a span paste reads: column 0 .. spanX - 1 and rows
// top .. top + spanY - 1 counted from the top.
struct SourceSpan {
    int top;
    int spanX;
    int spanY;
};

// True when the rows and columns a span paste can read lie inside a
// width x height source: 0 <= top < height, 0 <= spanX <= width,
// 0 <= spanY and top + spanY <= height.
bool spanInside(const SourceSpan& span, int width, int height);

// Like pasteScaled for w, h >= 1 without mirroring, but pixel (j, i) takes
// source column floor(j * spanX / w) and row span.top + floor(i * spanY / h)
// from the top. w or h below 1 does nothing. The span lies inside source.
void pasteSpan(TargetView target, ImageView source, int x, int y, int w, int h,
               const SourceSpan& span, bool keyed);

}  // namespace tesmor
