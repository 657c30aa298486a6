// The rendering steps, in the order they run. Each reads the scaled style
// copy in the context and works on its shared buffers.
#pragma once

#include <cstdint>

#include "render_context.h"

namespace pavrex {

// Colour channels of a 0x00BBGGRR value.
struct Rgb {
    int r, g, b;
};
inline Rgb channels(int32_t colour) { return {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF}; }

inline bool isWhite(const uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

// A pixel of a 24-bit layer of the canvas size (the back layer).
inline uint8_t* layerPixel(std::vector<uint8_t>& layer, const RenderContext& c, int x, int y) {
    return layer.data() + static_cast<size_t>(y) * c.stride + 3 * static_cast<size_t>(x);
}

// Grows ink strokes right by ThickenX - 1 and down by ThickenY - 1 pixels.
void thicken(RenderContext& c);
// Paints every ink pixel by FillType.
void fill(RenderContext& c);
// Types 5 and 6: paints ink from the texture file.
void fillFromTexture(RenderContext& c);
// Marks the shadow in the back layer (blue byte 1): the text moved right and
// down by ShadowDistance, each pixel grown to a square by ShadowSpread.
void markShadow(RenderContext& c);
// Blurs the shadow marks into shadow colour over the background colour.
void colourShadow(RenderContext& c);
// Gives every empty back-layer pixel the background colour.
void paintBackground(RenderContext& c);
// Builds the edge mask (text pixels and their one-pixel ring) and, with
// relief on, the height map stamped from every edge pixel.
void buildReliefEdges(RenderContext& c);
// Cuts the gloss and reflection bands into the height map.
void shapeRelief(RenderContext& c);
// Paints the outline into the back layer.
void drawOutline(RenderContext& c);
// Darkens text by its height and shows the back layer everywhere else.
void composite(RenderContext& c);

// The relief kernel for depth d: (2d + 1)^2 values, row dy + d, column dx + d.
std::vector<int> reliefKernel(int reliefOn, int depth, int curvature);
// The bevel's exponent p = 0.2 * curvature + 1; curvatures below -4 are read
// as -4, so p stays positive and the bevel falls away from the edge.
float curvatureExponent(int curvature);
// The bevel kernel's value at e = d - trunc(sqrt(3 dy^2 + dx^2)); halved
// for pixels left of the edge pixel (dx < 0).
int bevelValue(int e, float p, bool leftOfEdge);
// The trapezoid kernel's value at offset dx, dy for depth d.
int trapezoidValue(int d, int dx, int dy);

}  // namespace pavrex
