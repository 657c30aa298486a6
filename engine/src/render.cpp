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

namespace {

// Everything a rendering decides before it touches a pixel: the font, the
// glyphs and their metrics, the layout and the canvas size.
struct CanvasPlan {
    int code = PAVREX_OK;
    std::unique_ptr<GlyphSource> font;
    std::vector<GlyphText> glyphs;
    std::vector<GlyphMetrics> metrics;
    Layout layout;
    int width = 0;
    int height = 0;
};

CanvasPlan planCanvas(std::string_view text, RenderContext& c, const FontFactory& fonts) {
    CanvasPlan plan;
    std::string_view face = cp932::readNulField(std::span<const char>(c.style.FontName));
    face = face.substr(0, std::min(face.size(), kFaceNameLimit));
    plan.font = fonts(face, kCellHeight[c.q]);
    if (!plan.font) {
        plan.code = PAVREX_CANNOT_RENDER;
        return plan;
    }

    // An empty text is laid out as one blank: background only, one line high.
    plan.glyphs = segmentText(text.empty() ? std::string_view(" ") : text, c.style.RotateDashes);
    plan.metrics.reserve(plan.glyphs.size());
    for (const auto& g : plan.glyphs) {
        plan.metrics.push_back({plan.font->measureWidth(g.bytes), plan.font->cellHeight(), g.smallKana, g.turned});
    }
    plan.layout = computeLayout(c.style, c.q, plan.metrics);

    // A degenerate style still gets a (tiny) canvas; an absurd one is refused.
    const long long width = std::max<long long>(plan.layout.width, 4);
    const long long height = std::max<long long>(plan.layout.height, 1);
    if (width > kMaxCanvasSide || height > kMaxCanvasSide || width * height > maxCanvasPixels(c.q)) {
        plan.code = PAVREX_CANNOT_RENDER;
        return plan;
    }
    plan.width = static_cast<int>(width);
    plan.height = static_cast<int>(height);
    return plan;
}

void startContext(RenderContext& c, const PavrexStyle& record, int quality, bool whiteInk) {
    c.whiteInk = whiteInk;
    c.quality = quality;
    c.q = quality > 99 ? quality - 100 : quality;
    c.style = prepareStyle(record, c.q);
}

}  // namespace

Rendering renderText(std::string_view text, const PavrexStyle& record, int quality, int glyphIndex,
                     const FontFactory& fonts, StepRunner steps, bool whiteInk) {
    Rendering r;
    RenderContext& c = r.context;
    startContext(c, record, quality, whiteInk);
    const CanvasPlan plan = planCanvas(text, c, fonts);
    if (plan.code != PAVREX_OK) {
        r.code = plan.code;
        return r;
    }
    c.width = plan.width;
    c.height = plan.height;
    c.stride = bmp::rowStride(24, c.width);
    c.canvas.assign(static_cast<size_t>(c.height) * c.stride, 255);

    std::vector<PlacedGlyph> placed;
    for (size_t i = 0; i < plan.glyphs.size(); ++i) {
        if (glyphIndex != -1 && static_cast<size_t>(glyphIndex) != i) continue;
        const auto& m = plan.metrics[i];
        placed.push_back(placeGlyph(plan.font->draw(plan.glyphs[i].bytes, m.width, m.height), plan.layout.glyphs[i]));
        if (glyphIndex != -1) {
            r.glyphRendered = true;
            r.extent = glyphExtent(plan.layout.glyphs[i], plan.layout.slantSine, c.height);
        }
    }
    transferGlyphs(c, placed, plan.layout.slantSine);

    c.allocateWorkBuffers();
    steps(c);
    if (quality > 99) halveCanvas(c);
    return r;
}

Measure measureText(std::string_view text, const PavrexStyle& record, int quality, const FontFactory& fonts) {
    RenderContext c;
    startContext(c, record, quality, false);
    const CanvasPlan plan = planCanvas(text, c, fonts);
    if (plan.code != PAVREX_OK) return {plan.code, 0, 0};
    if (quality > 99) return {PAVREX_OK, halvedSide(plan.width), halvedSide(plan.height)};
    return {PAVREX_OK, plan.width, plan.height};
}

bool writeCanvas(const RenderContext& c, const char* path) {
    const bmp::BmpHeader header = bmp::makeHeader24(c.width, c.height);
    return bmp::writeBmp(path, header, {}, c.canvas);
}

}  // namespace pavrex
