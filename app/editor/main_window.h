// The main window "ソモロEasy": the text box, the font list, the preview
// with its scroll bars, the menus and the two writing-direction layouts.
#pragma once

#include <QImage>
#include <QLabel>
#include <QMainWindow>

#include "font_faces.h"
#include "program_state.h"
#include "render_pipeline.h"

class QAction;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace vakuro {

class Banner;
class EditMenu;
class PreviewImage;
class StyleHistory;

class MainWindow : public QMainWindow, public MainWindowHost {
    Q_OBJECT
public:
    explicit MainWindow(ProgramState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // MainWindowHost
    QString text() const override;
    void setText(const QString& text) override;
    QString fontName() const override;
    bool selectFontName(const QString& face) override;
    bool selectFirstFont() override;
    void refreshFontList() override { RefreshFontList(); }
    void prepareTexture() override { pipeline_.PrepareTexture(); }
    void renderTextImage(const QString& text, int highQuality, const QString& outPath, int spare,
                         int qualityBase) override {
        pipeline_.RenderTextImage(text, highQuality, outPath, spare, qualityBase);
    }
    QImage renderHolder() const override { return pipeline_.holder(); }
    QWidget* ownerWindow() override { return this; }

    // Opening steps: position, per-character scale tables, text, font list,
    // font selection (which draws the first preview), layout, theme.
    void open();

    RenderPipeline& pipeline() { return pipeline_; }
    QLineEdit* textBox() const { return text_; }
    QComboBox* fontList() const { return fonts_; }
    // The undo history of the style record and its menu "編集(&E)".
    StyleHistory& history() const { return *history_; }
    EditMenu& editMenu() const { return *editMenu_; }

    // Draw: renders the text box with the current style into "VakTmp.bmp"
    // and shows it unscaled in the viewport.
    void Draw();
    // TateYoko: lays the window out for horizontal (0) or vertical writing.
    void TateYoko(int vertical);
    // Repaints the window and the open style dialogs.
    void RefreshMainWindow();
    // Refills the font list, keeping the selected face when it remains.
    void RefreshFontList();
    // Selects a face in the font list as a click would (drawing the preview).
    void selectFont(const QString& face);

    // The second hidden holder: the animation's base image.
    const QImage& animationBase() const { return animationBase_; }

signals:
    // The animation window is opened with the base image and output size.
    void animationRequested(int outputWidth, int outputHeight);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    void positionScrollBars();
    void keepOnScreen();
    void scrollPreview();
    void fontClicked();
    void typed(const QString& text);
    void enterMaintainerMode();
    void startAnimation();
    void openHelp();
    void reportUnencodable();
    void storeClosingState();
    // The list entry for a face, or for its installed stand-in; empty if none.
    QString listedFace(const QString& face) const;

    ProgramState& state_;
    RenderPipeline pipeline_;
    QImage animationBase_;
    QString lastTyped_;
    QList<FontFace> faces_;

    QLineEdit* text_ = nullptr;
    QComboBox* fonts_ = nullptr;
    QLabel* textCaption_ = nullptr;
    QLabel* fontCaption_ = nullptr;
    QPushButton* drawButton_ = nullptr;
    QPushButton* endButton_ = nullptr;
    QPushButton* templateButton_ = nullptr;
    QWidget* viewport_ = nullptr;
    PreviewImage* preview_ = nullptr;
    QScrollBar* hScroll_ = nullptr;
    QScrollBar* vScroll_ = nullptr;
    QFrame* horizontalFrame_ = nullptr;
    QFrame* verticalFrame_ = nullptr;
    Banner* horizontalBanner_ = nullptr;
    Banner* verticalBanner_ = nullptr;
    QLabel* status_ = nullptr;
    QAction* loadSettings_ = nullptr;
    QAction* saveSettings_ = nullptr;
    StyleHistory* history_ = nullptr;
    EditMenu* editMenu_ = nullptr;
};

// The preview image: shows the rendering unscaled and can be dragged out to
// other programs as an image.
class PreviewImage : public QLabel {
    Q_OBJECT
public:
    explicit PreviewImage(QWidget* parent) : QLabel(parent) {}

signals:
    void pressed();
    // A drag ended with the move effect: the picture must be drawn again.
    void movedOut();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPoint pressPoint_;
};

// Twips to pixels at 15 twips per pixel.
inline int twips(int value) { return qRound(value / 15.0); }

}  // namespace vakuro
