// The blocks of a GIF89a file, appended to a byte vector.
#pragma once

#include <cstdint>
#include <vector>

#include "bitmap.h"

namespace imgctl {

// Bits of a colour table holding `entries` colours: the table has
// 2^bits >= entries entries, at least two.
int colorTableBits(size_t entries);

// Signature and logical screen descriptor, with the global colour table
// when global is not null.
void appendScreen(std::vector<uint8_t>& out, int width, int height, const std::vector<Rgb>* global);

// NETSCAPE2.0 application extension with the given loop field.
void appendLoopExtension(std::vector<uint8_t>& out, int loopField);

// Graphic control extension; transparent < 0 for none.
void appendGraphicControl(std::vector<uint8_t>& out, int disposal, int delay, int transparent);

// Image descriptor, with a local colour table when local is not null.
void appendImageDescriptor(std::vector<uint8_t>& out, int left, int top, int width, int height,
                           const std::vector<Rgb>* local);

void appendTrailer(std::vector<uint8_t>& out);

}  // namespace imgctl
