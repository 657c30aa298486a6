#include "bmp_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace bmp {
namespace {

int32_t getLe32(const std::array<uint8_t, kBmpHeaderSize>& b, int at) {
    const uint32_t v = uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 |
                       uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
    return static_cast<int32_t>(v);
}

int getLe16(const std::array<uint8_t, kBmpHeaderSize>& b, int at) {
    return b[at] | b[at + 1] << 8;
}

void putLe32(std::array<uint8_t, kBmpHeaderSize>& b, int at, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
    b[at + 2] = static_cast<uint8_t>(v >> 16);
    b[at + 3] = static_cast<uint8_t>(v >> 24);
}

void putLe16(std::array<uint8_t, kBmpHeaderSize>& b, int at, int value) {
    b[at] = static_cast<uint8_t>(value);
    b[at + 1] = static_cast<uint8_t>(value >> 8);
}

// Closes a descriptor on every path out of a function.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded (it can report a
    // delayed write error).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Reads exactly out.size() bytes at offset; false on error or end of file.
bool readFully(int fd, int64_t offset, std::span<uint8_t> out) {
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(fd, out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool writeFully(int fd, std::span<const uint8_t> data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool isAccepted(int bits, std::span<const int> acceptedBits) {
    if (acceptedBits.empty()) return bits == 24;
    return std::find(acceptedBits.begin(), acceptedBits.end(), bits) != acceptedBits.end();
}

// The info header variants that share the 40-byte layout's first fields:
// the plain one, the two Adobe extensions, V4 and V5.
bool knownInfoSize(int64_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// The entries of an 8-bit file's colour table: colours used, 256 when 0.
int64_t colourTableEntries(const BmpHeader& header) {
    if (header.bitCount() != 8) return 0;
    const auto used = static_cast<uint32_t>(header.coloursUsed());
    return used == 0 ? 256 : used;
}

// Sizes the image's buffers for a checked layout.
BmpReadStatus allocate(const BmpLayout& layout, BmpImage& image) {
    try {
        image.between.assign(static_cast<size_t>(layout.betweenBytes), 0);
        image.pixels.assign(static_cast<size_t>(layout.pixelBytes), 0);
    } catch (const std::bad_alloc&) {
        image.between = {};
        image.pixels = {};
        return BmpReadStatus::OutOfMemory;
    }
    return BmpReadStatus::Ok;
}

// The pixel bytes the file really holds; the missing padding stays zero.
std::span<uint8_t> presentPixels(const BmpLayout& layout, BmpImage& image) {
    return std::span<uint8_t>(image.pixels)
        .first(static_cast<size_t>(layout.pixelBytes - layout.missingPadding));
}

// A temporary name in the folder of path. Short, so that a target name near
// the file-name length limit still leaves room for it.
std::string temporaryNameFor(const std::string& path, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    char name[64];
    std::snprintf(name, sizeof name, ".tesmor-%ld-%u-%u.tmp", static_cast<long>(::getpid()),
                  counter.fetch_add(1, std::memory_order_relaxed), attempt);
    return folder + name;
}

}  // namespace

bool fitsLimits(int64_t width, int64_t height, int bitsPerPixel) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
    const int64_t stride = 4 * ((bitsPerPixel / 8 * width + 3) / 4);
    return stride * height <= kMaxPixelBytes;
}

int32_t BmpHeader::fileSize() const { return getLe32(bytes, 2); }
int32_t BmpHeader::dataOffset() const { return getLe32(bytes, 10); }
int32_t BmpHeader::infoSize() const { return getLe32(bytes, 14); }
int32_t BmpHeader::width() const { return getLe32(bytes, 18); }
int32_t BmpHeader::height() const { return getLe32(bytes, 22); }
int BmpHeader::planes() const { return getLe16(bytes, 26); }
int BmpHeader::bitCount() const { return getLe16(bytes, 28); }
int32_t BmpHeader::compression() const { return getLe32(bytes, 30); }
int32_t BmpHeader::imageSize() const { return getLe32(bytes, 34); }
int32_t BmpHeader::coloursUsed() const { return getLe32(bytes, 46); }

void BmpHeader::setFileSize(int32_t v) { putLe32(bytes, 2, v); }
void BmpHeader::setDataOffset(int32_t v) { putLe32(bytes, 10, v); }
void BmpHeader::setInfoSize(int32_t v) { putLe32(bytes, 14, v); }
void BmpHeader::setWidth(int32_t v) { putLe32(bytes, 18, v); }
void BmpHeader::setHeight(int32_t v) { putLe32(bytes, 22, v); }
void BmpHeader::setImageSize(int32_t v) { putLe32(bytes, 34, v); }
void BmpHeader::setColoursUsed(int32_t v) { putLe32(bytes, 46, v); }
void BmpHeader::setColoursImportant(int32_t v) { putLe32(bytes, 50, v); }

BmpHeader makeHeader24(int width, int height) {
    BmpHeader h;
    h.bytes[0] = 'B';
    h.bytes[1] = 'M';
    h.setFileSize(kBmpHeaderSize + height * rowStride(24, width));
    h.setDataOffset(kBmpHeaderSize);
    h.setInfoSize(40);
    h.setWidth(width);
    h.setHeight(height);
    putLe16(h.bytes, 26, 1);
    putLe16(h.bytes, 28, 24);
    return h;
}

BmpHeader deriveHeader(const BmpHeader& source, int width, int height, int64_t betweenBytes) {
    BmpHeader h = source;
    const int64_t pixelBytes = int64_t{height} * rowStride(source.bitCount(), width);
    const int64_t offset = kBmpHeaderSize + betweenBytes;
    h.setWidth(width);
    h.setHeight(height);
    h.setDataOffset(static_cast<int32_t>(offset));
    h.setFileSize(static_cast<int32_t>(offset + pixelBytes));
    if (betweenBytes == 0) {
        h.setInfoSize(40);
        h.setColoursUsed(0);
        h.setColoursImportant(0);
    }
    if (source.imageSize() != 0) h.setImageSize(static_cast<int32_t>(pixelBytes));
    return h;
}

BmpReadStatus checkBmpHeader(const BmpHeader& header, int64_t fileLength, const ReadRules& rules,
                             BmpLayout& layout) {
    if (fileLength < kBmpHeaderSize) return BmpReadStatus::ShortHeader;
    if (header.bytes[0] != 'B') return BmpReadStatus::NotB;
    if (header.bytes[1] != 'M') return BmpReadStatus::NotM;
    if (header.compression() != 0) return BmpReadStatus::Compressed;
    const int bits = header.bitCount();
    if (!isAccepted(bits, rules.acceptedBits) || (bits != 8 && bits != 24)) {
        return BmpReadStatus::BadBitCount;
    }

    const int64_t infoSize = static_cast<uint32_t>(header.infoSize());
    if (!knownInfoSize(infoSize) || header.planes() != 1) return BmpReadStatus::BadInfoHeader;
    const int64_t headersEnd = 14 + infoSize;
    if (headersEnd > fileLength) return BmpReadStatus::Truncated;

    const int64_t width = header.width();
    int64_t rows = header.height();
    if (rows < 0 && rules.topDownAccepted) rows = -rows;
    if (width < 1 || rows < 1 || width > rules.maxSide || rows > rules.maxSide) {
        return BmpReadStatus::BadGeometry;
    }
    if (rules.maxPixels > 0 && width * rows > rules.maxPixels) return BmpReadStatus::BadGeometry;
    const int64_t stride = 4 * ((bits / 8 * width + 3) / 4);
    const int64_t pixelBytes = stride * rows;
    if (pixelBytes > kMaxPixelBytes) return BmpReadStatus::BadGeometry;

    const int64_t tableEntries = colourTableEntries(header);
    if (tableEntries > 256) return BmpReadStatus::BadColourTable;
    const int64_t tableEnd = headersEnd + 4 * tableEntries;
    if (tableEnd > fileLength) return BmpReadStatus::Truncated;

    const int64_t offset = static_cast<uint32_t>(header.dataOffset());
    if (offset < tableEnd) return BmpReadStatus::BadOffset;
    if (offset > fileLength) return BmpReadStatus::Truncated;
    if (offset - kBmpHeaderSize > kMaxBetweenBytes) return BmpReadStatus::BadOffset;

    const int64_t available = fileLength - offset;
    const int64_t lastRowPadding = stride - bits / 8 * width;
    const int64_t missing = std::max<int64_t>(0, pixelBytes - available);
    if (missing > lastRowPadding) return BmpReadStatus::Truncated;

    layout.betweenBytes = offset - kBmpHeaderSize;
    layout.pixelBytes = pixelBytes;
    layout.missingPadding = missing;
    layout.colourTableOffset = headersEnd;
    layout.colourTableEntries = static_cast<int>(tableEntries);
    return BmpReadStatus::Ok;
}

std::span<const uint8_t> BmpImage::colourTable() const {
    const int64_t entries = colourTableEntries(header);
    const int64_t start = static_cast<uint32_t>(header.infoSize()) - 40;
    if (entries == 0 || start < 0 || start + 4 * entries > static_cast<int64_t>(between.size())) return {};
    return std::span<const uint8_t>(between).subspan(static_cast<size_t>(start),
                                                      static_cast<size_t>(4 * entries));
}

BmpReadStatus readBmp(const char* path, BmpImage& image, const ReadRules& rules) {
    if (path == nullptr || *path == '\0') return BmpReadStatus::CannotOpen;
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below.
    Fd fd(::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) return BmpReadStatus::CannotOpen;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return BmpReadStatus::CannotOpen;
    const int64_t fileLength = st.st_size;
    if (rules.maxFileBytes > 0 && fileLength > rules.maxFileBytes) return BmpReadStatus::TooLarge;
    if (fileLength < kBmpHeaderSize) return BmpReadStatus::ShortHeader;
    if (!readFully(fd.get(), 0, image.header.bytes)) return BmpReadStatus::ShortHeader;

    BmpLayout layout;
    BmpReadStatus status = checkBmpHeader(image.header, fileLength, rules, layout);
    if (status == BmpReadStatus::Ok) status = allocate(layout, image);
    if (status != BmpReadStatus::Ok) return status;
    // A file that shrank after fstat reads short here and is refused like a
    // file that was short to begin with.
    if (!readFully(fd.get(), kBmpHeaderSize, image.between) ||
        !readFully(fd.get(), kBmpHeaderSize + layout.betweenBytes, presentPixels(layout, image))) {
        return BmpReadStatus::Truncated;
    }
    return BmpReadStatus::Ok;
}

BmpReadStatus decodeBmp(std::span<const uint8_t> bytes, BmpImage& image, const ReadRules& rules) {
    const auto fileLength = static_cast<int64_t>(bytes.size());
    if (rules.maxFileBytes > 0 && fileLength > rules.maxFileBytes) return BmpReadStatus::TooLarge;
    if (fileLength < kBmpHeaderSize) return BmpReadStatus::ShortHeader;
    std::copy_n(bytes.begin(), kBmpHeaderSize, image.header.bytes.begin());

    BmpLayout layout;
    BmpReadStatus status = checkBmpHeader(image.header, fileLength, rules, layout);
    if (status == BmpReadStatus::Ok) status = allocate(layout, image);
    if (status != BmpReadStatus::Ok) return status;
    const auto between = bytes.subspan(kBmpHeaderSize, image.between.size());
    std::copy(between.begin(), between.end(), image.between.begin());
    const std::span<uint8_t> present = presentPixels(layout, image);
    const auto stored = bytes.subspan(static_cast<size_t>(kBmpHeaderSize + layout.betweenBytes), present.size());
    std::copy(stored.begin(), stored.end(), present.begin());
    return BmpReadStatus::Ok;
}

bool writeBmp(const char* path, const BmpHeader& header, std::span<const uint8_t> between,
              std::span<const uint8_t> pixels) {
    std::vector<uint8_t> head;
    try {
        head.reserve(header.bytes.size() + between.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
    head.insert(head.end(), header.bytes.begin(), header.bytes.end());
    head.insert(head.end(), between.begin(), between.end());
    return writeFileAtomically(path, head, pixels);
}

bool writeFileAtomically(const char* path, std::span<const uint8_t> head,
                         std::span<const uint8_t> body) {
    if (path == nullptr || *path == '\0') return false;
    std::string target;
    try {
        target = path;
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (target.back() == '/') return false;

    // An existing target keeps its permission bits; a new one gets the
    // usual 0666 less the umask.
    struct stat existing {};
    const bool keepMode = ::stat(path, &existing) == 0 && S_ISREG(existing.st_mode);

    std::string temp;
    int raw = -1;
    for (unsigned attempt = 0; attempt < 16 && raw < 0; ++attempt) {
        temp = temporaryNameFor(target, attempt);
        raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw < 0 && errno != EEXIST) return false;
    }
    if (raw < 0) return false;
    Fd fd(raw);

    // Keeping the mode is a courtesy: a target owned by someone else in a
    // writable folder is still replaced.
    if (keepMode) (void)::fchmod(fd.get(), existing.st_mode & 07777);
    // No fsync: the preview path writes on every keystroke and a flush per
    // file costs milliseconds. The rename still guarantees that a crash,
    // a kill or a full disk never leaves a partial target.
    bool ok = writeFully(fd.get(), head) && writeFully(fd.get(), body);
    ok = fd.close() && ok;
    if (ok && ::rename(temp.c_str(), path) == 0) return true;
    ::unlink(temp.c_str());
    return false;
}

}  // namespace bmp
