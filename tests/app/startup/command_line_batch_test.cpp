// Command-line file output ("/T", "/F", "/S"), run as the real program with
// a fresh data folder and temporary folder and without a display: it opens
// no window, waits for nothing, tells standard error why nothing was written
// and says so in its exit status. Each case is its own CTest test with a
// time limit of 20 s, and each run is also killed after 15 s, so a hang
// fails instead of blocking.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "command_line_output.h"
#include "cp932_qstring.h"
#include "library_binding.h"
#include "program_paths.h"
#include "pavrex.h"
#include "settings_store.h"
#include "startup.h"
#include "style_data.h"

using namespace vakuro;

namespace {

struct Result {
    int status = -1;  // -1: killed or crashed
    QString errors;
};

class Program {
public:
    Program() { writeIni("[Setting]\r\nText='Hello'\r\n"); }

    void writeIni(const QByteArray& content) {
        QFile ini(home.filePath(QStringLiteral("Vakuro.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(content);
    }

    void writeStyleDataFile(const QByteArray& content) {
        QFile dat(home.filePath(QStringLiteral("Vakuro.Dat")));
        QVERIFY(dat.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dat.write(content);
    }

    Result run(const QStringList& arguments) {
        Result r;
        QProcess p;
        p.setWorkingDirectory(out.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VAKURO_HOME"), home.path());
        env.insert(QStringLiteral("TMPDIR"), temp.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vakuro"), arguments);
        if (!p.waitForFinished(15000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.errors = QString::fromLocal8Bit(p.readAllStandardError());
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return r;
    }

    QString file(const QString& name) const { return out.filePath(name); }
    QString storedText() const {
        return IniRead(home.filePath(QStringLiteral("Vakuro.ini")), QStringLiteral("Setting"), QStringLiteral("Text"),
                       QString());
    }

    QTemporaryDir home;
    QTemporaryDir temp;
    QTemporaryDir out;
    QTemporaryDir config;
};

// Counts the windows shown while it lives.
class ShownWindows : public QObject {
public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }
    QStringList names;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget != nullptr && widget->isWindow()) names << widget->objectName();
        return false;
    }
};

// Sets an environment variable for its lifetime.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QString& value) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnvironment() {
        if (had_) qputenv(name_, old_);
        else qunsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray defaultRecord(const char* signature) {
    PavrexStyle style;
    PavrexStyleDefaults(&style);
    std::memcpy(style.Signature, signature, sizeof style.Signature);
    return QByteArray(reinterpret_cast<const char*>(&style), sizeof style);
}

}  // namespace

class CommandLineBatchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/vakuro")))
            QSKIP("the program is not built");
    }

    // In the program's own process: the start routine and the output show
    // no window (no title screen although it is not skipped, no main window,
    // no dialog, no preview), and the engine renders only the output: the
    // size of the current image, which the output's size fields start from,
    // is measured without drawing.
    void showsNoWindowAndRendersOnlyTheOutput_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("renders");
        QTest::newRow("smoothing") << QByteArray("[Setting]\r\nFileOutSmooth=1\r\n") << 1;
        QTest::newRow("no smoothing") << QByteArray("[Setting]\r\nFileOutSmooth=0\r\n") << 1;
        QTest::newRow("smoothing, high-quality preview") << QByteArray("[Setting]\r\nFileOutSmooth=1\r\nHiPreView=1\r\n") << 1;
    }
    void showsNoWindowAndRendersOnlyTheOutput() {
        QFETCH(QByteArray, ini);
        QFETCH(int, renders);
        Program p;
        p.writeIni(ini + "FileOutPreView=1\r\n");
        const ScopedEnvironment home("VAKURO_HOME", p.home.path());
        const ScopedEnvironment temp("TMPDIR", p.temp.path());
        const ScopedEnvironment config("XDG_CONFIG_HOME", p.config.path());
        Libraries libraries;
        QString error;
        QVERIFY2(bindLibraries(ProgramFolder(), libraries, error), qPrintable(error));
        ProgramState state(libraries, SettingsPath());
        const QString gif = p.file(QStringLiteral("w.gif"));
        ShownWindows shown;
        const StartupResult start = runStartRoutine(state, {QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/F"), gif});
        QCOMPARE(start.next, StartupResult::Next::Batch);
        int made = 0;
        QCOMPARE(runCommandLineFileOutput(state, start.commandLine.t, start.commandLine.f, QDir::currentPath(), &made), 0);
        QVERIFY2(shown.names.isEmpty(), qPrintable(shown.names.join(QLatin1Char(' '))));
        QCOMPARE(made, renders);
        QVERIFY(QFile::exists(gif));
        QCOMPARE(IniRead(SettingsPath(), QStringLiteral("Setting"), QStringLiteral("FileOutPreView"), QString()),
                 QStringLiteral("1"));
        // Nothing written outside the data folder: no record of the program
        // folder in the user's configuration.
        QVERIFY(QDir(p.config.path()).isEmpty());
    }

    // A style data file with a wrong signature: the message goes to standard
    // error and the record read stays in effect, as in a window session.
    void damagedStyleDataWrongSignature() {
        Program p;
        p.writeStyleDataFile(defaultRecord("Not a settings file!"));
        const Result r = p.run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/F"), QStringLiteral("a.bmp")});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.errors.contains(QStringLiteral("Setting File Error!")), qPrintable(r.errors));
        QVERIFY(QImage(p.file(QStringLiteral("a.bmp"))).width() > 10);
        // Closing stores the record again, now with its signature.
        PavrexStyle stored;
        QCOMPARE(readStyleData(p.home.filePath(QStringLiteral("Vakuro.Dat")), stored), StyleDataStatus::Read);
        QVERIFY(hasStyleSignature(stored));
    }

    // Random bytes in every field: whatever the engine makes of the record,
    // the run ends, reports the damaged file, and its status matches the
    // file.
    void damagedStyleDataRandomBytes_data() {
        QTest::addColumn<quint32>("seed");
        QTest::newRow("seed 1") << 1u;
        QTest::newRow("seed 2") << 2u;
        QTest::newRow("seed 3") << 3u;
    }
    void damagedStyleDataRandomBytes() {
        QFETCH(quint32, seed);
        Program p;
        QRandomGenerator random(seed);
        QByteArray bytes(PAVREX_STYLE_SIZE, '\0');
        for (char& b : bytes) b = static_cast<char>(random.bounded(256));
        p.writeStyleDataFile(bytes);
        const QString gif = p.file(QStringLiteral("r.gif"));
        const Result r = p.run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/F"), gif});
        QVERIFY2(r.status == 0 || r.status == 1, qPrintable(QStringLiteral("status %1").arg(r.status)));
        QVERIFY2(r.errors.contains(QStringLiteral("Setting File Error!")), qPrintable(r.errors));
        QCOMPARE(QFile::exists(gif), r.status == 0);
        if (r.status == 1) QVERIFY2(r.errors.contains(QStringLiteral("ファイルは出力されませんでした")), qPrintable(r.errors));
    }

    // Another instance holds the lock: status 1, a message, no file.
    void secondInstance() {
        Program p;
        const auto lock = lockSingleInstance(p.home.path() + QLatin1Char('/'));
        QVERIFY(lock);
        const QString gif = p.file(QStringLiteral("b.gif"));
        const Result r = p.run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/F"), gif});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.errors.contains(QStringLiteral("既に起動しています")), qPrintable(r.errors));
        QVERIFY(!QFile::exists(gif));
    }

    // A lock file left behind by an instance that ended (or crashed) locks
    // nothing.
    void leftoverLockFile() {
        Program p;
        QFile leftover(p.home.filePath(QStringLiteral("Vakuro.lock")));
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.write("99999\nvakuro\nsomewhere\n");
        leftover.close();
        const QString gif = p.file(QStringLiteral("c.gif"));
        const Result r = p.run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/F"), gif});
        QCOMPARE(r.status, 0);
        QVERIFY(QFile::exists(gif));
    }

    // An empty "/T" never takes the next switch: the stored text is
    // written, the same picture as the stored text given on the line.
    void emptyText_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("empty quotes") << QStringList{QStringLiteral("/T"), QString(), QStringLiteral("/F"), QStringLiteral("e.gif")};
        QTest::newRow("switch after switch") << QStringList{QStringLiteral("/T"), QStringLiteral("/F"), QStringLiteral("e.gif")};
        QTest::newRow("trailing switch") << QStringList{QStringLiteral("/F"), QStringLiteral("e.gif"), QStringLiteral("/T")};
    }
    void emptyText() {
        QFETCH(QStringList, arguments);
        Program p;
        Result r = p.run({QStringLiteral("/T"), QStringLiteral("Hello"), QStringLiteral("/F"), QStringLiteral("ref.gif")});
        QCOMPARE(r.status, 0);
        r = p.run(arguments);
        QVERIFY2(r.status == 0, qPrintable(r.errors));
        const QByteArray written = readAll(p.file(QStringLiteral("e.gif")));
        QVERIFY(!written.isEmpty());
        QCOMPARE(written, readAll(p.file(QStringLiteral("ref.gif"))));
        QCOMPARE(p.storedText(), QStringLiteral("Hello"));
        QVERIFY(!QFile::exists(p.file(QStringLiteral("/F"))));
    }

    // No text at all (an empty "/T" and an empty stored text): status 1.
    void noTextAtAll() {
        Program p;
        p.writeIni("[Setting]\r\nText=''\r\n");
        const QString gif = p.file(QStringLiteral("n.gif"));
        const Result r = p.run({QStringLiteral("/T"), QString(), QStringLiteral("/F"), gif});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.errors.contains(QStringLiteral("文字が指定されていません")), qPrintable(r.errors));
        QVERIFY(!QFile::exists(gif));
    }

    // 127 kana (254 bytes, within the engine's limit) make an image wider
    // than the output allows: the size check sees the computed width, not
    // its first four digits, and refuses with the dialog's message.
    void longText_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::newRow("as a button") << QByteArray("[Setting]\r\nFileOutButton=1\r\n");
        QTest::newRow("without a button") << QByteArray("[Setting]\r\nFileOutButton=0\r\n");
        QTest::newRow("aspect off, stored sizes") << QByteArray(
            "[Setting]\r\nFileOutButton=0\r\nFileOutRateFlg=0\r\nFileOutTextW=123456\r\nFileOutTextH=100\r\n");
    }
    void longText() {
        QFETCH(QByteArray, ini);
        Program p;
        p.writeIni(ini);
        const QString text(127, QChar(0x3042));
        QCOMPARE(toCp932(text)->size(), 254);
        const QString gif = p.file(QStringLiteral("long.gif"));
        const Result r = p.run({QStringLiteral("/T"), text, QStringLiteral("/F"), gif});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.errors.contains(QStringLiteral("出力サイズが大き過ぎます")), qPrintable(r.errors));
        QVERIFY(!QFile::exists(gif));
    }
};

QTEST_MAIN(CommandLineBatchTest)
#include "command_line_batch_test.moc"
