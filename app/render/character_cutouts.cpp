#include "character_cutouts.h"

#include <QFile>

#include "cp932_qstring.h"
#include "shared_routines.h"

namespace vakuro {
namespace {

bool columnHasInk(const QImage& image, int x, int rows, QRgb background) {
    for (int y = 0; y < rows; ++y) {
        if (image.pixel(x, y) != background) return true;
    }
    return false;
}

}  // namespace

CharacterCutouts SplitCharacterImages(ProgramState& state, const QString& text, const QString& workPath,
                                      const QImage& base, int W, int H, double scale, int splitType) {
    CharacterCutouts out;
    if (base.isNull() || W < 1 || H < 1) return out;
    const int h = std::min(base.height(), H);
    const QRgb bg = base.pixel(0, 0);
    out.strip = QImage(3, h, QImage::Format_RGB32);
    out.strip.fill(Qt::white);
    for (int y = 0; y < h; ++y) out.strip.setPixel(0, y, bg);
    out.glyphLeft[0] = 0;

    // Glyphs are counted on what the engine receives.
    const QByteArray bytes = toCp932Lossy(text);
    const QString drawn = fromCp932(bytes);
    const QByteArray work = QFile::encodeName(workPath);
    const auto& engine = state.libraries().engine;
    const auto& effects = state.libraries().effects;
    int previous = -1;
    for (int i = 1; i <= drawn.size(); ++i) {
        bool joined = false;
        const int m = GlyphIndex(drawn, i, joined);
        if (m == previous) continue;  // the position of a voiced mark
        previous = m;
        const int t = m + 1;
        if (t > kMaxCutGlyphs) break;

        int start = 0, end = 0;
        engine.ImgMake2(bytes.constData(), &state.style, work.constData(), 0, m, &start, &end);
        effects.SReSize(work.constData(), work.constData(), W, H, 2);
        QImage glyph(workPath, "BMP");
        if (glyph.isNull()) {
            glyph = QImage(W, H, QImage::Format_RGB32);
            glyph.fill(bg);
        }
        const int rows = std::min(h, glyph.height());
        const int width = std::min(W, glyph.width());

        int left = std::clamp(static_cast<int>(std::lround(scale * start)), 0, width);
        while (left < width && !columnHasInk(glyph, left, rows, bg)) ++left;
        const int floor = out.glyphLeft[t - 1];
        int right = std::min(static_cast<int>(std::lround(scale * end + 1)), width - 1);
        while (right >= floor && right >= 0 && !columnHasInk(glyph, right, rows, bg)) --right;
        if (left >= width || right < left) {
            // No ink: a blank keeps its place in the layout, zero wide.
            out.glyphLeft[t] = std::clamp(static_cast<int>(std::lround(scale * start)), 0, std::max(0, width - 1));
            out.glyphWidth[t] = 0;
            QImage blank(1, h, QImage::Format_RGB32);
            blank.fill(bg);
            out.images[QStringLiteral("C%1").arg(t)] = blank;
            continue;
        }
        out.glyphLeft[t] = left;
        out.glyphWidth[t] = right - left;
        QImage piece(right - left + 1, h, QImage::Format_RGB32);
        piece.fill(bg);
        const QImage& source = splitType == 1 ? glyph : base;
        for (int c = 0; c <= right - left; ++c) {
            for (int y = 0; y < rows; ++y) {
                if (glyph.pixel(left + c, y) == bg) continue;
                if (left + c < source.width() && y < source.height()) piece.setPixel(c, y, source.pixel(left + c, y));
            }
        }
        out.images[QStringLiteral("C%1").arg(t)] = piece;
    }
    return out;
}

}  // namespace vakuro
