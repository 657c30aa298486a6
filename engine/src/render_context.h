// The per-call state of one rendering: the canvas, the work buffers the
// rendering steps share, and the scaled style copy they read.
#pragma once

#include <cstdint>
#include <vector>

#include "pavrex.h"

namespace pavrex {

struct RenderContext {
    PavrexStyle style{};     // scaled and corrected copy of the caller's record
    int q = 0;               // resolution factor index: 0, 1, 2 (factor 1, 2, 4)
    int quality = 0;         // the caller's quality (after mapping undefined values)
    int width = 0;           // canvas width, a multiple of 4
    int height = 0;
    int stride = 0;          // bytes per canvas row

    // Bottom-up rows of blue, green, red. White is background; a pixel whose
    // blue byte is 0 is ink no fill has painted yet.
    std::vector<uint8_t> canvas;
    std::vector<int16_t> heightMap;  // width * height relief heights
    std::vector<uint8_t> backLayer;  // 24-bit layer: background, shadow and outline
    std::vector<uint8_t> edgeMask;   // width * height text and edge marks

    // With whiteInk, the text is told by textMask (width * height, 1 for
    // text), taken from the ink before it is filled, so a pure white fill
    // stays text. Without it (the usual rendering) a white canvas pixel is
    // background, whatever painted it.
    bool whiteInk = false;
    std::vector<uint8_t> textMask;

    uint8_t* pixel(int x, int y) { return canvas.data() + static_cast<size_t>(y) * stride + 3 * static_cast<size_t>(x); }
    const uint8_t* pixel(int x, int y) const {
        return canvas.data() + static_cast<size_t>(y) * stride + 3 * static_cast<size_t>(x);
    }

    // True for a text pixel: one the steps after the fill treat as text.
    bool isText(int x, int y) const {
        if (!textMask.empty()) return textMask[static_cast<size_t>(y) * width + x] != 0;
        const uint8_t* p = pixel(x, y);
        return !(p[0] == 255 && p[1] == 255 && p[2] == 255);
    }

    // Records the ink of the canvas as the text mask (whiteInk renderings).
    void takeTextMask() {
        textMask.assign(static_cast<size_t>(width) * height, 0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = pixel(x, y);
                textMask[static_cast<size_t>(y) * width + x] = !(p[0] == 255 && p[1] == 255 && p[2] == 255);
            }
        }
    }

    // Allocates the zero-filled work buffers once the canvas size is known.
    void allocateWorkBuffers() {
        const size_t area = static_cast<size_t>(width) * height;
        heightMap.assign(area, 0);
        backLayer.assign(static_cast<size_t>(height) * stride, 0);
        edgeMask.assign(area, 0);
    }
};

// Runs the rendering steps in their fixed order on the context's buffers.
void runRenderingSteps(RenderContext& context);

}  // namespace pavrex
