// The program's state and the one narrow interface through which dialogs
// reach it: the current style record, the options, the flags, and the
// commands the main window carries out (Draw, the writing-direction layout,
// the repaint). No dialog knows the main window's class.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include "library_binding.h"
#include "pavrex.h"

class QWidget;

namespace vakuro {

// Options read at start-up and changed by the option dialog.
struct ProgramOptions {
    int highQualityPreview = 0;  // "HiPreView"
    int clipSmooth = 1;          // "ClipSmooth"
    int clipScaleIndex = 1;      // "ClipScaleIndex"
    int clipMetaFile = 0;        // "ClipMetaFile"
    int japaneseFontsOnly = 0;   // "JISFontOnly"
    int charSplitType = 0;       // "GifAnimeChrSpType" in section "Anime"
};

// Which of the non-modal style dialogs are open.
struct OpenDialogs {
    bool colour = false;
    bool effects = false;
    bool spacing = false;
};

// What the main window offers to the other windows: its text, its font
// list and the render pipeline with its picture holder.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    // The text box.
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    // The face selected in the font list; selecting one runs its click
    // handler (which draws). A face name of another system selects its
    // installed stand-in. False when the list has neither.
    virtual QString fontName() const = 0;
    virtual bool selectFontName(const QString& face) = 0;
    // Selects the list's first entry (false for an empty list).
    virtual bool selectFirstFont() = 0;
    // Refills the font list (after the Japanese-only option changed).
    virtual void refreshFontList() = 0;
    // PrepareTexture and RenderTextImage of the render pipeline, and the
    // picture holder that receives every rendering.
    virtual void prepareTexture() = 0;
    virtual void renderTextImage(const QString& text, int highQuality, const QString& outPath, int spare,
                                 int qualityBase) = 0;
    virtual QImage renderHolder() const = 0;
    // The size of the current picture: the holder's, or, where no picture
    // was needed, the size the last rendering would have had.
    virtual QSize renderSize() const { return renderHolder().size(); }
    // The main window itself, as the owner of dialogs.
    virtual QWidget* ownerWindow() = 0;
};

class ProgramState : public QObject {
    Q_OBJECT
public:
    ProgramState(const Libraries& libraries, QString settingsPath, QObject* parent = nullptr);

    const Libraries& libraries() const { return libraries_; }
    const QString& settingsPath() const { return settingsPath_; }

    PavrexStyle style{};
    ProgramOptions options;
    OpenDialogs openDialogs;
    bool maintainerMode = false;
    // While negative, Draw does nothing (set while a style is being loaded
    // or a dialog refills its controls).
    int redrawGuard = 0;
    // Height limit of the main window in twips (vertical writing).
    int mainWindowHeightLimit = 8500;
    // The main window, once it exists.
    MainWindowHost* host = nullptr;

    // Commands carried out by the main window.
    // Draw at once, as pressing the main window's Draw button does.
    void draw() { emit drawRequested(); }
    // Draw once the pending input has been handled: while a slider is
    // dragged faster than the preview renders, the drawings are coalesced
    // and the last value is always drawn. The record itself is changed at
    // once by the caller.
    void drawSoon();
    // Tells the open dialogs that the whole style record was replaced (a
    // settings file or template was loaded): they reload their controls.
    void styleReplacedNotice() { emit styleReplaced(); }
    // Asks the main window to open the per-character spacing editor, modal
    // to owner when modal is true.
    void openSpacingEditor(QWidget* owner, bool modal) { emit spacingEditorRequested(owner, modal); }
    void tateYoko(int vertical) { emit layoutRequested(vertical); }
    void refreshMainWindow() { emit refreshRequested(); }
    // Reports a change of the style record made by the user, once the record
    // holds it, so that the undo history keeps it as one step. Changes
    // reported one after another with the same non-null merge key (the
    // control that made them: a slider or list while it moves) form one step
    // until the run ends: at a mouse press or release, a change with another
    // key, an undo or a redo, or endStyleEditRun. Reports made while the
    // redraw guard is set (a dialog refilling its controls) are no edits.
    void styleEdited(const void* mergeKey = nullptr) { emit styleEditReported(mergeKey); }
    void endStyleEditRun() { emit styleEditRunEnded(); }

signals:
    void drawRequested();
    void styleReplaced();
    void spacingEditorRequested(QWidget* owner, bool modal);
    void layoutRequested(int vertical);
    void refreshRequested();
    void styleEditReported(const void* mergeKey);
    void styleEditRunEnded();

private:
    bool drawPending_ = false;
    const Libraries& libraries_;
    QString settingsPath_;
};

}  // namespace vakuro
