#include "spacing_editor.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "dialog_labels.h"
#include "program_state.h"
#include "shared_routines.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {
namespace {

const QString kWindowNumber = QStringLiteral("025");

// Rows stand 400 twips apart; the number label sits 60 twips below the top
// of its row's lists. The rows' holder moves up by at most 5685 twips, so
// the view shows the last row at the end of the scroll bar.
constexpr int kRowPitchTwips = 400;
constexpr int kLabelDropTwips = 60;
constexpr int kScrollTwips = 5685;
constexpr int kViewTwips = 6 * kRowPitchTwips;
constexpr int kListHeight = 22;

// The values a column offers, first to last, and its reset value.
struct ColumnValues {
    int first;
    int last;
    int reset;
};
constexpr std::array<ColumnValues, SpacingEditor::kColumns> kColumnValues = {{
    {150, 50, 100},  // width
    {150, 50, 100},  // height
    {50, -50, 0},    // X position
    {50, -50, 0},    // Y position
    {50, -50, 0},    // spacing
}};

const std::array<QString, SpacingEditor::kColumns + 1> kHeaders = {
    QStringLiteral("No"), QStringLiteral(" 幅"), QStringLiteral(" 高さ"),
    QStringLiteral("X位置"), QStringLiteral("Y位置"), QStringLiteral("間隔")};

const std::array<QString, SpacingEditor::kColumns> kItemNames = {
    QStringLiteral("[幅]"), QStringLiteral("[高さ]"), QStringLiteral("[X位置]"), QStringLiteral("[Y位置]"),
    QStringLiteral("[間隔]")};

// The row clipboard: the five list positions of a copied row, and for a
// list without a selection the record's value. It lasts for the whole run,
// whether or not the editor is open.
struct RowClipboard {
    std::array<int, SpacingEditor::kColumns> positions{};
    std::array<int, SpacingEditor::kColumns> values{};
    bool filled = false;
};

RowClipboard& rowClipboard() {
    static RowClipboard clipboard;
    return clipboard;
}

}  // namespace

SpacingEditor::SpacingEditor(ProgramState& state, QWidget* owner)
    : ModelessDialog(state, owner, kWindowNumber, &OpenDialogs::spacing) {
    setObjectName(QStringLiteral("Form025"));
    setWindowTitle(QStringLiteral("文字間隔"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    applyGuard_ = true;
    buildControls();
    buildMenus();
    applyGuard_ = false;
    // A replaced style shows at once: lists left at the old values would
    // write them back over the new record at the next selection.
    connect(&state_, &ProgramState::styleReplaced, this, [this] {
        applyGuard_ = true;
        selectFromRecord();
        applyGuard_ = false;
    });
}

void SpacingEditor::buildControls() {
    const int margin = 10;

    // The heading: the caption over a lighter copy one pixel lower right.
    QLabel* shade = caption(QStringLiteral("文字間隔"), QStringLiteral("Label3"), this);
    QLabel* title = caption(QStringLiteral("文字間隔"), QStringLiteral("Label2"), this);
    QFont headingFont = title->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    headingFont.setBold(true);
    for (QLabel* l : {shade, title}) {
        l->setFont(headingFont);
        l->adjustSize();
    }
    shade->setStyleSheet(QStringLiteral("color: white;"));
    title->move(margin, 6);
    shade->move(margin + 1, 7);

    // The lists show their values in a fixed-pitch face so that the padded
    // numbers line up.
    QFont listFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    listFont.setPointSizeF(font().pointSizeF());
    const QFontMetrics listMetrics(listFont);
    const int listWidth = listMetrics.horizontalAdvance(QStringLiteral("-50%")) + 40;
    const int numberWidth = std::max(fontMetrics().horizontalAdvance(QStringLiteral("No")),
                                     fontMetrics().horizontalAdvance(QStringLiteral("20"))) + 12;
    const int gap = 4;
    auto columnX = [&](int column) { return column == 0 ? 0 : numberWidth + (column - 1) * (listWidth + gap); };
    const int rowsWidth = columnX(kColumns) + listWidth;

    // The column headers.
    const int headerTop = title->y() + title->height() + 8;
    for (int c = 0; c <= kColumns; ++c) {
        QLabel* header = caption(kHeaders[c], QStringLiteral("Label5"), this);
        header->setProperty("index", c);
        header->setAlignment(c == 0 ? (Qt::AlignRight | Qt::AlignVCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
        header->setGeometry(margin + columnX(c) + (c == 0 ? -6 : 2), headerTop,
                            c == 0 ? numberWidth : listWidth - 2, fontMetrics().height() + 2);
        header->installEventFilter(this);
        if (c > 0) header->setContextMenuPolicy(Qt::PreventContextMenu);
        headers_[c] = header;
    }

    // The rows, in a holder that the scroll bar moves inside the view.
    const int viewTop = headerTop + headers_[0]->height() + 2;
    const int viewHeight = TwipsToPixels(kViewTwips);
    auto* view = new QWidget(this);
    view->setObjectName(QStringLiteral("Picture1"));
    view->setGeometry(margin, viewTop, rowsWidth, viewHeight);
    rows_ = new QWidget(view);
    rows_->setObjectName(QStringLiteral("Picture2"));
    rows_->setGeometry(0, 0, rowsWidth, viewHeight + TwipsToPixels(kScrollTwips));

    QWidget* previous = nullptr;
    for (int i = 0; i < kRows; ++i) {
        const int top = TwipsToPixels(kRowPitchTwips * i) + 2;
        QLabel* number = caption(QString::number(i + 1), QStringLiteral("Label4"), rows_);
        number->setProperty("index", i);
        number->setAlignment(Qt::AlignRight | Qt::AlignTop);
        number->setGeometry(0, top + TwipsToPixels(kLabelDropTwips) - 1, numberWidth - 6, kListHeight - 4);
        number->installEventFilter(this);
        number->setContextMenuPolicy(Qt::PreventContextMenu);
        rowLabels_[i] = number;
        for (int c = 1; c <= kColumns; ++c) {
            auto* list = new QComboBox(rows_);
            list->setObjectName(QStringLiteral("Combo%1").arg(c));
            list->setProperty("index", i);
            list->setFont(listFont);
            list->setMaxVisibleItems(21);
            const ColumnValues& v = kColumnValues[c - 1];
            for (int value = v.first; value >= v.last; value -= 5)
                list->addItem(PadBytesRight(QString::number(value), 3) + QStringLiteral("%"), value);
            list->setCurrentIndex(-1);
            list->setGeometry(columnX(c), top, listWidth, kListHeight);
            list->installEventFilter(this);
            connect(list, &QComboBox::currentIndexChanged, this, &SpacingEditor::listSelected);
            lists_[i][c - 1] = list;
            if (previous) setTabOrder(previous, list);
            previous = list;
        }
    }

    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("VScroll1"));
    scroll_->setRange(0, 100);
    scroll_->setSingleStep(7);   // about one row
    scroll_->setPageStep(42);    // one view
    scroll_->setGeometry(margin + rowsWidth + 2, viewTop, scroll_->sizeHint().width(), viewHeight);
    connect(scroll_, &QScrollBar::valueChanged, this, &SpacingEditor::scrollRows);
    view->installEventFilter(this);

    // The buttons, right-aligned under the rows.
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->resize(std::max(b->sizeHint().width(), 80), b->sizeHint().height());
        return b;
    };
    QPushButton* apply = button("Command1", QStringLiteral("保存/描画"));
    QPushButton* close = button("Command2", QStringLiteral("閉じる"));
    QPushButton* reset = button("Command3", QStringLiteral("ﾘｾｯﾄ"));
    QPushButton* cancel = button("Command4", QStringLiteral("ｷｬﾝｾﾙ"));
    cancel->hide();  // it has no action: every change is applied at once
    const int right = scroll_->geometry().right() + 1;
    const int buttonTop = viewTop + viewHeight + 10;
    close->move(right - close->width(), buttonTop);
    apply->move(close->x() - 6 - apply->width(), buttonTop);
    reset->move(margin, buttonTop);
    setTabOrder(previous, apply);
    setTabOrder(apply, reset);
    setTabOrder(reset, close);
    // No row is current until the user picks one.
    apply->setFocus();
    connect(apply, &QPushButton::clicked, this, &SpacingEditor::Apply);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(reset, &QPushButton::clicked, this, &SpacingEditor::resetAll);

    setFixedSize(right + margin, buttonTop + close->height() + margin);
}

void SpacingEditor::buildMenus() {
    auto add = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    characterMenu_ = new QMenu(QStringLiteral("文字"), this);
    characterMenu_->setObjectName(QStringLiteral("M_Char"));
    connect(add(characterMenu_, "M_Ch1Reset", QStringLiteral("1文字初期化")), &QAction::triggered, this,
            &SpacingEditor::resetRow);
    rowCopyNext_ = add(characterMenu_, "M_Ch1Copy1", QStringLiteral("1文字分コピー"));
    connect(rowCopyNext_, &QAction::triggered, this, &SpacingEditor::copyRowToNext);
    rowCopyFollowing_ = add(characterMenu_, "M_Ch1CopyD", QStringLiteral("後方へコピー"));
    connect(rowCopyFollowing_, &QAction::triggered, this, &SpacingEditor::copyRowToFollowing);
    characterMenu_->addSeparator();
    connect(add(characterMenu_, "M_Copy", QStringLiteral("コピー")), &QAction::triggered, this,
            &SpacingEditor::copyRowToClipboard);
    rowPaste_ = add(characterMenu_, "M_Paest", QStringLiteral("ペイスト"));
    connect(rowPaste_, &QAction::triggered, this, &SpacingEditor::pasteRow);
    characterMenu_->addSeparator();
    add(characterMenu_, "M_Cancel1", QStringLiteral("ｷｬﾝｾﾙ"));

    itemMenu_ = new QMenu(QStringLiteral("項目"), this);
    itemMenu_->setObjectName(QStringLiteral("M_Item"));
    columnReset_ = add(itemMenu_, "M_ItemReset", QString());
    connect(columnReset_, &QAction::triggered, this, &SpacingEditor::resetColumn);
    columnCopyNext_ = add(itemMenu_, "M_ItemCopy1", QString());
    connect(columnCopyNext_, &QAction::triggered, this, &SpacingEditor::copyColumnToNext);
    columnCopyFollowing_ = add(itemMenu_, "M_ItemCopyD", QString());
    connect(columnCopyFollowing_, &QAction::triggered, this, &SpacingEditor::copyColumnToFollowing);
    itemMenu_->addSeparator();
    add(itemMenu_, "M_Cancel2", QStringLiteral("ｷｬﾝｾﾙ"));
}

void SpacingEditor::prepareOpening() {
    RestoreWindowPosition(this, state_.settingsPath(), kWindowNumber, true);
    PaintWindowBackground(this, state_.settingsPath());
    applyGuard_ = true;
    selectFromRecord();
    currentRow_ = -1;
    currentColumn_ = -1;
    markOpen();
    applyGuard_ = false;
}

int* SpacingEditor::field(int column) const {
    PavrexStyle& s = state_.style;
    switch (column) {
    case 1: return s.CharWidth;
    case 2: return s.CharHeight;
    case 3: return s.CharOffsetX;
    case 4: return s.CharOffsetY;
    default: return s.CharGap;
    }
}

QString SpacingEditor::itemName(int column) const { return kItemNames[column - 1]; }

void SpacingEditor::selectFromRecord() {
    // A value that no list offers selects nothing; applying then keeps it.
    for (int i = 0; i < kRows; ++i)
        for (int c = 1; c <= kColumns; ++c) list(i, c)->setCurrentIndex(FindListData(list(i, c), field(c)[i]));
}

void SpacingEditor::writeRecord() {
    for (int i = 0; i < kRows; ++i) {
        for (int c = 1; c <= kColumns; ++c) {
            const QComboBox* l = list(i, c);
            if (l->currentIndex() >= 0) field(c)[i] = l->currentData().toInt();
        }
    }
}

// Every application is a step of the undo history; the multi-row commands
// apply once, so each is one step.
void SpacingEditor::Apply() {
    writeRecord();
    state_.draw();
    state_.styleEdited();
}

void SpacingEditor::listSelected() {
    if (applyGuard_) return;
    // Stepping through a list with the keys or the wheel draws once the
    // input has been handled; the record takes every value at once.
    writeRecord();
    state_.drawSoon();
    // Stepping through one list with the keys or the wheel is one step, as
    // is a paste of a whole row.
    state_.styleEdited(pasting_ ? static_cast<const void*>(this) : sender());
}

void SpacingEditor::resetCell(int row, int column) {
    QComboBox* l = list(row, column);
    l->setCurrentIndex(FindListData(l, kColumnValues[column - 1].reset));
}

void SpacingEditor::copyCell(int fromRow, int toRow, int column) {
    const int position = list(fromRow, column)->currentIndex();
    if (position < 0) field(column)[toRow] = field(column)[fromRow];
    list(toRow, column)->setCurrentIndex(position);
}

bool SpacingEditor::confirm(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void SpacingEditor::resetAll() {
    const QString text = QStringLiteral("全ての文字間隔設定を初期状態に戻します\r\n\r\n\tよろしいですか？");
    if (!confirm(QStringLiteral("ﾘｾｯﾄ"), text)) return;
    applyGuard_ = true;
    for (int i = 0; i < kRows; ++i)
        for (int c = 1; c <= kColumns; ++c) resetCell(i, c);
    applyGuard_ = false;
    Apply();
}

void SpacingEditor::resetRow() {
    if (currentRow_ < 0) return;
    const int n = currentRow_ + 1;
    if (!confirm(QStringLiteral("1文字分初期化"),
                 FormatMessage(QStringLiteral("@文字目のサイズ/位置/間隔情報を初期化します&＆よろしいですか？"),
                               QVariantList{n})))
        return;
    applyGuard_ = true;
    for (int c = 1; c <= kColumns; ++c) resetCell(currentRow_, c);
    applyGuard_ = false;
    Apply();
}

void SpacingEditor::copyRowToNext() {
    if (currentRow_ < 0 || currentRow_ >= kRows - 1) return;
    const int n = currentRow_ + 1;
    if (!confirm(QStringLiteral("1文字分コピー"),
                 FormatMessage(QStringLiteral("@文字目のサイズ/位置情報を@文字目にコピーします&＆よろしいですか？"),
                               QVariantList{n, n + 1})))
        return;
    applyGuard_ = true;
    for (int c = 1; c <= kColumns; ++c) copyCell(currentRow_, currentRow_ + 1, c);
    applyGuard_ = false;
    Apply();
}

void SpacingEditor::copyRowToFollowing() {
    if (currentRow_ < 0 || currentRow_ >= kRows - 1) return;
    const int n = currentRow_ + 1;
    if (!confirm(QStringLiteral("後方コピー"),
                 FormatMessage(QStringLiteral("@文字目のサイズ/位置/情報を@文字目以降にコピーします&＆よろしいですか？"),
                               QVariantList{n, n + 1})))
        return;
    applyGuard_ = true;
    for (int k = currentRow_; k < kRows - 1; ++k)
        for (int c = 1; c <= kColumns; ++c) copyCell(k, k + 1, c);
    applyGuard_ = false;
    Apply();
}

void SpacingEditor::copyRowToClipboard() {
    if (currentRow_ < 0) return;
    RowClipboard& clipboard = rowClipboard();
    for (int c = 1; c <= kColumns; ++c) {
        clipboard.positions[c - 1] = list(currentRow_, c)->currentIndex();
        clipboard.values[c - 1] = field(c)[currentRow_];
    }
    clipboard.filled = true;
}

void SpacingEditor::pasteRow() {
    const RowClipboard& clipboard = rowClipboard();
    if (currentRow_ < 0 || !clipboard.filled) return;
    // Each of the five selections applies on its own, as a selection by hand;
    // together they are one step of the undo history.
    state_.endStyleEditRun();
    pasting_ = true;
    for (int c = 1; c <= kColumns; ++c) {
        const int position = clipboard.positions[c - 1];
        if (position < 0) field(c)[currentRow_] = clipboard.values[c - 1];
        applyGuard_ = true;
        list(currentRow_, c)->setCurrentIndex(position);
        applyGuard_ = false;
        listSelected();
    }
    pasting_ = false;
    state_.endStyleEditRun();
}

void SpacingEditor::resetColumn() {
    if (currentColumn_ < 1) return;
    if (!confirm(QStringLiteral("項目初期化"),
                 FormatMessage(QStringLiteral("全ての文字の@を初期化します&&　　　　よろしいですか？"),
                               QVariantList{itemName(currentColumn_)})))
        return;
    applyGuard_ = true;
    for (int i = 0; i < kRows; ++i) resetCell(i, currentColumn_);
    applyGuard_ = false;
    Apply();
}

void SpacingEditor::copyColumnToNext() {
    if (currentColumn_ < 1 || currentRow_ < 0 || currentRow_ >= kRows - 1) return;
    const int n = currentRow_ + 1;
    if (!confirm(QStringLiteral("1項目コピー"),
                 FormatMessage(QStringLiteral("@文字目の$を@文字目にコピーします&＆よろしいですか？"),
                               QVariantList{n, itemName(currentColumn_), n + 1})))
        return;
    applyGuard_ = true;
    copyCell(currentRow_, currentRow_ + 1, currentColumn_);
    applyGuard_ = false;
    Apply();
}

void SpacingEditor::copyColumnToFollowing() {
    if (currentColumn_ < 1 || currentRow_ < 0 || currentRow_ >= kRows - 1) return;
    const int n = currentRow_ + 1;
    if (!confirm(QStringLiteral("項目後方コピー"),
                 FormatMessage(QStringLiteral("@文字目の$を@文字目以降にコピーします&＆よろしいですか？"),
                               QVariantList{n, itemName(currentColumn_), n + 1})))
        return;
    applyGuard_ = true;
    for (int k = currentRow_; k < kRows - 1; ++k) copyCell(k, k + 1, currentColumn_);
    applyGuard_ = false;
    Apply();
}

void SpacingEditor::openCharacterMenu(int row, const QPoint& globalPos) {
    currentRow_ = row;
    showRow(row);
    list(row, 1)->setFocus(Qt::OtherFocusReason);
    rowCopyNext_->setEnabled(row < kRows - 1);
    rowCopyFollowing_->setEnabled(row < kRows - 1);
    rowPaste_->setEnabled(rowClipboard().filled);
    characterMenu_->popup(globalPos);
}

void SpacingEditor::openItemMenu(int column, const QPoint& globalPos) {
    currentColumn_ = column;
    const QString header = kHeaders[column];
    columnReset_->setText(header + QStringLiteral("初期化"));
    columnCopyNext_->setText(header + QStringLiteral("1文字分コピー"));
    columnCopyFollowing_->setText(header + QStringLiteral("後方へコピー"));
    const bool fromRow = currentRow_ >= 0 && currentRow_ < kRows - 1;
    columnCopyNext_->setEnabled(fromRow);
    columnCopyFollowing_->setEnabled(fromRow);
    if (currentRow_ >= 0) {
        showRow(currentRow_);
        list(currentRow_, column)->setFocus(Qt::OtherFocusReason);
    }
    itemMenu_->popup(globalPos);
}

void SpacingEditor::scrollRows(int value) {
    rows_->move(0, -TwipsToPixels(value * kScrollTwips / 100));
}

void SpacingEditor::showRow(int row) {
    // The scroll position that shows the row's top (or its bottom, when the
    // row lies below the view).
    const int top = kRowPitchTwips * row;
    const int offset = scroll_->value() * kScrollTwips / 100;
    int wanted = offset;
    if (top < offset) wanted = top;
    else if (top + kRowPitchTwips > offset + kViewTwips) wanted = top + kRowPitchTwips - kViewTwips;
    if (wanted == offset) return;
    scroll_->setValue(Clamp((wanted * 100 + kScrollTwips - 1) / kScrollTwips, 0, 100));
}

void SpacingEditor::mousePressEvent(QMouseEvent* event) {
    setUpdatesEnabled(false);
    setUpdatesEnabled(true);
    update();
    for (QWidget* w : findChildren<QWidget*>()) {
        if (!qobject_cast<QMenu*>(w)) w->update();
    }
    state_.refreshMainWindow();
    QDialog::mousePressEvent(event);
}

bool SpacingEditor::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        for (int i = 0; i < kRows; ++i) {
            if (watched == rowLabels_[i]) {
                openCharacterMenu(i, at);
                return true;
            }
        }
        for (int c = 1; c <= kColumns; ++c) {
            if (watched == headers_[c]) {
                openItemMenu(c, at);
                return true;
            }
        }
    }
    if (type == QEvent::FocusIn || type == QEvent::Wheel) {
        for (int i = 0; i < kRows; ++i) {
            for (int c = 1; c <= kColumns; ++c) {
                if (watched != list(i, c)) continue;
                if (type == QEvent::FocusIn) {
                    // Focus that comes back with the window or after a menu
                    // is no choice of the user's.
                    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
                    currentRow_ = i;
                    showRow(i);
                    return false;
                }
                // The wheel scrolls the rows unless the list has the focus.
                if (list(i, c)->hasFocus()) return false;
                QCoreApplication::sendEvent(scroll_, event);
                return true;
            }
        }
    }
    if (type == QEvent::Wheel && watched == rows_->parentWidget()) {
        QCoreApplication::sendEvent(scroll_, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void showSpacingEditor(ProgramState& state, QWidget* owner, bool modal) {
    if (raiseOpenDialog<SpacingEditor>(state)) return;
    auto* editor = new SpacingEditor(state, owner);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->prepareOpening();
    if (modal) {
        editor->setWindowModality(Qt::ApplicationModal);
        editor->exec();
    } else {
        editor->show();
    }
}

}  // namespace vakuro
