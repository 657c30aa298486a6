// The window's picture painting as the effects of the whole picture use it:
// stretched copies that write every source pixel, and filled boxes.
#pragma once

#include <QByteArray>
#include <QImage>

namespace vakuro {

// Copies the source rectangle (sx, sy, sw, sh) of src, stretched to
// |dw| x |dh| pixels, onto dst with its top-left corner at (dx, dy). A
// negative dw (dh) mirrors left to right (top to bottom). Destination pixel
// (dx + j, dy + i) takes the source pixel at column sx + floor(j' * sw / |dw|)
// and row sy + floor(i' * sh / |dh|), j' = j, or |dw| - 1 - j when mirrored
// (likewise i'). Parts outside dst are dropped; nothing is painted when a
// size is 0 or the source rectangle is not inside src. Both pictures are
// Format_RGB32.
void paintStretched(QImage& dst, int dx, int dy, int dw, int dh, const QImage& src, int sx, int sy, int sw, int sh);

// Fills the box from (x0, y0) up to but not including (x1, y1), clipped to
// the picture.
void fillBox(QImage& picture, int x0, int y0, int x1, int y1, QRgb colour);

// Reads a 24-bit BMP file written by the effects library as a
// Format_RGB32 picture; null when the file cannot be read.
QImage readPicture(const QByteArray& path);

}  // namespace vakuro
