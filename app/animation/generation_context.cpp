#include "generation_context.h"

#include <chrono>

#include <QFile>

#include "bmp_file.h"
#include "cp932_qstring.h"
#include "dib_image.h"
#include "render_pipeline.h"
#include "shared_routines.h"

namespace vakuro {

AnimationRandom::AnimationRandom()
    : engine_(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count())) {}

double AnimationRandom::next() {
    // 53 random bits: uniform in [0, 1), never 1.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

AnimationRandom& animationRandom() {
    static AnimationRandom random;
    return random;
}

bool GenerationContext::writePicture(const QImage& picture, const QByteArray& path) const {
    if (picture.isNull()) return false;
    const std::vector<uint8_t> bits = ReadPictureBits(picture);
    return bmp::writeBmp(path.constData(), bmp::makeHeader24(picture.width(), picture.height()), {}, bits);
}

QImage GenerationContext::loadPicture(const QString& path) {
    QImage image(path, "BMP");
    if (image.isNull()) return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

int GenerationContext::resizeToOutput(const QByteArray& path) const {
    const auto& fx = libraries().effects;
    int result = smooth ? fx.SReSize(path.constData(), path.constData(), outputWidth, outputHeight, 2) : 0;
    // The plain resize stands in when smoothing is off or fails.
    if (result != 1) result = fx.HReSize(path.constData(), path.constData(), outputWidth, outputHeight);
    return result;
}

QImage GenerationContext::renderText(const QString& path, int highQuality, int qualityBase) {
    if (!renderer) return QImage();
    renderer->PrepareTexture();
    if (!whiteInk) {
        renderer->RenderTextImage(text, highQuality, path, 0, qualityBase);
        return renderer->holder();
    }
    // RenderTextImage with the white-ink flag.
    state.style.RotateDashes = renderer->rotateDashesSetting();
    QFile::remove(path);
    libraries().engine.ImgMake3(toCp932Lossy(text).constData(), &state.style, QFile::encodeName(path).constData(),
                                RenderPipeline::renderQuality(highQuality, qualityBase), PAVREX_WHITE_INK);
    renderer->setHolder(QFile::exists(path) ? QImage(path, "BMP") : QImage());
    return renderer->holder();
}

int levelOf(int l, int n, int scale) {
    if (n == 0) return 0;
    return RoundHalfEven(static_cast<double>(l) * scale / n);
}

}  // namespace vakuro
