// The gradient colours of the fill, per column or row.
#pragma once

#include "steps.h"

namespace pavrex {

// The quadratic through (0, a), (0.5, b), (1, c) at t / 1000, clamped to 1 ... 255.
int quadratic(int t, int a, int b, int c);

// Type 1: FillColor1 at the left edge blending to FillColor2.
Rgb twoColourColumn(int x, int width, Rgb c1, Rgb c2);
// Type 2: FillColor1, FillColor2, FillColor3 from left to right.
Rgb threeColourColumn(int x, int width, Rgb c1, Rgb c2, Rgb c3);
// Type 3: FillColor2 up to 15 % of the height, FillColor1 from 95 %.
Rgb twoColourRow(int y, int height, Rgb c1, Rgb c2);
// Type 4: FillColor3 at the bottom, FillColor2 in the middle, FillColor1 at the top.
Rgb threeColourRow(int y, int height, Rgb c1, Rgb c2, Rgb c3);

}  // namespace pavrex
