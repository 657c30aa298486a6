#include "atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>

namespace imgctl {
namespace {

std::atomic<unsigned> tempCounter{0};

// A name in the same folder as path, so that the rename stays within one
// file system.
std::string temporaryName(const std::string& path, unsigned attempt) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    char suffix[96];
    std::snprintf(suffix, sizeof suffix, ".imgctl-%ld-%u-%u-%llx.tmp", long(::getpid()),
                  tempCounter.fetch_add(1), attempt, static_cast<unsigned long long>(ticks));
    return folder + suffix;
}

bool writeAll(int fd, std::span<const uint8_t> data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

}  // namespace

bool writeFileAtomically(const char* path, std::span<const uint8_t> data) {
    if (path == nullptr || *path == '\0') return false;
    const std::string target(path);
    if (target.back() == '/') return false;

    std::string temp;
    int fd = -1;
    for (unsigned attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = temporaryName(target, attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), path) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace imgctl
