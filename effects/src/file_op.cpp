#include "file_op.h"

#include <cstring>
#include <utility>

namespace tesmor {

int sourceCode(bmp::BmpReadStatus status, const SourceCodes& codes) {
    switch (status) {
        case bmp::BmpReadStatus::Ok: return kSuccess;
        case bmp::BmpReadStatus::CannotOpen: return codes.cannotOpen;
        case bmp::BmpReadStatus::ShortHeader: return codes.shortHeader;
        case bmp::BmpReadStatus::NotB: return codes.notB;
        case bmp::BmpReadStatus::NotM: return codes.notM;
        case bmp::BmpReadStatus::Compressed: return codes.compressed;
        case bmp::BmpReadStatus::BadBitCount: return codes.badBitCount;
        case bmp::BmpReadStatus::OutOfMemory: return codes.outOfMemory;
        // A damaged or absurd file: its headers, colour table, offsets, sizes
        // or pixel rows do not fit together or with the file's length.
        case bmp::BmpReadStatus::TooLarge:
        case bmp::BmpReadStatus::BadInfoHeader:
        case bmp::BmpReadStatus::BadGeometry:
        case bmp::BmpReadStatus::BadColourTable:
        case bmp::BmpReadStatus::BadOffset:
        case bmp::BmpReadStatus::Truncated: return codes.badGeometry;
    }
    return codes.badGeometry;
}

bool writeResult(const char* path, const bmp::BmpImage& source, const Image& result, bool keepBetween) {
    const std::span<const uint8_t> between =
        keepBetween ? std::span<const uint8_t>(source.between) : std::span<const uint8_t>();
    const bmp::BmpHeader header =
        bmp::deriveHeader(source.header, result.width, result.height, static_cast<int64_t>(between.size()));
    return bmp::writeBmp(path, header, between, result.data);
}

TargetSize resolveHalfSize(int newWidth, int newHeight, int sourceWidth, int sourceHeight) {
    if (newWidth == 0 && newHeight == 0) return {sourceWidth / 2, sourceHeight / 2};
    return {newWidth, newHeight};
}

bool samePath(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

int readImage24(const char* path, bmp::BmpImage& file, Image& image, const SourceCodes& codes) {
    const int read = sourceCode(bmp::readBmp(path, file), codes);
    if (read != kSuccess) return read;
    image.width = file.width();
    image.height = file.height();
    image.bytesPerPixel = 3;
    image.data = std::move(file.pixels);
    return kSuccess;
}

}  // namespace tesmor
