// The exported light, fade and colour functions and the library version:
// argument conventions and result codes around the core operations.
#include "effect.h"
#include "export_guard.h"
#include "fead.h"
#include "light.h"
#include "recolour_file.h"
#include "sidedsp.h"
#include "tesmor32.h"
#include "texcolex.h"

using namespace tesmor;

namespace {
// The version the program requires at least.
constexpr int kTesmorVersion = 126;
}  // namespace

extern "C" {

TESMOR32_API int Fead(const char* source, const char* destination, int colour, int level,
                      int mode) {
    return guarded(file_result::OutOfMemory,
                   [&] { return feadFile(source, destination, colour, level, mode); });
}

TESMOR32_API int Light(const char* source, const char* destination, int lightX, int lightY,
                       int strength, int falloff) {
    return guarded(file_result::OutOfMemory, [&] {
        return lightFile(source, destination, lightX, lightY, strength, falloff);
    });
}

TESMOR32_API int SideDsp(const char* source, const char* destination, int edgeX, int edgeWidth,
                         int colour) {
    return guarded(file_result::OutOfMemory,
                   [&] { return sideDspFile(source, destination, edgeX, edgeWidth, colour); });
}

TESMOR32_API int Effect(const char* source, const char* destination, int brightness,
                        int contrast, int sharpen) {
    return guarded(effect_result::OutOfMemory, [&] {
        return effectFile(source, destination, low16(brightness), low16(contrast),
                          low16(sharpen));
    });
}

TESMOR32_API int TexColEx(const char* destination, int width, int height, int colourA,
                          int colourB, int repeat, int angle, int /*spare*/) {
    return guarded(texcolex_result::OutOfMemory, [&] {
        return texColExFile(destination, width, height, colourA, colourB, repeat, angle);
    });
}

TESMOR32_API int TesmorVer(int /*ignored*/) { return kTesmorVersion; }

}  // extern "C"
