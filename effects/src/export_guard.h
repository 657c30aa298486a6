// Helpers for the files that implement the exported C functions: they keep
// exceptions from crossing the C boundary and apply the argument
// conventions of the exports. Each group of exports (resizing, rotation,
// light and colour effects) has its own exports file that uses these.
#pragma once

#include <cstdint>
#include <new>

#include "bmp_file.h"

namespace tesmor {

// Runs body and returns its result code. The core throws only when an
// allocation fails; that, and anything unforeseen, becomes failureCode.
template <class Body>
int guarded(int failureCode, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return failureCode;
    }
}

// The signed value of the low 16 bits of a size argument.
constexpr int low16(int value) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu));
}

// True when a width x height 24-bit pixel array is within the limits.
inline bool validPixelArray(int width, int height) { return bmp::fitsLimits(width, height, 24); }

}  // namespace tesmor
