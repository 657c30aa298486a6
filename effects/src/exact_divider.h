// Exact division of 32-bit numerators by a divisor fixed for a whole image,
// with one multiplication instead of a division per channel.
#pragma once

#include <cstdint>

namespace tesmor {

// With c = ceil(2^64 / d), floor(n / d) = (c * n) >> 64 for every n and d
// below 2^32 (Lemire, Kaser and Kurz, "Faster remainder by direct
// computation", 2019).
class ExactDivider {
public:
    explicit ExactDivider(uint32_t d) : d_(d), c_(d == 1 ? 0 : UINT64_MAX / d + 1) {}
    uint32_t divide(uint32_t n) const {
        if (d_ == 1) return n;
        return static_cast<uint32_t>((static_cast<unsigned __int128>(c_) * n) >> 64);
    }

private:
    uint32_t d_;
    uint64_t c_;
};

}  // namespace tesmor
