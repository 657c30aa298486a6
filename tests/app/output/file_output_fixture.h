// A program state with the libraries bound, a fresh data and temporary
// folder, and a stand-in main window whose renderings are a fixed picture.
#pragma once

#include <memory>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include "bmp_file.h"
#include "dib_image.h"
#include "library_binding.h"
#include "output_messages.h"
#include "program_paths.h"
#include "program_state.h"

namespace vakuro::testing {

// The text image: white with a black block in the middle.
inline QImage textPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    for (int y = h / 4; y < h - h / 4; ++y)
        for (int x = w / 4; x < w - w / 4; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
    return image;
}

class FakeHost : public MainWindowHost {
public:
    explicit FakeHost(QImage picture) : picture_(std::move(picture)), holder_(picture_) {}
    QString text() const override { return text_; }
    void setText(const QString& text) override { text_ = text; }
    QString fontName() const override { return QString(); }
    bool selectFontName(const QString&) override { return false; }
    bool selectFirstFont() override { return false; }
    void refreshFontList() override {}
    void prepareTexture() override { ++prepared; }
    void renderTextImage(const QString&, int highQuality, const QString& outPath, int, int qualityBase) override {
        lastQuality = highQuality != 0 ? qualityBase + 100 : 0;
        const std::vector<uint8_t> bits = ReadPictureBits(picture_);
        bmp::writeBmp(QFile::encodeName(outPath).constData(),
                      bmp::makeHeader24(picture_.width(), picture_.height()), {}, bits);
        holder_ = picture_;
    }
    QImage renderHolder() const override { return holder_; }
    QWidget* ownerWindow() override { return &window; }

    QWidget window;
    int prepared = 0;
    int lastQuality = -1;

private:
    QImage picture_;
    QImage holder_;
    QString text_ = QStringLiteral("Vakuro");
};

// Records every message and answers with the queued answers (then the
// default button).
class MessageRecorder {
public:
    MessageRecorder() {
        setOutputMessageHandler([this](const OutputMessage& m, QWidget*) {
            messages.append(m);
            if (!answers.isEmpty()) return answers.takeFirst();
            return m.defaultButton == QMessageBox::NoButton ? QMessageBox::Ok : m.defaultButton;
        });
    }
    ~MessageRecorder() { setOutputMessageHandler({}); }
    QStringList texts() const {
        QStringList t;
        for (const auto& m : messages) t << m.text;
        return t;
    }
    QList<OutputMessage> messages;
    QList<QMessageBox::StandardButton> answers;
};

class FileOutputFixture {
public:
    explicit FileOutputFixture(QImage picture = textPicture(200, 100)) : host(std::move(picture)) {
        qputenv("VAKURO_HOME", home.path().toLocal8Bit());
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        QString error;
        bound = bindLibraries(QCoreApplication::applicationDirPath() + QLatin1Char('/'), libraries, error);
        if (!bound) qWarning("%s", qPrintable(error));
        state = std::make_unique<ProgramState>(libraries, SettingsPath());
        PavrexStyleDefaults(&state->style);
        state->style.BackColor = 0xFFFFFF;
        state->host = &host;
    }

    void writeIni(const QByteArray& content) {
        QFile f(SettingsPath());
        f.open(QIODevice::WriteOnly);
        f.write(content);
    }

    QString out(const QString& name) const { return out_.filePath(name); }

    QTemporaryDir home;
    QTemporaryDir temp;
    QTemporaryDir out_;
    Libraries libraries;
    bool bound = false;
    FakeHost host;
    std::unique_ptr<ProgramState> state;
};

}  // namespace vakuro::testing
