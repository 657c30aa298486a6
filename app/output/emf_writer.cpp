#include "emf_writer.h"

#include <QSaveFile>

#include <cmath>
#include <cstdint>

namespace vakuro {

namespace {

constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrEof = 14;
constexpr uint32_t kEmrStretchDiBits = 81;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kSrcCopy = 0x00CC0020;
constexpr int kHeaderSize = 108;      // with both header extensions
constexpr int kStretchFixedSize = 80;  // EMR_STRETCHDIBITS before its bitmap
constexpr int kInfoHeaderSize = 40;

// The reference device: a 1920 x 1080 screen at 96 pixels to the inch.
constexpr int kDeviceWidth = 1920;
constexpr int kDeviceHeight = 1080;

class LittleEndian {
public:
    explicit LittleEndian(QByteArray& out) : out_(out) {}
    void u32(uint32_t v) {
        for (int k = 0; k < 4; ++k) out_.append(static_cast<char>((v >> (8 * k)) & 0xff));
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void u16(uint16_t v) {
        out_.append(static_cast<char>(v & 0xff));
        out_.append(static_cast<char>(v >> 8));
    }

private:
    QByteArray& out_;
};

int roundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

QSize emfFrameSize(QSize pixels) {
    return {roundEven(pixels.width() * 15 * 1.74125), roundEven(pixels.height() * 15 * 1.74125)};
}

QByteArray buildEmf(const QImage& picture, QSize frame, const QString& description) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return {};
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    const int stride = 4 * ((3 * w + 3) / 4);
    const qint64 bitsSize = static_cast<qint64>(stride) * h;
    if (bitsSize > (qint64(1) << 30)) return {};

    // The description: the text, a NUL and a second NUL, padded to 4 bytes.
    QString text = description;
    text.append(QChar(0));
    text.append(QChar(0));
    const int descriptionChars = static_cast<int>(text.size());
    const int descriptionBytes = (descriptionChars * 2 + 3) / 4 * 4;
    const int headerSize = kHeaderSize + descriptionBytes;
    const int stretchSize = kStretchFixedSize + kInfoHeaderSize + static_cast<int>(bitsSize);
    const int eofSize = 20;
    const uint32_t total = static_cast<uint32_t>(headerSize + stretchSize + eofSize);

    QByteArray out;
    out.reserve(static_cast<qsizetype>(total));
    LittleEndian le(out);

    // EMR_HEADER.
    le.u32(kEmrHeader);
    le.u32(static_cast<uint32_t>(headerSize));
    le.i32(0);  // bounds in device pixels, inclusive
    le.i32(0);
    le.i32(w - 1);
    le.i32(h - 1);
    le.i32(0);  // frame in 0.01 mm
    le.i32(0);
    le.i32(frame.width());
    le.i32(frame.height());
    le.u32(kEmfSignature);
    le.u32(0x10000);  // version
    le.u32(total);
    le.u32(3);   // records
    le.u16(1);   // handles (index 0 is reserved)
    le.u16(0);
    le.u32(static_cast<uint32_t>(descriptionChars));
    le.u32(kHeaderSize);  // description offset
    le.u32(0);            // palette entries
    le.i32(kDeviceWidth);
    le.i32(kDeviceHeight);
    le.i32(508);  // 1920 / 96 inches in millimetres
    le.i32(286);  // 1080 / 96 inches, 285.75 mm
    le.u32(0);    // pixel format size
    le.u32(0);    // pixel format offset
    le.u32(0);    // no OpenGL records
    le.i32(508000);  // the device in micrometres
    le.i32(285750);
    for (QChar c : text) le.u16(c.unicode());
    while (out.size() < headerSize) out.append('\0');

    // EMR_STRETCHDIBITS.
    le.u32(kEmrStretchDiBits);
    le.u32(static_cast<uint32_t>(stretchSize));
    le.i32(0);
    le.i32(0);
    le.i32(w - 1);
    le.i32(h - 1);
    le.i32(0);  // destination x, y
    le.i32(0);
    le.i32(0);  // source x, y, width, height
    le.i32(0);
    le.i32(w);
    le.i32(h);
    le.u32(kStretchFixedSize);  // bitmap info offset and size
    le.u32(kInfoHeaderSize);
    le.u32(kStretchFixedSize + kInfoHeaderSize);  // bits offset and size
    le.u32(static_cast<uint32_t>(bitsSize));
    le.u32(0);  // DIB_RGB_COLORS
    le.u32(kSrcCopy);
    le.i32(w);  // destination width, height
    le.i32(h);
    // BITMAPINFOHEADER: 24 bits, bottom-up, uncompressed.
    le.u32(kInfoHeaderSize);
    le.i32(w);
    le.i32(h);
    le.u16(1);
    le.u16(24);
    le.u32(0);
    le.u32(static_cast<uint32_t>(bitsSize));
    le.i32(3780);  // 96 pixels to the inch
    le.i32(3780);
    le.u32(0);
    le.u32(0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        const qsizetype start = out.size();
        for (int x = 0; x < w; ++x) {
            out.append(static_cast<char>(qBlue(row[x])));
            out.append(static_cast<char>(qGreen(row[x])));
            out.append(static_cast<char>(qRed(row[x])));
        }
        while (out.size() - start < stride) out.append('\0');
    }

    // EMR_EOF.
    le.u32(kEmrEof);
    le.u32(eofSize);
    le.u32(0);   // palette entries
    le.u32(16);  // palette offset
    le.u32(eofSize);
    return out;
}

bool writeEmfFile(const QString& path, const QByteArray& emf) {
    if (emf.isEmpty()) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(emf) != emf.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace vakuro
