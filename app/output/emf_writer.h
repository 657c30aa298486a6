// A small enhanced-metafile writer: a header, one stretch-bitmap record that
// holds the picture as a 24-bit bottom-up DIB, and the end record. Enough for
// word processors and drawing programs to paste the picture at its size.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace vakuro {

// The frame of a picture of the given size in pixels, in 0.01 mm units:
// round(pixels * 15 * 1.74125) each way (15 twips to the pixel, 1.74125
// hundredths of a millimetre to the twip), halves to even.
QSize emfFrameSize(QSize pixels);

// The metafile of picture (drawn at (0, 0) at its own size) with the given
// frame in 0.01 mm and the description text. An empty picture gives an
// empty array.
QByteArray buildEmf(const QImage& picture, QSize frame, const QString& description);

// Writes the metafile to path, replacing the file whole (a failed write
// leaves no partial file). Returns false when it cannot be written.
bool writeEmfFile(const QString& path, const QByteArray& emf);

}  // namespace vakuro
