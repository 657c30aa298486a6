// The table that maps the opaque handles given to callers onto bitmaps.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "bitmap.h"

namespace imgctl {

class HandleTable {
public:
    // Most bitmaps alive at once; the program keeps at most about a thousand.
    static constexpr size_t kMaxLive = 1 << 16;

    // Stores a bitmap and returns its new handle, or 0 when the table is full.
    int32_t add(std::shared_ptr<const Bitmap> bitmap);
    // The bitmap of handle, or null. The bitmap stays valid for the holder
    // even if the handle is deleted or replaced meanwhile.
    std::shared_ptr<const Bitmap> get(int32_t handle) const;
    // Puts a new bitmap behind an existing handle; false for an unknown one.
    bool replace(int32_t handle, std::shared_ptr<const Bitmap> bitmap);
    bool remove(int32_t handle);
    size_t size() const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<int32_t, std::shared_ptr<const Bitmap>> bitmaps_;
    int32_t next_ = 1;
};

// The one table of the library.
HandleTable& handles();

}  // namespace imgctl
