// The common detail dialog "アニメーション詳細設定" (Form073) driven through
// its controls: the rows each kind shows and their labels and ranges, the
// "+1" rows, the numbers beside the sliders, OK and cancel, the trump
// type's enabling rule, the star colour box and shrinking to the rows shown.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include "animation_detail_dialog.h"
#include "animation_fixture.h"
#include "detail_dialogs.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

struct Expected {
    int kind;
    QStringList sliders;  // labels of the rows shown, in order
    QString choice;       // "" when hidden
    int choices;
    QString check;        // "" when hidden
    bool colour;
};

}  // namespace

class DetailDialogTest : public QObject {
    Q_OBJECT
private slots:
    void eachKindShowsItsRows() {
        const QList<Expected> table = {
            {5, {"分割サイズ", "回転", "拡散率"}, "回転方法", 3, "フェード", false},
            {6, {"分割サイズ", "回転", "拡散率"}, "回転方法", 3, "フェード", false},
            {7, {"ライトの明るさ", "ライトの範囲", "傾斜"}, "", 0, "照明が当たらない部分は背景色にする", false},
            {8, {"光源の明るさ", "拡散光減衰"}, "光源の移動方向", 4, "", false},
            {9, {"点滅比率", "点滅回数", "拡散光減衰"}, "タイプ", 3, "", false},
            {10, {"落下速度", "雪玉の数", "雪玉の明さ"}, "落下タイプ", 5, "", false},
            {11, {"遠近効果"}, "ﾀｲﾌﾟ", 2, "", false},
            {12, {"背面の明さ", "遠近効果"}, "", 0, "", false},
            {13, {"落下間隔"}, "", 0, "重力落下", false},
            {14, {"文字間隔"}, "方向", 4, "", false},
            {15, {"回転回数", "間隔"}, "ﾀｲﾌﾟ", 9, "", false},
            {16, {"星の数", "点滅間隔", "点灯時間"}, "タイプ", 2, "光点位置補正", true},
            {17, {}, "ｽｸﾛｰﾙ方向", 12, "", false},
            {18, {"幅"}, "", 0, "", false},
        };
        AnimationFixture f;
        int fullHeight = 0, telopHeight = 0;
        for (const Expected& x : table) {
            const ScheduleEntry entry = ScheduleEntry::withDefaults(x.kind, 20);
            AnimationDetailDialog d(*f.state, entry, nullptr);
            d.show();
            QCOMPARE(d.objectName(), QStringLiteral("Form073"));
            QCOMPARE(d.windowTitle(), QStringLiteral("アニメーション詳細設定"));
            for (int i = 0; i < 3; ++i) {
                const bool shown = i < x.sliders.size();
                QVERIFY2(d.slider(i)->isVisible() == shown, qPrintable(QStringLiteral("kind %1").arg(x.kind)));
                if (shown) QCOMPARE(d.sliderLabel(i)->text(), x.sliders[i]);
            }
            QCOMPARE(d.choice()->isVisible(), !x.choice.isEmpty());
            if (!x.choice.isEmpty()) {
                QCOMPARE(d.choiceLabel()->text(), x.choice);
                QCOMPARE(d.choice()->count(), x.choices);
            }
            QCOMPARE(d.checkBox()->isVisible(), !x.check.isEmpty());
            if (!x.check.isEmpty()) QCOMPARE(d.checkBox()->text(), x.check);
            QCOMPARE(d.colourBox()->isVisible(), x.colour);
            // Opening and OK without a change leaves the entry as it was.
            QCOMPARE(d.edited(), entry);
            if (x.kind == 16) fullHeight = d.sizeHint().height();
            if (x.kind == 17) telopHeight = d.sizeHint().height();
        }
        // The dialog shrinks to the rows in use.
        QVERIFY(telopHeight > 0 && telopHeight < fullHeight - 60);
    }

    void rangesAndThePlusOneRule_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("stored");   // value in the entry on opening
        QTest::addColumn<int>("position"); // slider position it shows
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("moveTo");   // slider moved here
        QTest::addColumn<int>("written");  // value OK stores
        QTest::newRow("splash cell size") << 5 << 0 << int(slot::SplashCellSize) << 0 << 4 << 1 << 1 << "2" << 4 << 4;
        QTest::newRow("splash rotation +1") << 6 << 1 << int(slot::SplashRotation) << -11 << 9 << -10 << -11 << "-10" << 9 << 10;
        QTest::newRow("splash spread shows the value") << 5 << 2 << int(slot::SplashSpread) << 0 << 3 << 2 << 2 << "2" << 3 << 3;
        QTest::newRow("light tilt +1") << 7 << 2 << int(slot::LightTilt) << -3 << 1 << 2 << 1 << "2" << -3 << -2;
        QTest::newRow("back light diffusion") << 8 << 1 << int(slot::BackLightDiffusion) << 0 << 9 << 0 << 0 << "1" << 9 << 9;
        QTest::newRow("flash ratio +1") << 9 << 0 << int(slot::FlashRatio) << 0 << 9 << 4 << 3 << "4" << 9 << 10;
        QTest::newRow("flash count +1") << 9 << 1 << int(slot::FlashCount) << 0 << 9 << 1 << 0 << "1" << 5 << 6;
        QTest::newRow("snow count") << 10 << 1 << int(slot::SnowCount) << 0 << 9 << 4 << 4 << "5" << 9 << 9;
        QTest::newRow("stand perspective shows the value") << 11 << 0 << int(slot::StandPerspective) << 0 << 10 << 10 << 10 << "10" << 3 << 3;
        QTest::newRow("spin perspective +1") << 12 << 1 << int(slot::SpinPerspective) << -1 << 9 << 0 << -1 << "0" << 9 << 10;
        QTest::newRow("trump interval") << 15 << 1 << int(slot::TrumpInterval) << 0 << 9 << 4 << 4 << "5" << 0 << 0;
        QTest::newRow("star on time") << 16 << 2 << int(slot::StarOnTime) << 0 << 9 << 4 << 4 << "5" << 7 << 7;
        QTest::newRow("fade width +1") << 18 << 0 << int(slot::FadeWidth) << 0 << 9 << 5 << 4 << "5" << 0 << 1;
        QTest::newRow("a stored value out of range is brought in") << 9 << 1 << int(slot::FlashCount) << 0 << 9 << 40 << 9 << "10" << 9 << 10;
    }
    void rangesAndThePlusOneRule() {
        QFETCH(int, kind);
        QFETCH(int, row);
        QFETCH(int, slot);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, stored);
        QFETCH(int, position);
        QFETCH(QString, shown);
        QFETCH(int, moveTo);
        QFETCH(int, written);
        AnimationFixture f;
        ScheduleEntry entry = ScheduleEntry::withDefaults(kind, 20);
        entry[slot] = stored;
        AnimationDetailDialog d(*f.state, entry, nullptr);
        QCOMPARE(d.slider(row)->minimum(), minimum);
        QCOMPARE(d.slider(row)->maximum(), maximum);
        QCOMPARE(d.slider(row)->value(), position);
        QCOMPARE(d.sliderValue(row)->text(), shown);
        d.slider(row)->setValue(moveTo);
        QCOMPARE(d.edited()[slot], written);
    }

    void okWritesAndCancelKeeps() {
        AnimationFixture f;
        for (const bool ok : {true, false}) {
            ScheduleEntry entry = ScheduleEntry::withDefaults(10, 20);
            QTimer::singleShot(0, [&] {
                auto* d = qobject_cast<AnimationDetailDialog*>(QApplication::activeModalWidget());
                QVERIFY(d);
                d->slider(0)->setValue(8);               // 落下速度
                d->choice()->setCurrentIndex(4);         // 横風(ゆらぎ)
                QTest::mouseClick(ok ? d->okButton() : d->cancelButton(), Qt::LeftButton);
            });
            QCOMPARE(editEntryDetails(*f.state, nullptr, entry), ok);
            QCOMPARE(entry[slot::SnowSpeed], ok ? 8 : 4);
            QCOMPARE(entry[slot::SnowFallType], ok ? 4 : 0);
            QCOMPARE(entry[slot::SnowCount], 4);
        }
    }

    void checkBoxAndChoiceReachTheirSlots() {
        AnimationFixture f;
        ScheduleEntry entry = ScheduleEntry::withDefaults(5, 20);
        entry[slot::SplashRotationMode] = 2;
        entry[slot::SplashFade] = 1;
        AnimationDetailDialog d(*f.state, entry, nullptr);
        QCOMPARE(d.choice()->currentIndex(), 2);
        QVERIFY(d.checkBox()->isChecked());
        d.checkBox()->setChecked(false);
        d.choice()->setCurrentIndex(1);
        const ScheduleEntry e = d.edited();
        QCOMPARE(e[slot::SplashFade], 0);
        QCOMPARE(e[slot::SplashRotationMode], 1);
        ScheduleEntry drop = ScheduleEntry::withDefaults(13, 20);
        AnimationDetailDialog dd(*f.state, drop, nullptr);
        dd.checkBox()->setChecked(true);
        QCOMPARE(dd.edited()[slot::DropGravity], 1);
    }

    void trumpTypeDecidesWhichSlidersApply() {
        AnimationFixture f;
        ScheduleEntry entry = ScheduleEntry::withDefaults(15, 20);
        entry[slot::TrumpType] = 7;  // the rule applies already on opening
        AnimationDetailDialog d(*f.state, entry, nullptr);
        QVERIFY(!d.slider(0)->isEnabled());
        QVERIFY(d.slider(1)->isEnabled());
        // type: turns slider, interval slider
        const QList<std::tuple<int, bool, bool>> rules = {
            {0, true, false}, {1, true, false}, {2, false, false}, {3, false, false}, {4, false, false},
            {5, false, false}, {6, false, true}, {7, false, true}, {8, false, true}};
        for (const auto& [type, turns, interval] : rules) {
            d.choice()->setCurrentIndex(type);
            QCOMPARE(d.slider(0)->isEnabled(), turns);
            QCOMPARE(d.sliderLabel(0)->isEnabled(), turns);
            QCOMPARE(d.slider(1)->isEnabled(), interval);
            QCOMPARE(d.sliderLabel(1)->isEnabled(), interval);
        }
        // Other kinds keep every row enabled.
        AnimationDetailDialog spin(*f.state, ScheduleEntry::withDefaults(12, 20), nullptr);
        QVERIFY(spin.slider(0)->isEnabled() && spin.slider(1)->isEnabled());
    }

    void starColourBoxOpensTheColourDialogOnDoubleClick() {
        AnimationFixture f;
        ScheduleEntry entry = ScheduleEntry::withDefaults(16, 20);
        entry[slot::StarColour] = 0x0080FF;  // orange: RGB(255, 128, 0)
        AnimationDetailDialog d(*f.state, entry, nullptr);
        d.show();
        QList<QColor> offered;
        QColor answer;  // invalid: cancelled
        d.chooseColour = [&](const QColor& initial) {
            offered << initial;
            return answer;
        };
        QTest::mouseClick(d.colourBox(), Qt::LeftButton);
        QVERIFY(offered.isEmpty());  // a single click opens nothing
        QTest::mouseDClick(d.colourBox(), Qt::LeftButton);
        QCOMPARE(offered, QList<QColor>{QColor(255, 128, 0)});
        QCOMPARE(d.edited()[slot::StarColour], 0x0080FF);  // cancel keeps it
        answer = QColor(10, 20, 30);
        QTest::mouseDClick(d.colourBox(), Qt::LeftButton);
        QCOMPARE(d.starColour(), 0x1E140A);
        QCOMPARE(d.edited()[slot::StarColour], 0x1E140A);
        QCOMPARE(d.colourBox()->palette().color(QPalette::Window), QColor(10, 20, 30));
    }

    void kindsWithoutTheCommonDialogOpenNothing() {
        AnimationFixture f;
        for (const int kind : {0, 1, 4, 19, 25}) QVERIFY(detailLayout(kind) == nullptr);
        ScheduleEntry e = ScheduleEntry::withDefaults(3, 20);
        QVERIFY(!showCommonDetailDialog(*f.state, nullptr, e));
        QCOMPARE(e, ScheduleEntry::withDefaults(3, 20));
    }
};

QTEST_MAIN(DetailDialogTest)
#include "detail_dialog_test.moc"
