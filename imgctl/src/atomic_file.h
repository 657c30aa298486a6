// Whole-file writes that never leave a partial file behind.
#pragma once

#include <cstdint>
#include <span>

namespace imgctl {

// Writes data to a fresh temporary file in the folder of path, flushes it to
// disk and renames it over path. Returns false, with the temporary file
// removed and any previous file at path untouched, when any step fails.
bool writeFileAtomically(const char* path, std::span<const uint8_t> data);

}  // namespace imgctl
