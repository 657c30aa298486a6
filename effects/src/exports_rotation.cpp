// The exported rotation functions: argument conventions and result codes
// around the core operations.
#include "export_guard.h"
#include "rot.h"
#include "rotang.h"
#include "tesmor32.h"

using namespace tesmor;

extern "C" {

TESMOR32_API int Rot(const char* source, const char* destination, int mode) {
    return guarded(file_result::OutOfMemory,
                   [&] { return rotFile(source, destination, low16(mode)); });
}

TESMOR32_API int RotM(unsigned char* pixels, short* width, short* height, int mode) {
    return guarded(rotm_result::OutOfMemory,
                   [&] { return rotateInPlace(pixels, width, height, low16(mode)); });
}

TESMOR32_API int RotAng(const char* source, const char* destination, int* outWidth,
                        int* outHeight, float angle) {
    return guarded(file_result::OutOfMemory, [&] {
        return rotAngFile(source, destination, outWidth, outHeight, angle);
    });
}

}  // extern "C"
