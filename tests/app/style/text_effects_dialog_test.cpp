#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "colour_swatch.h"
#include "effect_dialogs_fixture.h"
#include "text_effects_dialog.h"
#include "settings_store.h"

using namespace vakuro;
using vakuro::testing::DialogFixture;

class TextEffectsDialogTest : public QObject {
    Q_OBJECT

    TextEffectsDialog* open() {
        showTextEffectsDialog(*app->state, app->owner.get());
        auto* dialog = app->owner->findChild<TextEffectsDialog*>();
        if (dialog) {
            dialog->activateWindow();
            if (!QTest::qWaitForWindowActive(dialog)) qWarning("the dialog did not become active");
        }
        return dialog;
    }

    template <typename T>
    T* control(const char* name) {
        T* c = dialog->findChild<T*>(QString::fromLatin1(name));
        if (!c) qWarning("no control %s", name);
        return c;
    }
    QScrollBar* slider(const char* name) { return control<QScrollBar>(name); }
    QLineEdit* box(int i) { return testing::element<QLineEdit>(dialog, QStringLiteral("Text1"), i); }
    QScrollBar* reliefSlider(int i) { return testing::element<QScrollBar>(dialog, QStringLiteral("HScroll1"), i); }
    QString labelText(const char* name) { return control<QLabel>(name)->text(); }

    // Replaces the text of a value box by typing, as after the box got the
    // focus and selected its text.
    void typeInto(QLineEdit* b, const QString& text) {
        b->selectAll();
        if (text.isEmpty())
            QTest::keyClick(b, Qt::Key_Backspace);
        else
            QTest::keyClicks(b, text);
    }

    PavrexStyle& style() { return app->state->style; }

    std::unique_ptr<DialogFixture> app;
    TextEffectsDialog* dialog = nullptr;

private slots:
    void init() {
        app = std::make_unique<DialogFixture>();
        dialog = open();
        QVERIFY(dialog);
    }
    void cleanup() {
        app.reset();
        dialog = nullptr;
    }

    void opensWithTheRecordAndDrawsNothing() {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("特殊効果"));
        QVERIFY(app->state->openDialogs.effects);
        QCOMPARE(control<QCheckBox>("Check1")->checkState(), Qt::Checked);
        QCOMPARE(control<QCheckBox>("Check1")->text(), QStringLiteral("効果の実行"));
        const int expected[] = {5, 5, 4, 0};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(reliefSlider(i)->value(), expected[i]);
            QCOMPARE(box(i)->text(), QString::number(expected[i]));
        }
        QCOMPARE(reliefSlider(0)->minimum(), 1);
        QCOMPARE(reliefSlider(1)->maximum(), 10);
        QCOMPARE(reliefSlider(2)->minimum(), 0);
        QCOMPARE(reliefSlider(3)->maximum(), 8);
        auto* list = control<QComboBox>("Combo1");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->itemText(0), QStringLiteral("（なし）"));
        QCOMPARE(list->itemText(1), QStringLiteral("暗影"));
        QCOMPARE(list->itemText(2), QStringLiteral("明影"));
        QCOMPARE(list->currentIndex(), 1);
        QCOMPARE(control<ColourSwatch>("Picture1")->colour(), PAVREX_RGB(128, 128, 128));
        QCOMPARE(slider("HScroll4")->value(), 7);
        QCOMPARE(slider("HScroll5")->value(), 2);
        QCOMPARE(slider("HScroll2")->value(), 0);
        QCOMPARE(slider("HScroll4")->maximum(), 16);
        QCOMPARE(slider("HScroll5")->maximum(), 5);
        QCOMPARE(slider("HScroll2")->maximum(), 8);
        QCOMPARE(labelText("Label13"), QStringLiteral("7"));
        QCOMPARE(labelText("Label14"), QStringLiteral("2"));
        QCOMPARE(labelText("Label16"), QStringLiteral("0"));
        QCOMPARE(control<QGroupBox>("Frame1")->title(), QStringLiteral("立体効果"));
        QCOMPARE(control<QGroupBox>("Frame2")->title(), QStringLiteral("影を付ける"));
        QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("閉じる"));
        QVERIFY(!control<QPushButton>("Load")->isVisible());
        QCOMPARE(app->drawsSettled(), 0);
        QCOMPARE(app->state->redrawGuard, 0);
    }

    void aSecondOpeningRaisesTheOpenDialog() {
        showTextEffectsDialog(*app->state, app->owner.get());
        QCOMPARE(app->owner->findChildren<TextEffectsDialog*>().size(), 1);
    }

    void reliefSlidersRedrawOnlyWhileTheEffectIsOn() {
        auto* check = control<QCheckBox>("Check1");
        check->click();
        QCOMPARE(style().ReliefOn, 0);
        QCOMPARE(app->drawsSettled(), 1);

        reliefSlider(1)->setValue(8);
        QCOMPARE(style().ReliefCurvature, 8);
        QCOMPARE(box(1)->text(), QStringLiteral("8"));
        QCOMPARE(app->drawsSettled(), 1);

        check->click();
        QCOMPARE(style().ReliefOn, 1);
        QCOMPARE(app->drawsSettled(), 2);

        // A drag: the record takes every value, the drawings are coalesced.
        for (int v : {3, 4, 5, 6}) {
            reliefSlider(2)->setValue(v);
            QCOMPARE(style().ReliefGloss, v);
        }
        QCOMPARE(app->draws, 2);
        QCOMPARE(app->drawsSettled(), 3);
    }

    void valueBoxesClampAndFilterTheirInput() {
        typeInto(box(0), QStringLiteral("15"));
        QCOMPARE(box(0)->text(), QStringLiteral("10"));
        QCOMPARE(reliefSlider(0)->value(), 10);
        QCOMPARE(style().ReliefDepth, 10);

        typeInto(box(0), QString());
        QCOMPARE(box(0)->text(), QStringLiteral("1"));
        QCOMPARE(style().ReliefDepth, 1);

        typeInto(box(3), QStringLiteral("9"));
        QCOMPARE(box(3)->text(), QStringLiteral("8"));
        QCOMPARE(style().ReliefReflection, 8);

        // Letters and signs are dropped.
        typeInto(box(2), QStringLiteral("a-3x"));
        QCOMPARE(box(2)->text(), QStringLiteral("3"));
        QCOMPARE(style().ReliefGloss, 3);

        // Pasted text that is not a number counts as 0.
        box(2)->setText(QStringLiteral("abc"));
        QCOMPARE(box(2)->text(), QStringLiteral("0"));
        QCOMPARE(style().ReliefGloss, 0);
        box(1)->setText(QStringLiteral("7&"));
        QCOMPARE(box(1)->text(), QStringLiteral("7"));
        QCOMPARE(style().ReliefCurvature, 7);
        QVERIFY(app->drawsSettled() >= 1);
    }

    void aValueBoxSelectsItsTextOnFocus() {
        box(1)->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(box(1)->hasFocus());
        QTRY_COMPARE(box(1)->selectedText(), QStringLiteral("5"));
        QTest::keyClicks(box(1), QStringLiteral("3"));
        QCOMPARE(box(1)->text(), QStringLiteral("3"));
        QCOMPARE(style().ReliefCurvature, 3);
    }

    void loadClampsTheRecordAndDoesNotDraw() {
        style().ReliefDepth = 0;
        style().ShadowDistance = 40;
        style().ShadowBlur = -3;
        style().ReliefGloss = 99;
        style().ShadowType = 2;
        style().ShadowColor = PAVREX_RGB(1, 2, 3);
        control<QPushButton>("Load")->click();
        QCOMPARE(reliefSlider(0)->value(), 1);
        QCOMPARE(box(0)->text(), QStringLiteral("1"));
        QCOMPARE(slider("HScroll4")->value(), 16);
        QCOMPARE(labelText("Label13"), QStringLiteral("16"));
        QCOMPARE(labelText("Label14"), QStringLiteral("0"));
        QCOMPARE(style().ReliefDepth, 1);
        QCOMPARE(style().ShadowDistance, 16);
        QCOMPARE(style().ShadowBlur, 0);
        QCOMPARE(style().ReliefGloss, 8);
        QCOMPARE(control<QComboBox>("Combo1")->currentIndex(), 2);
        QCOMPARE(control<ColourSwatch>("Picture1")->colour(), PAVREX_RGB(1, 2, 3));
        QCOMPARE(app->drawsSettled(), 0);
        QCOMPARE(app->state->redrawGuard, 0);
    }

    void aReplacedStyleReloadsTheControls() {
        style().ReliefCurvature = 9;
        style().ReliefOn = 0;
        app->state->styleReplacedNotice();
        QCOMPARE(reliefSlider(1)->value(), 9);
        QCOMPARE(box(1)->text(), QStringLiteral("9"));
        QCOMPARE(control<QCheckBox>("Check1")->checkState(), Qt::Unchecked);
        QCOMPARE(app->drawsSettled(), 0);
    }

    void loadKeepsALoaderSRedrawGuard() {
        app->state->redrawGuard = -1;
        app->state->styleReplacedNotice();
        QCOMPARE(app->state->redrawGuard, -1);
        app->state->redrawGuard = 0;
    }

    void theGreyedReliefStateIsKeptUntilClicked() {
        auto* check = control<QCheckBox>("Check1");
        style().ReliefOn = 2;
        control<QPushButton>("Load")->click();
        QCOMPARE(check->checkState(), Qt::PartiallyChecked);
        QCOMPARE(style().ReliefOn, 2);

        // The trapezoid relief is drawn, so its sliders redraw.
        reliefSlider(0)->setValue(3);
        QCOMPARE(style().ReliefOn, 2);
        QCOMPARE(style().ReliefDepth, 3);
        QCOMPARE(app->drawsSettled(), 1);

        check->click();
        QCOMPARE(check->checkState(), Qt::Checked);
        QCOMPARE(style().ReliefOn, 1);
        QCOMPARE(app->drawsSettled(), 2);
        // From then on the box toggles between unticked and ticked only.
        check->click();
        QCOMPARE(style().ReliefOn, 0);
        check->click();
        QCOMPARE(style().ReliefOn, 1);
        check->click();
        QCOMPARE(style().ReliefOn, 0);
    }

    void shadowSlidersRedrawOnlyWithAShadowButTheColourAlways() {
        auto* list = control<QComboBox>("Combo1");
        list->setCurrentIndex(0);
        QCOMPARE(style().ShadowType, 0);
        QCOMPARE(app->drawsSettled(), 1);

        slider("HScroll4")->setValue(12);
        slider("HScroll5")->setValue(4);
        slider("HScroll2")->setValue(6);
        QCOMPARE(style().ShadowDistance, 12);
        QCOMPARE(style().ShadowBlur, 4);
        QCOMPARE(style().ShadowSpread, 6);
        QCOMPARE(labelText("Label13"), QStringLiteral("12"));
        QCOMPARE(labelText("Label14"), QStringLiteral("4"));
        QCOMPARE(labelText("Label16"), QStringLiteral("6"));
        QCOMPARE(app->drawsSettled(), 1);

        // Choosing a colour draws whatever the list shows.
        auto* swatch = control<ColourSwatch>("Picture1");
        testing::whenWindowShows<QColorDialog>([](QColorDialog* chooser) {
            chooser->setCurrentColor(QColor(10, 20, 30));
            chooser->accept();
        });
        QTest::mouseClick(swatch, Qt::LeftButton);
        QCOMPARE(style().ShadowColor, PAVREX_RGB(10, 20, 30));
        QCOMPARE(swatch->colour(), PAVREX_RGB(10, 20, 30));
        QCOMPARE(app->drawsSettled(), 2);

        // A cancelled chooser changes nothing and does not draw.
        QColor preset;
        testing::whenWindowShows<QColorDialog>([&preset](QColorDialog* chooser) {
            preset = chooser->currentColor();
            chooser->setCurrentColor(QColor(200, 100, 0));
            chooser->reject();
        });
        QTest::mouseClick(swatch, Qt::LeftButton);
        QCOMPARE(preset, QColor(10, 20, 30));
        QCOMPARE(style().ShadowColor, PAVREX_RGB(10, 20, 30));
        QCOMPARE(swatch->colour(), PAVREX_RGB(10, 20, 30));
        QCOMPARE(app->drawsSettled(), 2);

        list->setCurrentIndex(2);
        QCOMPARE(style().ShadowType, 2);
        QCOMPARE(app->drawsSettled(), 3);
        slider("HScroll5")->setValue(1);
        QCOMPARE(style().ShadowBlur, 1);
        QCOMPARE(app->drawsSettled(), 4);
    }

    void aShadowTypeTheListDoesNotOfferIsKept() {
        style().ShadowType = 5;
        control<QPushButton>("Load")->click();
        QCOMPARE(control<QComboBox>("Combo1")->currentIndex(), -1);
        QCOMPARE(style().ShadowType, 5);
        // Its shadow is drawn, so the sliders redraw.
        slider("HScroll4")->setValue(3);
        QCOMPARE(app->drawsSettled(), 1);
    }

    void aPressOnTheBackgroundOrAFrameRepaintsTheMainWindow() {
        testing::leftPress(dialog);
        QCOMPARE(app->refreshes, 1);
        testing::leftPress(control<QGroupBox>("Frame2"));
        QCOMPARE(app->refreshes, 2);
        testing::leftPress(control<QLabel>("Label2"));
        QCOMPARE(app->refreshes, 3);
    }

    void closingStoresThePositionAndReopeningRestoresIt() {
        dialog->move(210, 150);
        QTRY_COMPARE(dialog->pos(), QPoint(210, 150));
        control<QPushButton>("Command1")->click();
        QVERIFY(!app->state->openDialogs.effects);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!app->owner->findChild<TextEffectsDialog*>());
        const QString ini = app->state->settingsPath();
        QCOMPARE(IniReadInt(ini, QStringLiteral("Window"), QStringLiteral("F020_TOP"), -1), 150 * 15);
        QCOMPARE(IniReadInt(ini, QStringLiteral("Window"), QStringLiteral("F020_LEFT"), -1), 210 * 15);

        dialog = open();
        QVERIFY(dialog);
        QVERIFY(app->state->openDialogs.effects);
        QCOMPARE(dialog->pos(), QPoint(210, 150));

        // The window's close box and Escape close it the same way.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!app->state->openDialogs.effects);
        QVERIFY(!dialog->isVisible());
    }

    void aDialogOpenWhenItsOwnerGoesStoresItsPosition() {
        dialog->move(120, 90);
        QTRY_COMPARE(dialog->pos(), QPoint(120, 90));
        app->owner.reset();
        QVERIFY(!app->state->openDialogs.effects);
        const QString ini = app->state->settingsPath();
        QCOMPARE(IniReadInt(ini, QStringLiteral("Window"), QStringLiteral("F020_TOP"), -1), 90 * 15);
        QCOMPARE(IniReadInt(ini, QStringLiteral("Window"), QStringLiteral("F020_LEFT"), -1), 120 * 15);
    }
};

QTEST_MAIN(TextEffectsDialogTest)
#include "text_effects_dialog_test.moc"
