#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <array>

#include "effect_dialogs_fixture.h"
#include "spacing_editor.h"
#include "settings_store.h"
#include "shared_routines.h"
#include "window_position.h"

using namespace vakuro;
using vakuro::testing::DialogFixture;
using vakuro::testing::SeenMessage;

namespace {

using Row = std::array<int, 5>;  // width, height, X, Y, spacing

}  // namespace

class SpacingEditorTest : public QObject {
    Q_OBJECT

    SpacingEditor* open() {
        showSpacingEditor(*app->state, app->owner.get(), false);
        auto* editor = app->owner->findChild<SpacingEditor*>();
        if (editor) {
            editor->activateWindow();
            if (!QTest::qWaitForWindowActive(editor)) qWarning("the editor did not become active");
        }
        return editor;
    }

    void close() {
        editor->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        editor = nullptr;
    }

    QLabel* rowLabel(int row) { return testing::element<QLabel>(editor, QStringLiteral("Label4"), row); }
    QLabel* header(int column) { return testing::element<QLabel>(editor, QStringLiteral("Label5"), column); }
    QAction* action(const char* name) { return editor->findChild<QAction*>(QString::fromLatin1(name)); }
    QMenu* characterMenu() { return editor->findChild<QMenu*>(QStringLiteral("M_Char")); }
    QMenu* itemMenu() { return editor->findChild<QMenu*>(QStringLiteral("M_Item")); }
    QPushButton* button(const char* name) { return editor->findChild<QPushButton*>(QString::fromLatin1(name)); }

    // Selects the entries of a row, without applying.
    void setRowQuietly(int row, const Row& values) {
        for (int c = 1; c <= 5; ++c) {
            QComboBox* list = editor->list(row, c);
            const QSignalBlocker block(list);
            list->setCurrentIndex(FindListData(list, values[c - 1]));
        }
    }
    // The values a row's lists show (-1000 for no selection).
    Row shown(int row) {
        Row r{};
        for (int c = 1; c <= 5; ++c) {
            const QComboBox* list = editor->list(row, c);
            r[c - 1] = list->currentIndex() < 0 ? -1000 : list->currentData().toInt();
        }
        return r;
    }
    Row record(int row) {
        const PavrexStyle& s = app->state->style;
        return {s.CharWidth[row], s.CharHeight[row], s.CharOffsetX[row], s.CharOffsetY[row], s.CharGap[row]};
    }

    // Right-clicks a row number and chooses a menu item, answering the
    // confirmation with the given button.
    SeenMessage rowCommand(int row, const char* item, QMessageBox::StandardButton answer = QMessageBox::Yes) {
        SeenMessage seen;
        testing::rightPress(rowLabel(row));
        testing::answerNextMessage(answer, &seen);
        testing::chooseMenuItem(characterMenu(), action(item));
        return seen;
    }
    SeenMessage columnCommand(int column, const char* item, QMessageBox::StandardButton answer = QMessageBox::Yes) {
        SeenMessage seen;
        testing::rightPress(header(column));
        testing::answerNextMessage(answer, &seen);
        testing::chooseMenuItem(itemMenu(), action(item));
        return seen;
    }

    std::unique_ptr<DialogFixture> app;
    SpacingEditor* editor = nullptr;

private slots:
    void init() {
        app = std::make_unique<DialogFixture>();
        editor = open();
        QVERIFY(editor);
    }
    void cleanup() {
        for (QMenu* menu : editor ? editor->findChildren<QMenu*>() : QList<QMenu*>()) menu->hide();
        app.reset();
        editor = nullptr;
    }

    // Runs first: the row clipboard lasts for the whole run.
    void theCharacterMenuOfTheLastRowOffersNoCopyingAndNoPasteBeforeACopy() {
        testing::rightPress(rowLabel(19));
        QVERIFY(characterMenu()->isVisible());
        QCOMPARE(characterMenu()->title(), QStringLiteral("文字"));
        QCOMPARE(editor->currentRow(), 19);
        QVERIFY(action("M_Ch1Reset")->isEnabled());
        QVERIFY(!action("M_Ch1Copy1")->isEnabled());
        QVERIFY(!action("M_Ch1CopyD")->isEnabled());
        QVERIFY(action("M_Copy")->isEnabled());
        QVERIFY(!action("M_Paest")->isEnabled());
        QVERIFY(action("M_Cancel1")->isEnabled());
        QStringList captions;
        for (QAction* a : characterMenu()->actions()) captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(captions, QStringList({QStringLiteral("1文字初期化"), QStringLiteral("1文字分コピー"),
                                        QStringLiteral("後方へコピー"), QStringLiteral("-"), QStringLiteral("コピー"),
                                        QStringLiteral("ペイスト"), QStringLiteral("-"), QStringLiteral("ｷｬﾝｾﾙ")}));
        testing::chooseMenuItem(characterMenu(), action("M_Cancel1"));
        QVERIFY(!characterMenu()->isVisible());

        testing::rightPress(rowLabel(18));
        QVERIFY(action("M_Ch1Copy1")->isEnabled());
        QVERIFY(action("M_Ch1CopyD")->isEnabled());
        characterMenu()->hide();
        QCOMPARE(app->drawsSettled(), 0);
    }

    void opensWithHundredPercentAndZeroInEveryRow() {
        QCOMPARE(editor->windowTitle(), QStringLiteral("文字間隔"));
        QVERIFY(app->state->openDialogs.spacing);
        QCOMPARE(editor->currentRow(), -1);
        QCOMPARE(editor->currentColumn(), -1);
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(shown(i), Row({100, 100, 0, 0, 0}));
            QCOMPARE(rowLabel(i)->text(), QString::number(i + 1));
        }
        const QStringList headers = {QStringLiteral("No"), QStringLiteral(" 幅"), QStringLiteral(" 高さ"),
                                     QStringLiteral("X位置"), QStringLiteral("Y位置"), QStringLiteral("間隔")};
        for (int c = 0; c <= 5; ++c) QCOMPARE(header(c)->text(), headers[c]);
        QComboBox* width = editor->list(0, 1);
        QCOMPARE(testing::element<QComboBox>(editor, QStringLiteral("Combo1"), 0), width);
        QCOMPARE(testing::element<QComboBox>(editor, QStringLiteral("Combo5"), 19), editor->list(19, 5));
        QCOMPARE(width->count(), 21);
        QCOMPARE(width->itemText(0), QStringLiteral("150%"));
        QCOMPARE(width->itemText(20), QStringLiteral(" 50%"));
        QCOMPARE(width->itemData(1).toInt(), 145);
        QComboBox* gap = editor->list(7, 5);
        QCOMPARE(gap->count(), 21);
        QCOMPARE(gap->itemText(0), QStringLiteral(" 50%"));
        QCOMPARE(gap->itemText(9), QStringLiteral("  5%"));
        QCOMPARE(gap->itemText(10), QStringLiteral("  0%"));
        QCOMPARE(gap->itemText(11), QStringLiteral(" -5%"));
        QCOMPARE(gap->itemText(20), QStringLiteral("-50%"));
        QCOMPARE(gap->itemData(20).toInt(), -50);
        QCOMPARE(button("Command1")->text(), QStringLiteral("保存/描画"));
        QCOMPARE(button("Command2")->text(), QStringLiteral("閉じる"));
        QCOMPARE(button("Command3")->text(), QStringLiteral("ﾘｾｯﾄ"));
        QVERIFY(!button("Command4")->isVisible());
        QCOMPARE(app->drawsSettled(), 0);
    }

    void aSelectionAppliesEveryRowAndDraws() {
        QComboBox* height = editor->list(2, 2);
        height->setCurrentIndex(FindListData(height, 120));
        QCOMPARE(app->state->style.CharHeight[2], 120);
        QCOMPARE(app->drawsSettled(), 1);
        // Entries 20 to 39 are never touched.
        QCOMPARE(app->state->style.CharHeight[20], 0);

        setRowQuietly(4, {80, 90, -5, 10, 15});
        button("Command1")->click();
        QCOMPARE(app->draws, 2);
        QCOMPARE(record(4), Row({80, 90, -5, 10, 15}));
    }

    void theFocusedListSetsTheCurrentRow() {
        editor->list(3, 4)->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(editor->currentRow(), 3);
        // The bar follows the focus to a row below the view.
        editor->list(17, 1)->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(editor->currentRow(), 17);
        auto* rows = editor->findChild<QWidget*>(QStringLiteral("Picture2"));
        auto* view = editor->findChild<QWidget*>(QStringLiteral("Picture1"));
        const QRect shownRect = editor->list(17, 1)->geometry().translated(rows->pos());
        QVERIFY(view->rect().contains(shownRect));
    }

    void theScrollBarMovesTheRows() {
        auto* bar = editor->findChild<QScrollBar*>(QStringLiteral("VScroll1"));
        auto* rows = editor->findChild<QWidget*>(QStringLiteral("Picture2"));
        auto* view = editor->findChild<QWidget*>(QStringLiteral("Picture1"));
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(rows->y(), 0);
        QVERIFY(!view->rect().contains(editor->list(19, 5)->geometry().translated(rows->pos())));
        bar->setValue(100);
        QCOMPARE(rows->y(), -TwipsToPixels(5685));
        QVERIFY(view->rect().contains(editor->list(19, 5)->geometry().translated(rows->pos())));
        bar->setValue(50);
        QCOMPARE(rows->y(), -TwipsToPixels(5685 / 2));
    }

    void copyingBackwardsFromRowFiveFillsTheFollowingRows() {
        for (int i = 0; i < 4; ++i) setRowQuietly(i, {110 + 5 * i, 95, 5, -5, 5 * i});
        setRowQuietly(4, {130, 70, -20, 25, -15});
        const SeenMessage seen = rowCommand(4, "M_Ch1CopyD");
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("後方コピー"));
        QCOMPARE(seen.text, QStringLiteral("5文字目のサイズ/位置/情報を6文字目以降にコピーします\r\n\r\n\tよろしいですか？"));
        QCOMPARE(seen.icon, QMessageBox::Question);
        QCOMPARE(seen.defaultButton, QMessageBox::No);
        for (int i = 4; i < 20; ++i) {
            QCOMPARE(shown(i), Row({130, 70, -20, 25, -15}));
            QCOMPARE(record(i), Row({130, 70, -20, 25, -15}));
        }
        for (int i = 0; i < 4; ++i) QCOMPARE(shown(i), Row({110 + 5 * i, 95, 5, -5, 5 * i}));
        QCOMPARE(app->draws, 1);
        QCOMPARE(app->drawsSettled(), 1);
    }

    void answeringNoChangesNothing() {
        setRowQuietly(4, {130, 70, -20, 25, -15});
        const SeenMessage seen = rowCommand(4, "M_Ch1CopyD", QMessageBox::No);
        QVERIFY(seen.shown);
        QCOMPARE(shown(5), Row({100, 100, 0, 0, 0}));
        QCOMPARE(record(5), Row({100, 100, 0, 0, 0}));
        QCOMPARE(app->drawsSettled(), 0);
    }

    void copyingARowToTheNextAndResettingIt() {
        setRowQuietly(6, {60, 140, 45, -45, 50});
        SeenMessage seen = rowCommand(6, "M_Ch1Copy1");
        QCOMPARE(seen.title, QStringLiteral("1文字分コピー"));
        QCOMPARE(seen.text, QStringLiteral("7文字目のサイズ/位置情報を8文字目にコピーします\r\n\r\n\tよろしいですか？"));
        QCOMPARE(record(7), Row({60, 140, 45, -45, 50}));
        QCOMPARE(record(8), Row({100, 100, 0, 0, 0}));

        seen = rowCommand(7, "M_Ch1Reset");
        QCOMPARE(seen.title, QStringLiteral("1文字分初期化"));
        QCOMPARE(seen.text, QStringLiteral("8文字目のサイズ/位置/間隔情報を初期化します\r\n\r\n\tよろしいですか？"));
        QCOMPARE(record(7), Row({100, 100, 0, 0, 0}));
        QCOMPARE(record(6), Row({60, 140, 45, -45, 50}));
        QCOMPARE(app->drawsSettled(), 2);
    }

    void pastingAppliesTheCopiedRow() {
        setRowQuietly(2, {75, 125, 30, -35, 40});
        testing::rightPress(rowLabel(2));
        testing::chooseMenuItem(characterMenu(), action("M_Copy"));
        QCOMPARE(app->drawsSettled(), 0);

        testing::rightPress(rowLabel(9));
        QVERIFY(action("M_Paest")->isEnabled());
        testing::chooseMenuItem(characterMenu(), action("M_Paest"));
        QVERIFY(!testing::visibleWindow<QMessageBox>());
        QCOMPARE(shown(9), Row({75, 125, 30, -35, 40}));
        QCOMPARE(record(9), Row({75, 125, 30, -35, 40}));
        // Each selection applied at once; the drawing happens once.
        QCOMPARE(app->drawsSettled(), 1);
    }

    void theRowClipboardOutlivesTheEditor() {
        setRowQuietly(0, {55, 60, 15, 20, -25});
        testing::rightPress(rowLabel(0));
        testing::chooseMenuItem(characterMenu(), action("M_Copy"));
        close();
        QVERIFY(!app->state->openDialogs.spacing);
        editor = open();
        QVERIFY(editor);
        QCOMPARE(shown(0), Row({100, 100, 0, 0, 0}));  // the selection was never applied
        testing::rightPress(rowLabel(12));
        QVERIFY(action("M_Paest")->isEnabled());
        testing::chooseMenuItem(characterMenu(), action("M_Paest"));
        QCOMPARE(record(12), Row({55, 60, 15, 20, -25}));
    }

    void theItemMenuWithoutACurrentRowOffersOnlyResetAndCancel() {
        for (int i = 0; i < 20; ++i) setRowQuietly(i, {120, 80, 10, -10, 20});
        button("Command1")->click();
        testing::rightPress(header(5));
        QVERIFY(itemMenu()->isVisible());
        QCOMPARE(itemMenu()->title(), QStringLiteral("項目"));
        QCOMPARE(editor->currentColumn(), 5);
        QCOMPARE(editor->currentRow(), -1);
        QCOMPARE(action("M_ItemReset")->text(), QStringLiteral("間隔初期化"));
        QCOMPARE(action("M_ItemCopy1")->text(), QStringLiteral("間隔1文字分コピー"));
        QCOMPARE(action("M_ItemCopyD")->text(), QStringLiteral("間隔後方へコピー"));
        QVERIFY(action("M_ItemReset")->isEnabled());
        QVERIFY(!action("M_ItemCopy1")->isEnabled());
        QVERIFY(!action("M_ItemCopyD")->isEnabled());
        QVERIFY(action("M_Cancel2")->isEnabled());
        itemMenu()->hide();

        // Resetting the spacing column changes only that column, in all rows.
        const SeenMessage seen = columnCommand(5, "M_ItemReset");
        QCOMPARE(seen.title, QStringLiteral("項目初期化"));
        QCOMPARE(seen.text, QStringLiteral("全ての文字の[間隔]を初期化します\r\n\r\n　　　　よろしいですか？"));
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(shown(i), Row({120, 80, 10, -10, 0}));
            QCOMPARE(record(i), Row({120, 80, 10, -10, 0}));
        }
        QCOMPARE(app->drawsSettled(), 2);

        testing::rightPress(header(1));
        QCOMPARE(action("M_ItemReset")->text(), QStringLiteral(" 幅初期化"));
        itemMenu()->hide();
    }

    void theItemMenuCopiesAColumnFromTheCurrentRow() {
        setRowQuietly(2, {90, 110, 35, -40, 5});
        testing::rightPress(rowLabel(2));
        testing::chooseMenuItem(characterMenu(), action("M_Cancel1"));
        QCOMPARE(editor->currentRow(), 2);

        // The item menu focuses the current row's list of its column.
        testing::rightPress(header(3));
        QCOMPARE(editor->focusWidget(), editor->list(2, 3));
        itemMenu()->hide();

        SeenMessage seen = columnCommand(3, "M_ItemCopy1");
        QCOMPARE(seen.title, QStringLiteral("1項目コピー"));
        QCOMPARE(seen.text, QStringLiteral("3文字目の[X位置]を4文字目にコピーします\r\n\r\n\tよろしいですか？"));
        QCOMPARE(record(3), Row({100, 100, 35, 0, 0}));
        QCOMPARE(record(2), Row({90, 110, 35, -40, 5}));

        seen = columnCommand(4, "M_ItemCopyD");
        QCOMPARE(seen.title, QStringLiteral("項目後方コピー"));
        QCOMPARE(seen.text, QStringLiteral("3文字目の[Y位置]を4文字目以降にコピーします\r\n\r\n\tよろしいですか？"));
        for (int i = 3; i < 20; ++i) QCOMPARE(record(i)[3], -40);
        QCOMPARE(record(1), Row({100, 100, 0, 0, 0}));
        QCOMPARE(record(19), Row({100, 100, 0, -40, 0}));
        QCOMPARE(app->drawsSettled(), 2);
    }

    void resettingAllAppliesOnceAfterTheGuard() {
        for (int i = 0; i < 20; ++i) setRowQuietly(i, {140, 60, -30, 30, 10});
        SeenMessage seen;
        testing::answerNextMessage(QMessageBox::Yes, &seen);
        button("Command3")->click();
        QCOMPARE(seen.title, QStringLiteral("ﾘｾｯﾄ"));
        QCOMPARE(seen.text, QStringLiteral("全ての文字間隔設定を初期状態に戻します\r\n\r\n\tよろしいですか？"));
        QCOMPARE(seen.defaultButton, QMessageBox::No);
        for (int i = 0; i < 20; ++i) QCOMPARE(shown(i), Row({100, 100, 0, 0, 0}));
        // One drawing at once and none queued by the hundred changed lists.
        QCOMPARE(app->draws, 1);
        QCOMPARE(app->drawsSettled(), 1);
    }

    void aValueNoListOffersIsKeptOnApply() {
        close();
        PavrexStyle& s = app->state->style;
        s.CharWidth[3] = 123;
        s.CharGap[7] = 99;
        s.CharOffsetY[8] = -7;
        editor = open();
        QVERIFY(editor);
        QCOMPARE(editor->list(3, 1)->currentIndex(), -1);
        QCOMPARE(editor->list(7, 5)->currentIndex(), -1);
        QCOMPARE(shown(3), Row({-1000, 100, 0, 0, 0}));

        QComboBox* width = editor->list(0, 1);
        width->setCurrentIndex(FindListData(width, 105));
        button("Command1")->click();
        QCOMPARE(s.CharWidth[0], 105);
        QCOMPARE(s.CharWidth[3], 123);
        QCOMPARE(s.CharGap[7], 99);
        QCOMPARE(s.CharOffsetY[8], -7);

        // Copying such a row copies the stored value along.
        rowCommand(3, "M_Ch1Copy1");
        QCOMPARE(record(4), Row({123, 100, 0, 0, 0}));
        QCOMPARE(s.CharWidth[3], 123);
        // Choosing an entry replaces it.
        editor->list(3, 1)->setCurrentIndex(0);
        QCOMPARE(s.CharWidth[3], 150);
    }

    void aReplacedStyleReloadsTheLists() {
        PavrexStyle& s = app->state->style;
        s.CharWidth[0] = 80;
        s.CharGap[5] = -20;
        app->state->styleReplacedNotice();
        QCOMPARE(shown(0), Row({80, 100, 0, 0, 0}));
        QCOMPARE(shown(5), Row({100, 100, 0, 0, -20}));
        QCOMPARE(app->drawsSettled(), 0);
        // The next selection keeps the loaded values.
        editor->list(1, 2)->setCurrentIndex(0);
        QCOMPARE(s.CharWidth[0], 80);
        QCOMPARE(s.CharGap[5], -20);
        QCOMPARE(s.CharHeight[1], 150);
    }

    void aPressOnTheBackgroundRepaintsTheMainWindow() {
        testing::leftPress(editor);
        QCOMPARE(app->refreshes, 1);
        testing::leftPress(editor->findChild<QLabel*>(QStringLiteral("Label2")));
        QCOMPARE(app->refreshes, 2);
    }

    void closingStoresThePositionAndClearsTheFlag() {
        editor->move(320, 140);
        QTRY_COMPARE(editor->pos(), QPoint(320, 140));
        close();
        QVERIFY(!app->state->openDialogs.spacing);
        QVERIFY(!app->owner->findChild<SpacingEditor*>());
        const QString ini = app->state->settingsPath();
        QCOMPARE(IniReadInt(ini, QStringLiteral("Window"), QStringLiteral("F025_TOP"), -1), 140 * 15);
        QCOMPARE(IniReadInt(ini, QStringLiteral("Window"), QStringLiteral("F025_LEFT"), -1), 320 * 15);
        editor = open();
        QCOMPARE(editor->pos(), QPoint(320, 140));
    }

    void theModalEditorReturnsWhenClosed() {
        close();
        bool wasModal = false;
        bool flagWhileOpen = false;
        testing::whenWindowShows<SpacingEditor>([&](SpacingEditor* modal) {
            wasModal = QApplication::activeModalWidget() == modal;
            flagWhileOpen = app->state->openDialogs.spacing;
            QComboBox* gap = modal->list(0, 5);
            gap->setCurrentIndex(FindListData(gap, 25));
            modal->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        });
        showSpacingEditor(*app->state, app->owner.get(), true);
        QVERIFY(wasModal);
        QVERIFY(flagWhileOpen);
        QVERIFY(!app->state->openDialogs.spacing);
        QCOMPARE(app->state->style.CharGap[0], 25);
    }
};

QTEST_MAIN(SpacingEditorTest)
#include "spacing_editor_test.moc"
