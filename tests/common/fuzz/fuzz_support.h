// Helpers of the fuzz entries: scratch files in TMPDIR and invariant checks
// that abort, so that libFuzzer (and the replay test) report the input.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

// A scratch file name of this process in TMPDIR (or /tmp), made once and
// kept in store.
inline const std::string& scratchPath(const char* suffix, std::string& store) {
    if (store.empty()) {
        const char* dir = std::getenv("TMPDIR");
        store = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/vakuro-fuzz-" +
                std::to_string(::getpid()) + suffix;
    }
    return store;
}

inline void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

inline void writeInput(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

}  // namespace fuzz
