#include "output_transform.h"

#include <QApplication>
#include <QFile>

#include "button_painter.h"
#include "transform_dialog.h"
#if __has_include("vakuro_transform_pictures.h")
#include "vakuro_transform_pictures.h"
#define VAKURO_HAS_TRANSFORM_PICTURES 1
#endif

namespace vakuro {

int transformHeight(const WarpSettings& warp, int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return warpHeight(warp.type, warp.p1, warp.p2, warp.p3, QSize(width, height));
}

QImage transformImage(const QImage& source, const WarpSettings& warp, int background) {
    return warpImage(source.convertToFormat(QImage::Format_RGB32), warp, colourRefToRgb(background))
        .convertToFormat(QImage::Format_RGB32);
}

void openTransformSettings(ProgramState& state, QWidget* owner) { showTransformDialog(state, owner); }

QPixmap transformIcon(int type) {
#ifdef VAKURO_HAS_TRANSFORM_PICTURES
    if (type == 0) return QPixmap::fromImage(resources::drawNoTransformIcon(QApplication::font()));
    const QString path = resources::transformIconPath(type);
#else
    const QString path = QStringLiteral(":/transform/icon%1.png").arg(type);
#endif
    return QFile::exists(path) ? QPixmap(path) : QPixmap();
}

}  // namespace vakuro
