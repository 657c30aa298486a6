// Fuzz entry for the file functions of the effects library: the input is
// written to a file which is passed through every file function with small
// sizes (and the light, turn and edge functions with arguments taken from
// its last bytes); the tail of the input also drives a paste, a margin
// measurement, an in-memory quarter turn and a pattern on small pixel
// arrays. The BMP reader itself has its own entry (tests/common/fuzz).
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "dibpast.h"
#include "effect.h"
#include "fead.h"
#include "fuzz_support.h"
#include "getmarg.h"
#include "hresize.h"
#include "light.h"
#include "rot.h"
#include "rotang.h"
#include "sidedsp.h"
#include "sresize.h"
#include "sresize2.h"
#include "texcolex.h"
#include "zoom.h"

namespace {

using fuzz::check;
using fuzz::scratchPath;

void fuzzFile(const uint8_t* data, size_t size) {
    static std::string inStore, outStore;
    const std::string& in = scratchPath(".in.bmp", inStore);
    const std::string& out = scratchPath(".out.bmp", outStore);
    fuzz::writeInput(in, data, size);

    static constexpr int kBits[] = {8, 24};
    const auto expectOutput = [&](int code) {
        if (code == 1) {
            bmp::BmpImage result;
            check(bmp::readBmp(out.c_str(), result, {kBits}) == bmp::BmpReadStatus::Ok,
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

    // Arguments from the last 8 bytes, signed, now and then scaled far out.
    int8_t arg[8] = {3, -2, 5, 1, 7, 2, 9, 4};
    if (size >= 8) std::memcpy(arg, data + size - 8, sizeof arg);
    const int far = (arg[0] & 1) ? 16000000 : 1;  // 127 * far stays within int
    expectOutput(tesmor::feadFile(in.c_str(), out.c_str(), 0x102030 * arg[1], arg[2] * 3, arg[3] & 3));
    expectOutput(tesmor::lightFile(in.c_str(), out.c_str(), arg[4] * far, arg[5] * far, arg[6],
                                   arg[7]));
    expectOutput(tesmor::sideDspFile(in.c_str(), out.c_str(), arg[1] * far, arg[2], 0xABCDEF));
    expectOutput(tesmor::effectFile(in.c_str(), out.c_str(), arg[3] * 4, arg[4] * 8, arg[5] * 16));
    expectOutput(tesmor::rotAngFile(in.c_str(), out.c_str(), nullptr, nullptr, arg[6] * 0.25f));

    // A quarter turn there and back gives the pixels back.
    static std::string backStore;
    const std::string& back = scratchPath(".back.bmp", backStore);
    const int turned = tesmor::rotFile(in.c_str(), out.c_str(), 1);
    if (turned == 1) {
        check(tesmor::rotFile(out.c_str(), back.c_str(), 2) == 1, "a turned file turns back");
        bmp::BmpImage first, second;
        check(bmp::readBmp(in.c_str(), first, {kBits}) == bmp::BmpReadStatus::Ok &&
                  bmp::readBmp(back.c_str(), second, {kBits}) == bmp::BmpReadStatus::Ok,
              "turned files read back");
        check(first.width() == second.width() && first.height() == second.height(),
              "a quarter turn and back keeps the size");
        // Padding bytes are not pixels: the turned rows pad with zeros.
        const size_t used = static_cast<size_t>(first.width()) * (first.header.bitCount() / 8);
        for (int y = 0; y < first.height(); ++y) {
            const auto row = static_cast<size_t>(y) * static_cast<size_t>(first.stride());
            check(std::equal(first.pixels.begin() + static_cast<std::ptrdiff_t>(row),
                             first.pixels.begin() + static_cast<std::ptrdiff_t>(row + used),
                             second.pixels.begin() + static_cast<std::ptrdiff_t>(row)),
                  "a quarter turn and back keeps the pixels");
        }
        std::remove(back.c_str());
    }
    std::remove(out.c_str());
    std::remove(in.c_str());
}

// The tail also drives RotM on a buffer that holds the larger image (with
// a guard after it) and a small pattern.
void fuzzMemory(const uint8_t* data, size_t size) {
    if (size < 4) return;
    const auto w = static_cast<int16_t>(data[size - 4] % 9);
    const auto h = static_cast<int16_t>(data[size - 3] % 9);
    const size_t bytes = static_cast<size_t>(
        std::max(tesmor::bytes8(w, h), tesmor::bytes8(h, w)));
    std::vector<uint8_t> buffer(bytes + 16, 0xEE);
    for (size_t i = 0; i < bytes; ++i) buffer[i] = data[i % size];
    int16_t tw = w, th = h;
    const int code = tesmor::rotateInPlace(buffer.data(), &tw, &th, static_cast<int8_t>(data[size - 2]));
    check(code <= 1 && code >= -5, "RotM code in range");
    for (size_t i = bytes; i < buffer.size(); ++i) check(buffer[i] == 0xEE, "RotM stays in its buffer");
    if (code == 1) check(tw == h && th == w, "RotM swaps the sizes");

    const tesmor::Image pattern = tesmor::stripePattern(1 + data[size - 4] % 5, 1 + data[size - 3] % 5,
                                                        tesmor::colourOf(0x123456), tesmor::colourOf(0xFEDCBA),
                                                        static_cast<int8_t>(data[size - 2]),
                                                        static_cast<int8_t>(data[size - 1]) * 7);
    check(pattern.data.size() == static_cast<size_t>(pattern.height) * pattern.stride(), "pattern size");
}

// The last 12 bytes (when there are that many) choose a paste: signed
// position, size and span values around small pixel arrays.
void fuzzPaste(const uint8_t* data, size_t size) {
    if (size < 12) return;
    const auto* p = reinterpret_cast<const int8_t*>(data + size - 12);
    const int dw = 1 + (data[size - 12] & 7), dh = 1 + (data[size - 11] & 7);
    const int sw = 1 + (data[size - 10] & 7), sh = 1 + (data[size - 9] & 7);
    std::vector<uint8_t> target(static_cast<size_t>(dh) * bmp::rowStride(24, dw), 0x55);
    std::vector<uint8_t> source(static_cast<size_t>(sh) * bmp::rowStride(24, sw), 0xAA);
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
    fuzzMemory(data, size);
    return 0;
}
