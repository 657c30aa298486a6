#include "render_pipeline.h"

#include <QFile>

#include "bmp_file.h"
#include "cp932_qstring.h"
#include "program_paths.h"
#include "settings_store.h"

namespace vakuro {
namespace {

// One character per texture, "1" for the seamless tiles.
const QString kTileTable = QStringLiteral("000000011") + QStringLiteral("100011110") + QStringLiteral("001110001") +
                           QString(36, QLatin1Char('0'));

QString textureFilePath() { return TempFolder() + QStringLiteral("Texcher.bmp"); }

void storePath(char* field, int size, const QString& path) {
    // Paths reach the libraries as the file system's own bytes.
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(field, ' ', static_cast<size_t>(size));
    const int n = std::min<int>(static_cast<int>(bytes.size()), size - 1);
    std::memcpy(field, bytes.constData(), static_cast<size_t>(n));
    field[n] = '\0';
}

}  // namespace

int textureTileFlag(int textureIndex) {
    if (textureIndex < 0 || textureIndex >= kTileTable.size()) return 0;
    return kTileTable.at(textureIndex) == QLatin1Char('1') ? 1 : 0;
}

QString textureResourcePath(int textureIndex) {
    return QStringLiteral(":/textures/%1.bmp").arg(195 + textureIndex);
}

void storeFontName(PavrexStyle& style, const QString& face, bool withNul) {
    setFixedField(style.FontName, sizeof style.FontName, face, withNul);
}

int RenderPipeline::PrepareTexture() {
    PavrexStyle& s = state_.style;
    if (s.FillType == 5) {
        s.TextureTile = textureTileFlag(s.TextureIndex);
        storePath(s.TextureFile, sizeof s.TextureFile, textureFilePath());
        // A texture number without a resource leaves the previous file in use.
        QFile resource(textureResourcePath(s.TextureIndex));
        if (s.TextureIndex < 0 || !resource.open(QIODevice::ReadOnly)) return 0;
        const QByteArray bytes = resource.readAll();
        holder_.loadFromData(bytes, "BMP");
        const QByteArray path = QFile::encodeName(textureFilePath());
        bmp::writeFileAtomically(path.constData(), {},
                                 std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                           static_cast<size_t>(bytes.size())));
    } else if (s.FillType == 6) {
        storePath(s.TextureFile, sizeof s.TextureFile, textureFilePath());
        const QByteArray path = QFile::encodeName(textureFilePath());
        const auto& fx = state_.libraries().effects;
        fx.TexColEx(path.constData(), 40, 40, s.FillColor2, s.FillColor1, s.PatternRepeat, s.PatternAngle, 1);
        fx.Zoom(path.constData(), path.constData(), 160, 40);
    }
    return 0;
}

int RenderPipeline::rotateDashesSetting() const {
    return IniReadInt(state_.settingsPath(), QStringLiteral("Setting"), QStringLiteral("RotYokoSen"), 1);
}

void RenderPipeline::RenderTextImage(const QString& text, int highQuality, const QString& outPath, int /*spare*/,
                                     int qualityBase) {
    PavrexStyle& s = state_.style;
    s.RotateDashes = rotateDashesSetting();
    // Characters code page 932 cannot hold are left out (the main window
    // tells the user which); the rest is drawn.
    const QByteArray bytes = toCp932Lossy(text);
    const QByteArray path = QFile::encodeName(outPath);
    state_.libraries().engine.ImgMake(bytes.constData(), &s, path.constData(), renderQuality(highQuality, qualityBase));
    if (QFile::exists(outPath)) {
        holder_.load(outPath, "BMP");
    } else {
        holder_ = QImage();
    }
}

}  // namespace vakuro
