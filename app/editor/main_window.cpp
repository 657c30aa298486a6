#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDrag>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QUrl>

#include "animation_window.h"
#include "banner.h"
#include "edit_menu.h"
#include "style_history.h"
#include "clipboard_output.h"
#include "file_output_dialog.h"
#include "font_faces.h"
#include "options_dialog.h"
#include "template_browser.h"
#include "settings_files.h"
#include "template_commands.h"
#include "version_dialog.h"
#include "colour_settings_dialog.h"
#include "text_effects_dialog.h"
#include "spacing_editor.h"
#include "style_data.h"
#include "cp932_qstring.h"
#include "program_paths.h"
#include "settings_store.h"
#include "shared_routines.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {
namespace {

const QString kSetting = QStringLiteral("Setting");

// The access codes that turn maintainer mode on.
const QStringList kMaintainerCodes = {QStringLiteral("qk4172"), QStringLiteral("mv6390")};

// The window frame around the client area, in pixels: the layout positions
// are client coordinates, the window sizes include the frame.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 50;

}  // namespace

MainWindow::MainWindow(ProgramState& state, QWidget* parent) : QMainWindow(parent), state_(state), pipeline_(state) {
    setObjectName(QStringLiteral("Form100"));
    setWindowTitle(QStringLiteral("ソモロEasy"));
    history_ = new StyleHistory(state_, this);
    buildMenus();
    buildControls();
    connect(&state_, &ProgramState::drawRequested, this, &MainWindow::Draw);
    connect(&state_, &ProgramState::layoutRequested, this, &MainWindow::TateYoko);
    connect(&state_, &ProgramState::refreshRequested, this, &MainWindow::RefreshMainWindow);
    // The colour dialog opens the per-character editor modally over itself.
    connect(&state_, &ProgramState::spacingEditorRequested, this,
            [this](QWidget* owner, bool modal) { showSpacingEditor(state_, owner ? owner : this, modal); });
    qApp->installEventFilter(this);
    state_.host = this;
}

MainWindow::~MainWindow() {
    if (state_.host == this) state_.host = nullptr;
}

QString MainWindow::text() const { return text_->text(); }

void MainWindow::setText(const QString& text) { text_->setText(text); }

QString MainWindow::fontName() const { return fonts_->currentText(); }

QString MainWindow::listedFace(const QString& face) const {
    QStringList list;
    for (int i = 0; i < fonts_->count(); ++i) list << fonts_->itemText(i);
    return listedFaceName(list, faces_, face, [this](const QString& name) { return faceStandIn(state_.libraries(), name); });
}

bool MainWindow::selectFontName(const QString& face) {
    const QString listed = listedFace(face);
    if (listed.isEmpty()) return false;
    selectFont(listed);
    return true;
}

bool MainWindow::selectFirstFont() {
    if (fonts_->count() == 0) return false;
    selectFont(fonts_->itemText(0));
    return true;
}

void MainWindow::buildMenus() {
    auto add = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("M_File"));
    connect(add(file, "M_FileOut", QStringLiteral("ﾌｧｲﾙ出力")), &QAction::triggered, this, [this] {
        // File output needs a picture in the render holder.
        if (!pipeline_.holder().isNull()) showFileOutputDialog(state_, this);
    });
    connect(add(file, "M_ClipOut", QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ出力")), &QAction::triggered, this,
            [this] { clipboardOutputCommand(state_, this); });
    connect(add(file, "M_Template", QStringLiteral("ﾃﾝﾌﾟﾚｰﾄ")), &QAction::triggered, this,
            [this] { showTemplateBrowser(state_, this); });
    loadSettings_ = add(file, "M_LoadSet", QStringLiteral("設定読込み"));
    saveSettings_ = add(file, "M_SaveSet", QStringLiteral("設定保存"));
    connect(loadSettings_, &QAction::triggered, this, [this] { loadSettingsCommand(state_, this); });
    connect(saveSettings_, &QAction::triggered, this, [this] { saveSettingsCommand(state_, this); });
    connect(add(file, "M_Option", QStringLiteral("ｵﾌﾟｼｮﾝ設定")), &QAction::triggered, this,
            [this] { showOptionsDialog(state_, this); });
    file->addSeparator();
    connect(add(file, "M_End", QStringLiteral("終了")), &QAction::triggered, this, &QWidget::close);

    editMenu_ = new EditMenu(menuBar(), *history_);

    QMenu* format = menuBar()->addMenu(QStringLiteral("書式(&O)"));
    format->setObjectName(QStringLiteral("M_Format"));
    connect(add(format, "M_Color", QStringLiteral("カラー(太さ)設定")), &QAction::triggered, this,
            [this] { showColourSettingsDialog(state_, this); });
    connect(add(format, "M_Effect", QStringLiteral("特殊効果設定")), &QAction::triggered, this,
            [this] { showTextEffectsDialog(state_, this); });
    connect(add(format, "M_Spacing", QStringLiteral("文字間隔設定")), &QAction::triggered, this,
            [this] { showSpacingEditor(state_, this, false); });
    format->addSeparator();
    QAction* anime = add(format, "M_Anime", QStringLiteral("ｱﾆﾒｰｼｮﾝ"));
    connect(anime, &QAction::triggered, this, &MainWindow::startAnimation);

    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("M_HelpMenu"));
    connect(add(help, "M_Help", QStringLiteral("ｿﾓﾛEasyのﾍﾙﾌﾟ")), &QAction::triggered, this, &MainWindow::openHelp);
    connect(add(help, "M_Version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報")), &QAction::triggered, this,
            [this] { showVersionDialog(state_, this); });
}

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);

    horizontalFrame_ = new QFrame(client);
    horizontalFrame_->setObjectName(QStringLiteral("Frame1"));
    horizontalFrame_->setFrameShape(QFrame::Box);
    horizontalFrame_->setStyleSheet(QStringLiteral("QFrame#Frame1 { border: 2px solid #9a9a9a; }"));
    horizontalBanner_ = new Banner(Qt::Horizontal, horizontalFrame_);
    horizontalBanner_->setObjectName(QStringLiteral("Picture2"));
    verticalFrame_ = new QFrame(client);
    verticalFrame_->setObjectName(QStringLiteral("Frame2"));
    verticalFrame_->setStyleSheet(QStringLiteral("QFrame#Frame2 { border: 2px solid #9a9a9a; }"));
    verticalBanner_ = new Banner(Qt::Vertical, client);
    verticalBanner_->setObjectName(QStringLiteral("Picture3"));

    textCaption_ = new QLabel(QStringLiteral("文字"), client);
    textCaption_->setObjectName(QStringLiteral("Label1"));
    fontCaption_ = new QLabel(QStringLiteral("書体"), client);
    fontCaption_->setObjectName(QStringLiteral("Label2"));
    text_ = new QLineEdit(client);
    text_->setObjectName(QStringLiteral("Text1"));
    fonts_ = new QComboBox(client);
    fonts_->setObjectName(QStringLiteral("Combo1"));
    fonts_->setMaxVisibleItems(20);
    drawButton_ = new QPushButton(QStringLiteral("描画"), client);
    drawButton_->setObjectName(QStringLiteral("Command1"));
    endButton_ = new QPushButton(QStringLiteral("終了"), client);
    endButton_->setObjectName(QStringLiteral("Command2"));
    templateButton_ = new QPushButton(QStringLiteral("ﾃﾝﾌﾟﾚ"), client);
    templateButton_->setObjectName(QStringLiteral("Command3"));
    templateButton_->hide();

    viewport_ = new QWidget(client);
    viewport_->setObjectName(QStringLiteral("Picture1"));
    preview_ = new PreviewImage(viewport_);
    preview_->setObjectName(QStringLiteral("Image1"));
    hScroll_ = new QScrollBar(Qt::Horizontal, client);
    hScroll_->setObjectName(QStringLiteral("HScroll1"));
    vScroll_ = new QScrollBar(Qt::Vertical, client);
    vScroll_->setObjectName(QStringLiteral("VScroll1"));
    hScroll_->hide();
    vScroll_->hide();

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Label3"));
    // Dark red on the platform's face colour, whatever the window theme.
    status_->setStyleSheet(QStringLiteral("color: #b00000; background-color: palette(button); padding: 1px 4px;"));
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(false);

    connect(drawButton_, &QPushButton::clicked, this, &MainWindow::Draw);
    connect(endButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(templateButton_, &QPushButton::clicked, this, [this] { buildTemplateLibraryCommand(state_, this); });
    connect(fonts_, &QComboBox::activated, this, &MainWindow::fontClicked);
    connect(hScroll_, &QScrollBar::valueChanged, this, &MainWindow::scrollPreview);
    connect(vScroll_, &QScrollBar::valueChanged, this, &MainWindow::scrollPreview);
    connect(preview_, &PreviewImage::pressed, this, &MainWindow::RefreshMainWindow);
    connect(preview_, &PreviewImage::movedOut, this, &MainWindow::Draw);
    connect(horizontalBanner_, &Banner::pressed, this, &MainWindow::RefreshMainWindow);
    connect(verticalBanner_, &Banner::pressed, this, &MainWindow::RefreshMainWindow);
}

void MainWindow::open() {
    const QString& ini = state_.settingsPath();
    PavrexStyle& s = state_.style;
    if (s.CharScaleSet == 0) {
        for (int i = 0; i < 20; ++i) s.CharWidth[i] = s.CharHeight[i] = 100;
        s.CharScaleSet = 1;
    }
    loadSettings_->setVisible(false);
    saveSettings_->setVisible(false);
    text_->setText(IniRead(ini, kSetting, QStringLiteral("Text"), QStringLiteral("Vakuro")));
    RefreshFontList();
    RestoreWindowPosition(this, ini, QStringLiteral("100"), true);

    // The stored face, else the Mincho face, else the first entry.
    if (!selectFontName(readFixedField(s.FontName, sizeof s.FontName).trimmed()) &&
        !selectFontName(QStringLiteral("ＭＳ 明朝"))) {
        selectFirstFont();
    }
    TateYoko(s.Vertical);
    PaintWindowBackground(this, ini);
    // What the window opened with is where undoing stops.
    history_->start();
}

void MainWindow::selectFont(const QString& face) {
    // Any family name of a listed face selects its entry.
    const int index = FindListText(fonts_, listedFace(face));
    if (index < 0) return;
    fonts_->setCurrentIndex(index);
    fontClicked();
}

void MainWindow::fontClicked() {
    storeFontName(state_.style, fonts_->currentText(), false);
    Draw();
    // Stepping through the list with the keys is one step.
    state_.styleEdited(fonts_);
}

void MainWindow::RefreshFontList() {
    const QString current = fonts_->currentText();
    fonts_->clear();
    // The faces fontconfig knows, by their Japanese names where they have
    // one; its generic aliases are no faces and stay out.
    faces_ = installedFontFaces();
    fonts_->addItems(fontListNames(faces_, state_.options.japaneseFontsOnly != 0));
    fonts_->setCurrentIndex(FindListText(fonts_, current));
}

void MainWindow::Draw() {
    QElapsedTimer clock;
    clock.start();
    if (state_.redrawGuard < 0) return;
    if (text_->text().isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString out = TempFolder() + QStringLiteral("VakTmp.bmp");
    storeFontName(state_.style, fonts_->currentText(), true);
    pipeline_.PrepareTexture();
    pipeline_.RenderTextImage(text_->text(), state_.options.highQualityPreview, out, 0, 1);

    const QImage& picture = pipeline_.holder();
    preview_->setGeometry(0, 0, picture.width(), picture.height());
    preview_->setPixmap(QPixmap::fromImage(picture));
    const bool vertical = state_.style.Vertical != 0;
    const int maxWidth = vertical ? 4000 / 15 : 11200 / 15;
    const int maxHeight = (vertical ? state_.mainWindowHeightLimit : 4800) / 15;
    viewport_->resize(std::min(picture.width(), maxWidth), std::min(picture.height(), maxHeight));
    positionScrollBars();
    // In vertical writing the window's height follows the column.
    if (vertical) TateYoko(1);
    reportUnencodable();
    RefreshMainWindow();
    if (state_.maintainerMode) {
        setWindowTitle(QString::number(clock.nsecsElapsed() / 1e9, 'f', 3));
    }
    QApplication::restoreOverrideCursor();
}

void MainWindow::positionScrollBars() {
    const QSize view = viewport_->size();
    const QSize picture = preview_->size();
    if (view == picture) {
        hScroll_->hide();
        vScroll_->hide();
        return;
    }
    const QRect v = viewport_->geometry();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    vScroll_->setGeometry(v.x() + v.width(), v.y(), bar, v.height());
    hScroll_->setGeometry(v.x(), v.y() + v.height(), v.width(), bar);
    hScroll_->blockSignals(true);
    vScroll_->blockSignals(true);
    hScroll_->setRange(0, picture.width() - view.width());
    vScroll_->setRange(0, picture.height() - view.height());
    hScroll_->setPageStep(view.width());
    vScroll_->setPageStep(view.height());
    hScroll_->setValue(0);
    vScroll_->setValue(0);
    hScroll_->blockSignals(false);
    vScroll_->blockSignals(false);
    hScroll_->show();
    vScroll_->show();
}

void MainWindow::scrollPreview() { preview_->move(-hScroll_->value(), -vScroll_->value()); }

void MainWindow::TateYoko(int vertical) {
    auto place = [](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(twips(left), twips(top), twips(width), twips(height));
    };
    const QSize picture = preview_->size();
    int windowWidth = 0;
    int windowHeight = 0;
    if (vertical == 0) {
        horizontalFrame_->show();
        horizontalBanner_->show();
        textCaption_->show();
        fontCaption_->show();
        verticalFrame_->hide();
        verticalBanner_->hide();
        place(horizontalFrame_, 300, 120, 9900, 1020);
        horizontalBanner_->setGeometry(2, 2, twips(9900) - 4, twips(1020) - 4);
        place(drawButton_, 10440, 180, 1335, 480);
        place(endButton_, 10440, 780, 1335, 480);
        place(templateButton_, 10440, 1320, 1335, 360);
        place(textCaption_, 360, 1380, 600, 300);
        place(text_, 960, 1320, 4695, 360);
        place(fontCaption_, 6120, 1380, 600, 300);
        place(fonts_, 6720, 1320, 3480, 360);
        viewport_->setGeometry(twips(300), twips(1860), std::min(picture.width(), 11200 / 15),
                               std::min(picture.height(), 4800 / 15));
        windowWidth = 12120;
        windowHeight = 5565;
    } else {
        horizontalFrame_->hide();
        horizontalBanner_->hide();
        textCaption_->hide();
        fontCaption_->hide();
        verticalFrame_->show();
        verticalBanner_->show();
        place(text_, 360, 300, 4000, 360);
        place(fonts_, 360, 800, 4000, 360);
        const int h = std::min(picture.height() * 15, state_.mainWindowHeightLimit);
        viewport_->setGeometry(twips(1600), twips(1300), std::min(picture.width(), 4000 / 15), twips(h));
        place(drawButton_, 4800, 180, 1335, 480);
        place(endButton_, 4800, 780, 1335, 480);
        place(templateButton_, 4800, 1320, 1335, 360);
        const int H = std::max(h, 5500);
        place(verticalFrame_, 300, 1300, 1200, H);
        const int bannerTop = H < 6500 ? static_cast<int>((H - 4500) * 0.5 + 1300) : 1300;
        place(verticalBanner_, 330, bannerTop, 1140, 4500);
        windowWidth = 6500;
        windowHeight = H + 2400;
    }
    setProperty("layoutWidthTwips", windowWidth);
    setProperty("layoutHeightTwips", windowHeight);
    centralWidget()->setFixedSize(twips(windowWidth) - kFrameWidth, twips(windowHeight) - kFrameHeight);
    adjustSize();
    setFixedSize(sizeHint());
    keepOnScreen();
    positionScrollBars();
    PaintWindowBackground(this, state_.settingsPath());
    RefreshMainWindow();
}

void MainWindow::keepOnScreen() {
    // A window grown by the layout moves up or left so that it stays on the
    // screen, as it does when it opens.
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    QPoint at = frameGeometry().topLeft();
    if (frameGeometry().bottom() > area.bottom()) at.setY(std::max(area.top(), area.bottom() - frameGeometry().height()));
    if (frameGeometry().right() > area.right()) at.setX(std::max(area.left(), area.right() - frameGeometry().width()));
    if (at != frameGeometry().topLeft()) move(at);
}

void MainWindow::RefreshMainWindow() {
    update();
    for (QWidget* w : findChildren<QWidget*>()) w->update();
    // The open style dialogs repaint with the main window.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top != this && top->isVisible() && top->parentWidget() == this) top->update();
    }
}

void MainWindow::reportUnencodable() {
    const QString missing = unencodableCharacters(text_->text());
    if (missing.isEmpty()) {
        status_->clear();
        preview_->setToolTip(QString());
        return;
    }
    QStringList shown;
    for (const char32_t c : missing.toUcs4()) shown << QString::fromUcs4(&c, 1);
    const QString message = QStringLiteral("描画できない文字があります（省いて描画しました）: %1").arg(shown.join(QLatin1Char(' ')));
    status_->setText(message);
    preview_->setToolTip(message);
}

void MainWindow::startAnimation() {
    if (text_->text().isEmpty()) return;
    const QString base = TempFolder() + QStringLiteral("GifAnime0.bmp");
    const QByteArray text = toCp932Lossy(text_->text());
    // A text the engine refuses must not bring back an earlier base image.
    QFile::remove(base);
    state_.libraries().engine.ImgMake(text.constData(), &state_.style, QFile::encodeName(base).constData(), 0);
    if (!animationBase_.load(base, "BMP")) return;
    const int width = RoundHalfEven(animationBase_.width() * 0.5 - 4);
    const int height = RoundHalfEven(animationBase_.height() * 0.5 - 4);
    emit animationRequested(width, height);
    showAnimationWindow(state_, this, text_->text(), animationBase_, width, height);
}

void MainWindow::openHelp() {
    const QString help = ShippedPath(QStringLiteral("help/index.html"));
    const bool found = QFileInfo::exists(help);
    // Without a desktop launcher (no xdg-open, no browser) nothing would
    // happen: say where the help is, so that it can be opened by hand.
    if (found && QDesktopServices::openUrl(QUrl::fromLocalFile(help))) return;
    const QString text = found ? QStringLiteral("ヘルプを開くプログラムが見つかりません。\n"
                                                "ブラウザーで次のファイルを開いてください。\n%1")
                               : QStringLiteral("ヘルプファイルが見つかりません。\n%1");
    QMessageBox box(QMessageBox::Information, QStringLiteral("ヘルプ"), text.arg(QDir::toNativeSeparators(help)),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("HelpMessage"));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

void MainWindow::enterMaintainerMode() {
    state_.maintainerMode = true;
    templateButton_->show();
    loadSettings_->setVisible(true);
    saveSettings_->setVisible(true);
}

void MainWindow::typed(const QString& text) {
    lastTyped_ = (lastTyped_ + text).right(6);
    if (kMaintainerCodes.contains(lastTyped_)) enterMaintainerMode();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window sees every typed character before its controls do.
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (!text.isEmpty() && text.at(0).isPrint()) typed(text);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    RefreshMainWindow();
    QMainWindow::mousePressEvent(event);
}

void MainWindow::storeClosingState() {
    const QString& ini = state_.settingsPath();
    StoreWindowPosition(this, ini, QStringLiteral("100"));
    PavrexStyle& s = state_.style;
    setFixedField(s.Signature, sizeof s.Signature, QStringLiteral("Vakuro SettingFile"), false);
    s.FormatVersion = 100;
    writeStyleData(StyleDataPath(), s);
    IniWrite(ini, kSetting, QStringLiteral("Text"), Quote(text_->text()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    storeClosingState();
    event->accept();
    // Other windows close with the program, without their own closing steps.
    QApplication::exit(0);
}

void PreviewImage::mousePressEvent(QMouseEvent* event) {
    pressPoint_ = event->position().toPoint();
    emit pressed();
}

void PreviewImage::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || pixmap().isNull()) return;
    if ((event->position().toPoint() - pressPoint_).manhattanLength() < QApplication::startDragDistance()) return;
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setImageData(pixmap().toImage());
    drag->setMimeData(data);
    drag->setPixmap(pixmap().scaled(pixmap().size().boundedTo(QSize(160, 80)), Qt::KeepAspectRatio));
    if (drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction) == Qt::MoveAction) emit movedOut();
}

}  // namespace vakuro
