#include "vakuro_resources.h"

namespace vakuro::resources {

QString texturePath(int resourceNumber) {
    return QStringLiteral(":/textures/%1.bmp").arg(resourceNumber);
}

QString soundPath(int resourceNumber) {
    return QStringLiteral(":/sounds/%1.wav").arg(resourceNumber);
}

}  // namespace vakuro::resources
