#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

#include "angle_dial.h"
#include "colour_fixture.h"
#include "colour_swatch.h"
#include "extended_colour_dialog.h"

using namespace vakuro;
using vakuro::testing::ColourFixture;

namespace {

void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

}  // namespace

class ExtendedColourDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        app = std::make_unique<ColourFixture>();
        QVERIFY(app->bound);
        PavrexStyle& s = app->state->style;
        s.FillType = 6;
        s.FillColor1 = 0x0000FF;  // red
        s.FillColor2 = 0xFF0000;  // blue
        s.PatternRepeat = 2;
        s.PatternAngle = 30;
        draws = std::make_unique<QSignalSpy>(app->state.get(), &ProgramState::drawRequested);
        dialog = std::make_unique<ExtendedColourDialog>(*app->state);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void cleanup() {
        dialog.reset();
        draws.reset();
        app.reset();
    }

    void opensWithTheRecordsPattern() {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("拡張色設定"));
        QCOMPARE(swatch("Picture3")->colour(), 0x0000FF);
        QCOMPARE(swatch("Picture4")->colour(), 0xFF0000);
        QCOMPARE(repeat()->value(), 2);
        QCOMPARE(repeat()->maximum(), 20);
        QCOMPARE(angle()->value(), 30);
        QCOMPARE(angle()->maximum(), 359);
        QCOMPARE(label("Label5")->text(), QStringLiteral("2"));
        QCOMPARE(label("Label6")->text(), QStringLiteral("30"));
        QCOMPARE(dial()->size(), QSize(74, 74));
        QCOMPARE(dial()->dragState(), AngleDial::DragState::Off);
        // 36 + 34 cos 30°, 36 - 34 sin 30°
        QCOMPARE(dial()->needleTip(), QPoint(65, 19));
        QCOMPARE(previewImage().size(), QSize(40, 40));
        QCOMPARE(previewImage(), writtenPattern());
        QCOMPARE(draws->count(), 0);
    }

    void dialDragGivesTheAngle_data() {
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("degrees");
        QTest::newRow("right") << QPoint(70, 36) << 0;
        QTest::newRow("up") << QPoint(36, 1) << 90;
        QTest::newRow("left") << QPoint(3, 36) << 180;
        QTest::newRow("down") << QPoint(36, 73) << 270;
        QTest::newRow("up-left") << QPoint(10, 10) << 135;
        QTest::newRow("down-right") << QPoint(60, 60) << 315;
    }
    void dialDragGivesTheAngle() {
        QFETCH(QPoint, to);
        QFETCH(int, degrees);
        sendMouse(dial(), QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(dial()->dragState(), AngleDial::DragState::Dragging);
        sendMouse(dial(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(angle()->value(), degrees);
        QCOMPARE(label("Label6")->text(), QString::number(degrees));
        sendMouse(dial(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(dial()->dragState(), AngleDial::DragState::Off);
        // Moving without the button changes nothing.
        sendMouse(dial(), QEvent::MouseMove, QPoint(36, 60), Qt::NoButton, Qt::NoButton);
        QCOMPARE(angle()->value(), degrees);
        QCOMPARE(app->state->style.PatternAngle, 30);  // only "OK" stores
    }

    void dialMathOnTheCircle() {
        QCOMPARE(AngleDial::pointOnCircle(QPointF(36, 0)), std::optional<QPoint>(QPoint(36, 2)));
        QCOMPARE(AngleDial::pointOnCircle(QPointF(72, 36)), std::optional<QPoint>(QPoint(70, 36)));
        QVERIFY(!AngleDial::pointOnCircle(QPointF(36, 36)).has_value());
        QCOMPARE(AngleDial::angleOf(QPoint(70, 36)), 0);
        QCOMPARE(AngleDial::angleOf(QPoint(36, 2)), 90);
        QCOMPARE(AngleDial::angleOf(QPoint(2, 36)), 180);
        QCOMPARE(AngleDial::angleOf(QPoint(36, 70)), 270);
        QCOMPARE(AngleDial::angleOf(QPoint(70, 37)), 358);
    }

    void pressOnTheCentreKeepsTheAngle() {
        sendMouse(dial(), QEvent::MouseButtonPress, QPoint(36, 36), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(angle()->value(), 30);
        sendMouse(dial(), QEvent::MouseButtonRelease, QPoint(36, 36), Qt::LeftButton, Qt::NoButton);
    }

    void angleSliderTurnsTheNeedle_data() {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<QPoint>("tip");
        QTest::newRow("0") << 0 << QPoint(70, 36);
        QTest::newRow("90") << 90 << QPoint(36, 2);
        QTest::newRow("180") << 180 << QPoint(2, 36);
        QTest::newRow("270") << 270 << QPoint(36, 70);
    }
    void angleSliderTurnsTheNeedle() {
        QFETCH(int, degrees);
        QFETCH(QPoint, tip);
        QSignalSpy dragged(dial(), &AngleDial::angleDragged);
        angle()->setValue(degrees);
        QCOMPARE(dial()->needleTip(), tip);
        QCOMPARE(dial()->dragState(), AngleDial::DragState::Off);
        QCOMPARE(dragged.count(), 0);
    }

    void livePreviewFollowsTheSliders() {
        const QImage before = previewImage();
        repeat()->setValue(7);
        QCOMPARE(label("Label5")->text(), QStringLiteral("7"));
        const QImage repeated = previewImage();
        QCOMPARE(repeated.size(), QSize(40, 40));
        QVERIFY(repeated != before);
        QCOMPARE(repeated, writtenPattern());
        angle()->setValue(200);
        QVERIFY(previewImage() != repeated);
        QCOMPARE(previewImage(), writtenPattern());
        // At angle 0 and no repetition the colours blend from colour 1 at the
        // left edge to colour 2 at the right.
        angle()->setValue(0);
        repeat()->setValue(0);
        const QImage plain = previewImage();
        QVERIFY(qRed(plain.pixel(0, 20)) > 200 && qBlue(plain.pixel(0, 20)) < 60);
        QVERIFY(qBlue(plain.pixel(39, 20)) > 200 && qRed(plain.pixel(39, 20)) < 60);
        QCOMPARE(draws->count(), 0);
    }

    void aChosenColourUpdatesThePreview() {
        const QImage before = previewImage();
        testing::chooseColourInDialog(QColor(0, 200, 0));
        QTest::mouseClick(swatch("Picture3"), Qt::LeftButton);
        QCOMPARE(swatch("Picture3")->colour(), 0x00C800);
        QVERIFY(previewImage() != before);
        QCOMPARE(previewImage(), writtenPattern());
        QCOMPARE(app->state->style.FillColor1, 0x0000FF);
    }

    void cancellingTheColourChooserChangesNothing() {
        const QImage before = previewImage();
        testing::cancelColourDialog();
        QTest::mouseClick(swatch("Picture4"), Qt::LeftButton);
        QCOMPARE(swatch("Picture4")->colour(), 0xFF0000);
        QCOMPARE(previewImage(), before);
    }

    void cancelLeavesTheRecordThoughThePreviewChanged() {
        emit swatch("Picture3")->colourChosen(0x00FF00);
        swatch("Picture3")->setColour(0x00FF00);
        repeat()->setValue(11);
        angle()->setValue(300);
        QTest::mouseClick(button("Command2"), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        const PavrexStyle& s = app->state->style;
        QCOMPARE(s.FillColor1, 0x0000FF);
        QCOMPARE(s.FillColor2, 0xFF0000);
        QCOMPARE(s.PatternRepeat, 2);
        QCOMPARE(s.PatternAngle, 30);
        QCOMPARE(draws->count(), 0);
    }

    void okStoresTheFourValues() {
        swatch("Picture3")->setColour(0x00FF00);
        swatch("Picture4")->setColour(0x808080);
        repeat()->setValue(20);
        angle()->setValue(359);
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        const PavrexStyle& s = app->state->style;
        QCOMPARE(s.FillColor1, 0x00FF00);
        QCOMPARE(s.FillColor2, 0x808080);
        QCOMPARE(s.PatternRepeat, 20);
        QCOMPARE(s.PatternAngle, 359);
        QCOMPARE(s.FillType, 6);
    }

private:
    QImage previewImage() const {
        return dialog->findChild<QLabel*>(QStringLiteral("Picture5"))->pixmap().toImage().convertToFormat(
            QImage::Format_RGB32);
    }
    static QImage writtenPattern() {
        return QImage(TempFolder() + QStringLiteral("TexTmp.bmp")).convertToFormat(QImage::Format_RGB32);
    }
    AngleDial* dial() const { return dialog->findChild<AngleDial*>(QStringLiteral("Picture1")); }
    QScrollBar* repeat() const { return dialog->findChild<QScrollBar*>(QStringLiteral("HScroll1")); }
    QScrollBar* angle() const { return dialog->findChild<QScrollBar*>(QStringLiteral("HScroll2")); }
    QLabel* label(const char* name) const { return dialog->findChild<QLabel*>(QLatin1String(name)); }
    ColourSwatch* swatch(const char* name) const { return dialog->findChild<ColourSwatch*>(QLatin1String(name)); }
    QPushButton* button(const char* name) const { return dialog->findChild<QPushButton*>(QLatin1String(name)); }

    std::unique_ptr<ColourFixture> app;
    std::unique_ptr<QSignalSpy> draws;
    std::unique_ptr<ExtendedColourDialog> dialog;
};

QTEST_MAIN(ExtendedColourDialogTest)
#include "extended_colour_dialog_test.moc"
