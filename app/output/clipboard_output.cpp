#include "clipboard_output.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <cmath>

#include "alpha_image.h"
#include "cp932_qstring.h"
#include "emf_writer.h"
#include "wave_player.h"
#include "program_paths.h"
#include "program_state.h"
#include "settings_keys.h"
#include "vakuro_resources.h"

namespace vakuro {

namespace {

constexpr char kTempBitmap[] = "VakTmp.bmp";
constexpr char kEmfName[] = "Vakuro.emf";

// Restores the cursor however the command ends.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

double clipScaleFactor(int scaleIndex) {
    switch (scaleIndex) {
    case 0:
        return 0.5;
    case 2:
        return 1.5;
    case 3:
        return 2.0;
    default:
        return 1.0;
    }
}

QSize clipTargetSize(QSize source, int scaleIndex) {
    const double s = clipScaleFactor(scaleIndex);
    return {static_cast<int>(std::nearbyint(source.width() * s)),
            static_cast<int>(std::nearbyint(source.height() * s))};
}

QMimeData* clipboardContent(const QImage& picture, bool metafile, const QString& emfPath, const QImage& transparent) {
    auto* data = new QMimeData;
    data->setImageData(picture);
    if (!transparent.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (transparent.convertToFormat(QImage::Format_RGBA8888).save(&buffer, "PNG"))
            data->setData(QStringLiteral("image/png"), png);
    }
    if (metafile) {
        const QByteArray emf = buildEmf(picture, emfFrameSize(picture.size()), QStringLiteral("0"));
        if (!emfPath.isEmpty()) writeEmfFile(emfPath, emf);
        if (!emf.isEmpty()) {
            data->setData(QStringLiteral("image/emf"), emf);
            data->setData(QStringLiteral("image/x-emf"), emf);
        }
    }
    return data;
}

void playCompletionSoundAndWait() {
    playWaveAndWait(QStringLiteral("qrc") + resources::soundPath(resources::kCompletionSound), 3000);
}

void clipboardOutputCommand(ProgramState& state, QWidget* owner) {
    {
        BusyCursor busy;
        state.draw();
        MainWindowHost* host = state.host;
        if (host == nullptr) return;
        const QImage shown = host->renderHolder();
        if (shown.isNull()) return;
        const QSize target = clipTargetSize(shown.size(), state.options.clipScaleIndex);
        if (target.isEmpty()) return;
        host->prepareTexture();
        const QString tempBitmap = TempFolder() + QLatin1String(kTempBitmap);
        const QByteArray path = QFile::encodeName(tempBitmap);
        const auto& fx = state.libraries().effects;
        // A render that fails must not copy an older picture.
        QFile::remove(tempBitmap);
        if (state.options.clipSmooth == 1) {
            const QByteArray text = toCp932Lossy(host->text());
            state.libraries().engine.ImgMake(text.constData(), &state.style, path.constData(), 1);
            if (fx.SReSize) fx.SReSize(path.constData(), path.constData(), target.width(), target.height(), 4);
        } else {
            host->renderTextImage(host->text(), 1, tempBitmap, 0, 1);
            if (fx.HReSize) fx.HReSize(path.constData(), path.constData(), target.width(), target.height());
        }
        QImage picture;
        if (!picture.load(tempBitmap, "BMP") || picture.isNull()) return;
        // The same rendering on black and on white gives the PNG's alpha.
        QImage transparent;
        if (state.libraries().engine.ImgMake3 != nullptr) {
            const QByteArray text = toCp932Lossy(host->text());
            QImage passes[2];
            const int backs[2] = {kAlphaBlack, kAlphaWhite};
            const char* names[2] = {"VakAlphaB.bmp", "VakAlphaW.bmp"};
            for (int i = 0; i < 2; ++i) {
                PavrexStyle style = state.style;
                style.BackColor = backs[i];
                const QString file = TempFolder() + QLatin1String(names[i]);
                const QByteArray pass = QFile::encodeName(file);
                QFile::remove(file);
                const bool smooth = state.options.clipSmooth == 1;
                state.libraries().engine.ImgMake3(text.constData(), &style, pass.constData(), smooth ? 1 : 101,
                                                  PAVREX_WHITE_INK);
                if (smooth && fx.SReSize) fx.SReSize(pass.constData(), pass.constData(), target.width(), target.height(), 4);
                if (!smooth && fx.HReSize) fx.HReSize(pass.constData(), pass.constData(), target.width(), target.height());
                passes[i].load(file, "BMP");
            }
            transparent = solveAlpha(passes[0], passes[1], alphaFavourForShadow(state.style.ShadowType));
        }
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        const bool metafile = state.options.clipMetaFile == 1;
        clipboard->setMimeData(
            clipboardContent(picture, metafile, metafile ? TempFolder() + QLatin1String(kEmfName) : QString(), transparent));
    }
    using namespace settings;
    if (IniReadInt(state.settingsPath(), kClipWithDialog.section, kClipWithDialog.key, kClipWithDialog.defaultValue) ==
        1) {
        QMessageBox::information(owner, QGuiApplication::applicationDisplayName(),
                                 QStringLiteral("クリップボードに出力しました"));
    } else {
        playCompletionSoundAndWait();
    }
}

}  // namespace vakuro
