// The clipboard output command: renders the text at the clipboard scale and
// puts the picture on the clipboard, as a bitmap, or as an enhanced metafile
// ("Vakuro.emf" in the temporary folder, offered as image/emf and
// image/x-emf) beside the same bitmap. A PNG with the title's alpha
// (background transparent) is offered beside them as image/png.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QMimeData;
class QWidget;

namespace vakuro {

class ProgramState;

// The menu command "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ出力". Uses the options clipScaleIndex,
// clipSmooth and clipMetaFile of the state and reads "ClipWithDialog" from
// the settings: 1 confirms with a message, otherwise the completion sound
// plays (and the command returns when it has ended; without audio it carries
// on at once). With no picture in the render holder nothing happens.
void clipboardOutputCommand(ProgramState& state, QWidget* owner);

// The size factor of a scale index: 0.5, 1.0, 1.5, 2.0 for 0 to 3; other
// indexes give 1.0.
double clipScaleFactor(int scaleIndex);

// round(W * s) x round(H * s), halves to even.
QSize clipTargetSize(QSize source, int scaleIndex);

// The clipboard content for picture: the bitmap, and with metafile true also
// the metafile bytes under image/emf and image/x-emf. The metafile is also
// written to emfPath (when not empty). A non-null transparent picture (straight
// alpha) is offered as PNG under image/png; the other image types stay the
// opaque bitmap. The caller owns the result.
QMimeData* clipboardContent(const QImage& picture, bool metafile, const QString& emfPath,
                            const QImage& transparent = QImage());

// Plays the completion sound and waits until it has ended (at most a few
// seconds); returns at once when no audio output is available.
void playCompletionSoundAndWait();

}  // namespace vakuro
