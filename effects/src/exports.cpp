// The exported resizing, zoom and paste functions: argument conventions,
// argument checks and result codes around the core operations.
#include "tesmor32.h"

#include "dibpast.h"
#include "export_guard.h"
#include "getmarg.h"
#include "hresize.h"
#include "sresize.h"
#include "sresize2.h"
#include "zoom.h"

using namespace tesmor;

extern "C" {

TESMOR32_API int HReSize(const char* source, const char* destination, int newWidth,
                         int newHeight) {
    return guarded(hresize_result::OutOfMemory, [&] {
        return hReSizeFile(source, destination, low16(newWidth), low16(newHeight));
    });
}

TESMOR32_API int SReSize(const char* source, const char* destination, int newWidth,
                         int newHeight, int samples) {
    return guarded(supersample_result::OutOfMemory, [&] {
        return sReSizeFile(source, destination, low16(newWidth), low16(newHeight), samples);
    });
}

TESMOR32_API int SReSize2(const char* source, const char* destination, int x0, int y0,
                          int windowWidth, int windowHeight, int newWidth, int newHeight,
                          int samples) {
    return guarded(supersample_result::OutOfMemory, [&] {
        const Window window{low16(x0), low16(y0), low16(windowWidth), low16(windowHeight)};
        return sReSize2File(source, destination, window, low16(newWidth), low16(newHeight),
                            samples);
    });
}

TESMOR32_API int Zoom(const char* source, const char* destination, int newWidth,
                      int newHeight) {
    return guarded(zoom_result::OutOfMemory,
                   [&] { return zoomFile(source, destination, newWidth, newHeight); });
}

TESMOR32_API int DIBPast(unsigned char* destination, const unsigned char* source, int /*spare*/,
                         int dstWidth, int dstHeight, int srcWidth, int srcHeight, int x,
                         int y, int w, int h, int mode) {
    using namespace dibpast_result;
    if (destination == nullptr || source == nullptr) return NullPointer;
    if (!validPixelArray(dstWidth, dstHeight) || !validPixelArray(srcWidth, srcHeight)) {
        return BadSize;
    }
    return guarded(OutOfMemory, [&] {
        pasteScaled({destination, dstWidth, dstHeight}, {source, srcWidth, srcHeight, 3}, x, y,
                    w, h, mode == 1);
        return Ok;
    });
}

TESMOR32_API int DIBPast2(unsigned char* destination, const unsigned char* source, int /*spare*/,
                          int dstWidth, int dstHeight, int srcWidth, int srcHeight, int x,
                          int y, int w, int h, int /*spare2*/, int srcTop, int srcSpanX,
                          int srcSpanY, int mode) {
    using namespace dibpast_result;
    if (destination == nullptr || source == nullptr) return NullPointer;
    if (!validPixelArray(dstWidth, dstHeight) || !validPixelArray(srcWidth, srcHeight)) {
        return BadSize;
    }
    if (w < 1 || h < 1) return Ok;
    const SourceSpan span{srcTop, srcSpanX, srcSpanY};
    if (!spanInside(span, srcWidth, srcHeight)) return SpanOutside;
    return guarded(OutOfMemory, [&] {
        pasteSpan({destination, dstWidth, dstHeight}, {source, srcWidth, srcHeight, 3}, x, y, w,
                  h, span, mode == 1);
        return Ok;
    });
}

TESMOR32_API int GetMarg(const unsigned char* pixels, int width, int height, int /*spare*/,
                         int* topMargin, int* bottomMargin) {
    using namespace getmarg_result;
    if (pixels == nullptr || topMargin == nullptr || bottomMargin == nullptr) return NullPointer;
    if (!validPixelArray(width, height)) return BadSize;
    const Margins margins = keyMargins({pixels, width, height, 3});
    *topMargin = margins.top;
    *bottomMargin = margins.bottom;
    return Ok;
}

}  // extern "C"
