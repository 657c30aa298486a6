// The undo history of the style record, driven through the real main window
// and its style dialogs: steps, merging of slider drags, loads as one step,
// the edit menu and its keys, and the dialogs following an undo.
#include <cstring>

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QUndoStack>

#include "app_fixture.h"
#include "cp932_qstring.h"
#include "edit_menu.h"
#include "main_window.h"
#include "settings_files.h"
#include "spacing_editor.h"
#include "style_data.h"
#include "style_history.h"
#include "template_commands.h"
#include "template_library.h"

using namespace vakuro;
using vakuro::testing::AppFixture;

namespace {

bool sameRecord(const PavrexStyle& a, const PavrexStyle& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void putInt(QByteArray& b, qsizetype offset, int32_t v) { std::memcpy(b.data() + offset, &v, 4); }

// A template library of one record and its thumbnail.
void writeTemplateLibrary(const PavrexStyle& record) {
    QImage thumb(kTemplateThumbWidth, kTemplateThumbHeight, QImage::Format_RGB888);
    thumb.fill(Qt::white);
    QByteArray thumbBytes;
    QBuffer buffer(&thumbBytes);
    buffer.open(QIODevice::WriteOnly);
    thumb.save(&buffer, "BMP");
    QByteArray header(kTemplateHeaderSize, '\0');
    std::memcpy(header.data(), "Vakuro Format Binder  ", 22);
    putInt(header, 22, 100);
    putInt(header, 26, 1);
    putInt(header, 30, sizeof(PavrexStyle));
    putInt(header, 34, static_cast<int32_t>(thumbBytes.size()));
    QFile f(templateLibraryPath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(header + QByteArray(reinterpret_cast<const char*>(&record), sizeof record) + thumbBytes);
}

// The centre of a scroll bar's thumb.
QPoint thumbCentre(QScrollBar* bar) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar).center();
}

// Drags a scroll bar's thumb by dx pixels in a few moves.
void dragThumb(QScrollBar* bar, int dx) {
    const QPoint start = thumbCentre(bar);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, start);
    for (int i = 1; i <= 4; ++i) QTest::mouseMove(bar, start + QPoint(dx * i / 4, 0));
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, start + QPoint(dx, 0));
    QCoreApplication::processEvents();
}

}  // namespace

class StyleHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        app = std::make_unique<AppFixture>();
        QVERIFY(app->bound);
        app->writeIni("[Setting]\r\nTitleSkip=1\r\n");
        window = std::make_unique<MainWindow>(*app->state);
        window->open();
        window->show();
        for (const char* item : {"M_Color", "M_Effect"}) action(item)->trigger();
        QCoreApplication::processEvents();
        colour = window->findChild<QDialog*>(QStringLiteral("Form010"));
        effects = window->findChild<QDialog*>(QStringLiteral("Form020"));
        QVERIFY(colour && effects);
    }
    void cleanup() {
        window.reset();
        app.reset();
    }

    void editMenuFollowsTheFileMenuAndTheStack() {
        QStringList titles;
        for (QAction* a : window->menuBar()->actions()) titles << a->text();
        QCOMPARE(titles, (QStringList{QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("編集(&E)"), QStringLiteral("書式(&O)"),
                                      QStringLiteral("ﾍﾙﾌﾟ(&H)")}));
        QCOMPARE(undo()->text(), QStringLiteral("元に戻す"));
        QCOMPARE(redo()->text(), QStringLiteral("やり直し"));
        QCOMPARE(undo()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(redo()->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
        // Opening the window (font selection, first drawing) is no step.
        QCOMPARE(stack().count(), 0);
        QVERIFY(!undo()->isEnabled());
        QVERIFY(!redo()->isEnabled());
        colourCombo("Combo1")->setCurrentIndex(1);
        QVERIFY(undo()->isEnabled());
        QVERIFY(!redo()->isEnabled());
        undo()->trigger();
        QVERIFY(!undo()->isEnabled());
        QVERIFY(redo()->isEnabled());
    }

    void threeEditsUndoneGiveBackTheFirstRecordAndRedoTheLast() {
        const PavrexStyle first = app->state->style;
        makeThreeEdits();
        const PavrexStyle last = app->state->style;
        QCOMPARE(stack().count(), 3);
        QVERIFY(!sameRecord(first, last));

        for (int i = 0; i < 3; ++i) undo()->trigger();
        QVERIFY(sameRecord(app->state->style, first));
        QVERIFY(!undo()->isEnabled());
        // The preview, the layout and the open dialogs follow.
        QCOMPARE(window->property("layoutWidthTwips").toInt(), 12120);
        QCOMPARE(colourCombo("Combo1")->currentIndex(), first.FillType);
        QVERIFY(!colourCheck()->isChecked());
        QCOMPARE(effectsCheck()->checkState(), Qt::Checked);

        for (int i = 0; i < 3; ++i) redo()->trigger();
        QVERIFY(sameRecord(app->state->style, last));
        QVERIFY(!redo()->isEnabled());
        QCOMPARE(window->property("layoutWidthTwips").toInt(), 6500);
        QCOMPARE(colourCombo("Combo1")->currentIndex(), 2);
        QVERIFY(colourCheck()->isChecked());
        QCOMPARE(effectsCheck()->checkState(), Qt::Unchecked);
    }

    void aNewEditAfterAnUndoDropsTheRedoSteps() {
        makeThreeEdits();
        undo()->trigger();
        undo()->trigger();
        const PavrexStyle afterFirst = app->state->style;
        QCOMPARE(afterFirst.FillType, 2);
        QCOMPARE(afterFirst.ReliefOn, 1);
        colourCombo("Combo2")->setCurrentIndex(1);
        QCOMPARE(stack().count(), 2);
        QVERIFY(!redo()->isEnabled());
        redo()->trigger();  // nothing to redo: the record stays
        QCOMPARE(app->state->style.OutlineStyle, 1);
        QCOMPARE(app->state->style.ReliefOn, 1);
        undo()->trigger();
        QVERIFY(sameRecord(app->state->style, afterFirst));
    }

    void aSliderDragIsOneStep() {
        auto* bar = colour->findChild<QScrollBar*>(QStringLiteral("HScroll3"));  // spacing, -30..100
        const int start = bar->value();
        const PavrexStyle before = app->state->style;
        dragThumb(bar, 60);
        const int dragged = bar->value();
        QVERIFY2(dragged > start + 5, qPrintable(QString::number(dragged)));
        QCOMPARE(app->state->style.SpacingPx, dragged);
        QCOMPARE(stack().count(), 1);

        // The next drag of the same slider is a step of its own.
        dragThumb(bar, 40);
        QVERIFY(bar->value() > dragged);
        QCOMPARE(stack().count(), 2);
        undo()->trigger();
        QCOMPARE(bar->value(), dragged);
        QCOMPARE(app->state->style.Spacing, dragged);
        undo()->trigger();
        QCOMPARE(bar->value(), start);
        QVERIFY(sameRecord(app->state->style, before));

        // A drag that ends where it began leaves no step.
        dragThumb(bar, 50);
        QCOMPARE(stack().count(), 1);
        QVERIFY(bar->value() != start);
        const int kept = bar->value();
        const QPoint at = thumbCentre(bar);
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseMove(bar, at + QPoint(30, 0));
        QVERIFY(bar->value() != kept);
        bar->setValue(kept);
        QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(stack().count(), 1);
        QCOMPARE(app->state->style.Spacing, kept);
    }

    void keyStepsThroughOneListAreOneStep() {
        QComboBox* fill = colourCombo("Combo1");
        QComboBox* outline = colourCombo("Combo2");
        QTest::keyClick(fill, Qt::Key_Down);
        QTest::keyClick(fill, Qt::Key_Down);
        QCOMPARE(app->state->style.FillType, 2);
        QCOMPARE(stack().count(), 1);
        QTest::keyClick(outline, Qt::Key_Down);  // another list: another step
        QCOMPARE(stack().count(), 2);
        QTest::mouseClick(colour, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        QTest::keyClick(outline, Qt::Key_Down);  // after a click: another step
        QCOMPARE(app->state->style.OutlineStyle, 2);
        QCOMPARE(stack().count(), 3);
        undo()->trigger();
        QCOMPARE(outline->currentIndex(), 1);
        undo()->trigger();
        QCOMPARE(outline->currentIndex(), 0);
        undo()->trigger();
        QCOMPARE(fill->currentIndex(), 0);
        QCOMPARE(app->state->style.FillType, 0);
    }

    void aTemplateLoadAndASettingsFileLoadAreOneStepEach() {
        const PavrexStyle first = app->state->style;
        PavrexStyle record = first;
        setStyleSignature(record);
        record.Slant = 7;
        record.FillColor1 = PAVREX_RGB(200, 10, 10);
        record.ShadowType = 2;
        record.Vertical = 1;
        writeTemplateLibrary(record);
        QVERIFY(loadTemplate(*app->state, 0));
        QCOMPARE(stack().count(), 1);
        QCOMPARE(colour->findChild<QScrollBar*>(QStringLiteral("HScroll2"))->value(), 7);
        QCOMPARE(window->property("layoutWidthTwips").toInt(), 6500);

        record.Slant = 12;
        record.Vertical = 0;
        const QString path = app->home.filePath(QStringLiteral("saved.VTF"));
        QVERIFY(writeStyleData(path, record));
        QCOMPARE(loadSettingsFile(*app->state, path), SettingsLoad::Loaded);
        QCOMPARE(stack().count(), 2);

        undo()->trigger();
        QCOMPARE(app->state->style.Slant, 7);
        QCOMPARE(app->state->style.Vertical, 1);
        undo()->trigger();
        QVERIFY(sameRecord(app->state->style, first));
        QCOMPARE(colour->findChild<QScrollBar*>(QStringLiteral("HScroll2"))->value(), first.Slant);
        QCOMPARE(effects->findChild<QComboBox*>(QStringLiteral("Combo1"))->currentIndex(), first.ShadowType);
        QCOMPARE(window->property("layoutWidthTwips").toInt(), 12120);
    }

    void perCharacterEditsAndFontChoicesAreSteps() {
        action("M_Spacing")->trigger();
        QCoreApplication::processEvents();
        auto* editor = window->findChild<SpacingEditor*>(QStringLiteral("Form025"));
        QVERIFY(editor);
        QComboBox* width = editor->list(0, 1);
        const int wide = width->findData(150);
        QVERIFY(wide >= 0);
        width->setCurrentIndex(wide);
        QCOMPARE(app->state->style.CharWidth[0], 150);
        QCOMPARE(stack().count(), 1);

        QComboBox* fonts = window->fontList();
        const QString opened = fonts->currentText();
        const int gothic = fonts->findText(QStringLiteral("IPAゴシック"));
        QVERIFY(gothic >= 0 && fonts->currentIndex() != gothic);
        fonts->setCurrentIndex(gothic);
        emit fonts->activated(gothic);
        QCOMPARE(stack().count(), 2);

        undo()->trigger();
        QCOMPARE(fonts->currentText(), opened);
        QCOMPARE(readFixedField(app->state->style.FontName, 40), opened);
        undo()->trigger();
        QCOMPARE(app->state->style.CharWidth[0], 100);
        QCOMPARE(width->currentData().toInt(), 100);
        redo()->trigger();
        QCOMPARE(width->currentData().toInt(), 150);

        // A row pasted from the row clipboard is one step, though each of its
        // lists applies on its own.
        editor->list(0, 2)->setCurrentIndex(editor->list(0, 2)->findData(60));
        QCOMPARE(stack().count(), 2);
        chooseRowCommand(editor, 0, "M_Copy");
        chooseRowCommand(editor, 5, "M_Paest");
        QCOMPARE(app->state->style.CharWidth[5], 150);
        QCOMPARE(app->state->style.CharHeight[5], 60);
        QCOMPARE(stack().count(), 3);
        undo()->trigger();
        QCOMPARE(app->state->style.CharWidth[5], 100);
        QCOMPARE(app->state->style.CharHeight[5], 100);
        QCOMPARE(editor->list(5, 1)->currentData().toInt(), 100);
    }

    void theKeysUndoTypingInTheTextBoxBeforeTheStyle() {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const PavrexStyle first = app->state->style;
        colourCombo("Combo1")->setCurrentIndex(3);
        QLineEdit* text = window->textBox();
        text->setFocus();
        QTest::keyClicks(text, QStringLiteral("X"));
        QCOMPARE(text->text(), QStringLiteral("VakuroX"));

        // Ctrl+Z undoes the typing, not the style.
        QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text->text(), QStringLiteral("Vakuro"));
        QCOMPARE(app->state->style.FillType, 3);
        // Ctrl+Y redoes the typing.
        QTest::keyClick(text, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(text->text(), QStringLiteral("VakuroX"));
        QCOMPARE(stack().index(), 1);
        QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text->text(), QStringLiteral("Vakuro"));

        // With no typing left to undo, the keys reach the style history.
        QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(sameRecord(app->state->style, first));
        QCOMPARE(text->text(), QStringLiteral("Vakuro"));
        QTest::keyClick(text, Qt::Key_Y, Qt::ControlModifier);  // the box's redo comes first
        QCOMPARE(text->text(), QStringLiteral("VakuroX"));
        QCOMPARE(app->state->style.FillType, first.FillType);
        QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(app->state->style.FillType, 3);
        QCOMPARE(text->text(), QStringLiteral("VakuroX"));
    }

    void theKeysWorkInTheStyleDialogs() {
        colour->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(colour));
        QCheckBox* vertical = colourCheck();
        QTest::mouseClick(vertical, Qt::LeftButton);
        QCOMPARE(app->state->style.Vertical, 1);
        QTest::keyClick(vertical, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(app->state->style.Vertical, 0);
        QVERIFY(!vertical->isChecked());
        QTest::keyClick(vertical, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(app->state->style.Vertical, 1);
        QVERIFY(vertical->isChecked());
    }

    void theKeysDoNothingUnderAModalDialog() {
        colourCombo("Combo1")->setCurrentIndex(1);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        int fillUnderTheDialog = -1;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) return;
            QTest::keyClick(modal, Qt::Key_Z, Qt::ControlModifier);
            fillUnderTheDialog = app->state->style.FillType;
            modal->close();
        });
        QDialog dialog(window.get());
        dialog.exec();
        QCOMPARE(fillUnderTheDialog, 1);
        QCOMPARE(stack().index(), 1);
    }

private:
    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QAction* undo() const { return action("M_Undo"); }
    QAction* redo() const { return action("M_Redo"); }
    QUndoStack& stack() const { return window->history().stack(); }
    QComboBox* colourCombo(const char* name) const { return colour->findChild<QComboBox*>(QString::fromLatin1(name)); }
    QCheckBox* colourCheck() const { return colour->findChild<QCheckBox*>(QStringLiteral("Check1")); }
    QCheckBox* effectsCheck() const { return effects->findChild<QCheckBox*>(QStringLiteral("Check1")); }

    // Right-clicks the number of a row in the spacing editor and chooses a
    // command of its menu.
    static void chooseRowCommand(SpacingEditor* editor, int row, const char* item) {
        QLabel* number = nullptr;
        for (QLabel* l : editor->findChildren<QLabel*>(QStringLiteral("Label4")))
            if (l->property("index").toInt() == row) number = l;
        QVERIFY(number);
        const QPointF local(number->width() / 2.0, number->height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, local, number->mapToGlobal(local), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(number, &press);
        auto* menu = editor->findChild<QMenu*>(QStringLiteral("M_Char"));
        QVERIFY(menu && menu->isVisible());
        QAction* action = editor->findChild<QAction*>(QString::fromLatin1(item));
        QVERIFY(action && action->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }

    // A fill style, the relief switched off, and vertical writing.
    void makeThreeEdits() {
        colourCombo("Combo1")->setCurrentIndex(2);
        QTest::mouseClick(effectsCheck(), Qt::LeftButton);
        QCOMPARE(app->state->style.ReliefOn, 0);
        QTest::mouseClick(colourCheck(), Qt::LeftButton);
        QCOMPARE(app->state->style.Vertical, 1);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<AppFixture> app;
    std::unique_ptr<MainWindow> window;
    QDialog* colour = nullptr;
    QDialog* effects = nullptr;
};

QTEST_MAIN(StyleHistoryTest)
#include "style_history_test.moc"
