// The free-move dialog Form076 on the offscreen platform: values taken and
// clamped, value labels, the live previews and their guide lines, OK and
// cancel through the real modal run, the window position.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include "animation_fixture.h"
#include "detail_dialogs.h"
#include "free_move_dialog.h"
#include "settings_store.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

using Q = FreeMoveDialog::Quantity;

void whenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        action(modal);
    });
}

}  // namespace

class FreeMoveDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheEntryBroughtIntoRange() {
        AnimationFixture f;
        ScheduleEntry e = ScheduleEntry::withDefaults(19, 20);
        e[slot::MoveStartX] = -30;
        e[slot::MoveStartWidth] = 5;       // raised to 10
        e[slot::MoveEndAngle] = 500;       // clamped to 360
        e[slot::MoveEndTransparency] = -3; // clamped to 0
        e[slot::MoveEndY] = 45;
        FreeMoveDialog d(*f.state, e, nullptr);
        QCOMPARE(d.objectName(), QStringLiteral("Form076"));
        QCOMPARE(d.windowTitle(), QStringLiteral("ｱﾆﾒｰｼｮﾝ詳細設定"));
        QCOMPARE(d.scrollBar(0, Q::X)->value(), -30);
        QCOMPARE(d.scrollBar(0, Q::Width)->value(), 10);
        QCOMPARE(d.scrollBar(0, Q::Height)->value(), 50);
        QCOMPARE(d.scrollBar(1, Q::Angle)->value(), 360);
        QCOMPARE(d.scrollBar(1, Q::Transparency)->value(), 0);
        QCOMPARE(d.valueLabel(0, Q::X)->text(), QStringLiteral("-30%"));
        QCOMPARE(d.valueLabel(1, Q::Angle)->text(), QStringLiteral("360ﾟ"));
        QCOMPARE(d.valueLabel(1, Q::Y)->text(), QStringLiteral("45%"));
        // Ranges and steps.
        const struct { Q q; int min, max, page; } bars[] = {
            {Q::X, -100, 100, 10}, {Q::Y, -100, 100, 10}, {Q::Width, 10, 300, 10},
            {Q::Height, 10, 300, 10}, {Q::Angle, -360, 360, 15}, {Q::Transparency, 0, 100, 10}};
        for (int s = 0; s < 2; ++s)
            for (const auto& b : bars) {
                QCOMPARE(d.scrollBar(s, b.q)->minimum(), b.min);
                QCOMPARE(d.scrollBar(s, b.q)->maximum(), b.max);
                QCOMPARE(d.scrollBar(s, b.q)->pageStep(), b.page);
                QCOMPARE(d.scrollBar(s, b.q)->singleStep(), 1);
            }
        QCOMPARE(d.findChildren<QScrollBar*>().size(), 12);
    }

    void previewsFollowTheScrollBars() {
        AnimationFixture f;
        const ScheduleEntry e = ScheduleEntry::withDefaults(19, 20);
        FreeMoveDialog d(*f.state, e, nullptr);
        // Start 50 %: 38 x 10 (round(10.5) = 10), at 80 - 20 + 40 = 100 and
        // 25 - 6.25 + 12.5 = 31.25.
        QCOMPARE(d.movedSample(0)->geometry(), QRect(100, 31, 38, 10));
        // End 100 %: 78 x 23 centred near (119, 36.5).
        QCOMPARE(d.movedSample(1)->geometry(), QRect(80, 25, 78, 23));
        QCOMPARE(d.previewArea(0)->size(), QSize(240, 75));
        // Dragging moves it at once: X 100 % is one cell to the right.
        d.scrollBar(1, Q::X)->setSliderDown(true);
        d.scrollBar(1, Q::X)->setSliderPosition(100);
        QCOMPARE(d.valueLabel(1, Q::X)->text(), QStringLiteral("100%"));
        QCOMPARE(d.movedSample(1)->pos(), QPoint(160, 25));
        d.scrollBar(1, Q::X)->setSliderDown(false);
        // A quarter turn stands the sample up, centred on the same point.
        d.scrollBar(1, Q::X)->setValue(0);
        d.scrollBar(1, Q::Angle)->setValue(90);
        const QRect turned = d.movedSample(1)->geometry();
        // (RotAng's truncations may lose a pixel of a side.)
        QVERIFY2(std::abs(turned.width() - 23) <= 1, qPrintable(QString::number(turned.width())));
        QVERIFY2(std::abs(turned.height() - 78) <= 1, qPrintable(QString::number(turned.height())));
        QVERIFY(std::abs(turned.center().x() - 119) <= 1);
        QVERIFY(std::abs(turned.center().y() - 36) <= 1);
        // Transparency is not previewed.
        const QImage before = d.movedSample(0)->pixmap().toImage();
        d.scrollBar(0, Q::Transparency)->setValue(80);
        QCOMPARE(d.movedSample(0)->pixmap().toImage(), before);
        QCOMPARE(d.valueLabel(0, Q::Transparency)->text(), QStringLiteral("80%"));
    }

    void guideLinesMarkTheMiddleCell() {
        AnimationFixture f;
        FreeMoveDialog d(*f.state, ScheduleEntry::withDefaults(19, 20), nullptr);
        const QImage area = d.previewArea(0)->grab().toImage();
        for (const QPoint p : {QPoint(0, 25), QPoint(239, 25), QPoint(5, 49), QPoint(80, 0), QPoint(80, 74),
                               QPoint(159, 3), QPoint(159, 70)})
            QCOMPARE(area.pixel(p), qRgb(0, 0, 0));
        QVERIFY(area.pixel(40, 10) != qRgb(0, 0, 0));
    }

    void okWritesTheTwelveValuesAndCancelNothing() {
        AnimationFixture f;
        const ScheduleEntry original = ScheduleEntry::withDefaults(19, 20);
        for (const bool ok : {true, false}) {
            ScheduleEntry e = original;
            whenModal([ok](QWidget* modal) {
                auto* d = qobject_cast<FreeMoveDialog*>(modal);
                QVERIFY(d != nullptr);
                int value = 1;
                for (int s = 0; s < 2; ++s)
                    for (const Q q : {Q::X, Q::Y, Q::Width, Q::Height, Q::Angle, Q::Transparency})
                        d->scrollBar(s, q)->setValue(10 + value++);
                QTest::mouseClick(ok ? d->okButton() : d->cancelButton(), Qt::LeftButton);
            });
            QCOMPARE(editEntryDetails(*f.state, nullptr, e), ok);
            if (!ok) {
                QCOMPARE(e, original);
                continue;
            }
            const int start[] = {slot::MoveStartX, slot::MoveStartY, slot::MoveStartWidth, slot::MoveStartHeight,
                                 slot::MoveStartAngle, slot::MoveStartTransparency};
            const int end[] = {slot::MoveEndX, slot::MoveEndY, slot::MoveEndWidth, slot::MoveEndHeight,
                               slot::MoveEndAngle, slot::MoveEndTransparency};
            for (int i = 0; i < 6; ++i) {
                QCOMPARE(e[start[i]], 11 + i);
                QCOMPARE(e[end[i]], 17 + i);
            }
            // Nothing else changed.
            ScheduleEntry rest = e;
            for (int i = 0; i < 6; ++i) rest[start[i]] = original[start[i]], rest[end[i]] = original[end[i]];
            QCOMPARE(rest, original);
        }
        // Closing stored the window position.
        QVERIFY(!IniRead(SettingsPath(), QStringLiteral("Window"), QStringLiteral("F076_TOP"), QString()).isEmpty());
        QVERIFY(!IniRead(SettingsPath(), QStringLiteral("Window"), QStringLiteral("F076_LEFT"), QString()).isEmpty());
    }
};

QTEST_MAIN(FreeMoveDialogTest)
#include "free_move_dialog_test.moc"
