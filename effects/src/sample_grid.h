// Supersampling shared by SReSize and SReSize2: every output pixel is the
// per-channel average (integer division) of an n x n grid of source pixels.
#pragma once

#include <vector>

#include "file_op.h"

namespace tesmor {

// The result codes that SReSize and SReSize2 share.
namespace supersample_result {
enum : int {
    Ok = 1,
    BadWidth = -1,
    BadHeight = -2,
    CannotOpen = -3,
    NotB = -4,
    NotM = -5,
    Not24Bit = -6,  // also a compressed file
    OutOfMemory = -7,
    CannotWrite = -11,
    WindowOutside = -12,  // SReSize2 only
    Damaged = -13,        // also a file shorter than 54 bytes
};
}

inline constexpr SourceCodes kSupersampleCodes{
    supersample_result::CannotOpen, supersample_result::Damaged,  supersample_result::NotB,
    supersample_result::NotM,       supersample_result::Not24Bit, supersample_result::Not24Bit,
    supersample_result::Damaged,    supersample_result::OutOfMemory};

// columns holds n source column indices for each output column (n * width
// entries), rows n source row indices (from the bottom) for each output
// row. All indices lie inside source, a 24-bit image. With capNearWhite an
// output pixel whose three averages all exceed 245 becomes 245, 245, 245.
Image averageSampleGrid(ImageView source, const std::vector<int>& columns,
                        const std::vector<int>& rows, int n, bool capNearWhite);

}  // namespace tesmor
