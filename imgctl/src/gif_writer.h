// GIF89a encoding of 8-bit bitmaps into memory, single images and
// animations.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "bitmap.h"

namespace imgctl {

enum class EncodeStatus { Ok, OutOfMemory, Failed };

// One image with its global colour table; transparentIndex < 0 for none.
// The bitmap must be indexed and the index, when given, inside its palette.
EncodeStatus encodeGif(const Bitmap& bitmap, int transparentIndex, std::vector<uint8_t>& out);

struct AnimationFrame {
    const Bitmap* bitmap = nullptr;  // indexed
    int delay = 0;                   // hundredths of a second, 0..65535
    int disposal = 0;                // 0..3
    int transparentIndex = -1;       // < 0 for none, else inside the palette
};

// The NETSCAPE2.0 loop field for "plays n times in all": 0 (endless) stays 0,
// 1 needs no extension (returns -1), n >= 2 gives n - 1 repetitions.
int netscapeLoopField(int playCount);

// Whether the rectangle optimisation can be applied: every frame opaque and
// of the same size.
bool canOptimize(std::span<const AnimationFrame> frames);

// An animation. playCount as above. Without optimize, every frame is
// written whole with its bitmap's palette as local colour table. With
// optimize, each frame is written with only the colours it uses, from a
// global colour table shared by the frames whose colours fit in it or from
// a local one; and when canOptimize, frames after the first are reduced to
// the rectangle that changed, its unchanged pixels free to be transparent
// (see imgctl.h). The frames show the same pictures either way.
EncodeStatus encodeAnimation(std::span<const AnimationFrame> frames, int playCount, bool optimize,
                             std::vector<uint8_t>& out);

}  // namespace imgctl
