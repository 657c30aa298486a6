// A generation context for one generator, without the driver: a base
// picture written as the base file, the frame size, the style's background
// colour and, for the per-character effects, cut-outs made up of plain
// blocks. Frames are read back from the work file.
#pragma once

#include <vector>

#include <QImage>

#include "animation_fixture.h"
#include "character_cutouts.h"
#include "generation_context.h"
#include "generators/picture_painting.h"

namespace vakuro::testing {

class GeneratorFixture {
public:
    explicit GeneratorFixture(const QImage& base, int backColour = 0x1E140A) : ctx(*f.state, effects) {
        f.state->style.BackColor = backColour;
        ctx.basePath = TempFolder() + QStringLiteral("GifAnime0.bmp");
        ctx.workPath = TempFolder() + QStringLiteral("GifAnimeW.bmp");
        ctx.baseFile = QFile::encodeName(ctx.basePath);
        ctx.workFile = QFile::encodeName(ctx.workPath);
        ctx.basePicture = base.convertToFormat(QImage::Format_RGB32);
        ctx.writePicture(ctx.basePicture, ctx.baseFile);
        ctx.frameWidth = base.width();
        ctx.frameHeight = base.height();
        ctx.outputWidth = base.width();
        ctx.outputHeight = base.height();
        ctx.cutouts = &cut;
    }

    QRgb back() const { return pixelOf(f.state->style.BackColor); }
    QImage work() const { return readPicture(ctx.workFile); }

    // Adds glyph t = count + 1: a block of one colour, width + 1 pixels wide
    // and as high as the frame, with its left edge at left (no ink: a
    // blank, one pixel of the background colour, width 0).
    void addGlyph(int left, int width, QRgb colour, bool ink = true) {
        const int t = static_cast<int>(cut.images.size()) + 1;
        QImage picture(ink ? width + 1 : 1, ctx.frameHeight, QImage::Format_RGB32);
        picture.fill(ink ? colour : back());
        cut.images[QStringLiteral("C%1").arg(t)] = picture;
        if (t <= kMaxCutGlyphs) {
            cut.glyphLeft[static_cast<size_t>(t)] = left;
            cut.glyphWidth[static_cast<size_t>(t)] = ink ? width : 0;
        }
    }

    // From now on the frames a generator appends are read back into
    // frames, with their weights into weights.
    void recordFrames() {
        frames.clear();
        ctx.sink = [this](const QByteArray& path, int, int weight) {
            frames.push_back(readPicture(path));
            weights.push_back(weight);
            return true;
        };
    }

    AnimationFixture f;
    EffectState effects;
    CharacterCutouts cut;
    GenerationContext ctx;
    std::vector<QImage> frames;
    std::vector<int> weights;
};

// A picture of one colour.
inline QImage plainPicture(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Rows of the picture whose pixel in column x has the colour.
inline std::vector<int> rowsOf(const QImage& picture, int x, QRgb colour) {
    std::vector<int> rows;
    for (int y = 0; y < picture.height(); ++y)
        if (picture.pixel(x, y) == colour) rows.push_back(y);
    return rows;
}

}  // namespace vakuro::testing
