// Command-line animation output, run as the real program with a time limit
// per run (a hang fails), a fresh data folder and temporary folder: the exit
// status says whether the file was written, messages go to standard error,
// and no file is left after a failure.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>


#include "animation_fixture.h"
#include "render_pipeline.h"
#include "schedule.h"
#include "settings_store.h"
#include "shared_routines.h"
#include "style_data.h"
#include "support.h"
#include "webp_decoding.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

struct Result {
    int status = -1;
    QString errors;
};

class Program {
public:
    Program() {
        writeIni("[Setting]\r\nText='Hello'\r\n");
    }

    void writeIni(const QByteArray& content) {
        QFile ini(home.filePath(QStringLiteral("Vakuro.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(content);
    }

    void writeSchedule(const AnimationSchedule& s) {
        QVERIFY(writeScheduleFile(home.filePath(QStringLiteral("AniSet.Dat")), s));
    }

    Result run(const QStringList& arguments) {
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/vakuro");
        Result r;
        QProcess p;
        p.setWorkingDirectory(out.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VAKURO_HOME"), home.path());
        env.insert(QStringLiteral("TMPDIR"), temp.path());
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        p.setProcessEnvironment(env);
        p.start(program, arguments);
        if (!p.waitForFinished(120000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.errors = QString::fromLocal8Bit(p.readAllStandardError());
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return r;
    }

    QString file(const QString& name) const { return out.filePath(name); }

    EnvironmentRestorer environment;
    QTemporaryDir home;
    QTemporaryDir temp;
    QTemporaryDir out;
};

imgctl_test::DecodedGif decode(const QString& path) { return imgctl_test::decodeGif(QFile::encodeName(path).toStdString()); }

// The size the animation command gives: half the rendering minus 4, rounded.
QSize animationSize(const QString& text) {
    AnimationFixture f;
    RenderPipeline pipeline(*f.state);
    PavrexStyleDefaults(&f.state->style);
    pipeline.RenderTextImage(text, 0, f.out(QStringLiteral("r.bmp")), 0, 1);
    const QImage r = pipeline.holder();
    return {RoundHalfEven(r.width() * 0.5 - 4), RoundHalfEven(r.height() * 0.5 - 4)};
}

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/vakuro")))
            QSKIP("the program is not built");
    }

    void writesTheStoredSchedule() {
        Program p;
        p.writeSchedule(scheduleOf({entryOf(3, 1.0f, 10), entryOf(1, 0.5f, 10)}));
        const QString gif = p.file(QStringLiteral("a.gif"));
        const Result r = p.run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/A"), gif});
        QCOMPARE(r.status, 0);
        const auto decoded = decode(gif);
        QVERIFY2(decoded.ok, decoded.error.c_str());
        QCOMPARE(decoded.frames.size(), size_t(11));
        QCOMPARE(decoded.frames[0].delay, 10);
        QCOMPARE(decoded.frames[10].delay, 50);
        QCOMPARE(QSize(decoded.width, decoded.height), animationSize(QStringLiteral("ABC")));
        QCOMPARE(IniRead(p.home.filePath(QStringLiteral("Vakuro.ini")), QStringLiteral("Setting"),
                         QStringLiteral("GifAnimeOutFile"), QString()),
                 gif);
    }

    void storedTextWithSAndARelativeFile() {
        Program p;
        p.writeSchedule(scheduleOf({entryOf(1, 1.0f, 10)}));
        const Result r = p.run({QStringLiteral("/S"), QStringLiteral("1"), QStringLiteral("/a"), QStringLiteral("rel.gif")});
        QCOMPARE(r.status, 0);
        const auto decoded = decode(p.file(QStringLiteral("rel.gif")));
        QVERIFY(decoded.ok);
        QCOMPARE(QSize(decoded.width, decoded.height), animationSize(QStringLiteral("Hello")));
    }

    void webpWithBackTransHasSoftAlpha() {
        // /A with a .webp name and BackTrans: in the last frame the text's
        // anti-aliased edges and shadow are partly transparent, the
        // background clear.
        Program p;
        p.writeIni("[Setting]\r\nText='Hello'\r\n[Anime]\r\nBackTrans=1\r\n");
        p.writeSchedule(scheduleOf({entryOf(3, 0.5f, 10), entryOf(1, 0.5f, 10)}));
        const QString path = p.file(QStringLiteral("a.webp"));
        const Result r = p.run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/A"), path});
        QCOMPARE(r.status, 0);
        const DecodedWebP d = decodeWebP(path);
        QCOMPARE(QSize(d.width, d.height), animationSize(QStringLiteral("ABC")));
        // The fade's last frame and the still are one picture: the encoder
        // merges them, keeping the time.
        QVERIFY(d.frames.size() >= 2);
        QCOMPARE(d.ends.back(), 1000);
        const std::vector<uint8_t>& last = d.frames.back();
        int clear = 0, soft = 0, opaque = 0;
        for (size_t i = 3; i < last.size(); i += 4) (last[i] == 0 ? clear : last[i] == 255 ? opaque : soft)++;
        QCOMPARE(int(last[3]), 0);
        QVERIFY2(soft > 50 && opaque > 50 && clear > opaque,
                 qPrintable(QStringLiteral("clear %1 soft %2 opaque %3").arg(clear).arg(soft).arg(opaque)));
    }

    void failuresExitWith1AndLeaveNoFile_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("message");
        QTest::newRow("no schedule file") << "missing" << "アニメーションスケジュールを読み込めませんでした";
        QTest::newRow("unreadable schedule") << "format131" << "アニメーションスケジュールを読み込めませんでした";
        QTest::newRow("empty schedule") << "empty" << "アニメーションスケジュールが空です";
        QTest::newRow("over 900") << "total" << "データ量が多すぎます！";
        QTest::newRow("vertical drop") << "vertical" << "縦書き書式での「ﾄﾞﾛｯﾌﾟ」「ｽﾗｲﾄﾞ」「ﾄﾗﾝﾌﾟ」には対応していません";
        QTest::newRow("cannot write") << "write" << "ファイルに書き込めませんでした";
    }
    void failuresExitWith1AndLeaveNoFile() {
        QFETCH(QString, failure);
        QFETCH(QString, message);
        Program p;
        QString gif = p.file(QStringLiteral("f.gif"));
        if (failure == QStringLiteral("format131")) {
            QByteArray bytes = encodeScheduleFile(scheduleOf({entryOf(1, 1.0f, 10)}));
            bytes[26] = char(131);
            QFile file(p.home.filePath(QStringLiteral("AniSet.Dat")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        } else if (failure == QStringLiteral("empty")) {
            p.writeSchedule(AnimationSchedule{});
        } else if (failure == QStringLiteral("total")) {
            // Four fades of 10 s at 30 fps: 1200 weighted frames.
            p.writeSchedule(scheduleOf({entryOf(3, 10.0f, 30), entryOf(3, 10.0f, 30), entryOf(4, 10.0f, 30),
                                        entryOf(4, 10.0f, 30)}));
        } else if (failure == QStringLiteral("vertical")) {
            PavrexStyle style;
            PavrexStyleDefaults(&style);
            style.Vertical = 1;
            QVERIFY(writeStyleData(p.home.filePath(QStringLiteral("Vakuro.Dat")), style));
            p.writeSchedule(scheduleOf({entryOf(13, 1.0f, 10)}));
        } else if (failure == QStringLiteral("write")) {
            p.writeSchedule(scheduleOf({entryOf(1, 1.0f, 10)}));
            gif = p.file(QStringLiteral("missing/f.gif"));
        }
        const Result r = p.run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/A"), gif});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.errors.contains(message), qPrintable(r.errors));
        QVERIFY(r.errors.contains(QStringLiteral("ファイルは出力されませんでした")));
        QVERIFY(!QFile::exists(gif));
        QCOMPARE(QDir(p.out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void aFailureKeepsAnEarlierFile() {
        Program p;
        const QString gif = p.file(QStringLiteral("keep.gif"));
        {
            QFile old(gif);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier");
        }
        p.writeSchedule(AnimationSchedule{});
        QCOMPARE(p.run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/A"), gif}).status, 1);
        QFile kept(gif);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("earlier"));
    }
};

QTEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
