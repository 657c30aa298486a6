#include "handle_table.h"

#include <limits>

namespace imgctl {

int32_t HandleTable::add(std::shared_ptr<const Bitmap> bitmap) {
    std::lock_guard lock(mutex_);
    if (bitmaps_.size() >= kMaxLive) return 0;
    // Handles count up through the positive range and wrap, skipping those
    // still in use, so that a deleted handle is not soon handed out again.
    while (bitmaps_.count(next_) != 0) next_ = next_ == std::numeric_limits<int32_t>::max() ? 1 : next_ + 1;
    const int32_t handle = next_;
    bitmaps_.emplace(handle, std::move(bitmap));
    next_ = next_ == std::numeric_limits<int32_t>::max() ? 1 : next_ + 1;
    return handle;
}

std::shared_ptr<const Bitmap> HandleTable::get(int32_t handle) const {
    std::lock_guard lock(mutex_);
    const auto it = bitmaps_.find(handle);
    return it == bitmaps_.end() ? nullptr : it->second;
}

bool HandleTable::replace(int32_t handle, std::shared_ptr<const Bitmap> bitmap) {
    std::lock_guard lock(mutex_);
    const auto it = bitmaps_.find(handle);
    if (it == bitmaps_.end()) return false;
    it->second = std::move(bitmap);
    return true;
}

bool HandleTable::remove(int32_t handle) {
    std::lock_guard lock(mutex_);
    return bitmaps_.erase(handle) != 0;
}

size_t HandleTable::size() const {
    std::lock_guard lock(mutex_);
    return bitmaps_.size();
}

HandleTable& handles() {
    static HandleTable table;
    return table;
}

}  // namespace imgctl
