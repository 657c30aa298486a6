#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

#include "clickable_label.h"
#include "colour_fixture.h"
#include "colour_swatch.h"
#include "colour_settings_dialog.h"
#include "texture_dialog.h"
#include "extended_colour_dialog.h"
#include "settings_store.h"
#include "vakuro_resources.h"

using namespace vakuro;
using vakuro::testing::ColourFixture;
using vakuro::testing::element;
using vakuro::testing::whenShown;

class ColourSettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        app = std::make_unique<ColourFixture>();
        QVERIFY(app->bound);
        PavrexStyle& s = app->state->style;
        s.FillType = 2;
        s.FillColor1 = 0x0000FF;
        s.FillColor2 = 0x00FF00;
        s.FillColor3 = 0xFF0000;
        s.OutlineStyle = 2;
        s.OutlineWidth = 3;
        s.OutlineColor1 = 0x102030;
        s.OutlineColor2 = 0x405060;
        s.ThickenX = 4;
        s.ThickenY = 2;
        s.Slant = 12;
        s.Spacing = s.SpacingPx = -7;
        s.Vertical = 0;
        s.BackColor = 0xC0C0C0;
        s.TextureIndex = 10;
        s.PatternRepeat = 3;
        s.PatternAngle = 45;
        owner = std::make_unique<QWidget>();
        owner->show();
        draws = std::make_unique<QSignalSpy>(app->state.get(), &ProgramState::drawRequested);
        layouts = std::make_unique<QSignalSpy>(app->state.get(), &ProgramState::layoutRequested);
        showColourSettingsDialog(*app->state, owner.get());
        dialog = owner->findChild<ColourSettingsDialog*>();
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        settle();
    }
    void cleanup() {
        draws.reset();
        layouts.reset();
        owner.reset();
        app.reset();
    }

    void opensFromTheRecordWithoutDrawing() {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("カラー設定"));
        QVERIFY(app->state->openDialogs.colour);
        QCOMPARE(app->state->redrawGuard, 0);
        QCOMPARE(draws->count(), 0);
        QCOMPARE(layouts->count(), 0);
        QCOMPARE(combo("Combo1")->currentIndex(), 2);
        QCOMPARE(swatch("Picture1", 0)->colour(), 0x0000FF);
        QCOMPARE(swatch("Picture1", 1)->colour(), 0x00FF00);
        QCOMPARE(swatch("Picture1", 2)->colour(), 0xFF0000);
        QCOMPARE(combo("Combo2")->currentIndex(), 2);
        QCOMPARE(combo("Combo3")->currentText(), QStringLiteral("4"));
        QCOMPARE(swatch("Picture2", 0)->colour(), 0x102030);
        QCOMPARE(swatch("Picture2", 1)->colour(), 0x405060);
        QCOMPARE(bar("HScroll1")->value(), 4);
        QCOMPARE(bar("HScroll4")->value(), 2);
        QCOMPARE(bar("HScroll2")->value(), 12);
        QCOMPARE(bar("HScroll3")->value(), -7);
        QCOMPARE(label("Label7")->text(), QStringLiteral("4"));
        QCOMPARE(label("Label9")->text(), QStringLiteral("2"));
        QCOMPARE(label("Label11")->text(), QStringLiteral("12"));
        QCOMPARE(label("Label13")->text(), QStringLiteral("-7"));
        QVERIFY(!check()->isChecked());
        QCOMPARE(swatch("Picture3", 0)->colour(), 0xC0C0C0);
        QVERIFY(dialog->findChild<QPushButton*>(QStringLiteral("Load"))->isHidden());
    }

    void listsOfferTheirEntries() {
        const QStringList fills = {QStringLiteral("単色"), QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(横2色)"),
                                   QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(横3色)"), QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(縦2色)"),
                                   QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(縦3色)"), QStringLiteral("テクスチャー"),
                                   QStringLiteral("拡張色設定")};
        QCOMPARE(items(combo("Combo1")), fills);
        QCOMPARE(items(combo("Combo2")), (QStringList{QStringLiteral("（なし）"), QStringLiteral("単色"),
                                                      QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(横)"),
                                                      QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(縦)")}));
        QCOMPARE(items(combo("Combo3")), (QStringList{"1", "2", "3", "4", "5", "6"}));
        QCOMPARE(bar("HScroll1")->minimum(), 0);
        QCOMPARE(bar("HScroll1")->maximum(), 8);
        QCOMPARE(bar("HScroll4")->maximum(), 8);
        QCOMPARE(bar("HScroll2")->maximum(), 30);
        QCOMPARE(bar("HScroll3")->minimum(), -30);
        QCOMPARE(bar("HScroll3")->maximum(), 100);
    }

    void fillStyleTwoToZeroKeepsTheHiddenColours() {
        combo("Combo1")->setCurrentIndex(0);
        QCOMPARE(app->state->style.FillType, 0);
        QVERIFY(swatch("Picture1", 0)->isVisible());
        QVERIFY(!swatch("Picture1", 1)->isVisible());
        QVERIFY(!swatch("Picture1", 2)->isVisible());
        QCOMPARE(app->state->style.FillColor2, 0x00FF00);
        QCOMPARE(app->state->style.FillColor3, 0xFF0000);
        QCOMPARE(draws->count(), 1);
        // Back to three colours: the colours come back unchanged.
        combo("Combo1")->setCurrentIndex(4);
        QVERIFY(swatch("Picture1", 2)->isVisible());
        QCOMPARE(swatch("Picture1", 2)->colour(), 0xFF0000);
    }

    void fillStyleShowsItsControls_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("shown");  // swatch 1, 2, 3, preview, swap 1, swap 2
        QTest::newRow("colour") << 0 << "100000";
        QTest::newRow("horizontal 2") << 1 << "110010";
        QTest::newRow("horizontal 3") << 2 << "111011";
        QTest::newRow("vertical 2") << 3 << "110010";
        QTest::newRow("vertical 3") << 4 << "111011";
        QTest::newRow("texture") << 5 << "000100";
        QTest::newRow("pattern") << 6 << "000100";
    }
    void fillStyleShowsItsControls() {
        QFETCH(int, index);
        QFETCH(QString, shown);
        combo("Combo1")->setCurrentIndex(index);
        const QList<QWidget*> controls = {swatch("Picture1", 0), swatch("Picture1", 1), swatch("Picture1", 2),
                                          image("Image1"), image("Image2"), image("Image3")};
        QString actual;
        for (QWidget* w : controls) actual += w->isVisible() ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(actual, shown);
        QCOMPARE(app->state->style.FillType, index);
    }

    void textureStyleShowsTheRecordsTexture() {
        combo("Combo1")->setCurrentIndex(5);
        const QImage shown = image("Image1")->pixmap().toImage();
        const QImage texture(resources::texturePath(195 + 10));
        QVERIFY(!texture.isNull());
        QCOMPARE(shown.size(), QSize(160, 40));
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), texture.convertToFormat(QImage::Format_RGB32));
    }

    void patternStyleShowsTheWidenedPattern() {
        combo("Combo1")->setCurrentIndex(6);
        const QString file = TempFolder() + QStringLiteral("TexTmp.bmp");
        QVERIFY(QFile::exists(file));
        const QImage written(file);
        QCOMPARE(written.size(), QSize(160, 40));
        const QImage shown = image("Image1")->pixmap().toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), written.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(draws->count(), 1);
    }

    void choosingAFillColourStoresItAndDraws() {
        testing::chooseColourInDialog(QColor(10, 20, 30));
        QTest::mouseClick(swatch("Picture1", 1), Qt::LeftButton);
        QCOMPARE(swatch("Picture1", 1)->colour(), 0x1E140A);
        QCOMPARE(app->state->style.FillColor2, 0x1E140A);
        QCOMPARE(draws->count(), 1);
    }

    void cancellingTheColourChooserChangesNothing() {
        testing::cancelColourDialog();
        QTest::mouseClick(swatch("Picture1", 0), Qt::LeftButton);
        QCOMPARE(swatch("Picture1", 0)->colour(), 0x0000FF);
        QCOMPARE(app->state->style.FillColor1, 0x0000FF);
        settle();
        QCOMPARE(draws->count(), 0);
    }

    void outlineAndBackgroundSwatchesStoreTheirFields() {
        emit swatch("Picture2", 0)->colourChosen(0x111111);
        emit swatch("Picture2", 1)->colourChosen(0x222222);
        emit swatch("Picture3", 0)->colourChosen(0x333333);
        QCOMPARE(app->state->style.OutlineColor1, 0x111111);
        QCOMPARE(app->state->style.OutlineColor2, 0x222222);
        QCOMPARE(app->state->style.BackColor, 0x333333);
        QCOMPARE(draws->count(), 3);
    }

    void swapIconsExchangeNeighbouringColours() {
        QTest::mouseDClick(image("Image2"), Qt::LeftButton);
        QCOMPARE(app->state->style.FillColor1, 0x00FF00);
        QCOMPARE(app->state->style.FillColor2, 0x0000FF);
        QCOMPARE(app->state->style.FillColor3, 0xFF0000);
        QCOMPARE(draws->count(), 1);
        QTest::mouseDClick(image("Image3"), Qt::LeftButton);
        QCOMPARE(app->state->style.FillColor2, 0xFF0000);
        QCOMPARE(app->state->style.FillColor3, 0x0000FF);
        QCOMPARE(swatch("Picture1", 0)->colour(), 0x00FF00);
        QCOMPARE(swatch("Picture1", 1)->colour(), 0xFF0000);
        QCOMPARE(swatch("Picture1", 2)->colour(), 0x0000FF);
        QCOMPARE(draws->count(), 2);
        // A single click does nothing.
        QTest::mouseClick(image("Image2"), Qt::LeftButton);
        QCOMPARE(app->state->style.FillColor1, 0x00FF00);
        QCOMPARE(draws->count(), 2);
    }

    void outlineStyleShowsItsColours() {
        QLabel* caption = label("Label5");
        combo("Combo2")->setCurrentIndex(0);
        QVERIFY(!caption->isVisible());
        QVERIFY(!swatch("Picture2", 0)->isVisible());
        QVERIFY(!swatch("Picture2", 1)->isVisible());
        QCOMPARE(app->state->style.OutlineStyle, 0);
        combo("Combo2")->setCurrentIndex(1);
        QVERIFY(caption->isVisible());
        QVERIFY(swatch("Picture2", 0)->isVisible());
        QVERIFY(!swatch("Picture2", 1)->isVisible());
        combo("Combo2")->setCurrentIndex(3);
        QVERIFY(swatch("Picture2", 1)->isVisible());
        QCOMPARE(app->state->style.OutlineStyle, 3);
        QCOMPARE(app->state->style.OutlineColor2, 0x405060);
        QCOMPARE(draws->count(), 3);
    }

    void outlineThicknessOneStoresZero() {
        combo("Combo3")->setCurrentIndex(combo("Combo3")->findText(QStringLiteral("1")));
        QCOMPARE(app->state->style.OutlineWidth, 0);
        QCOMPARE(draws->count(), 1);
    }

    void slidersWriteTheirFieldsAndLabels() {
        bar("HScroll1")->setValue(7);
        bar("HScroll4")->setValue(0);
        bar("HScroll2")->setValue(30);
        bar("HScroll3")->setValue(55);
        const PavrexStyle& s = app->state->style;
        QCOMPARE(s.ThickenX, 7);
        QCOMPARE(s.ThickenY, 0);
        QCOMPARE(s.Slant, 30);
        QCOMPARE(s.Spacing, 55);
        QCOMPARE(s.SpacingPx, 55);
        QCOMPARE(label("Label7")->text(), QStringLiteral("7"));
        QCOMPARE(label("Label9")->text(), QStringLiteral("0"));
        QCOMPARE(label("Label11")->text(), QStringLiteral("30"));
        QCOMPARE(label("Label13")->text(), QStringLiteral("55"));
        settle();
        QCOMPARE(draws->count(), 1);
        QCOMPARE(layouts->count(), 0);  // horizontal writing: no new layout
    }

    void sliderDragKeepsEveryValueAndCoalescesDrawing() {
        QScrollBar* slant = bar("HScroll2");
        QList<int> seen;
        connect(slant, &QScrollBar::valueChanged, this, [&](int) { seen.append(app->state->style.Slant); });
        slant->setSliderDown(true);
        for (int v = 13; v <= 30; ++v) slant->setSliderPosition(v);
        QCOMPARE(seen.size(), 18);
        for (int i = 0; i < seen.size(); ++i) QCOMPARE(seen.at(i), 13 + i);
        QCOMPARE(draws->count(), 0);  // nothing drawn while the events are still pending
        settle();
        QCOMPARE(draws->count(), 1);  // one drawing, of the last value
        slant->setSliderDown(false);
        QCOMPARE(app->state->style.Slant, 30);
    }

    void spacingInVerticalWritingLaysOutAfterDrawing() {
        QTest::mouseClick(check(), Qt::LeftButton);
        settle();
        draws->clear();
        layouts->clear();
        QList<QString> order;
        connect(app->state.get(), &ProgramState::drawRequested, this, [&] { order.append("draw"); });
        connect(app->state.get(), &ProgramState::layoutRequested, this,
                [&](int v) { order.append(QStringLiteral("layout %1").arg(v)); });
        bar("HScroll3")->setValue(20);
        bar("HScroll3")->setValue(21);
        settle();
        QCOMPARE(order, (QList<QString>{"draw", "layout 1"}));
        QCOMPARE(app->state->style.SpacingPx, 21);
    }

    void doubleClickOnSpacingCaptionResetsIt() {
        QTest::mouseDClick(label("Label12"), Qt::LeftButton);
        QCOMPARE(bar("HScroll3")->value(), 0);
        QCOMPARE(app->state->style.Spacing, 0);
        QCOMPARE(app->state->style.SpacingPx, 0);
        QCOMPARE(label("Label12")->text(), QStringLiteral("文字間"));
    }

    void directionCheckBoxStoresDrawsAndLaysOut() {
        QList<QString> order;
        connect(app->state.get(), &ProgramState::drawRequested, this, [&] { order.append("draw"); });
        connect(app->state.get(), &ProgramState::layoutRequested, this,
                [&](int v) { order.append(QStringLiteral("layout %1").arg(v)); });
        QTest::mouseClick(check(), Qt::LeftButton);
        QCOMPARE(app->state->style.Vertical, 1);
        QTest::mouseClick(check(), Qt::LeftButton);
        QCOMPARE(app->state->style.Vertical, 0);
        QCOMPARE(order, (QList<QString>{"draw", "layout 1", "draw", "layout 0"}));
    }

    void reloadsWhenTheStyleIsReplaced() {
        PavrexStyle& s = app->state->style;
        s.FillType = 5;
        s.TextureIndex = 3;
        s.OutlineStyle = 1;
        s.OutlineWidth = 0;
        s.ThickenX = 1;
        s.ThickenY = 8;
        s.Slant = 5;
        s.Spacing = s.SpacingPx = 40;
        s.Vertical = 1;
        s.BackColor = 0x123456;
        s.OutlineColor1 = 0x654321;
        app->state->styleReplacedNotice();
        QCOMPARE(combo("Combo1")->currentIndex(), 5);
        QVERIFY(image("Image1")->isVisible());
        QCOMPARE(image("Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                 QImage(resources::texturePath(198)).convertToFormat(QImage::Format_RGB32));
        QVERIFY(!swatch("Picture1", 0)->isVisible());
        QCOMPARE(combo("Combo2")->currentIndex(), 1);
        QVERIFY(!swatch("Picture2", 1)->isVisible());
        QCOMPARE(combo("Combo3")->currentIndex(), 0);
        QCOMPARE(bar("HScroll1")->value(), 1);
        QCOMPARE(bar("HScroll4")->value(), 8);
        QCOMPARE(bar("HScroll2")->value(), 5);
        QCOMPARE(bar("HScroll3")->value(), 40);
        QCOMPARE(label("Label13")->text(), QStringLiteral("40"));
        QVERIFY(check()->isChecked());
        QCOMPARE(swatch("Picture3", 0)->colour(), 0x123456);
        QCOMPARE(swatch("Picture2", 0)->colour(), 0x654321);
        settle();
        QCOMPARE(draws->count(), 0);
        QCOMPARE(layouts->count(), 0);
        QCOMPARE(app->state->redrawGuard, 0);
    }

    void hiddenLoadButtonReloads() {
        app->state->style.Slant = 9;
        dialog->findChild<QPushButton*>(QStringLiteral("Load"))->click();
        QCOMPARE(bar("HScroll2")->value(), 9);
        settle();
        QCOMPARE(draws->count(), 0);
    }

    void valuesNoControlOffersAreTakenToTheNearestEnd() {
        PavrexStyle& s = app->state->style;
        s.FillType = 9;
        s.ThickenX = 12;
        s.Slant = -3;
        s.Spacing = 250;
        s.OutlineWidth = 7;
        dialog->Load();
        QCOMPARE(combo("Combo1")->currentIndex(), 6);
        QCOMPARE(s.FillType, 6);
        QCOMPARE(s.ThickenX, 8);
        QCOMPARE(s.Slant, 0);
        QCOMPARE(s.Spacing, 100);
        QCOMPARE(s.SpacingPx, 100);
        QCOMPARE(s.OutlineWidth, 5);
    }

    void aSecondOpenRaisesTheOpenDialog() {
        showColourSettingsDialog(*app->state, owner.get());
        QCOMPARE(owner->findChildren<ColourSettingsDialog*>().size(), 1);
    }

    void closingStoresThePositionAndReopeningRestoresIt() {
        dialog->move(123, 77);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(!app->state->openDialogs.colour);
        const QString ini = app->state->settingsPath();
        QCOMPARE(IniReadInt(ini, QStringLiteral("Window"), QStringLiteral("F010_TOP"), -1), 77 * 15);
        QCOMPARE(IniReadInt(ini, QStringLiteral("Window"), QStringLiteral("F010_LEFT"), -1), 123 * 15);
        showColourSettingsDialog(*app->state, owner.get());  // while the old one still awaits deletion
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto open = owner->findChildren<ColourSettingsDialog*>();
        QCOMPARE(open.size(), 1);
        QVERIFY(open.first() != dialog || open.first()->isOpen());
        dialog = open.first();
        QVERIFY(dialog->isVisible());
        QVERIFY(app->state->openDialogs.colour);
        QCOMPARE(dialog->pos(), QPoint(123, 77));
    }

    void spacingEditorButtonAsksForTheModalEditor() {
        QSignalSpy requests(app->state.get(), &ProgramState::spacingEditorRequested);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0).at(0).value<QWidget*>(), static_cast<QWidget*>(dialog));
        QCOMPARE(requests.at(0).at(1).toBool(), true);
    }

    void textureDoubleClickOpensTheTextureDialog() {
        combo("Combo1")->setCurrentIndex(5);
        draws->clear();
        whenShown<TextureDialog>([](TextureDialog* textures) {
            auto* thumbnail = element<ClickableLabel>(textures, "Image1", 17);
            QTest::mouseClick(thumbnail, Qt::LeftButton);
            QTest::mouseClick(textures->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        });
        QTest::mouseDClick(image("Image1"), Qt::LeftButton);
        QCOMPARE(app->state->style.TextureIndex, 17);
        QCOMPARE(app->state->style.FillType, 5);
        QCOMPARE(image("Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                 QImage(resources::texturePath(195 + 17)).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(draws->count(), 1);
    }

    void cancelledTextureDialogLeavesThePreview() {
        combo("Combo1")->setCurrentIndex(5);
        draws->clear();
        const QImage before = image("Image1")->pixmap().toImage();
        whenShown<TextureDialog>([](TextureDialog* textures) {
            QTest::mouseClick(element<ClickableLabel>(textures, "Image1", 30), Qt::LeftButton);
            QTest::mouseClick(textures->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
        });
        QTest::mouseDClick(image("Image1"), Qt::LeftButton);
        QCOMPARE(app->state->style.TextureIndex, 10);
        QCOMPARE(image("Image1")->pixmap().toImage(), before);
        QCOMPARE(draws->count(), 0);
    }

    void patternDoubleClickOpensTheExtendedColourDialog() {
        combo("Combo1")->setCurrentIndex(6);
        draws->clear();
        const QImage before = image("Image1")->pixmap().toImage();
        whenShown<ExtendedColourDialog>([](ExtendedColourDialog* pattern) {
            pattern->findChild<QScrollBar*>(QStringLiteral("HScroll1"))->setValue(9);
            QTest::mouseClick(pattern->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        });
        QTest::mouseDClick(image("Image1"), Qt::LeftButton);
        QCOMPARE(app->state->style.PatternRepeat, 9);
        QCOMPARE(app->state->style.PatternAngle, 45);
        const QImage after = image("Image1")->pixmap().toImage();
        QCOMPARE(after.size(), QSize(160, 40));
        QVERIFY(after != before);
        QCOMPARE(draws->count(), 1);
    }

private:
    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    QComboBox* combo(const char* name) const { return dialog->findChild<QComboBox*>(QLatin1String(name)); }
    QScrollBar* bar(const char* name) const { return dialog->findChild<QScrollBar*>(QLatin1String(name)); }
    QLabel* label(const char* name) const { return dialog->findChild<QLabel*>(QLatin1String(name)); }
    ClickableLabel* image(const char* name) const { return dialog->findChild<ClickableLabel*>(QLatin1String(name)); }
    QCheckBox* check() const { return dialog->findChild<QCheckBox*>(QStringLiteral("Check1")); }
    ColourSwatch* swatch(const char* name, int index) const { return element<ColourSwatch>(dialog, name, index); }
    static QStringList items(const QComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
        return texts;
    }

    std::unique_ptr<ColourFixture> app;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<QSignalSpy> draws;
    std::unique_ptr<QSignalSpy> layouts;
    ColourSettingsDialog* dialog = nullptr;
};

QTEST_MAIN(ColourSettingsDialogTest)
#include "colour_settings_dialog_test.moc"
