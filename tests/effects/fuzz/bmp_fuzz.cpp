// Fuzz entry for the BMP reader and the file functions: the input is
// written to a file which is read and passed through every file function
// with small sizes; the tail of the input also drives a paste and a margin
// measurement on small pixel arrays.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "dibpast.h"
#include "getmarg.h"
#include "hresize.h"
#include "sresize.h"
#include "sresize2.h"
#include "zoom.h"

namespace {

// One pair of file names per process, in TMPDIR (or /tmp).
const std::string& scratchPath(const char* suffix, std::string& store) {
    if (store.empty()) {
        const char* dir = std::getenv("TMPDIR");
        store = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/tesmor-fuzz-" +
                std::to_string(::getpid()) + suffix;
    }
    return store;
}

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void writeInput(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

void fuzzFile(const uint8_t* data, size_t size) {
    static std::string inStore, outStore;
    const std::string& in = scratchPath(".in.bmp", inStore);
    const std::string& out = scratchPath(".out.bmp", outStore);
    writeInput(in, data, size);

    static constexpr int kBits[] = {8, 24};
    tesmor::BmpImage image;
    const tesmor::BmpReadStatus status = tesmor::readBmp(in.c_str(), image, kBits);
    if (status == tesmor::BmpReadStatus::Ok) {
        check(image.width() >= 1 && image.height() >= 1, "positive size");
        check(image.pixels.size() == static_cast<size_t>(image.height()) * image.stride(),
              "pixel bytes = height * stride");
        check(image.between.size() + 54 == static_cast<size_t>(image.header.dataOffset()),
              "between bytes = offset - 54");
    }

    const auto expectOutput = [&](int code) {
        if (code == 1) {
            tesmor::BmpImage result;
            check(tesmor::readBmp(out.c_str(), result, kBits) == tesmor::BmpReadStatus::Ok,
                  "a written result reads back");
        }
        std::remove(out.c_str());
    };
    expectOutput(tesmor::hReSizeFile(in.c_str(), out.c_str(), 3, 2));
    expectOutput(tesmor::hReSizeFile(in.c_str(), out.c_str(), 0, 0));
    expectOutput(tesmor::sReSizeFile(in.c_str(), out.c_str(), -5, 3, 3));
    expectOutput(tesmor::sReSizeFile(in.c_str(), out.c_str(), 0, 0, 0));
    expectOutput(tesmor::sReSize2File(in.c_str(), out.c_str(), {1, 1, 2, 2}, 4, 3, 2));
    expectOutput(tesmor::zoomFile(in.c_str(), out.c_str(), 7, 5));
    expectOutput(tesmor::zoomFile(in.c_str(), out.c_str(), 1, 1));
    std::remove(in.c_str());
}

// The last 12 bytes (when there are that many) choose a paste: signed
// position, size and span values around small pixel arrays.
void fuzzPaste(const uint8_t* data, size_t size) {
    if (size < 12) return;
    const auto* p = reinterpret_cast<const int8_t*>(data + size - 12);
    const int dw = 1 + (data[size - 12] & 7), dh = 1 + (data[size - 11] & 7);
    const int sw = 1 + (data[size - 10] & 7), sh = 1 + (data[size - 9] & 7);
    std::vector<uint8_t> target(static_cast<size_t>(dh) * tesmor::rowStride(24, dw), 0x55);
    std::vector<uint8_t> source(static_cast<size_t>(sh) * tesmor::rowStride(24, sw), 0xAA);
    const tesmor::TargetView t{target.data(), dw, dh};
    const tesmor::ImageView s{source.data(), sw, sh, 3};
    const bool keyed = (p[4] & 1) != 0;
    // Scale the paste size up now and then so that large values are met too.
    const int scale = (p[4] & 2) ? 10000000 : 1;
    tesmor::pasteScaled(t, s, p[5], p[6], p[7] * scale, p[8] * scale, keyed);
    const tesmor::SourceSpan span{p[9], p[10], p[11]};
    if (tesmor::spanInside(span, sw, sh)) tesmor::pasteSpan(t, s, p[5], p[6], p[7], p[8], span, keyed);
    const tesmor::Margins m = tesmor::keyMargins({target.data(), dw, dh, 3});
    check(m.bottom >= 0 && m.top >= 0 && m.bottom + m.top <= dh - 1, "margins within the image");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzFile(data, size);
    fuzzPaste(data, size);
    return 0;
}
