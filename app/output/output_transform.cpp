#include "output_transform.h"

#include <QFile>

#include "button_painter.h"
#include "form032.h"

namespace vakuro {

int transformHeight(const WarpSettings& warp, int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return warpHeight(warp.type, warp.p1, warp.p2, warp.p3, QSize(width, height));
}

QImage transformImage(const QImage& source, const WarpSettings& warp, int background) {
    return warpImage(source.convertToFormat(QImage::Format_RGB32), warp, colourRefToRgb(background))
        .convertToFormat(QImage::Format_RGB32);
}

void openTransformSettings(ProgramState& state, QWidget* owner) { showForm032(state, owner); }

QPixmap transformIcon(int type) {
    const QString path = QStringLiteral(":/transform/icon%1.png").arg(type);
    return QFile::exists(path) ? QPixmap(path) : QPixmap();
}

}  // namespace vakuro
