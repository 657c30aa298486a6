#include "bmp_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <vector>

namespace imgctl {
namespace {

uint16_t u16(std::span<const uint8_t> b, size_t at) {
    return uint16_t(b[at] | (b[at + 1] << 8));
}
uint32_t u32(std::span<const uint8_t> b, size_t at) {
    return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
           (uint32_t(b[at + 3]) << 24);
}

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kMinHeaders = 54;  // file header + 40-byte info header

// The Windows info header variants that share the 40-byte layout's first
// fields: BITMAPINFOHEADER, the two Adobe extensions, V4 and V5.
bool knownInfoSize(uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

}  // namespace

BmpStatus decodeBmp(std::span<const uint8_t> bytes, Bitmap& out) {
    const uint64_t fileSize = bytes.size();
    if (fileSize < kMinHeaders) return bytes.size() >= 2 && (bytes[0] != 'B' || bytes[1] != 'M')
                                           ? BmpStatus::NotBmp
                                           : BmpStatus::Truncated;
    if (bytes[0] != 'B' || bytes[1] != 'M') return BmpStatus::NotBmp;

    const uint64_t dataOffset = u32(bytes, 10);
    const uint32_t infoSize = u32(bytes, 14);
    const int64_t width = int32_t(u32(bytes, 18));
    const int64_t rawHeight = int32_t(u32(bytes, 22));
    const uint16_t planes = u16(bytes, 26);
    const uint16_t bitCount = u16(bytes, 28);
    const uint32_t compression = u32(bytes, 30);
    const uint32_t colorsUsed = u32(bytes, 46);

    if (!knownInfoSize(infoSize) || planes != 1 || (bitCount != 24 && bitCount != 8) ||
        compression != 0)
        return BmpStatus::Unsupported;
    const uint64_t headersEnd = kFileHeaderSize + infoSize;
    if (headersEnd > fileSize) return BmpStatus::Truncated;

    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -rawHeight : rawHeight;
    if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide ||
        width * height > kMaxPixels)
        return BmpStatus::BadGeometry;

    uint64_t tableEntries = 0;
    if (bitCount == 8) {
        tableEntries = colorsUsed == 0 ? 256 : colorsUsed;
        if (tableEntries > 256) return BmpStatus::Unsupported;
    }
    const uint64_t tableEnd = headersEnd + tableEntries * 4;
    if (tableEnd > fileSize) return BmpStatus::Truncated;
    if (dataOffset < tableEnd) return BmpStatus::BadOffset;

    const uint64_t rowBytes = uint64_t(width) * (bitCount / 8);
    const uint64_t stride = (rowBytes + 3) / 4 * 4;
    // The last row's padding may be missing; every pixel byte must be there.
    const uint64_t dataNeeded = stride * uint64_t(height - 1) + rowBytes;
    if (dataOffset > fileSize || fileSize - dataOffset < dataNeeded) return BmpStatus::Truncated;

    Bitmap b;
    try {
        b.width = int(width);
        b.height = int(height);
        const size_t w = size_t(width);
        if (bitCount == 24) {
            b = makeRgbBitmap(int(width), int(height));
            for (int64_t y = 0; y < height; ++y) {
                const int64_t fileRow = topDown ? y : height - 1 - y;
                const uint8_t* src = bytes.data() + dataOffset + uint64_t(fileRow) * stride;
                uint8_t* dst = b.rgba.data() + size_t(y) * w * 4;
                for (size_t x = 0; x < w; ++x) {
                    dst[x * 4 + 0] = src[x * 3 + 2];
                    dst[x * 4 + 1] = src[x * 3 + 1];
                    dst[x * 4 + 2] = src[x * 3 + 0];
                }
            }
        } else {
            b.indexed = true;
            b.palette.resize(size_t(tableEntries));
            for (size_t i = 0; i < b.palette.size(); ++i) {
                const uint8_t* e = bytes.data() + headersEnd + i * 4;
                b.palette[i] = {e[2], e[1], e[0]};
            }
            b.indices.resize(w * size_t(height));
            for (int64_t y = 0; y < height; ++y) {
                const int64_t fileRow = topDown ? y : height - 1 - y;
                const uint8_t* src = bytes.data() + dataOffset + uint64_t(fileRow) * stride;
                uint8_t* dst = b.indices.data() + size_t(y) * w;
                for (size_t x = 0; x < w; ++x) {
                    if (src[x] >= tableEntries) return BmpStatus::BadIndex;
                    dst[x] = src[x];
                }
            }
        }
    } catch (const std::bad_alloc&) {
        return BmpStatus::OutOfMemory;
    }
    out = std::move(b);
    return BmpStatus::Ok;
}

BmpStatus readBmpFile(const char* path, Bitmap& out) {
    if (path == nullptr || *path == '\0') return BmpStatus::CannotOpen;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return BmpStatus::CannotOpen;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return BmpStatus::CannotOpen;
    if (st.st_size > kMaxBmpFileBytes) return BmpStatus::TooLarge;

    std::vector<uint8_t> bytes;
    try {
        bytes.resize(size_t(st.st_size));
    } catch (const std::bad_alloc&) {
        return BmpStatus::OutOfMemory;
    }
    // Read what is there; a file that shrank since fstat is judged by what
    // was actually read.
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return BmpStatus::CannotOpen;
        }
        if (n == 0) break;
        got += size_t(n);
    }
    bytes.resize(got);
    return decodeBmp(bytes, out);
}

}  // namespace imgctl
