// The exported C functions of libPavrex.so: argument checks and result
// codes around the rendering core; no exception crosses the boundary.
#include <algorithm>
#include <cstring>
#include <new>

#include "pavrex.h"
#include "font_selection.h"
#include "render.h"

namespace {

constexpr size_t kMaxTextBytes = 255;

}  // namespace

namespace {

int render(const char* text, const PavrexStyle* record, const char* outPath, int quality, int glyphIndex,
           int* outStart, int* outEnd, bool whiteInk) {
    if (!text || !record || !outPath) return PAVREX_BAD_ARGUMENT;
    const size_t length = strnlen(text, kMaxTextBytes + 1);
    if (length > kMaxTextBytes) return PAVREX_TEXT_TOO_LONG;
    try {
        const auto rendering = pavrex::renderText(std::string_view(text, length), *record,
                                                  pavrex::normalizeQuality(quality), glyphIndex,
                                                  pavrex::openSystemFont, pavrex::runRenderingSteps, whiteInk);
        if (rendering.code != PAVREX_OK) return rendering.code;
        if (!pavrex::writeCanvas(rendering.context, outPath)) return PAVREX_WRITE_FAILED;
        if (glyphIndex != -1) {
            if (outStart) *outStart = rendering.glyphRendered ? rendering.extent.start : 0;
            if (outEnd) *outEnd = rendering.glyphRendered ? rendering.extent.end : 0;
        }
        return PAVREX_OK;
    } catch (const std::bad_alloc&) {
        return PAVREX_CANNOT_RENDER;
    } catch (...) {
        return PAVREX_CANNOT_RENDER;
    }
}

}  // namespace

extern "C" PAVREX_API int ImgMake2(const char* text, const PavrexStyle* record, const char* outPath, int quality,
                                   int glyphIndex, int* outStart, int* outEnd) {
    return render(text, record, outPath, quality, glyphIndex, outStart, outEnd, false);
}

extern "C" PAVREX_API int ImgMake3(const char* text, const PavrexStyle* record, const char* outPath, int quality,
                                   int flags) {
    if (flags & ~PAVREX_WHITE_INK) return PAVREX_BAD_ARGUMENT;
    return render(text, record, outPath, quality, -1, nullptr, nullptr, (flags & PAVREX_WHITE_INK) != 0);
}

extern "C" PAVREX_API int ImgMake(const char* text, const PavrexStyle* record, const char* outPath, int quality) {
    return ImgMake2(text, record, outPath, quality, -1, nullptr, nullptr);
}

extern "C" PAVREX_API int ImgMeasure(const char* text, const PavrexStyle* record, int quality, int* width,
                                     int* height) {
    if (!text || !record || !width || !height) return PAVREX_BAD_ARGUMENT;
    const size_t length = strnlen(text, kMaxTextBytes + 1);
    if (length > kMaxTextBytes) return PAVREX_TEXT_TOO_LONG;
    try {
        const pavrex::Measure m = pavrex::measureText(std::string_view(text, length), *record,
                                                      pavrex::normalizeQuality(quality), pavrex::openSystemFont);
        if (m.code != PAVREX_OK) return m.code;
        *width = m.width;
        *height = m.height;
        return PAVREX_OK;
    } catch (...) {
        return PAVREX_CANNOT_RENDER;
    }
}

extern "C" PAVREX_API int PavrexFaceAlias(const char* face, char* out, int outSize) {
    if (!face || !out || outSize <= 0) return 0;
    const std::string_view name(face);
    const std::string_view mapped = pavrex::mapFaceAlias(name);
    if (mapped.data() == name.data()) return 0;
    const size_t n = std::min(mapped.size(), static_cast<size_t>(outSize - 1));
    std::memcpy(out, mapped.data(), n);
    out[n] = '\0';
    return 1;
}

extern "C" PAVREX_API int PavrexVer(int /*ignored*/) { return 121; }
