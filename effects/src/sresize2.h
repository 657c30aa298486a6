// Cutting a window out of a 24-bit image and resizing it with supersampling.
#pragma once

#include "sample_grid.h"

namespace tesmor {

// A window of the source: left column, top row counted from the top, size.
struct Window {
    int left;
    int top;
    int width;
    int height;
};

// The grid size n for a samples argument: 5 when samples < 1, at most 15.
int sReSize2Grid(int samples);

// True when the window has a positive size and lies inside a
// width x height image.
bool windowInside(const Window& window, int width, int height);

// Output pixel (x, y) (y from the bottom) averages the n x n window pixels
// at window column floor((x*n + l) * window.width / (n * newWidth)) and
// window row, from the window's bottom, floor((y*n + k) * window.height /
// (n * newHeight)). The window lies inside source; newWidth and newHeight
// are at least 1 and within the size limits; n is 1 .. 15.
Image superSampleWindow(ImageView source, const Window& window, int newWidth, int newHeight,
                        int n);

// The file function. Returns a supersample_result code.
int sReSize2File(const char* source, const char* destination, const Window& window,
                 int newWidth, int newHeight, int samples);

}  // namespace tesmor
