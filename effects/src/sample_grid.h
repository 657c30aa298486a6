// Supersampling shared by SReSize and SReSize2: every output pixel is the
// per-channel average (integer division) of an n x n grid of source pixels.
#pragma once

#include <vector>

#include "pixel_image.h"

namespace tesmor {

// columns holds n source column indices for each output column (n * width
// entries), rows n source row indices (from the bottom) for each output
// row. All indices lie inside source, a 24-bit image. With capNearWhite an
// output pixel whose three averages all exceed 245 becomes 245, 245, 245.
Image averageSampleGrid(ImageView source, const std::vector<int>& columns,
                        const std::vector<int>& rows, int n, bool capNearWhite);

}  // namespace tesmor
