// Animated WebP encoding of 32-bit RGBA frames with libwebp's animation
// encoder.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gif_writer.h"  // EncodeStatus
#include "png_writer.h"  // RgbaView

namespace imgctl {

struct WebPFrame {
    RgbaView picture;
    int delay = 0;  // hundredths of a second
};

// Encodes the frames as an animated WebP. The canvas is as large as the
// largest frame; each frame is placed at its top-left corner, the rest of
// the canvas transparent. quality < 0 encodes every frame lossless (preset
// level 6 of 9); 0..100 lossy at that quality (method 4, alpha kept exact). loopCount 0 plays endlessly, n >= 1 n times in all.
EncodeStatus encodeWebPAnimation(std::span<const WebPFrame> frames, int loopCount, int quality,
                                 std::vector<uint8_t>& out);

}  // namespace imgctl
