// Fuzz entry for the BMP module: the input is read from memory and from a
// file under the rules of each reader of the system (the effects library's
// 8- and 24-bit files, the engine's 24-bit textures, the image-format
// component's files in either row order with its own limits). Both
// readings must agree, an image that reads must agree with its header, and
// it must write and read back unchanged.
#include <cstdint>
#include <cstdio>
#include <string>

#include "bmp_file.h"
#include "fuzz_support.h"

namespace {

using fuzz::check;

constexpr int kEightAndTwentyFour[] = {8, 24};
const bmp::ReadRules kRules[] = {
    {kEightAndTwentyFour},                                                     // effects
    {},                                                                        // engine textures
    {kEightAndTwentyFour, true, 32767, int64_t{1} << 26, int64_t{512} << 20},  // image formats
};

void checkImage(const bmp::BmpImage& image) {
    check(image.width() >= 1 && image.height() >= 1, "positive size");
    check(image.pixels.size() == static_cast<size_t>(image.height()) * image.stride(),
          "pixel bytes = rows * stride");
    check(image.between.size() + 54 == static_cast<uint32_t>(image.header.dataOffset()),
          "between bytes = offset - 54");
    const size_t table = image.colourTable().size();
    check(image.header.bitCount() == 8 ? table >= 4 && table <= 1024 : table == 0, "colour table size");
}

void fuzzRules(const uint8_t* data, size_t size, const std::string& in, const std::string& out,
               const bmp::ReadRules& rules) {
    bmp::BmpImage fromMemory, fromFile;
    const bmp::BmpReadStatus status = bmp::decodeBmp({data, size}, fromMemory, rules);
    check(bmp::readBmp(in.c_str(), fromFile, rules) == status, "file and memory give one status");
    if (status != bmp::BmpReadStatus::Ok) return;
    checkImage(fromMemory);
    check(fromMemory.header.bytes == fromFile.header.bytes && fromMemory.between == fromFile.between &&
              fromMemory.pixels == fromFile.pixels,
          "file and memory give one image");

    check(bmp::writeBmp(out.c_str(), fromMemory.header, fromMemory.between, fromMemory.pixels),
          "an image that reads can be written");
    bmp::BmpImage again;
    check(bmp::readBmp(out.c_str(), again, rules) == bmp::BmpReadStatus::Ok, "a written image reads back");
    check(again.header.bytes == fromMemory.header.bytes && again.between == fromMemory.between &&
              again.pixels == fromMemory.pixels,
          "a written image reads back unchanged");
    std::remove(out.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::string inStore, outStore;
    const std::string& in = fuzz::scratchPath(".in.bmp", inStore);
    const std::string& out = fuzz::scratchPath(".out.bmp", outStore);
    fuzz::writeInput(in, data, size);
    for (const bmp::ReadRules& rules : kRules) fuzzRules(data, size, in, out, rules);
    std::remove(in.c_str());
    return 0;
}
