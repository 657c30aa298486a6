// The schedule: new entries, add, delete, delete all and move against their
// edge cases; "AniSet.Dat" byte for byte; the duration choices; the timing,
// frame counts and weighted totals of the driver; the splash tables.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

#include "dispatch.h"
#include "effect_kinds.h"
#include "schedule.h"
#include "splash_tables.h"

using namespace vakuro;

namespace {

ScheduleEntry entry(int kind, float seconds, int fps) {
    ScheduleEntry e = ScheduleEntry::withDefaults(kind, fps);
    e.setDuration(seconds);
    return e;
}

// The kinds of the schedule's rows, in order.
QList<int> kinds(const AnimationSchedule& s) {
    QList<int> k;
    for (int i = 0; i < s.rowCount(); ++i) k << s[i].kind();
    return k;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

}  // namespace

class ScheduleTest : public QObject {
    Q_OBJECT
private slots:
    void newEntryHasTheDefaultsOfEverySlot() {
        const ScheduleEntry e = ScheduleEntry::withDefaults(1, 20);
        QCOMPARE(e.kind(), 1);
        QCOMPARE(e.duration(), 2.0f);
        // Slot 1 holds the float's bits: 2.0f is 0x40000000.
        QCOMPARE(e[slot::Duration], 0x40000000);
        QCOMPARE(e.framesPerSecond(), 20);
        // (slot, value) as the slot table gives them; every other slot is 0.
        const QList<QPair<int, int>> expected = {
            {3, 1}, {4, 4}, {5, 4}, {6, 4}, {7, 0xC8C8C8}, {9, 2}, {10, 4}, {11, 4}, {12, 4}, {14, 2},
            {16, 4}, {17, 4}, {18, 4}, {19, 4}, {23, 4}, {25, 0xFFFFFF}, {27, 5}, {31, 9}, {32, 4},
            {38, 50}, {39, 50}, {43, 100}, {44, 100}, {46, 4}, {53, 4}};
        for (int s = 3; s < kEntrySlots; ++s) {
            int want = 0;
            for (const auto& [slotNumber, value] : expected)
                if (slotNumber == s) want = value;
            QVERIFY2(e[s] == want, qPrintable(QStringLiteral("slot %1").arg(s)));
        }
    }

    void addPlacesTheNewEntry() {
        AnimationSchedule s;
        // Nothing selected: at the top.
        QCOMPARE(s.add(1, -1, false, 20), 0);
        QCOMPARE(s.add(2, -1, false, 20), 0);
        QCOMPARE(kinds(s), (QList<int>{2, 1}));
        // After the selected row.
        QCOMPARE(s.add(3, 0, false, 20), 1);
        QCOMPARE(kinds(s), (QList<int>{2, 3, 1}));
        // With Shift: in place of (before) the selected row.
        QCOMPARE(s.add(4, 2, true, 20), 2);
        QCOMPARE(kinds(s), (QList<int>{2, 3, 4, 1}));
        // Shift with the first row selected: at the top.
        QCOMPARE(s.add(5, 0, true, 20), 0);
        QCOMPARE(kinds(s), (QList<int>{5, 2, 3, 4, 1}));
        // The frame rate is the one given at the time of the add.
        QCOMPARE(s.add(6, 4, false, 5), 5);
        QCOMPARE(s[5].framesPerSecond(), 5);
    }

    void addStopsAt99Rows() {
        AnimationSchedule s;
        for (int i = 0; i < 99; ++i) QVERIFY(s.add(1 + i % 19, i - 1, false, 20) >= 0);
        QCOMPARE(s.rowCount(), 99);
        QCOMPARE(s.add(1, 98, false, 20), -1);
        QCOMPARE(s.rowCount(), 99);
        QCOMPARE(s[99].kind(), 0);
    }

    void removeShiftsTheRest() {
        AnimationSchedule s;
        for (int k : {1, 2, 3, 4}) s.add(k, s.rowCount() - 1, false, 20);
        // A stale entry behind the end: it is copied into the last place,
        // where its kind 0 still ends the schedule.
        s[5] = entry(7, 1.0f, 10);
        QVERIFY(s.remove(1));
        QCOMPARE(kinds(s), (QList<int>{1, 3, 4}));
        QVERIFY(s.remove(2));  // the last row
        QCOMPARE(kinds(s), (QList<int>{1, 3}));
        QVERIFY(!s.remove(2));  // no such row
        QVERIFY(!s.remove(-1));
        QVERIFY(s.remove(0));
        QVERIFY(s.remove(0));
        QCOMPARE(s.rowCount(), 0);
        QCOMPARE(s[5].kind(), 7);  // never shown, never touched
    }

    void removeAllEndsTheScheduleAtTheTop() {
        AnimationSchedule s;
        for (int i = 0; i < 10; ++i) s.add(3, i - 1, false, 20);
        s[150] = entry(4, 1.0f, 10);
        s.removeAll();
        QCOMPARE(s.rowCount(), 0);
        for (int i = 0; i <= 100; ++i) QCOMPARE(s[i].kind(), 0);
        // Only the kinds change; the rest of each entry stays.
        QCOMPARE(s[0].framesPerSecond(), 20);
        QCOMPARE(s[150].kind(), 4);
    }

    void moveSwapsWithTheNeighbour() {
        AnimationSchedule s;
        for (int k : {1, 2, 3}) s.add(k, s.rowCount() - 1, false, 20);
        s[1].setDuration(0.5f);
        QVERIFY(s.moveDown(1));
        QCOMPARE(kinds(s), (QList<int>{1, 3, 2}));
        QCOMPARE(s[2].duration(), 0.5f);  // the whole entry moves
        QVERIFY(s.moveUp(2));
        QCOMPARE(kinds(s), (QList<int>{1, 2, 3}));
        QVERIFY(!s.moveUp(0));
        QVERIFY(!s.moveDown(2));
        QVERIFY(!s.moveDown(-1));
    }

    void longRunsShowAt101Rows() {
        AnimationSchedule s;
        for (int i = 0; i < 150; ++i) s[i] = entry(1, 1.0f, 10);
        QCOMPARE(s.runLength(), 150);
        QCOMPARE(s.rowCount(), 101);
        QCOMPARE(s.add(1, 0, false, 20), -1);
    }

    void fileRoundTripIsByteIdentical() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("AniSet.Dat"));
        AnimationSchedule s;
        for (int k = 1; k <= 19; ++k) s.add(k, s.rowCount() - 1, false, 15);
        s[3].setDuration(0.7f);
        s[5][slot::StarColour] = 0x123456;
        // Entries behind the end keep their data through the file.
        s[19] = entry(0, 9.5f, 30);
        s[19][slot::SnowCount] = -77;
        s[199] = entry(12, 3.5f, 25);
        s[120].values.fill(-1);
        s[120].setKind(0);
        QVERIFY(writeScheduleFile(path, s));
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes.size(), 90030);
        QCOMPARE(bytes.left(26), QByteArray("Vakuro Animetion Setting  "));
        QCOMPARE(bytes.mid(26, 4), QByteArray("\x84\x00\x00\x00", 4));  // 132
        QCOMPARE(bytes.mid(30, 400), QByteArray(400, '\0'));
        // Entry 3 starts at 430 + 3 * 448; its slot 1 holds 0.7f.
        float d;
        std::memcpy(&d, bytes.constData() + 430 + 3 * 448 + 4, 4);
        QCOMPARE(d, 0.7f);

        AnimationSchedule back;
        QCOMPARE(readScheduleFile(path, back), ScheduleFileStatus::Read);
        QVERIFY(back.entries == s.entries);
        const QString again = dir.filePath(QStringLiteral("again.Dat"));
        QVERIFY(writeScheduleFile(again, back));
        QCOMPARE(readAll(again), bytes);
    }

    void unacceptableFilesLeaveAnEmptySchedule_data() {
        QTest::addColumn<QByteArray>("change");
        QTest::addColumn<int>("status");
        QTest::newRow("format 131") << QByteArray("format131") << int(ScheduleFileStatus::WrongFormat);
        QTest::newRow("signature") << QByteArray("signature") << int(ScheduleFileStatus::WrongSignature);
        QTest::newRow("cut off") << QByteArray("short") << int(ScheduleFileStatus::Short);
        QTest::newRow("missing") << QByteArray("missing") << int(ScheduleFileStatus::Missing);
    }
    void unacceptableFilesLeaveAnEmptySchedule() {
        QFETCH(QByteArray, change);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("AniSet.Dat"));
        AnimationSchedule s;
        for (int k = 1; k <= 5; ++k) s.add(k, s.rowCount() - 1, false, 20);
        QByteArray bytes = encodeScheduleFile(s);
        if (change == "format131") bytes[26] = char(131);
        if (change == "signature") bytes[0] = 'W';
        if (change == "short") bytes.chop(1);
        if (change != "missing") writeAll(path, bytes);
        AnimationSchedule read;
        for (int i = 0; i < 5; ++i) read[i] = entry(1, 1.0f, 1);
        QCOMPARE(int(readScheduleFile(path, read)), status);
        QCOMPARE(read.rowCount(), 0);
    }

    void aFailedWriteLeavesNothingBehind() {
        // The target is a folder: the temporary file cannot be renamed over
        // it, so the write fails and leaves the folder as it was.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("AniSet.Dat"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("AniSet.Dat")));
        writeAll(path + QStringLiteral("/inside"), QByteArray("kept"));
        AnimationSchedule s;
        s.add(4, -1, false, 20);
        QVERIFY(!writeScheduleFile(path, s));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("AniSet.Dat")});
        QCOMPARE(readAll(path + QStringLiteral("/inside")), QByteArray("kept"));
        // A missing folder: false, nothing written.
        QVERIFY(!writeScheduleFile(dir.filePath(QStringLiteral("missing/AniSet.Dat")), s));
    }

    void durationChoicesFollowTheKind() {
        const QList<DurationChoice> usual = durationChoices(3);
        QCOMPARE(usual.size(), 44);
        QCOMPARE(usual.first().text, QStringLiteral(" 0.1 秒"));
        QCOMPARE(usual.first().tag, 1);
        QCOMPARE(usual[29].text, QStringLiteral(" 3.0 秒"));
        QCOMPARE(usual[30].text, QStringLiteral(" 3.5 秒"));
        QCOMPARE(usual.last().text, QStringLiteral("10.0 秒"));
        QCOMPARE(usual.last().tag, 100);
        for (int kind : {10, 16}) {
            const QList<DurationChoice> whole = durationChoices(kind);
            QCOMPARE(whole.size(), 30);
            QCOMPARE(whole.first().text, QStringLiteral(" 1.0 秒"));
            QCOMPARE(whole.first().tag, 10);
            QCOMPARE(whole.last().text, QStringLiteral("30.0 秒"));
        }
        QCOMPARE(durationFromChoiceText(QStringLiteral(" 0.7 秒")), 0.7f);
        QCOMPARE(durationFromChoiceText(QStringLiteral("12.0 秒")), 12.0f);
    }

    void catalogueNamesAndNotes() {
        QCOMPARE(kindListNames().size(), 19);
        QCOMPARE(kindListName(1), QStringLiteral("文字表示"));
        QCOMPARE(kindListName(19), QStringLiteral("フリームーブ"));
        QCOMPARE(kindListName(-1), QStringLiteral("(新規)"));
        QCOMPARE(kindListName(20), QString());
        QCOMPARE(kindDescription(3), QStringLiteral("文字が徐々に現れてきます"));
        QCOMPARE(kindDescription(14), QStringLiteral("右から1文字づつ流れてきます\r\n\r\n"
                                                     "注意：太さ拡張、輪郭線、影が設定されていると正常に表示出来ない場合があります"));
    }

    // n = round(D * F - 1) (halves to even), 0 raised to 1; d = round(100 / F).
    void entryTiming_data() {
        QTest::addColumn<float>("seconds");
        QTest::addColumn<int>("fps");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("d");
        QTest::newRow("2.0 s at 10") << 2.0f << 10 << 19 << 10;
        QTest::newRow("0.1 s at 10: 0 becomes 1") << 0.1f << 10 << 1 << 10;
        QTest::newRow("0.1 s at 1") << 0.1f << 1 << -1 << 100;
        QTest::newRow("0.1 s at 2") << 0.1f << 2 << -1 << 50;
        QTest::newRow("0.5 s at 5: 1.5 rounds to 2") << 0.5f << 5 << 2 << 20;
        QTest::newRow("0.3 s at 5") << 0.3f << 5 << 1 << 20;
        QTest::newRow("d of 15 fps is 7") << 1.0f << 15 << 14 << 7;
        QTest::newRow("d of 30 fps is 3") << 1.0f << 30 << 29 << 3;
        QTest::newRow("fps 0 counts as 1") << 2.0f << 0 << 1 << 100;
        QTest::newRow("a duration of 1e9 counts as 30 s") << 1e9f << 1 << 29 << 100;
        QTest::newRow("NaN counts as 0 s") << std::numeric_limits<float>::quiet_NaN() << 10 << -1 << 10;
    }
    void entryTiming() {
        QFETCH(float, seconds);
        QFETCH(int, fps);
        QFETCH(int, n);
        QFETCH(int, d);
        const EntryTiming t = vakuro::entryTiming(entry(3, seconds, fps));
        QCOMPARE(t.n, n);
        QCOMPARE(t.delay, d);
    }

    void frameCountsByKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<float>("seconds");
        QTest::addColumn<int>("fps");
        QTest::addColumn<int>("frames");
        QTest::newRow("text still") << 1 << 2.0f << 10 << 1;
        QTest::newRow("background still") << 2 << 0.1f << 1 << 1;
        QTest::newRow("fade-in n = 19") << 3 << 2.0f << 10 << 20;
        QTest::newRow("fade-out below half a frame") << 4 << 0.1f << 2 << 0;
        QTest::newRow("splash-in n + 2") << 5 << 2.0f << 10 << 21;
        QTest::newRow("splash-in below half a frame") << 5 << 0.1f << 1 << 0;
        QTest::newRow("spin n") << 12 << 2.0f << 10 << 19;
        QTest::newRow("snow n + 1") << 10 << 2.0f << 10 << 20;
        QTest::newRow("free move n + 1") << 19 << 1.0f << 20 << 20;
        QTest::newRow("flash blinks 2 x count") << 9 << 2.0f << 10 << 4;
        QTest::newRow("flash below half a frame still blinks") << 9 << 0.1f << 1 << 4;
        QTest::newRow("unknown kind") << 25 << 2.0f << 10 << 0;
    }
    void frameCountsByKind() {
        QFETCH(int, kind);
        QFETCH(float, seconds);
        QFETCH(int, fps);
        QFETCH(int, frames);
        QCOMPARE(entryFrameCount(entry(kind, seconds, fps)), int64_t{frames});
    }

    void pulseFlashFramesComeInWholePulses() {
        // n = 19: L = round(20 / 3) = 7 frames per pulse, 3 pulses.
        ScheduleEntry e = entry(9, 2.0f, 10);
        e[slot::FlashType] = 1;
        e[slot::FlashCount] = 3;
        QCOMPARE(entryFrameCount(e), int64_t{21});
        // Fewer frames than half the count: L = round(2 / 5) = 0, none.
        e.setDuration(0.2f);
        e[slot::FlashCount] = 5;
        QCOMPARE(entryFrameCount(e), int64_t{0});
    }

    void weightedTotal() {
        // Text 1 + fade 2.0 x 10 = 20 + pulse 1.0 x 10 x 10 = 100 + blink
        // count 3 + free move 10 x 1.0 x 2 = 20: 144.
        AnimationSchedule s;
        s[0] = entry(1, 5.0f, 30);
        s[1] = entry(3, 2.0f, 10);
        s[2] = entry(9, 1.0f, 10);
        s[2][slot::FlashType] = 1;
        s[3] = entry(9, 1.0f, 10);
        s[3][slot::FlashCount] = 3;
        s[4] = entry(19, 1.0f, 10);
        QCOMPARE(weightedFrameTotal(s, 5), int64_t{144});
        QCOMPARE(weightedFrameTotal(s, 2), int64_t{21});
        // Halves round to even as the sum is formed: 0.5 s at 1 fps twice
        // gives round(0 + 0.5) = 0, then round(0 + 0.5) = 0; after a text
        // entry, round(1 + 0.5) = 2 and round(2 + 0.5) = 2.
        AnimationSchedule halves;
        halves[0] = entry(3, 0.5f, 1);
        halves[1] = entry(3, 0.5f, 1);
        QCOMPARE(weightedFrameTotal(halves, 2), int64_t{0});
        halves[0] = entry(1, 0.5f, 1);
        halves[1] = entry(3, 0.5f, 1);
        halves[2] = entry(3, 0.5f, 1);
        QCOMPARE(weightedFrameTotal(halves, 3), int64_t{2});
    }

    void splashTables() {
        EffectState effects;
        buildSplashTables(effects);
        QCOMPARE(effects.splashDelay[1][0][0], 0.4f);
        // D = 2, "01-03-02-04": rows (0.1 + 1 x 0.2, 0.1 + 3 x 0.2) and (0.1 + 2 x 0.2, 0.1 + 4 x 0.2).
        QVERIFY(qFuzzyCompare(effects.splashDelay[2][0][0], 0.3f));
        QVERIFY(qFuzzyCompare(effects.splashDelay[2][0][1], 0.7f));
        QVERIFY(qFuzzyCompare(effects.splashDelay[2][1][0], 0.5f));
        QVERIFY(qFuzzyCompare(effects.splashDelay[2][1][1], 0.9f));
        // D = 4: the last cell has k = 14: 0.1 + 14 x 0.1.
        QVERIFY(qFuzzyCompare(effects.splashDelay[4][3][3], 1.5f));
    }
};

QTEST_MAIN(ScheduleTest)
#include "schedule_test.moc"
