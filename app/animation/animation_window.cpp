#include "animation_window.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include "animation_add_dialog.h"
#include "animation_options_dialog.h"
#include "animation_preview_window.h"
#include "detail_dialogs.h"
#include "effect_kinds.h"
#include "frame_table.h"
#include "output_messages.h"
#include "output_size_dialog.h"
#include "program_state.h"
#include "settings_keys.h"
#include "shared_routines.h"
#include "splash_tables.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {

namespace keys = vakuro::settings;

namespace {

const QString kWindowNumber = QStringLiteral("070");

QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel* makeLabel(const QString& text, const char* name, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

// ---- Progress strip ---------------------------------------------------------------

ProgressStrip::ProgressStrip(QWidget* parent) : QWidget(parent) {
    setFixedHeight(10);
    picture_ = QImage(200, 10, QImage::Format_RGB32);
    picture_.fill(Qt::white);
}

void ProgressStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    QImage resized(std::max(1, width()), 10, QImage::Format_RGB32);
    resized.fill(Qt::white);
    QPainter p(&resized);
    p.drawImage(0, 0, picture_);
    p.end();
    picture_ = resized;
}

void ProgressStrip::step(int amount, bool reset, int64_t total) {
    if (reset) {
        done_ = 0;
        picture_.fill(Qt::white);
    } else {
        done_ += amount;
        const int width = picture_.width();
        const int x = total > 0 ? RoundHalfEven(static_cast<double>(width) * static_cast<double>(done_) / total)
                                : width;
        QPainter p(&picture_);
        p.fillRect(QRect(QPoint(0, 0), QPoint(x, 10)), QColor(0, 96, 255));
        // The light head: bands of 5 pixels, brighter towards the front.
        for (int k = 30; k >= 0; k -= 3) {
            p.fillRect(QRect(QPoint(x - k, 0), QPoint(x - k + 5, 10)), QColor(150 - 5 * k, 246 - 5 * k, 255));
        }
    }
    repaint();
}

void ProgressStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

// ---- The window -------------------------------------------------------------------

AnimationWindow::AnimationWindow(ProgramState& state, AnimationRunInputs inputs, QWidget* owner)
    : QDialog(owner), state_(state), inputs_(std::move(inputs)) {
    setObjectName(QStringLiteral("Form070"));
    setWindowTitle(QStringLiteral("ｱﾆﾒｰｼｮﾝ出力"));
    setModal(true);
    chooseOutputFile = [this](const QString& initial) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Gifファイル出力"), initial,
                                            QStringLiteral("GIFファイル (*.GIF *.gif);;WebPファイル (*.webp *.WEBP);;全て (*)"), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    chooseKind = [this] { return chooseAnimationKind(this); };
    editEntry = [this](ScheduleEntry& entry) { return editEntryDetails(state_, this, entry); };
    showPreview = [this](FrameTable& frames) {
        AnimationPreviewWindow preview(state_, frames.records(), QSize(inputs_.outputWidth, inputs_.outputHeight),
                                       this);
        preview.exec();
    };
    build();
}

AnimationWindow::~AnimationWindow() = default;

void AnimationWindow::build() {
    title_ = makeLabel(QStringLiteral("アニメーション出力"), "Label1", this);
    QFont heading = title_->font();
    heading.setPointSize(heading.pointSize() + 4);
    heading.setBold(true);
    title_->setFont(heading);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setMinimumSize(190, 260);
    list_->viewport()->installEventFilter(this);

    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("Combo1"));
    duration_ = new QComboBox(this);
    duration_->setObjectName(QStringLiteral("Combo2"));
    frameRate_ = new QComboBox(this);
    frameRate_->setObjectName(QStringLiteral("Combo3"));
    frameRate_->addItems(frameRateChoices());
    description_ = makeLabel(QString(), "Label2", this);
    description_->setWordWrap(true);
    description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description_->setMinimumSize(260, 96);
    description_->setFrameShape(QFrame::StyledPanel);
    sizeLabel_ = makeLabel(QString(), "Label3", this);
    size_ = makeButton(QStringLiteral("変更"), "Command8", this);

    add_ = makeButton(QStringLiteral("追加"), "Command1", this);
    delete_ = makeButton(QStringLiteral("削除"), "Command2", this);
    detail_ = makeButton(QStringLiteral("詳細設定"), "Command3", this);
    options_ = makeButton(QStringLiteral("ｵﾌﾟｼｮﾝ"), "Command4", this);
    preview_ = makeButton(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"), "Command5", this);
    output_ = makeButton(QStringLiteral("出力"), "Command6", this);
    close_ = makeButton(QStringLiteral("閉じる"), "Command7", this);
    all_ = makeButton(QStringLiteral("ALL"), "Command9", this);
    db_ = makeButton(QStringLiteral("DB"), "Command10", this);
    db2_ = makeButton(QStringLiteral("DB2"), "Command11", this);
    play_ = makeButton(QStringLiteral("Play"), "Command12", this);
    for (QPushButton* b : {all_, db_, db2_, play_}) b->hide();
    progress_ = new ProgressStrip(this);
    progress_->setObjectName(QStringLiteral("Picture1"));

    canvasPicture_ = makeLabel(QString(), "Picture2", this);
    holderPicture_ = makeLabel(QString(), "Picture3", this);
    copyPicture_ = makeLabel(QString(), "Picture4", this);
    for (QLabel* p : {canvasPicture_, holderPicture_, copyPicture_}) {
        p->setFrameShape(QFrame::Box);
        p->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        p->hide();
    }

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("M_Popup"));
    up_ = menu_->addAction(QStringLiteral("上へ"));
    up_->setObjectName(QStringLiteral("M_Up"));
    down_ = menu_->addAction(QStringLiteral("下へ"));
    down_->setObjectName(QStringLiteral("M_Down"));
    deleteMenu_ = menu_->addAction(QStringLiteral("削除"));
    deleteMenu_->setObjectName(QStringLiteral("M_Delete"));
    deleteAllMenu_ = menu_->addAction(QStringLiteral("全削除"));
    deleteAllMenu_->setObjectName(QStringLiteral("M_DeleteAll"));

    // Layout: the list on the left, the selectors and the description on
    // the right, the buttons below, the progress strip at the bottom.
    auto* selectors = new QGridLayout;
    const QStringList captions = {QStringLiteral("ｱﾆﾒｰｼｮﾝ"), QStringLiteral("再生時間"), QStringLiteral("秒間コマ数"),
                                  QStringLiteral("出力サイズ")};
    for (int i = 0; i < captions.size(); ++i) {
        QLabel* c = makeLabel(captions[i], "", this);
        c->setObjectName(QStringLiteral("Label%1").arg(4 + i));
        captions_ << c;
        selectors->addWidget(c, i, 0);
    }
    selectors->addWidget(kind_, 0, 1, 1, 2);
    selectors->addWidget(duration_, 1, 1, 1, 2);
    selectors->addWidget(frameRate_, 2, 1, 1, 2);
    selectors->addWidget(sizeLabel_, 3, 1);
    selectors->addWidget(size_, 3, 2);
    auto* right = new QVBoxLayout;
    right->addLayout(selectors);
    right->addWidget(description_, 1);
    auto* maintenance = new QHBoxLayout;
    for (QPushButton* b : {all_, db_, db2_, play_}) maintenance->addWidget(b);
    maintenance->addStretch();
    right->addLayout(maintenance);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(makeLabel(QStringLiteral("スケジュール"), "Label8", this));
    listColumn->addWidget(list_, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(listColumn);
    middle->addLayout(right, 1);
    auto* pictures = new QHBoxLayout;
    for (QLabel* p : {canvasPicture_, holderPicture_, copyPicture_}) pictures->addWidget(p);
    pictures->addStretch();

    auto* buttons = new QGridLayout;
    const QList<QPushButton*> row1 = {add_, delete_, detail_, options_};
    const QList<QPushButton*> row2 = {preview_, output_, close_};
    for (int i = 0; i < row1.size(); ++i) buttons->addWidget(row1[i], 0, i);
    for (int i = 0; i < row2.size(); ++i) buttons->addWidget(row2[i], 1, i + 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addLayout(middle, 1);
    layout->addLayout(pictures);
    layout->addLayout(buttons);
    layout->addWidget(progress_);

    // Wiring.
    for (QPushButton* b : {add_, preview_, close_}) b->installEventFilter(this);
    title_->installEventFilter(this);
    for (QLabel* c : captions_) c->installEventFilter(this);
    connect(add_, &QPushButton::clicked, this, [this] { addEntry(addModifiers_ == Qt::ShiftModifier); });
    connect(delete_, &QPushButton::clicked, this, &AnimationWindow::deleteEntry);
    connect(detail_, &QPushButton::clicked, this, &AnimationWindow::editDetails);
    connect(options_, &QPushButton::clicked, this, &AnimationWindow::editOptions);
    connect(preview_, &QPushButton::clicked, this, [this] {
        preview(previewModifiers_.testFlags(Qt::ShiftModifier | Qt::ControlModifier));
    });
    connect(output_, &QPushButton::clicked, this, &AnimationWindow::output);
    connect(close_, &QPushButton::clicked, this, [this] {
        if (closeModifiers_.testFlags(Qt::ShiftModifier | Qt::ControlModifier)) {
            revealMaintenance();
            return;
        }
        close();
    });
    connect(size_, &QPushButton::clicked, this, &AnimationWindow::changeOutputSize);
    connect(all_, &QPushButton::clicked, this, &AnimationWindow::addAllKinds);
    connect(db_, &QPushButton::clicked, this, &AnimationWindow::showCutouts);
    connect(db2_, &QPushButton::clicked, this, &AnimationWindow::showWorkingPictures);
    connect(play_, &QPushButton::clicked, this, &AnimationWindow::playOutput);
    connect(up_, &QAction::triggered, this, &AnimationWindow::moveUp);
    connect(down_, &QAction::triggered, this, &AnimationWindow::moveDown);
    connect(deleteMenu_, &QAction::triggered, this, &AnimationWindow::deleteEntryMenu);
    connect(deleteAllMenu_, &QAction::triggered, this, &AnimationWindow::deleteAll);
    connect(list_, &QListWidget::currentRowChanged, this, &AnimationWindow::selectRow);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (detail_->isEnabled()) editDetails();
    });
    connect(kind_, &QComboBox::currentIndexChanged, this, &AnimationWindow::kindChosen);
    connect(duration_, &QComboBox::currentIndexChanged, this, &AnimationWindow::durationChosen);
    connect(frameRate_, &QComboBox::currentIndexChanged, this, &AnimationWindow::frameRateChosen);
}

void AnimationWindow::open() {
    {
        const QSignalBlocker block(kind_);
        kind_->clear();
        kind_->addItems(kindListNames());
    }
    readScheduleFile(scheduleFilePath(), schedule_);
    refillList();
    description_->clear();
    clearSelectors();
    buildSplashTables(effects_);
    showSize();
    adjustSize();
    RestoreWindowPosition(this, state_.settingsPath(), kWindowNumber, true);
    PaintWindowBackground(this, state_.settingsPath());
}

int AnimationWindow::selectedRow() const {
    const int row = list_->currentRow();
    if (row < 0 || row >= list_->count() || !list_->item(row)->isSelected()) return -1;
    return row;
}

void AnimationWindow::refillList() {
    const QSignalBlocker block(list_);
    list_->clear();
    for (int i = 0; i < schedule_.rowCount(); ++i) list_->addItem(kindListName(schedule_[i].kind()));
}

void AnimationWindow::clearSelectors() {
    const QSignalBlocker blockKind(kind_);
    kind_->setCurrentIndex(-1);
    kind_->setEnabled(false);
    duration_->setEnabled(false);
    frameRate_->setEnabled(false);
    detail_->setEnabled(false);
}

void AnimationWindow::showSize() {
    sizeLabel_->setText(QStringLiteral(" %1 X %2").arg(inputs_.outputWidth).arg(inputs_.outputHeight));
}

// ---- Selection and the selectors ---------------------------------------------------

void AnimationWindow::selectRow(int row) {
    if (row < 0 || row >= list_->count()) {
        clearSelectors();
        return;
    }
    {
        const QSignalBlocker block(list_);
        list_->setCurrentRow(row);
    }
    kind_->setEnabled(true);
    duration_->setEnabled(true);
    const ScheduleEntry& e = schedule_[row];
    const int kind = e.kind();
    {
        const QSignalBlocker block(kind_);
        kind_->setCurrentIndex(kind >= 1 && kind <= kEffectKindCount ? kind - 1 : -1);
    }
    setKind(row, kind_->currentIndex(), true);
    const QSignalBlocker block(frameRate_);
    frameRate_->setCurrentIndex(FindListText(frameRate_, QString::number(e.framesPerSecond())));
}

void AnimationWindow::kindChosen(int index) { setKind(selectedRow(), index, false); }

// SetKind: selecting is true when a row is merely selected; then a stored
// duration that matches no choice is left alone.
void AnimationWindow::setKind(int row, int index, bool selecting) {
    if (index < 0) {
        const QSignalBlocker block(duration_);
        duration_->clear();
        const QSignalBlocker blockRate(frameRate_);
        frameRate_->setCurrentIndex(-1);
        if (row >= 0) {
            detail_->setEnabled(false);
            description_->clear();
        }
        return;
    }
    if (row < 0) return;
    const int kind = index + 1;
    ScheduleEntry& e = schedule_[row];
    description_->setText(kindDescription(kind));
    list_->item(row)->setText(kindListName(kind));
    e.setKind(kind);
    const float before = e.duration();
    frameRate_->setEnabled(kind != 1 && kind != 2);
    const QList<DurationChoice> choices = durationChoices(kind);
    {
        const QSignalBlocker block(duration_);
        duration_->clear();
        for (const DurationChoice& c : choices) duration_->addItem(c.text, c.tag);
    }
    applyKindFixups(e);
    detail_->setEnabled(kind >= 5 && kind <= 19);
    const int tag = std::isfinite(before) ? RoundHalfEven(static_cast<double>(before) * 10) : -1;
    const int match = FindListData(duration_, tag);
    const QSignalBlocker block(duration_);
    if (match >= 0) {
        duration_->setCurrentIndex(match);
    } else if (selecting) {
        duration_->setCurrentIndex(-1);
    } else {
        // A duration the new kind does not offer becomes its first choice.
        duration_->setCurrentIndex(0);
        e.setDuration(choices.front().seconds);
    }
}

void AnimationWindow::durationChosen(int index) {
    const int row = selectedRow();
    if (row < 0 || index < 0) return;
    schedule_[row].setDuration(durationFromChoiceText(duration_->itemText(index)));
}

void AnimationWindow::frameRateChosen(int index) {
    const int row = selectedRow();
    if (row < 0 || index < 0) return;
    schedule_[row][slot::FramesPerSecond] = ParseInt(frameRate_->itemText(index).trimmed());
}

// ---- Editing the schedule -----------------------------------------------------------

void AnimationWindow::addEntry(bool before) {
    if (running_ || list_->count() > kMaxAddedRows - 1) return;
    const int kind = chooseKind ? chooseKind() : 0;
    if (kind < 1 || kind > kEffectKindCount) return;
    addEntryOfKind(kind, before);
}

void AnimationWindow::addEntryOfKind(int kind, bool before) {
    if (list_->count() > kMaxAddedRows - 1) return;
    const int fps = keys::IniReadInt(state_.settingsPath(), keys::kAnimeDefKoma);
    const int select = schedule_.add(kind, selectedRow(), before, fps);
    if (select < 0) return;
    refillList();
    list_->setCurrentRow(select);
    selectRow(select);
}

void AnimationWindow::addAllKinds() {
    for (int kind = 1; kind <= kEffectKindCount; ++kind) addEntryOfKind(kind, false);
}

void AnimationWindow::deleteEntry() {
    const int row = selectedRow();
    if (running_ || row < 0) return;
    const int rows = list_->count();
    schedule_.remove(row);
    {
        const QSignalBlocker block(list_);
        delete list_->takeItem(row);
        list_->setCurrentRow(-1);
    }
    clearSelectors();
    description_->clear();
    if (row < rows - 1) {
        list_->setCurrentRow(row);
    } else if (list_->count() > 0) {
        list_->setCurrentRow(list_->count() - 1);
    }
    // setCurrentRow selects without a signal when the row is already current.
    if (list_->currentRow() >= 0) selectRow(list_->currentRow());
}

void AnimationWindow::deleteEntryMenu() {
    const int row = selectedRow();
    if (running_ || row < 0) return;
    schedule_.remove(row);
    const QSignalBlocker block(list_);
    delete list_->takeItem(row);
    list_->setCurrentRow(-1);
    list_->clearSelection();
}

void AnimationWindow::deleteAll() {
    if (running_) return;
    OutputMessage q;
    q.icon = QMessageBox::Question;
    q.title = QStringLiteral("全削除");
    q.text = FormatMessage(QStringLiteral("アニメーションスケジュールを全て削除します&よろしいですか？"), QStringList());
    q.buttons = QMessageBox::Yes | QMessageBox::No;
    q.defaultButton = QMessageBox::No;
    if (showOutputMessage(q, this) != QMessageBox::Yes) return;
    schedule_.removeAll();
    {
        const QSignalBlocker block(list_);
        list_->clear();
    }
    description_->clear();
    clearSelectors();
}

void AnimationWindow::moveUp() {
    const int row = selectedRow();
    if (running_ || !schedule_.moveUp(row)) return;
    list_->item(row)->setText(kindListName(schedule_[row].kind()));
    list_->item(row - 1)->setText(kindListName(schedule_[row - 1].kind()));
    list_->setCurrentRow(row - 1);
}

void AnimationWindow::moveDown() {
    const int row = selectedRow();
    if (running_ || !schedule_.moveDown(row)) return;
    list_->item(row)->setText(kindListName(schedule_[row].kind()));
    list_->item(row + 1)->setText(kindListName(schedule_[row + 1].kind()));
    list_->setCurrentRow(row + 1);
}

void AnimationWindow::updatePopupMenu() {
    const int row = selectedRow();
    deleteMenu_->setEnabled(row >= 0);
    up_->setEnabled(row > 0);
    down_->setEnabled(row >= 0 && row < list_->count() - 1);
    deleteAllMenu_->setEnabled(true);
}

void AnimationWindow::editDetails() {
    const int row = selectedRow();
    if (running_ || row < 0 || !detail_->isEnabled()) return;
    ScheduleEntry copy = schedule_[row];
    if (editEntry && editEntry(copy)) schedule_[row] = copy;
}

void AnimationWindow::editOptions() {
    if (!running_) showAnimationOptions(state_, this);
}

void AnimationWindow::changeOutputSize() {
    if (running_) return;
    const QSize holder = inputs_.baseRendering.size();
    OutputSizeDialog dialog(state_, QSize(inputs_.outputWidth, inputs_.outputHeight), holder, this);
    dialog.exec();
    inputs_.outputWidth = dialog.size().width();
    inputs_.outputHeight = dialog.size().height();
    if (holder.width() > 0) inputs_.widthScale = static_cast<double>(inputs_.outputWidth) / holder.width();
    showSize();
}

// ---- Generation ---------------------------------------------------------------------

void AnimationWindow::progressStep(int amount, bool reset, int64_t total) { progress_->step(amount, reset, total); }

void AnimationWindow::runDriver(DriverMode mode, const QString& path, bool timing) {
    running_ = true;
    const int64_t start = TickCount64();
    DriverHooks hooks;
    hooks.messageOwner = this;
    hooks.progress = [this](int amount, bool reset, int64_t total) { progressStep(amount, reset, total); };
    hooks.betweenFrames = [this] {
        if (canvasPicture_->isVisible()) {
            canvasPicture_->setPixmap(QPixmap::fromImage(effects_.canvas));
            holderPicture_->setPixmap(QPixmap::fromImage(effects_.holder));
            copyPicture_->setPixmap(QPixmap::fromImage(effects_.copy));
        }
        // Repaints and timers run; the user's input waits until the run ends.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    hooks.busy = [](bool on) {
        if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
        else QApplication::restoreOverrideCursor();
    };
    hooks.preview = [this, timing, start](FrameTable& frames) {
        if (timing) {
            const double seconds = static_cast<double>(TickCount64() - start) / 1000.0;
            setWindowTitle(QStringLiteral("処理時間：") + QString::number(seconds, 'f', 3) + QStringLiteral("秒"));
        }
        if (showPreview) showPreview(frames);
    };
    const AnimationSettings settings = AnimationSettings::read(state_.settingsPath());
    lastOutcome_ = runAnimationDriver(state_, inputs_, schedule_, list_->count(), settings, effects_, mode, path,
                                      hooks);
    running_ = false;
}

void AnimationWindow::preview(bool timing) {
    if (running_ || list_->count() < 1) return;
    runDriver(DriverMode::Preview, QString(), timing);
}

void AnimationWindow::output() {
    if (running_ || list_->count() < 1) return;
    const QString& ini = state_.settingsPath();
    const QString path = chooseOutputFile ? chooseOutputFile(animationOutputFile(ini)) : QString();
    if (path.isEmpty()) return;
    storeAnimationOutputFile(ini, path);
    refresh();
    previewModifiers_ = Qt::NoModifier;
    runDriver(DriverMode::Output, path, false);
}

// ---- Maintenance ----------------------------------------------------------------------

void AnimationWindow::revealMaintenance() {
    for (QPushButton* b : {all_, db_, db2_, play_}) b->show();
}

void AnimationWindow::showCutouts() {
    if (running_ || !effects_.hasLastCut) return;
    copyPicture_->show();
    for (int t = 1; t <= kMaxCutGlyphs; ++t) {
        const auto it = effects_.lastCut.images.find(QStringLiteral("C%1").arg(t));
        if (it == effects_.lastCut.images.end()) break;
        copyPicture_->setPixmap(QPixmap::fromImage(it->second));
        copyPicture_->repaint();
        OutputMessage m;
        m.icon = QMessageBox::NoIcon;
        showOutputMessage(m, this);
    }
}

void AnimationWindow::showWorkingPictures() {
    resize(TwipsToPixels(18000), height());
    for (QLabel* p : {canvasPicture_, holderPicture_, copyPicture_}) p->show();
}

void AnimationWindow::playOutput() {
    if (running_) return;
    const QString file = defaultAnimationOutputFile();
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty() || ShellAndWait(opener, QStringList{file}, this, 0, ShellRepaint) == 0) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    }
}

// ---- Window events --------------------------------------------------------------------

void AnimationWindow::refresh() {
    setUpdatesEnabled(false);
    setUpdatesEnabled(true);
    update();
    for (QWidget* w : findChildren<QWidget*>()) w->update();
    state_.refreshMainWindow();
}

bool AnimationWindow::closeWindow() {
    if (running_) return false;
    if (!closed_) {
        closed_ = true;
        StoreWindowPosition(this, state_.settingsPath(), kWindowNumber);
        if (!writeScheduleFile(scheduleFilePath(), schedule_)) {
            OutputMessage m;
            m.icon = QMessageBox::Warning;
            m.title = QStringLiteral("ｱﾆﾒｰｼｮﾝ出力");
            m.text = QStringLiteral("アニメーションの設定を保存できませんでした\n") + scheduleFilePath();
            showOutputMessage(m, this);
        }
    }
    return true;
}

void AnimationWindow::closeEvent(QCloseEvent* event) {
    if (!closeWindow()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void AnimationWindow::reject() {
    // Escape closes the window like "閉じる".
    if (closeWindow()) QDialog::reject();
}

void AnimationWindow::mousePressEvent(QMouseEvent* event) {
    refresh();
    QDialog::mousePressEvent(event);
}

bool AnimationWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == add_) addModifiers_ = mouse->modifiers();
        if (watched == preview_) previewModifiers_ = mouse->modifiers();
        if (watched == close_) closeModifiers_ = mouse->modifiers();
        if (watched == list_->viewport() && mouse->button() == Qt::RightButton) {
            // The menu opens without changing the selection.
            updatePopupMenu();
            menu_->popup(mouse->globalPosition().toPoint());
            return true;
        }
        if (watched == title_ || captions_.contains(qobject_cast<QLabel*>(watched))) refresh();
    }
    return QDialog::eventFilter(watched, event);
}

void showAnimationWindow(ProgramState& state, QWidget* owner, const QString& text, const QImage& baseRendering,
                         int outputWidth, int outputHeight) {
    AnimationRunInputs inputs;
    inputs.text = text;
    inputs.baseRendering = baseRendering;
    inputs.outputWidth = outputWidth;
    inputs.outputHeight = outputHeight;
    inputs.widthScale = 0.5;
    inputs.renderOnBackground = engineBaseRenderer(state, text);
    AnimationWindow window(state, std::move(inputs), owner);
    window.open();
    window.exec();
}

}  // namespace vakuro
