// Command-line file output ("/T text", "/F file", "/S value"): one file
// output without a window. No title screen, no main window, no preview;
// every message goes to standard error and every question takes its safe
// answer (see app/README.md).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "font_faces.h"
#include "program_state.h"
#include "render_pipeline.h"

namespace vakuro {

// What the main window offers, without a window: the text, the selected
// face and the render pipeline. Draw renders the text at the preview's
// quality, which gives the current image size that the output's size
// fields start from; it shows nothing.
class CommandLineHost : public MainWindowHost {
public:
    explicit CommandLineHost(ProgramState& state);
    ~CommandLineHost() override;
    CommandLineHost(const CommandLineHost&) = delete;
    CommandLineHost& operator=(const CommandLineHost&) = delete;

    QString text() const override { return text_; }
    void setText(const QString& text) override { text_ = text; }
    QString fontName() const override { return face_; }
    // Selects the face as the main window's font list would (another family
    // name of a listed face, or the stand-in of a face of another system)
    // and stores it in the style record; it draws nothing.
    bool selectFontName(const QString& face) override;
    bool selectFirstFont() override;
    void refreshFontList() override;
    void prepareTexture() override { pipeline_.PrepareTexture(); }
    // Renders as the pipeline does; a rendering identical to the previous
    // one (same text, quality and style) is copied instead of made again.
    void renderTextImage(const QString& text, int highQuality, const QString& outPath, int spare,
                         int qualityBase) override;
    QImage renderHolder() const override { return pipeline_.holder(); }
    // After draw, the measured size; after a rendering, the holder's.
    QSize renderSize() const override { return measured_.isValid() ? measured_ : pipeline_.holder().size(); }
    QWidget* ownerWindow() override { return nullptr; }

    // The main window's opening steps that matter for the output: the
    // per-character scale tables, the stored text and the stored face.
    void open();
    // Draw without a preview: nothing shows the picture, so only its size
    // is found (the output renders what it needs itself).
    void draw();
    // The size a rendering would have, found without drawing.
    QSize measureTextImage(const QString& text, int highQuality, int qualityBase);
    // The closing steps: the style data file and the text.
    void storeClosingState();

    int renderCount() const { return renderCount_; }

private:
    ProgramState& state_;
    RenderPipeline pipeline_;
    QString text_;
    QString face_;
    QStringList list_;
    QSize measured_;
    QList<FontFace> faces_;
    bool unencodableReported_ = false;
    int renderCount_ = 0;
    // The last rendering, for the copy.
    struct Rendering {
        QString text;
        int quality = -1;
        QByteArray style;
        QByteArray file;
        QImage picture;
    } last_;
};

// The whole command-line output: opens the host, takes the text (the value
// of "/T"; the stored text when it is empty), writes the file (the value of
// "/F"; the stored output name when it is empty, and a relative name counts
// from startFolder),
// stores the text and the style as closing the main window does, and
// returns the exit status: 0 when the file was written, else 1 with the
// reason on standard error. renderCount, when given, receives the number of
// renderings the engine made.
int runCommandLineFileOutput(ProgramState& state, const QString& text, const QString& file, const QString& startFolder,
                             int* renderCount = nullptr);

}  // namespace vakuro
