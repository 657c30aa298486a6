#include "render.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "bmp_file.h"
#include "cp932.h"
#include "font_selection.h"
#include "freetype_glyph_source.h"
#include "halve.h"
#include "layout.h"
#include "segmentation.h"

namespace pavrex {
namespace {

// Cell heights of the font at the three internal resolutions.
constexpr int kCellHeight[3] = {96, 192, 384};

// The face name honours at most 31 bytes before its NUL.
constexpr size_t kFaceNameLimit = 31;

void fixZero(int32_t& colour) {
    if (colour == 0) colour = 1;
}

}  // namespace

int normalizeQuality(int quality) {
    if (quality < 0) return 0;
    if (quality <= 2) return quality;
    if (quality <= 50) return 2;
    if (quality < 100) return 100;
    return std::min(quality, 102);
}

PavrexStyle prepareStyle(const PavrexStyle& record, int q) {
    PavrexStyle s = record;
    if (q == 1 || q == 2) {
        const int factor = q == 1 ? 2 : 4;
        // A value beyond the 32-bit range stays at its end rather than wrapping
        // round to a small or opposite one.
        for (int32_t* f : {&s.ThickenX, &s.ThickenY, &s.OutlineWidth, &s.ReliefDepth, &s.ShadowDistance,
                           &s.ShadowBlur, &s.ShadowSpread, &s.SpacingPx}) {
            *f = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(*f) * factor, INT32_MIN, INT32_MAX));
        }
        s.ReliefCurvature /= factor;
    }
    for (int32_t* c : {&s.FillColor1, &s.FillColor2, &s.FillColor3, &s.OutlineColor1, &s.OutlineColor2,
                       &s.BackColor, &s.SpareColor1, &s.SpareColor2}) {
        fixZero(*c);
    }
    for (int i = 0; i < 40; ++i) {
        if (s.CharWidth[i] == 0) s.CharWidth[i] = 100;
        if (s.CharHeight[i] == 0) s.CharHeight[i] = 100;
    }
    return s;
}

std::unique_ptr<GlyphSource> openSystemFont(std::string_view cp932Face, int cellHeight) {
    const auto choice = selectFont(cp932Face);
    if (!choice) return nullptr;
    return FreeTypeGlyphSource::open(choice->file, choice->faceIndex, cellHeight);
}

Rendering renderText(std::string_view text, const PavrexStyle& record, int quality, int glyphIndex,
                     const FontFactory& fonts, StepRunner steps, bool whiteInk) {
    Rendering r;
    RenderContext& c = r.context;
    c.whiteInk = whiteInk;
    c.quality = quality;
    c.q = quality > 99 ? quality - 100 : quality;
    c.style = prepareStyle(record, c.q);

    std::string_view face = cp932::readNulField(std::span<const char>(c.style.FontName));
    face = face.substr(0, std::min(face.size(), kFaceNameLimit));
    auto font = fonts(face, kCellHeight[c.q]);
    if (!font) {
        r.code = PAVREX_CANNOT_RENDER;
        return r;
    }

    // An empty text is laid out as one blank: background only, one line high.
    auto glyphs = segmentText(text.empty() ? std::string_view(" ") : text, c.style.RotateDashes);
    std::vector<GlyphMetrics> metrics;
    metrics.reserve(glyphs.size());
    for (const auto& g : glyphs) {
        metrics.push_back({font->measureWidth(g.bytes), font->cellHeight(), g.smallKana, g.turned});
    }
    const Layout layout = computeLayout(c.style, c.q, metrics);

    // A degenerate style still gets a (tiny) canvas; an absurd one is refused.
    const long long width = std::max<long long>(layout.width, 4);
    const long long height = std::max<long long>(layout.height, 1);
    if (width > kMaxCanvasSide || height > kMaxCanvasSide || width * height > maxCanvasPixels(c.q)) {
        r.code = PAVREX_CANNOT_RENDER;
        return r;
    }
    c.width = static_cast<int>(width);
    c.height = static_cast<int>(height);
    c.stride = bmp::rowStride(24, c.width);
    c.canvas.assign(static_cast<size_t>(c.height) * c.stride, 255);

    std::vector<PlacedGlyph> placed;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        if (glyphIndex != -1 && static_cast<size_t>(glyphIndex) != i) continue;
        const auto& m = metrics[i];
        placed.push_back(placeGlyph(font->draw(glyphs[i].bytes, m.width, m.height), layout.glyphs[i]));
        if (glyphIndex != -1) {
            r.glyphRendered = true;
            r.extent = glyphExtent(layout.glyphs[i], layout.slantSine, c.height);
        }
    }
    transferGlyphs(c, placed, layout.slantSine);

    c.allocateWorkBuffers();
    steps(c);
    if (quality > 99) halveCanvas(c);
    return r;
}

bool writeCanvas(const RenderContext& c, const char* path) {
    const bmp::BmpHeader header = bmp::makeHeader24(c.width, c.height);
    return bmp::writeBmp(path, header, {}, c.canvas);
}

}  // namespace pavrex
