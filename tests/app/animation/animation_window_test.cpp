// The animation window driven through its controls: adding (Shift before,
// the 99-row limit), deleting in both forms, delete all, moving, the pop-up
// menu's rules, the selectors, the file written on closing, the hidden
// maintenance buttons, the options, output-size and add dialogs, output and
// preview runs and the progress strip.
#include <cmath>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "animation_add_dialog.h"
#include "animation_fixture.h"
#include "animation_options_dialog.h"
#include "animation_window.h"
#include "effect_kinds.h"
#include "frame_table.h"
#include "main_window.h"
#include "output_size_dialog.h"
#include "program_paths.h"
#include "settings_keys.h"
#include "settings_store.h"
#include "support.h"

using namespace vakuro;
using namespace vakuro::testing;
namespace keys = vakuro::settings;

namespace {

AnimationRunInputs inputs() {
    AnimationRunInputs in;
    in.text = QStringLiteral("ABC");
    in.baseRendering = blockPicture(80, 40);
    in.outputWidth = 40;
    in.outputHeight = 20;
    in.widthScale = 0.5;
    return in;
}

// A window opened as the animation command opens it, with the add dialog
// replaced by a queue of kinds.
struct OpenWindow {
    explicit OpenWindow(AnimationFixture& f) : window(*f.state, inputs(), nullptr) {
        window.chooseKind = [this] {
            ++asked;
            return kinds.isEmpty() ? 0 : kinds.takeFirst();
        };
        window.open();
        window.show();
    }
    void add(int kind, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        kinds << kind;
        QTest::mouseClick(window.addButton(), Qt::LeftButton, modifiers);
    }
    QList<int> rows() const {
        QList<int> k;
        for (int i = 0; i < window.scheduleList()->count(); ++i) k << const_cast<AnimationWindow&>(window).schedule()[i].kind();
        return k;
    }
    QStringList texts() const {
        QStringList t;
        for (int i = 0; i < window.scheduleList()->count(); ++i) t << window.scheduleList()->item(i)->text();
        return t;
    }
    void select(int row) { window.scheduleList()->setCurrentRow(row); }
    void rightClick() {
        QListWidget* list = window.scheduleList();
        const QPoint at = list->count() > 0 ? list->visualItemRect(list->item(0)).center() : QPoint(5, 5);
        QTest::mouseClick(list->viewport(), Qt::RightButton, Qt::NoModifier, at);
    }

    AnimationWindow window;
    QList<int> kinds;
    int asked = 0;
};

// Runs action once the next modal dialog is open.
void whenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        action(modal);
    });
}

// A double click on a row as the user makes it: press, release, then the
// double-click event (which the item view takes only on the row pressed).
void doubleClick(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class AnimationWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensEmptyWithoutAFile() {
        AnimationFixture f;
        OpenWindow w(f);
        AnimationWindow& win = w.window;
        QCOMPARE(win.objectName(), QStringLiteral("Form070"));
        QCOMPARE(win.windowTitle(), QStringLiteral("ｱﾆﾒｰｼｮﾝ出力"));
        QCOMPARE(win.scheduleList()->count(), 0);
        QCOMPARE(win.kindSelector()->count(), 19);
        QCOMPARE(win.kindSelector()->currentIndex(), -1);
        QVERIFY(!win.kindSelector()->isEnabled());
        QVERIFY(!win.durationSelector()->isEnabled());
        QVERIFY(!win.detailButton()->isEnabled());
        QVERIFY(win.descriptionLabel()->text().isEmpty());
        QCOMPARE(win.sizeLabel()->text(), QStringLiteral(" 40 X 20"));
        QCOMPARE(win.frameRateSelector()->count(), 8);
        QCOMPARE(win.frameRateSelector()->itemText(0), QStringLiteral(" 1"));
        const QStringList captions = {win.addButton()->text(), win.deleteButton()->text(), win.detailButton()->text(),
                                      win.optionsButton()->text(), win.previewButton()->text(),
                                      win.outputButton()->text(), win.closeButton()->text(), win.sizeButton()->text()};
        QCOMPARE(captions, (QStringList{"追加", "削除", "詳細設定", "ｵﾌﾟｼｮﾝ", "ﾌﾟﾚﾋﾞｭｰ", "出力", "閉じる", "変更"}));
        for (QPushButton* b : {win.allButton(), win.dbButton(), win.db2Button(), win.playButton()}) QVERIFY(b->isHidden());
    }

    void addingGivesTheDefaultsAndTheDefKomaRate() {
        AnimationFixture f;
        f.writeIni("[Anime]\r\nDefKoma=15\r\n");
        OpenWindow w(f);
        w.add(1);
        QCOMPARE(w.rows(), QList<int>{1});
        const ScheduleEntry& e = w.window.schedule()[0];
        QCOMPARE(e.duration(), 2.0f);
        QCOMPARE(e.framesPerSecond(), 15);
        QCOMPARE(e[slot::MoveEndWidth], 100);
        QCOMPARE(w.window.selectedRow(), 0);
        QCOMPARE(w.texts(), QStringList{QStringLiteral("文字表示")});
        QCOMPARE(w.window.kindSelector()->currentText(), QStringLiteral("文字表示"));
        QCOMPARE(w.window.durationSelector()->currentText(), QStringLiteral(" 2.0 秒"));
        QCOMPARE(w.window.frameRateSelector()->currentText(), QStringLiteral("15"));
        // The frame rate does not apply to the stills.
        QVERIFY(!w.window.frameRateSelector()->isEnabled());
        QCOMPARE(w.window.descriptionLabel()->text(),
                 QStringLiteral("文字をそのまま表示します\r\n\r\nｱﾆﾒｰｼｮﾝの繋ぎの時間調整に使います"));
        // A cancelled add dialog adds nothing.
        w.add(0);
        QCOMPARE(w.rows(), QList<int>{1});
    }

    void shiftAddsBeforeAndNothingSelectedAddsAtTheTop() {
        AnimationFixture f;
        OpenWindow w(f);
        w.add(1);
        w.add(2);  // after the selection (row 0)
        QCOMPARE(w.rows(), (QList<int>{1, 2}));
        QCOMPARE(w.window.selectedRow(), 1);
        w.add(3, Qt::ShiftModifier);  // before row 1
        QCOMPARE(w.rows(), (QList<int>{1, 3, 2}));
        QCOMPARE(w.window.selectedRow(), 1);
        w.add(4, Qt::ShiftModifier | Qt::ControlModifier);  // not Shift alone: after
        QCOMPARE(w.rows(), (QList<int>{1, 3, 4, 2}));
        w.window.scheduleList()->clearSelection();
        w.window.scheduleList()->setCurrentRow(-1);
        w.add(5);
        QCOMPARE(w.rows(), (QList<int>{5, 1, 3, 4, 2}));
        QCOMPARE(w.texts().first(), QStringLiteral("スプラッシュイン"));
    }

    void addsStopAt99Rows() {
        AnimationFixture f;
        OpenWindow w(f);
        for (int i = 0; i < 99; ++i) w.add(1 + i % 19);
        QCOMPARE(w.window.scheduleList()->count(), 99);
        const int asked = w.asked;
        w.add(3);
        QCOMPARE(w.window.scheduleList()->count(), 99);
        QCOMPARE(w.asked, asked);  // the add dialog is not even shown
    }

    void deletingSelectsTheNeighbour() {
        AnimationFixture f;
        OpenWindow w(f);
        for (int k : {1, 2, 3}) w.add(k);
        w.select(1);
        QTest::mouseClick(w.window.deleteButton(), Qt::LeftButton);
        QCOMPARE(w.rows(), (QList<int>{1, 3}));
        QCOMPARE(w.window.selectedRow(), 1);  // the row now at the same place
        QCOMPARE(w.window.kindSelector()->currentText(), QStringLiteral("フェードイン"));
        QTest::mouseClick(w.window.deleteButton(), Qt::LeftButton);  // the last row
        QCOMPARE(w.rows(), QList<int>{1});
        QCOMPARE(w.window.selectedRow(), 0);  // the new last row
        QTest::mouseClick(w.window.deleteButton(), Qt::LeftButton);  // the only row
        QCOMPARE(w.window.scheduleList()->count(), 0);
        QCOMPARE(w.window.selectedRow(), -1);
        QVERIFY(!w.window.kindSelector()->isEnabled());
        QVERIFY(!w.window.durationSelector()->isEnabled());
        QVERIFY(!w.window.frameRateSelector()->isEnabled());
        QVERIFY(w.window.descriptionLabel()->text().isEmpty());
        // Without a selection the button does nothing.
        QTest::mouseClick(w.window.deleteButton(), Qt::LeftButton);
        QCOMPARE(w.window.scheduleList()->count(), 0);
    }

    void popupMenuFollowsTheSelection() {
        AnimationFixture f;
        OpenWindow w(f);
        auto states = [&] {
            return QList<bool>{w.window.upAction()->isEnabled(), w.window.downAction()->isEnabled(),
                               w.window.deleteAction()->isEnabled(), w.window.deleteAllAction()->isEnabled()};
        };
        w.rightClick();
        QCOMPARE(states(), (QList<bool>{false, false, false, true}));
        w.window.popupMenu()->hide();
        for (int k : {1, 2, 3}) w.add(k);
        w.select(0);
        w.rightClick();
        QCOMPARE(w.window.selectedRow(), 0);  // the right click does not select
        QCOMPARE(states(), (QList<bool>{false, true, true, true}));
        w.window.popupMenu()->hide();
        w.select(2);
        w.rightClick();
        QCOMPARE(w.window.selectedRow(), 2);
        QCOMPARE(states(), (QList<bool>{true, false, true, true}));
        w.window.popupMenu()->hide();
        w.select(1);
        w.rightClick();
        QCOMPARE(states(), (QList<bool>{true, true, true, true}));
        w.window.popupMenu()->hide();
    }

    void menuMovesCarryTheSelection() {
        AnimationFixture f;
        OpenWindow w(f);
        for (int k : {1, 2, 3}) w.add(k);
        w.select(0);
        w.window.schedule()[0].setDuration(0.5f);
        w.window.downAction()->trigger();
        QCOMPARE(w.rows(), (QList<int>{2, 1, 3}));
        QCOMPARE(w.texts(), (QStringList{"背景表示", "文字表示", "フェードイン"}));
        QCOMPARE(w.window.selectedRow(), 1);
        QCOMPARE(w.window.schedule()[1].duration(), 0.5f);
        QCOMPARE(w.window.kindSelector()->currentText(), QStringLiteral("文字表示"));
        w.window.upAction()->trigger();
        QCOMPARE(w.rows(), (QList<int>{1, 2, 3}));
        QCOMPARE(w.window.selectedRow(), 0);
        // At the top, up does nothing.
        w.window.upAction()->trigger();
        QCOMPARE(w.rows(), (QList<int>{1, 2, 3}));
    }

    void menuDeleteRemovesOnlyTheRow() {
        AnimationFixture f;
        OpenWindow w(f);
        for (int k : {1, 2, 3}) w.add(k);
        w.select(1);
        w.window.deleteAction()->trigger();
        QCOMPARE(w.rows(), (QList<int>{1, 3}));
        QCOMPARE(w.window.selectedRow(), -1);
    }

    void deleteAllAsksFirst() {
        AnimationFixture f;
        OpenWindow w(f);
        for (int k : {1, 2, 3}) w.add(k);
        f.recorder.answers << QMessageBox::No;
        w.window.deleteAllAction()->trigger();
        QCOMPARE(w.rows(), (QList<int>{1, 2, 3}));
        QCOMPARE(f.recorder.messages.size(), 1);
        const OutputMessage& q = f.recorder.messages[0];
        QCOMPARE(q.title, QStringLiteral("全削除"));
        QCOMPARE(q.text, QStringLiteral("アニメーションスケジュールを全て削除します\r\nよろしいですか？"));
        QCOMPARE(q.icon, QMessageBox::Question);
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(q.defaultButton, QMessageBox::No);
        f.recorder.answers << QMessageBox::Yes;
        w.window.deleteAllAction()->trigger();
        QCOMPARE(w.window.scheduleList()->count(), 0);
        QCOMPARE(w.window.schedule().rowCount(), 0);
        QVERIFY(!w.window.kindSelector()->isEnabled());
        QCOMPARE(w.window.kindSelector()->currentIndex(), -1);
    }

    void kindChangesKeepOrReplaceTheDuration() {
        AnimationFixture f;
        OpenWindow w(f);
        w.add(3);
        QComboBox* duration = w.window.durationSelector();
        duration->setCurrentIndex(duration->findText(QStringLiteral(" 0.5 秒")));
        QCOMPARE(w.window.schedule()[0].duration(), 0.5f);
        // Snow offers whole seconds only: the first choice, 1.0 s.
        w.window.kindSelector()->setCurrentIndex(9);
        QCOMPARE(w.window.schedule()[0].kind(), 10);
        QCOMPARE(w.window.schedule()[0].duration(), 1.0f);
        QCOMPARE(duration->currentText(), QStringLiteral(" 1.0 秒"));
        QCOMPARE(duration->count(), 30);
        QCOMPARE(w.texts(), QStringList{QStringLiteral("スノー")});
        QVERIFY(w.window.detailButton()->isEnabled());
        // Back to fade-in: 1.0 s is offered there and kept.
        w.window.kindSelector()->setCurrentIndex(2);
        QCOMPARE(w.window.schedule()[0].duration(), 1.0f);
        QCOMPARE(duration->currentText(), QStringLiteral(" 1.0 秒"));
        QVERIFY(!w.window.detailButton()->isEnabled());
        // The frame rate selector writes slot 2.
        w.window.frameRateSelector()->setCurrentIndex(1);
        QCOMPARE(w.window.schedule()[0].framesPerSecond(), 2);
    }

    void selectingARowLeavesAnUnlistedDurationAlone() {
        AnimationFixture f;
        OpenWindow w(f);
        w.add(3);
        w.add(1);
        // 12 s is not among the choices of a fade (they end at 10.0 s).
        w.window.schedule()[0].setDuration(12.0f);
        w.window.schedule()[0][slot::FramesPerSecond] = 7;
        w.window.schedule()[0][slot::MoveStartWidth] = 0;
        w.select(0);
        QCOMPARE(w.window.durationSelector()->currentIndex(), -1);
        QCOMPARE(w.window.frameRateSelector()->currentIndex(), -1);
        QCOMPARE(w.window.schedule()[0].duration(), 12.0f);
        QCOMPARE(w.window.schedule()[0].framesPerSecond(), 7);
        // The kind's fix-ups still apply.
        QCOMPARE(w.window.schedule()[0][slot::MoveStartWidth], 50);
    }

    void detailsOpenForKinds5To19() {
        AnimationFixture f;
        OpenWindow w(f);
        QList<int> opened;
        w.window.editEntry = [&](ScheduleEntry& e) {
            opened << e.kind();
            e[slot::SnowCount] = 9;
            return opened.size() == 1;  // OK the first time, cancel the second
        };
        w.add(3);
        QVERIFY(!w.window.detailButton()->isEnabled());
        doubleClick(w.window.scheduleList(), 0);
        QVERIFY(opened.isEmpty());
        w.add(10);
        QVERIFY(w.window.detailButton()->isEnabled());
        QTest::mouseClick(w.window.detailButton(), Qt::LeftButton);
        QCOMPARE(opened, QList<int>{10});
        QCOMPARE(w.window.schedule()[1][slot::SnowCount], 9);
        w.window.schedule()[1][slot::SnowCount] = 4;
        doubleClick(w.window.scheduleList(), 1);
        QCOMPARE(opened, (QList<int>{10, 10}));
        QCOMPARE(w.window.schedule()[1][slot::SnowCount], 4);  // cancelled: unchanged
    }

    void closingWritesTheScheduleAndReopeningReadsItBack() {
        AnimationFixture f;
        QByteArray first;
        {
            OpenWindow w(f);
            for (int k : {1, 3, 10, 19}) w.add(k);
            w.window.schedule()[3][slot::MoveEndAngle] = 90;
            w.window.schedule()[150][slot::SnowSpeed] = 7;  // behind the end
            w.window.close();
            first = readAll(scheduleFilePath());
            QCOMPARE(first.size(), 90030);
            QCOMPARE(IniReadInt(SettingsPath(), QStringLiteral("Window"), QStringLiteral("F070_TOP"), -1) >= 0, true);
        }
        {
            OpenWindow w(f);
            QCOMPARE(w.rows(), (QList<int>{1, 3, 10, 19}));
            QCOMPARE(w.window.schedule()[3][slot::MoveEndAngle], 90);
            QCOMPARE(w.window.schedule()[150][slot::SnowSpeed], 7);
            QTest::mouseClick(w.window.closeButton(), Qt::LeftButton);
        }
        QCOMPARE(readAll(scheduleFilePath()), first);
    }

    void shiftCtrlOnCloseRevealsTheMaintenanceButtons() {
        AnimationFixture f;
        OpenWindow w(f);
        QTest::mouseClick(w.window.closeButton(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(w.window.isVisible());
        for (QPushButton* b : {w.window.allButton(), w.window.dbButton(), w.window.db2Button(), w.window.playButton()})
            QVERIFY(!b->isHidden());
        QCOMPARE(w.window.allButton()->text(), QStringLiteral("ALL"));
        // "ALL" adds one entry of each kind, in kind order, after the selection.
        w.add(2);
        QTest::mouseClick(w.window.allButton(), Qt::LeftButton);
        QList<int> expected{2};
        for (int k = 1; k <= 19; ++k) expected << k;
        QCOMPARE(w.rows(), expected);
        QCOMPARE(w.asked, 1);
        // "DB2" widens the window and shows the working pictures.
        QTest::mouseClick(w.window.db2Button(), Qt::LeftButton);
        QVERIFY(w.window.canvasPicture()->isVisible());
        QVERIFY(w.window.width() >= 1200);
    }

    void dbShowsEachCharacterPicture() {
        AnimationFixture f;
        OpenWindow w(f);
        w.window.showPreview = [](FrameTable&) {};
        w.add(13);
        w.window.preview(false);
        QVERIFY(w.window.effectState().hasLastCut);
        const int glyphs = int(w.window.effectState().lastCut.images.size());
        QCOMPARE(glyphs, 3);  // "ABC"
        f.recorder.messages.clear();
        w.window.showCutouts();
        QCOMPARE(f.recorder.messages.size(), glyphs);
        QVERIFY(f.recorder.messages[0].text.isEmpty());
    }

    void optionsDialogWritesTheAnimeKeys() {
        AnimationFixture f;
        f.writeIni("[Anime]\r\nLoopCount=15\r\nDefKoma=5\r\n");
        {
            AnimationOptionsDialog d(*f.state, nullptr);
            QCOMPARE(d.windowTitle(), QStringLiteral("ｱﾆﾒｰｼｮﾝ設定"));
            QVERIFY(d.smoothBox()->isChecked());
            QVERIFY(!d.transparentBox()->isChecked());
            QCOMPARE(d.loopCountList()->currentIndex(), 9);  // 15 clamped into 0 .. 9
            QCOMPARE(d.loopCountList()->itemText(0), QStringLiteral("（無限ループ）"));
            QCOMPARE(d.frameRateList()->currentText(), QStringLiteral(" 5"));
            QCOMPARE(d.splitTypeList()->currentText(), QStringLiteral("ﾀｲﾌﾟ1"));
            d.smoothBox()->setChecked(false);
            d.transparentBox()->setChecked(true);
            d.loopCountList()->setCurrentIndex(3);
            d.frameRateList()->setCurrentIndex(7);
            d.splitTypeList()->setCurrentIndex(1);
            QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
        }
        QCOMPARE(keys::IniReadInt(SettingsPath(), keys::kAnimeLoopCount), 15);
        QCOMPARE(f.state->options.charSplitType, 0);
        AnimationOptionsDialog d(*f.state, nullptr);
        d.smoothBox()->setChecked(false);
        d.transparentBox()->setChecked(true);
        d.loopCountList()->setCurrentIndex(3);
        d.frameRateList()->setCurrentIndex(7);
        d.splitTypeList()->setCurrentIndex(1);
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        const QString ini = SettingsPath();
        QCOMPARE(keys::IniReadInt(ini, keys::kAnimeSmooth), 0);
        QCOMPARE(keys::IniReadInt(ini, keys::kAnimeBackTrans), 1);
        QCOMPARE(keys::IniReadInt(ini, keys::kAnimeLoopCount), 3);
        QCOMPARE(keys::IniReadInt(ini, keys::kAnimeDefKoma), 30);
        QCOMPARE(keys::IniReadInt(ini, keys::kGifAnimeChrSpType), 1);
        QCOMPARE(f.state->options.charSplitType, 1);
    }

    void outputSizeDialogChecksAndCouples() {
        AnimationFixture f;
        OutputSizeDialog d(*f.state, QSize(196, 46), QSize(400, 100), nullptr);
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("出力サイズ"));
        QCOMPARE(d.widthBox()->text(), QStringLiteral("196"));
        QCOMPARE(d.heightBox()->text(), QStringLiteral("46"));
        // Typing 200 into the width box: height = 100 x 200 / 400 = 50.
        d.widthBox()->clear();
        QTest::keyClicks(d.widthBox(), QStringLiteral("2x0b0"));  // letters are filtered out
        QCOMPARE(d.widthBox()->text(), QStringLiteral("200"));
        QCOMPARE(d.heightBox()->text(), QStringLiteral("50"));
        // The height box: width = 400 x 30 / 100 = 120.
        d.heightBox()->clear();
        QTest::keyClicks(d.heightBox(), QStringLiteral("30"));
        QCOMPARE(d.widthBox()->text(), QStringLiteral("120"));

        struct Case {
            const char* w;
            const char* h;
            const char* message;
        };
        const Case cases[] = {{"1000", "300", "出力サイズが大きすぎます。"},
                              {"19", "301", "出力サイズが大きすぎます。"},  // the height first
                              {"500", "19", "出力サイズが小さすぎます。"},
                              {"19", "20", "出力サイズが小さすぎます。"}};
        for (const Case& c : cases) {
            f.recorder.messages.clear();
            d.widthBox()->setText(QString::fromLatin1(c.w));
            d.heightBox()->setText(QString::fromLatin1(c.h));
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
            QCOMPARE(f.recorder.texts(), QStringList{QString::fromUtf8(c.message)});
            QCOMPARE(f.recorder.messages[0].title, QStringLiteral("サイズエラー"));
            QVERIFY(d.isVisible());
        }
        // An empty box: nothing, not even a message.
        f.recorder.messages.clear();
        d.widthBox()->clear();
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QVERIFY(f.recorder.messages.isEmpty());
        QVERIFY(d.isVisible());
        d.widthBox()->setText(QStringLiteral("999"));
        d.heightBox()->setText(QStringLiteral("20"));
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.size(), QSize(999, 20));
    }

    void sizeButtonUpdatesTheLabelAndScale() {
        AnimationFixture f;
        OpenWindow w(f);
        whenModal([](QWidget* modal) {
            auto* d = qobject_cast<OutputSizeDialog*>(modal);
            QVERIFY(d != nullptr);
            d->widthBox()->setText(QStringLiteral("160"));
            d->heightBox()->setText(QStringLiteral("50"));
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        QTest::mouseClick(w.window.sizeButton(), Qt::LeftButton);
        QCOMPARE(w.window.sizeLabel()->text(), QStringLiteral(" 160 X 50"));
        QCOMPARE(w.window.inputs().widthScale, 2.0);  // 160 / the 80-pixel rendering
        // Cancel keeps the size.
        whenModal([](QWidget* modal) { QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton); });
        QTest::mouseClick(w.window.sizeButton(), Qt::LeftButton);
        QCOMPARE(w.window.sizeLabel()->text(), QStringLiteral(" 160 X 50"));
    }

    void addDialogShowsDescriptionAndSample() {
        AnimationAddDialog d(nullptr);
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("アニメーションの追加"));
        QCOMPARE(d.kindList()->count(), 19);
        // OK without a selection leaves the dialog open.
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QVERIFY(d.isVisible());
        QCOMPARE(d.chosenKind(), 0);
        for (int row = 0; row < 19; ++row) {
            d.kindList()->setCurrentRow(row);
            QCOMPARE(d.descriptionLabel()->text(), kindDescription(row + 1));
            const QPixmap sample = d.samplePicture()->pixmap();
            QVERIFY2(!sample.isNull(), qPrintable(QStringLiteral("kind %1").arg(row + 1)));
            QCOMPARE(sample.size(), QSize(160, 60));
        }
        doubleClick(d.kindList(), 6);
        QCOMPARE(d.chosenKind(), 7);
        QVERIFY(!d.isVisible());
    }

    void outputWritesTheChosenFile() {
        AnimationFixture f;
        OpenWindow w(f);
        QString offered;
        QString answer;
        w.window.chooseOutputFile = [&](const QString& initial) {
            offered = initial;
            return answer;
        };
        // Without rows nothing is asked.
        QTest::mouseClick(w.window.outputButton(), Qt::LeftButton);
        QVERIFY(offered.isEmpty());
        w.add(3);
        w.window.durationSelector()->setCurrentIndex(w.window.durationSelector()->findText(QStringLiteral(" 1.0 秒")));
        w.window.frameRateSelector()->setCurrentIndex(3);  // 10
        // Cancelled: nothing is written.
        QTest::mouseClick(w.window.outputButton(), Qt::LeftButton);
        QCOMPARE(offered, DataFolder() + QStringLiteral("TextAni.Gif"));
        QVERIFY(!QFile::exists(offered));
        answer = f.out(QStringLiteral("window.gif"));
        QTest::mouseClick(w.window.outputButton(), Qt::LeftButton);
        QCOMPARE(w.window.lastOutcome().status, DriverOutcome::Status::Written);
        const auto decoded = imgctl_test::decodeGif(QFile::encodeName(answer).toStdString());
        QVERIFY(decoded.ok);
        QCOMPARE(decoded.frames.size(), size_t(10));
        QCOMPARE(IniRead(SettingsPath(), QStringLiteral("Setting"), QStringLiteral("GifAnimeOutFile"), QString()), answer);
        // The next output offers the last path.
        QTest::mouseClick(w.window.outputButton(), Qt::LeftButton);
        QCOMPARE(offered, answer);
    }

    void previewRunsKeepTheEventLoopGoing() {
        AnimationFixture f;
        OpenWindow w(f);
        w.add(3);
        bool timerRan = false;
        int frames = 0;
        bool ranBeforePreview = false;
        w.window.showPreview = [&](FrameTable& table) {
            frames = table.count();
            ranBeforePreview = timerRan;
        };
        // A timer due at once: it can only run if generation lets the event
        // loop work between frames.
        QTimer::singleShot(0, [&] { timerRan = true; });
        w.window.preview(false);
        QCOMPARE(frames, 40);  // 2.0 s at 20 fps
        QVERIFY(ranBeforePreview);
        QCOMPARE(w.window.windowTitle(), QStringLiteral("ｱﾆﾒｰｼｮﾝ出力"));
        // Shift and Ctrl on the button: the time of the run in the caption.
        QTest::mouseClick(w.window.previewButton(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(w.window.windowTitle().startsWith(QStringLiteral("処理時間：")));
        QVERIFY(w.window.windowTitle().endsWith(QStringLiteral("秒")));
        QVERIFY(QRegularExpression(QStringLiteral("^処理時間：\\d+\\.\\d{3}秒$")).match(w.window.windowTitle()).hasMatch());
    }

    void progressStripDrawsItsHead() {
        QWidget parent;
        ProgressStrip strip(&parent);
        strip.resize(200, 10);
        strip.step(0, true, 10);
        strip.step(5, false, 10);  // x = 200 x 5 / 10 = 100
        const QImage& p = strip.picture();
        QCOMPARE(p.pixelColor(50, 5), QColor(0, 96, 255));
        // The last band drawn (k = 0) covers 100 .. 105: RGB(150, 246, 255).
        QCOMPARE(p.pixelColor(100, 5), QColor(150, 246, 255));
        // Pixel 85 lies last under the band of k = 15: RGB(75, 171, 255).
        QCOMPARE(p.pixelColor(85, 5), QColor(75, 171, 255));
        QCOMPARE(p.pixelColor(150, 5), QColor(Qt::white));
        strip.step(0, true, 10);
        QCOMPARE(strip.picture().pixelColor(50, 5), QColor(Qt::white));
    }

    void mainWindowCommandOpensTheWindowAtHalfSize() {
        AnimationFixture f;
        MainWindow main(*f.state);
        QAction* anime = main.findChild<QAction*>(QStringLiteral("M_Anime"));
        QVERIFY(anime != nullptr);
        QVERIFY(anime->isEnabled());
        main.setText(QStringLiteral("ABC"));
        QString label;
        QSize rendering;
        whenModal([&](QWidget* modal) {
            auto* w = qobject_cast<AnimationWindow*>(modal);
            QVERIFY(w != nullptr);
            label = w->sizeLabel()->text();
            rendering = QImage(TempFolder() + QStringLiteral("GifAnime0.bmp")).size();
            QTest::mouseClick(w->closeButton(), Qt::LeftButton);
        });
        anime->trigger();
        QVERIFY(!rendering.isEmpty());
        // Half the rendering minus 4, halves to even.
        auto half = [](int side) {
            const double v = side * 0.5 - 4;
            const int down = int(std::floor(v));
            return v - down == 0.5 ? (down % 2 == 0 ? down : down + 1) : int(std::lround(v));
        };
        QCOMPARE(label, QStringLiteral(" %1 X %2").arg(half(rendering.width())).arg(half(rendering.height())));
        // An empty text opens nothing (a window opened anyway is closed, so
        // that the fault fails the test instead of hanging it).
        main.setText(QString());
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = true;
                modal->close();
            }
        });
        anime->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!opened);
    }
};

QTEST_MAIN(AnimationWindowTest)
#include "animation_window_test.moc"
