#include "style_data.h"

#include <cstring>

#include <QFile>
#include <QSaveFile>

namespace vakuro {

StyleDataStatus readStyleData(const QString& path, PavrexStyle& style) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return StyleDataStatus::Missing;
    const QByteArray bytes = file.read(sizeof(PavrexStyle));
    if (bytes.size() < static_cast<qsizetype>(sizeof(PavrexStyle))) return StyleDataStatus::Short;
    std::memcpy(&style, bytes.constData(), sizeof(PavrexStyle));
    return StyleDataStatus::Read;
}

bool writeStyleData(const QString& path, const PavrexStyle& style) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(reinterpret_cast<const char*>(&style), sizeof style) != static_cast<qint64>(sizeof style)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool hasStyleSignature(const PavrexStyle& style) {
    static const char kSignature[20] = {'V', 'a', 'k', 'u', 'r', 'o', ' ', 'S', 'e', 't', 't',
                                        'i', 'n', 'g', 'F', 'i', 'l', 'e', ' ', ' '};
    return std::memcmp(style.Signature, kSignature, sizeof kSignature) == 0;
}

}  // namespace vakuro
