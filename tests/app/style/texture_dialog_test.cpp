#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

#include "clickable_label.h"
#include "colour_fixture.h"
#include "texture_dialog.h"
#include "vakuro_resources.h"

using namespace vakuro;
using vakuro::testing::ColourFixture;
using vakuro::testing::element;

class TextureDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        app = std::make_unique<ColourFixture>();
        QVERIFY(app->bound);
        app->state->style.FillType = 5;
        app->state->style.TextureIndex = 4;
        app->state->style.TextureTile = 0;
        draws = std::make_unique<QSignalSpy>(app->state.get(), &ProgramState::drawRequested);
    }
    void cleanup() {
        dialog.reset();
        draws.reset();
        app.reset();
    }

    void showsEveryTextureAtItsRealSize() {
        open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("ﾃｸｽﾁｬｰ選択"));
        QCOMPARE(dialog->textureCount(), 48);
        for (int n = 0; n < 48; ++n) {
            ClickableLabel* thumbnail = element<ClickableLabel>(dialog.get(), "Image1", n);
            QVERIFY(thumbnail);
            QCOMPARE(thumbnail->geometry(), QRect((n % 3) * 168 + 4, (n / 3) * 48 + 4, 160, 40));
            const QImage texture(resources::texturePath(195 + n));
            QCOMPARE(thumbnail->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                     texture.convertToFormat(QImage::Format_RGB32));
        }
        QCOMPARE(viewport()->size(), QSize(7560 / 15, 4455 / 15));
        QCOMPARE(panel()->height(), 11550 / 15);
        QCOMPARE(scroll()->minimum(), 0);
        QCOMPARE(scroll()->maximum(), 60);
        // The frame lies behind the thumbnails.
        QCOMPARE(panel()->children().indexOf(frame()), 0);
    }

    void textureFortySevenIsScrolledIntoView() {
        app->state->style.TextureIndex = 47;
        open();
        QCOMPARE(dialog->selectedTexture(), 47);
        QCOMPARE(scroll()->value(), 60);
        QCOMPARE(panel()->y(), -480);
        ClickableLabel* last = element<ClickableLabel>(dialog.get(), "Image1", 47);
        QCOMPARE(frame()->geometry(), last->geometry().adjusted(-4, -4, 4, 4));
        const QRect inViewport(last->mapTo(viewport(), QPoint(0, 0)), last->size());
        QVERIFY(viewport()->rect().contains(inViewport));
    }

    void theCurrentRowComesToTheTop() {
        app->state->style.TextureIndex = 20;
        open();
        QCOMPARE(scroll()->value(), 36);
        QCOMPARE(element<ClickableLabel>(dialog.get(), "Image1", 18)->mapTo(viewport(), QPoint(0, 0)).y(), 4);
        // Scrolled away, the row comes back when the dialog is activated again.
        scroll()->setValue(0);
        QEvent activation(QEvent::ActivationChange);
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QCoreApplication::sendEvent(dialog.get(), &activation);
        QCOMPARE(scroll()->value(), 36);
    }

    void scrollBarMovesThePanelEightPixelsAStep() {
        open();
        scroll()->setValue(10);
        QCOMPARE(panel()->y(), -80);
        scroll()->setValue(0);
        QCOMPARE(panel()->y(), 0);
    }

    void clickFramesATexture() {
        open();
        ClickableLabel* thumbnail = element<ClickableLabel>(dialog.get(), "Image1", 8);
        QTest::mouseClick(thumbnail, Qt::LeftButton);
        QCOMPARE(dialog->selectedTexture(), 8);
        QCOMPARE(frame()->pos(), thumbnail->pos() - QPoint(4, 4));
        QCOMPARE(frame()->size(), QSize(168, 48));
    }

    void cancelAfterAnotherClickChangesNothing() {
        open();
        QTest::mouseClick(element<ClickableLabel>(dialog.get(), "Image1", 30), Qt::LeftButton);
        QTest::mouseClick(button("Command2"), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(app->state->style.TextureIndex, 4);
        QCOMPARE(draws->count(), 0);
    }

    void okStoresTheTextureAndDraws() {
        open();
        QTest::mouseClick(element<ClickableLabel>(dialog.get(), "Image1", 26), Qt::LeftButton);
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(app->state->style.TextureIndex, 26);
        QCOMPARE(app->state->style.FillType, 5);
        QCOMPARE(app->state->style.TextureTile, 0);  // left to Draw
        QCOMPARE(draws->count(), 1);
    }

    void doubleClickActsAsOk() {
        open();
        QTest::mouseDClick(element<ClickableLabel>(dialog.get(), "Image1", 13), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(app->state->style.TextureIndex, 13);
        QCOMPARE(draws->count(), 1);
    }

    void onlyTheTexturesThatExistAreShown() {
        const auto fiveTextures = [](int number) {
            return number < 195 + 5 ? QImage(resources::texturePath(number)) : QImage();
        };
        dialog = std::make_unique<TextureDialog>(*app->state, nullptr, fiveTextures);
        dialog->show();
        QCOMPARE(dialog->textureCount(), 5);
        QCOMPARE(dialog->findChildren<ClickableLabel*>(QStringLiteral("Image1")).size(), 5);
        QCOMPARE(scroll()->maximum(), 0);  // the two rows fit
        QCOMPARE(dialog->selectedTexture(), 4);
    }

    void aRecordTextureWithoutPictureKeepsTheFirst() {
        app->state->style.TextureIndex = 60;
        open();
        QCOMPARE(dialog->selectedTexture(), 0);
        QCOMPARE(frame()->pos(), QPoint(0, 0));
        QCOMPARE(scroll()->value(), 60);
    }

    void withoutAnyTextureOkDoesNothing() {
        dialog = std::make_unique<TextureDialog>(*app->state, nullptr, [](int) { return QImage(); });
        dialog->show();
        QCOMPARE(dialog->textureCount(), 0);
        QVERIFY(!button("Command1")->isEnabled());
        dialog->accept();
        QCOMPARE(app->state->style.TextureIndex, 4);
        QCOMPARE(draws->count(), 0);
    }

    void pressOnTheBackgroundRepaintsTheMainWindow() {
        open();
        QSignalSpy refreshes(app->state.get(), &ProgramState::refreshRequested);
        QTest::mouseClick(dialog.get(), Qt::LeftButton, {}, QPoint(dialog->width() / 2, dialog->height() - 3));
        QCOMPARE(refreshes.count(), 1);
    }

private:
    void open() {
        dialog = std::make_unique<TextureDialog>(*app->state);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    QWidget* viewport() const { return dialog->findChild<QWidget*>(QStringLiteral("Picture1")); }
    QWidget* panel() const { return dialog->findChild<QWidget*>(QStringLiteral("Picture2")); }
    QWidget* frame() const { return dialog->findChild<QWidget*>(QStringLiteral("Shape1")); }
    QScrollBar* scroll() const { return dialog->findChild<QScrollBar*>(QStringLiteral("VScroll1")); }
    QPushButton* button(const char* name) const { return dialog->findChild<QPushButton*>(QLatin1String(name)); }

    std::unique_ptr<ColourFixture> app;
    std::unique_ptr<QSignalSpy> draws;
    std::unique_ptr<TextureDialog> dialog;
};

QTEST_MAIN(TextureDialogTest)
#include "texture_dialog_test.moc"
