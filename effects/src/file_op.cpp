#include "file_op.h"

#include <cstring>
#include <utility>

namespace tesmor {

int sourceCode(BmpReadStatus status, const SourceCodes& codes) {
    switch (status) {
        case BmpReadStatus::Ok: return kSuccess;
        case BmpReadStatus::CannotOpen: return codes.cannotOpen;
        case BmpReadStatus::ShortHeader: return codes.shortHeader;
        case BmpReadStatus::NotB: return codes.notB;
        case BmpReadStatus::NotM: return codes.notM;
        case BmpReadStatus::Compressed: return codes.compressed;
        case BmpReadStatus::BadBitCount: return codes.badBitCount;
        case BmpReadStatus::BadGeometry: return codes.badGeometry;
        case BmpReadStatus::OutOfMemory: return codes.outOfMemory;
    }
    return codes.badGeometry;
}

bool writeResult(const char* path, const BmpImage& source, const Image& result, bool keepBetween) {
    const std::span<const uint8_t> between =
        keepBetween ? std::span<const uint8_t>(source.between) : std::span<const uint8_t>();
    const BmpHeader header = deriveHeader(source.header, result.width, result.height,
                                          static_cast<int64_t>(between.size()));
    return writeBmp(path, header, between, result.data);
}

TargetSize resolveHalfSize(int newWidth, int newHeight, int sourceWidth, int sourceHeight) {
    if (newWidth == 0 && newHeight == 0) return {sourceWidth / 2, sourceHeight / 2};
    return {newWidth, newHeight};
}

bool samePath(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

int readImage24(const char* path, BmpImage& file, Image& image, const SourceCodes& codes) {
    const int read = sourceCode(readBmp(path, file), codes);
    if (read != kSuccess) return read;
    image.width = file.width();
    image.height = file.height();
    image.bytesPerPixel = 3;
    image.data = std::move(file.pixels);
    return kSuccess;
}

}  // namespace tesmor
