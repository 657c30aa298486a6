// JPEG encoding into memory with libjpeg-turbo.
#pragma once

#include <cstdint>
#include <vector>

#include "bitmap.h"
#include "gif_writer.h"  // EncodeStatus

namespace imgctl {

// Encodes a bitmap (24-bit, or 8-bit through its palette) at quality 1..100,
// baseline or progressive. Every call uses a compressor of its own.
EncodeStatus encodeJpeg(const Bitmap& bitmap, int quality, bool progressive,
                        std::vector<uint8_t>& out);

}  // namespace imgctl
