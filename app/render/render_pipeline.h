// The render pipeline: texture preparation and the render routine shared by
// Draw, file output, clipboard output and animation. The engine always
// writes its result to a BMP file, which is then loaded into the render
// holder.
#pragma once

#include <QImage>
#include <QString>

#include "program_state.h"

namespace vakuro {

// Tiling flag of built-in texture n: 1 for the seamless tiles, 0 for
// pictures stretched over the text (and for numbers beyond the table).
int textureTileFlag(int textureIndex);

// Resource path of built-in texture n (resource number 195 + n).
QString textureResourcePath(int textureIndex);

class RenderPipeline {
public:
    explicit RenderPipeline(ProgramState& state) : state_(state) {}

    // The invisible picture holder that receives every rendering (and the
    // texture during preparation).
    const QImage& holder() const { return holder_; }
    void setHolder(const QImage& image) { holder_ = image; }

    // PrepareTexture: writes "Texcher.bmp" for fill types 5 and 6 and sets
    // TextureFile and TextureTile.
    int PrepareTexture();

    // RenderTextImage: renders text with the current style into outPath
    // (quality base + 100 with the high-quality flag, else 0) and loads the
    // file into the holder (an empty holder when no file exists).
    void RenderTextImage(const QString& text, int highQuality, const QString& outPath, int spare, int qualityBase);

    // The value RenderTextImage puts into the record's RotateDashes before
    // it renders (the option "RotYokoSen").
    int rotateDashesSetting() const;

    // The engine quality RenderTextImage passes.
    static int renderQuality(int highQuality, int qualityBase) { return highQuality != 0 ? qualityBase + 100 : 0; }

private:
    ProgramState& state_;
    QImage holder_;
};

// Stores a face name into the record's 40-byte FontName field.
void storeFontName(PavrexStyle& style, const QString& face, bool withNul);

}  // namespace vakuro
