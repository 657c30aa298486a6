// Writes, for every shipped template, the title as a transparent PNG beside
// the engine's own renderings of it on black and on white, and an animated
// WebP, for the checks with Pillow (check_transparency.py).
//
// Usage: transparency_samples TEMPLATE_FOLDER OUT_FOLDER
//
// Per template NNN: NNN.png (alpha from the two renderings), NNN_black.bmp
// and NNN_white.bmp (ImgMake3 with PAVREX_WHITE_INK on backgrounds 0 and
// white), NNN_plain_black.bmp (ImgMake, for comparison), and the same with
// the shadow colour made grey (NNN_grey*). manifest.json says what each holds.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstring>

#include "alpha_image.h"
#include "bmp_file.h"
#include "dib_image.h"
#include "imgctl.h"
#include "pavrex.h"
#include "render_pipeline.h"
#include "tesmor32.h"

using namespace vakuro;

namespace {

const char* const kTitle = "\x83\x5C\x83\x82\x83\x8D";  // ソモロ

// The texture file a style's fill needs, as the render pipeline prepares it.
bool prepareTexture(PavrexStyle& s, const QString& folder) {
    const QString file = folder + QStringLiteral("/Texcher.bmp");
    const QByteArray path = QFile::encodeName(file);
    std::memset(s.TextureFile, 0, sizeof s.TextureFile);
    std::strncpy(s.TextureFile, path.constData(), sizeof s.TextureFile - 1);
    if (s.FillType == 5) {
        s.TextureTile = textureTileFlag(s.TextureIndex);
        QFile resource(textureResourcePath(s.TextureIndex));
        if (!resource.open(QIODevice::ReadOnly)) return false;
        QFile out(file);
        return out.open(QIODevice::WriteOnly) && out.write(resource.readAll()) > 0;
    }
    if (s.FillType == 6) {
        TexColEx(path.constData(), 40, 40, s.FillColor2, s.FillColor1, s.PatternRepeat, s.PatternAngle, 1);
        Zoom(path.constData(), path.constData(), 160, 40);
    }
    return true;
}

bool render(const PavrexStyle& style, int back, bool whiteInk, const QString& file, const QString& folder) {
    PavrexStyle s = style;
    s.BackColor = back;
    if (!prepareTexture(s, folder)) return false;
    const QByteArray path = QFile::encodeName(file);
    return ImgMake3(kTitle, &s, path.constData(), 101, whiteInk ? PAVREX_WHITE_INK : 0) == PAVREX_OK;
}

bool writeSet(const PavrexStyle& style, const QString& stem, const QString& folder) {
    const QString black = stem + QStringLiteral("_black.bmp");
    const QString white = stem + QStringLiteral("_white.bmp");
    if (!render(style, 0, true, black, folder) || !render(style, 0xFFFFFF, true, white, folder) ||
        !render(style, 0, false, stem + QStringLiteral("_plain_black.bmp"), folder) ||
        !render(style, 0xFFFFFF, false, stem + QStringLiteral("_plain_white.bmp"), folder))
        return false;
    const QImage rgba = solveAlpha(QImage(black, "BMP"), QImage(white, "BMP"), alphaFavourForShadow(style.ShadowType));
    if (rgba.isNull()) return false;
    const QByteArray png = QFile::encodeName(stem + QStringLiteral(".png"));
    return RGBAtoPNG(png.constData(), rgba.constBits(), rgba.width(), rgba.height(), int(rgba.bytesPerLine())) ==
           IMGCTL_OK;
}

// Three frames of a sliding block on a plain background, transparent.
bool writeWebP(const QString& folder, QJsonObject& manifest) {
    std::vector<int> handles;
    std::vector<FrameRecord> frames;
    const int delays[3] = {7, 30, 12};
    for (int i = 0; i < 3; ++i) {
        QImage p(40, 16, QImage::Format_RGB32);
        p.fill(qRgb(230, 240, 250));
        for (int y = 4; y < 12; ++y)
            for (int x = 4 + 8 * i; x < 14 + 8 * i; ++x) p.setPixel(x, y, qRgb(200, 30 * i, 60));
        const QString file = folder + QStringLiteral("/frame%1.bmp").arg(i);
        const QByteArray path = QFile::encodeName(file);
        if (!bmp::writeBmp(path.constData(), bmp::makeHeader24(40, 16), {}, ReadPictureBits(p))) return false;
        handles.push_back(ToDIB(path.constData()));
        FrameRecord r{};
        r.flags = IMGCTL_FRAME_STANDARD | IMGCTL_TRANSPARENT;
        r.transparentIndex = 230 | 240 << 8 | 250u << 16;
        r.delay = static_cast<int16_t>(delays[i]);
        r.dib = handles.back();
        frames.push_back(r);
    }
    GifAnimeHeader header{};
    header.flags = IMGCTL_ANIME_HEADER_TAG;
    header.loopCount = 2;
    bool ok = true;
    for (const int quality : {IMGCTL_WEBP_LOSSLESS, 90}) {
        const QByteArray path = QFile::encodeName(folder + QStringLiteral("/anim%1.webp").arg(quality < 0 ? 0 : quality));
        ok = ok && DIBtoWebPAni(path.constData(), frames.data(), 3, &header, quality) == IMGCTL_OK;
    }
    for (int h : handles) DeleteDIB(h);
    manifest.insert(QStringLiteral("webp"),
                    QJsonObject{{QStringLiteral("frames"), 3},
                                {QStringLiteral("durations"), QJsonArray{70, 300, 120}},
                                {QStringLiteral("loop"), 2},
                                {QStringLiteral("size"), QJsonArray{40, 16}},
                                {QStringLiteral("ink"), QJsonArray{200, 60}}});
    return ok;
}

// A two-frame WebP of straight-alpha frames: a title's alpha solved from its
// renderings on black and white (stem_black.bmp, stem_white.bmp), then the
// same picture mirrored.
bool writeAlphaWebP(const QString& folder, const QString& stem, QJsonObject& manifest) {
    const QImage rgba = solveAlpha(QImage(stem + QStringLiteral("_black.bmp"), "BMP"),
                                   QImage(stem + QStringLiteral("_white.bmp"), "BMP"));
    if (rgba.isNull()) return false;
    const QImage mirrored = rgba.mirrored(true, false);
    const RgbaFrame frames[2] = {
        {rgba.constBits(), rgba.width(), rgba.height(), int(rgba.bytesPerLine()), 4},
        {mirrored.constBits(), mirrored.width(), mirrored.height(), int(mirrored.bytesPerLine()), 9},
    };
    GifAnimeHeader header{};
    header.flags = IMGCTL_ANIME_HEADER_TAG;
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/alpha.webp"));
    if (RGBAtoWebPAni(path.constData(), frames, 2, &header, IMGCTL_WEBP_LOSSLESS) != IMGCTL_OK) return false;
    manifest.insert(QStringLiteral("alphaWebp"),
                    QJsonObject{{QStringLiteral("stem"), QFileInfo(stem).fileName()},
                                {QStringLiteral("durations"), QJsonArray{40, 90}},
                                {QStringLiteral("loop"), 0}});
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: transparency_samples TEMPLATE_FOLDER OUT_FOLDER\n");
        return 2;
    }
    const QString templates = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    QJsonArray list;
    const QStringList names = QDir(templates).entryList({QStringLiteral("VFmt_*.VTF")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile f(templates + QLatin1Char('/') + name);
        if (!f.open(QIODevice::ReadOnly) || f.size() != PAVREX_STYLE_SIZE) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
            return 1;
        }
        PavrexStyle style;
        const QByteArray bytes = f.readAll();
        std::memcpy(&style, bytes.constData(), sizeof style);
        // The pinned test font, whatever face the template names.
        std::memset(style.FontName, 0, sizeof style.FontName);
        std::strcpy(style.FontName, "IPAGothic");
        const QString number = name.mid(5, 3);
        const QString stem = folder + QLatin1Char('/') + number;
        PavrexStyle grey = style;
        const int c = style.ShadowColor;
        const int mean = ((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF)) / 3;
        grey.ShadowColor = mean | mean << 8 | mean << 16;
        if (!writeSet(style, stem, folder) || !writeSet(grey, stem + QStringLiteral("_grey"), folder)) {
            std::fprintf(stderr, "cannot render %s\n", qPrintable(name));
            return 1;
        }
        list.append(QJsonObject{{QStringLiteral("name"), number},
                                {QStringLiteral("shadowType"), style.ShadowType},
                                {QStringLiteral("shadowColour"), style.ShadowColor},
                                {QStringLiteral("fillType"), style.FillType},
                                {QStringLiteral("fillColour1"), style.FillColor1}});
    }
    QJsonObject manifest{{QStringLiteral("templates"), list}};
    const QString first = list.isEmpty() ? QString() : list[0].toObject()[QStringLiteral("name")].toString();
    if (!writeWebP(folder, manifest) ||
        (!first.isEmpty() && !writeAlphaWebP(folder, folder + QLatin1Char('/') + first + QStringLiteral("_grey"), manifest))) {
        std::fprintf(stderr, "cannot write the WebP samples\n");
        return 1;
    }
    QFile out(folder + QStringLiteral("/manifest.json"));
    if (!out.open(QIODevice::WriteOnly)) return 1;
    out.write(QJsonDocument(manifest).toJson());
    return 0;
}
