// The global colour table of an animation: the colours that let most
// frames do without a local table.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace imgctl {

// The colours one frame is written with (distinct, packed 0x00BBGGRR), and
// whether it also needs an index for its transparent pixels.
struct FrameColors {
    std::vector<uint32_t> colors;
    bool needsTransparent = false;
};

struct SharedPalette {
    std::vector<uint32_t> colors;  // at most 256, those of more frames first
    std::vector<bool> fits;        // per frame: its colours, and a free index when it needs one, are in it
};

// Frames are taken in greedily, each time the one that adds the fewest new
// colours, while the table holds 256; when the colours of all frames fit,
// every frame fits. A frame that needs a transparent index fits only when
// the table (padded to a power of two) has an entry it does not use.
SharedPalette chooseSharedPalette(std::span<const FrameColors> frames);

}  // namespace imgctl
