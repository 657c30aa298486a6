#include "template_library.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include "cp932_qstring.h"
#include "library_binding.h"
#include "style_data.h"

namespace vakuro {
namespace {

constexpr int kRecordSize = static_cast<int>(sizeof(PavrexStyle));

void putInt(QByteArray& out, qsizetype offset, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (int k = 0; k < 4; ++k) out[offset + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

int32_t getInt(const QByteArray& in, qsizetype offset) {
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v |= static_cast<uint32_t>(static_cast<unsigned char>(in[offset + k])) << (8 * k);
    return static_cast<int32_t>(v);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// Reduces the rendering to a thumbnail with 4 x 4 supersampling. A rendering
// far from the thumbnail's proportions (vertical writing: a tall column) is
// reduced keeping its proportions and centred on its own background colour,
// instead of being squeezed flat.
bool makeThumbnail(const Libraries& libraries, const QString& work, const QString& thumbPath) {
    const QByteArray from = QFile::encodeName(work);
    const QByteArray to = QFile::encodeName(thumbPath);
    QImage rendering(work, "BMP");
    if (rendering.isNull()) return false;
    const double aspect = static_cast<double>(rendering.width()) / rendering.height();
    const double thumbAspect = static_cast<double>(kTemplateThumbWidth) / kTemplateThumbHeight;
    if (aspect >= thumbAspect / 1.5 && aspect <= thumbAspect * 1.5) {
        return libraries.effects.SReSize(from.constData(), to.constData(), kTemplateThumbWidth, kTemplateThumbHeight,
                                         4) >= 0;
    }
    const double scale = std::min(static_cast<double>(kTemplateThumbWidth) / rendering.width(),
                                  static_cast<double>(kTemplateThumbHeight) / rendering.height());
    const int w = std::clamp(static_cast<int>(std::lround(rendering.width() * scale)), 1, kTemplateThumbWidth);
    const int h = std::clamp(static_cast<int>(std::lround(rendering.height() * scale)), 1, kTemplateThumbHeight);
    if (libraries.effects.SReSize(from.constData(), to.constData(), w, h, 4) < 0) return false;
    const QImage reduced(thumbPath, "BMP");
    if (reduced.isNull()) return false;
    QImage thumb(kTemplateThumbWidth, kTemplateThumbHeight, QImage::Format_RGB888);
    thumb.fill(rendering.pixelColor(0, 0));
    QPainter painter(&thumb);
    painter.drawImage((kTemplateThumbWidth - w) / 2, (kTemplateThumbHeight - h) / 2, reduced);
    painter.end();
    return thumb.save(thumbPath, "BMP");
}

}  // namespace

QString templateFilePath(const QString& folder, int n) {
    QString base = folder;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    return base + QStringLiteral("VFmt_%1.VTF").arg(n, 3, 10, QLatin1Char('0'));
}

int countTemplateFiles(const QString& folder) {
    int n = 0;
    while (n < kTemplateMax && QFile::exists(templateFilePath(folder, n + 1))) ++n;
    return n;
}

TemplateBuildResult buildTemplateLibrary(const QString& templateFolder, const QString& workFolder,
                                         const QString& outPath, const Libraries& libraries,
                                         const TemplateRenderer& render) {
    TemplateBuildResult result;
    const int count = countTemplateFiles(templateFolder);
    QDir().mkpath(workFolder);
    const QString work = QDir(workFolder).filePath(QStringLiteral("Tmp.bmp"));

    QByteArray header(kTemplateHeaderSize, '\0');
    setFixedField(header.data(), 22, QStringLiteral("Vakuro Format Binder"), false);
    putInt(header, 22, 100);
    putInt(header, 26, count);
    putInt(header, 30, kRecordSize);
    QByteArray records;
    QByteArray thumbnails;
    for (int i = 0; i < count; ++i) {
        const QString source = templateFilePath(templateFolder, i + 1);
        PavrexStyle record{};
        if (readStyleData(source, record) != StyleDataStatus::Read) {
            result.error = QStringLiteral("テンプレートファイルを読めません: %1").arg(QDir::toNativeSeparators(source));
            return result;
        }
        records.append(reinterpret_cast<const char*>(&record), kRecordSize);
        // Every thumbnail shows the same face, whatever the template names.
        setFixedField(record.FontName, sizeof record.FontName, QString::fromUtf8(kTemplateSampleFont), true);
        QFile::remove(work);
        const QString thumbPath = QDir(workFolder).filePath(QStringLiteral("Tmp%1.bmp").arg(i + 1));
        QFile::remove(thumbPath);
        const bool made = render(record, work) && QFile::exists(work) && makeThumbnail(libraries, work, thumbPath);
        const QByteArray thumb = made ? readFile(thumbPath) : QByteArray();
        if (thumb.isEmpty()) {
            result.error = QStringLiteral("テンプレートの見本を作れません: %1").arg(QDir::toNativeSeparators(source));
            return result;
        }
        putInt(header, 34 + 4 * i, static_cast<int32_t>(thumb.size()));
        thumbnails.append(thumb);
    }

    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(header) != header.size() ||
        out.write(records) != records.size() || out.write(thumbnails) != thumbnails.size() || !out.commit()) {
        result.error = QStringLiteral("テンプレートライブラリを書き込めません: %1").arg(QDir::toNativeSeparators(outPath));
        return result;
    }
    result.ok = true;
    result.count = count;
    return result;
}

bool readTemplateLibrary(const QString& path, TemplateLibrary& library) {
    library = TemplateLibrary();
    const QByteArray bytes = readFile(path);
    if (bytes.size() < kTemplateHeaderSize) return false;
    library.version = getInt(bytes, 22);
    int count = getInt(bytes, 26);
    const int recordSize = getInt(bytes, 30);
    if (count < 0 || count > kTemplateMax || recordSize != kRecordSize) library.damaged = true;
    count = std::clamp(count, 0, kTemplateMax);
    if (recordSize != kRecordSize) return true;  // the records cannot be told apart

    qsizetype offset = kTemplateHeaderSize;
    for (int i = 0; i < count; ++i) {
        if (bytes.size() - offset < kRecordSize) {
            library.damaged = true;
            break;
        }
        PavrexStyle record{};
        std::memcpy(&record, bytes.constData() + offset, kRecordSize);
        library.records.append(record);
        offset += kRecordSize;
    }
    if (library.records.size() < count) {
        for (int i = 0; i < library.records.size(); ++i) library.thumbnails.append(QByteArray());
        return true;
    }
    for (int i = 0; i < count; ++i) {
        const int size = getInt(bytes, 34 + 4 * i);
        if (size < 0 || bytes.size() - offset < size) {
            library.damaged = true;
            while (library.thumbnails.size() < count) library.thumbnails.append(QByteArray());
            break;
        }
        library.thumbnails.append(bytes.mid(offset, size));
        offset += size;
    }
    return true;
}

bool readTemplateRecord(const QString& path, int index, PavrexStyle& record) {
    if (index < 0 || index >= kTemplateMax) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray header = file.read(kTemplateHeaderSize);
    if (header.size() < kTemplateHeaderSize) return false;
    const int count = getInt(header, 26);
    if (getInt(header, 30) != kRecordSize || index >= count) return false;
    if (!file.seek(kTemplateHeaderSize + static_cast<qint64>(index) * kRecordSize)) return false;
    const QByteArray bytes = file.read(kRecordSize);
    if (bytes.size() < kRecordSize) return false;
    std::memcpy(&record, bytes.constData(), kRecordSize);
    return true;
}

}  // namespace vakuro
