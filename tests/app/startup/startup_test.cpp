#include <QTemporaryDir>
#include <QtTest>

#include "command_line.h"
#include "program_paths.h"
#include "settings_store.h"
#include "library_binding.h"
#include "startup.h"
#include "style_data.h"
#include "title_screen.h"

using namespace vakuro;

namespace {

// Sets an environment variable for the life of the object, then restores
// (or removes) it, so that later tests see the environment they started with.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name), wasSet_(qEnvironmentVariableIsSet(name)) {
        if (wasSet_) old_ = qgetenv(name);
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (wasSet_) qputenv(name_, old_);
        else qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray old_;
};

// Counts the paint events of the widgets with the given object name.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QString objectName) : name_(std::move(objectName)) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~PaintCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    qsizetype count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->objectName() == name_) ++count;
        return false;
    }

private:
    QString name_;
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("t");
        QTest::addColumn<QString>("f");
        QTest::addColumn<bool>("batch");
        QTest::newRow("text and file") << QStringList{"/T", "ABC", "/F", "C:\\out\\a.gif"} << "" << "ABC"
                                       << "C:\\out\\a.gif" << true;
        QTest::newRow("quoted words") << QStringList{"/T", "two words"} << "" << "two words" << "" << true;
        QTest::newRow("switch alone") << QStringList{"/S"} << "" << "" << "" << false;
        QTest::newRow("any case") << QStringList{"/t", "abc", "/f", "x.bmp"} << "" << "abc" << "x.bmp" << true;
        QTest::newRow("unix path is not a switch")
            << QStringList{"/F", "/tmp/Tsuki.gif"} << "" << "" << "/tmp/Tsuki.gif" << true;
        QTest::newRow("stored output") << QStringList{"/S", "1"} << "1" << "" << "" << true;
        QTest::newRow("empty") << QStringList{} << "" << "" << "" << false;
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        const CommandLine c = parseCommandLine(joinArguments(arguments));
        QTEST(c.s, "s");
        QTEST(c.t, "t");
        QTEST(c.f, "f");
        QTEST(c.requestsBatch(), "batch");
    }

    void unclosedQuoteGivesNothing() {
        QCOMPARE(switchValue(QStringLiteral("/T \"open ended"), QStringLiteral("/T")), QString());
    }

    void heightLimit() {
        QCOMPARE(mainWindowHeightLimit(10000), 7120);
        QCOMPARE(mainWindowHeightLimit(11379), 8499);
        QCOMPARE(mainWindowHeightLimit(11380), 8500);
        QCOMPARE(mainWindowHeightLimit(16200), 8500);
    }

    void optionDefaultsAndValues() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Vakuro.ini"));
        ProgramOptions o = readOptions(ini);
        QCOMPARE(o.highQualityPreview, 0);
        QCOMPARE(o.clipSmooth, 1);
        QCOMPARE(o.clipScaleIndex, 1);
        QCOMPARE(o.clipMetaFile, 0);
        QCOMPARE(o.japaneseFontsOnly, 0);
        QCOMPARE(o.charSplitType, 0);
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[setting]\r\nhipreview=1\r\nClipScaleIndex=3\r\n[Anime]\r\nGifAnimeChrSpType=1\r\n");
        f.close();
        o = readOptions(ini);
        QCOMPARE(o.highQualityPreview, 1);
        QCOMPARE(o.clipScaleIndex, 3);
        QCOMPARE(o.charSplitType, 1);
    }

    void styleDataRoundTripAndShortFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Vakuro.Dat"));
        PavrexStyle style;
        PavrexStyleDefaults(&style);
        QCOMPARE(readStyleData(path, style), StyleDataStatus::Missing);
        style.FillType = 4;
        style.CharGap[39] = -7;
        std::memcpy(style.Signature, "Vakuro SettingFile  ", 20);
        QVERIFY(writeStyleData(path, style));
        QCOMPARE(QFileInfo(path).size(), 4148);
        PavrexStyle back;
        PavrexStyleDefaults(&back);
        QCOMPARE(readStyleData(path, back), StyleDataStatus::Read);
        QCOMPARE(std::memcmp(&back, &style, sizeof style), 0);
        QVERIFY(hasStyleSignature(back));

        // A short file leaves the defaults untouched.
        QFile f(path);
        QVERIFY(f.resize(4000));
        PavrexStyle defaults;
        PavrexStyleDefaults(&defaults);
        PavrexStyle read = defaults;
        QCOMPARE(readStyleData(path, read), StyleDataStatus::Short);
        QCOMPARE(std::memcmp(&read, &defaults, sizeof read), 0);
        loadLastStyle(path, read, false);
        QCOMPARE(std::memcmp(&read, &defaults, sizeof read), 0);
    }

    void wrongSignatureKeepsWhatWasRead() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Vakuro.Dat"));
        PavrexStyle style{};
        style.FillType = 2;
        QVERIFY(writeStyleData(path, style));
        PavrexStyle read;
        PavrexStyleDefaults(&read);
        loadLastStyle(path, read, false);
        QVERIFY(!hasStyleSignature(read));
        QCOMPARE(read.FillType, 2);
    }

    void secondInstanceIsRefusedAndStaleLockTakenOver() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        auto first = lockSingleInstance(folder);
        QVERIFY(first);
        QVERIFY(!lockSingleInstance(folder));
        first.reset();
        QVERIFY(lockSingleInstance(folder));
    }

    void missingLibraryIsNamed() {
        QTemporaryDir dir;
        Libraries libraries;
        QString error;
        QVERIFY(!bindLibraries(dir.path() + QLatin1Char('/'), libraries, error));
        QVERIFY2(error.contains(QStringLiteral("libPavrex.so")), qPrintable(error));
    }

    void libraryWithoutAnExportIsNamed() {
        QTemporaryDir dir;
        // The effects library under the engine's name lacks the engine's exports.
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/libTesmor32.so"),
                            dir.filePath(QStringLiteral("libPavrex.so"))));
        Libraries libraries;
        QString error;
        QVERIFY(!bindLibraries(dir.path() + QLatin1Char('/'), libraries, error));
        QVERIFY2(error.contains(QStringLiteral("ImgMake")) && error.contains(QStringLiteral("libPavrex.so")),
                 qPrintable(error));
    }

    void realLibrariesBind() {
        Libraries libraries;
        QString error;
        QVERIFY2(bindLibraries(QCoreApplication::applicationDirPath() + QLatin1Char('/'), libraries, error),
                 qPrintable(error));
        QVERIFY(libraries.engine.PavrexVer(0) >= 121);
        QVERIFY(libraries.effects.TesmorVer(0) >= 126);
    }

    void startRoutineWithAndWithoutTitle() {
        QTemporaryDir home, config;
        const ScopedEnv homeEnv("VAKURO_HOME", home.path().toLocal8Bit());
        const ScopedEnv configEnv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        Libraries libraries;
        QString error;
        QVERIFY(bindLibraries(QCoreApplication::applicationDirPath() + QLatin1Char('/'), libraries, error));
        ProgramState state(libraries, SettingsPath());
        // With VAKURO_HOME set, the per-user settings stay inside it.
        const QString registry = home.filePath(QStringLiteral("Korvel/Vakuro.conf"));

        IniWrite(SettingsPath(), QStringLiteral("Setting"), QStringLiteral("TitleSkip"), QStringLiteral("1"));
        IniWrite(SettingsPath(), QStringLiteral("Setting"), QStringLiteral("HiPreView"), QStringLiteral("1"));
        StartupResult r = runStartRoutine(state, {QStringLiteral("/S")});
        QCOMPARE(r.next, StartupResult::Next::OpenMainWindow);
        QVERIFY(!QFile::exists(registry));
        QCOMPARE(state.options.highQualityPreview, 1);
        QCOMPARE(state.style.ThickenX, 3);

        IniWrite(SettingsPath(), QStringLiteral("Setting"), QStringLiteral("TitleSkip"), QStringLiteral("0"));
        // The title screen belongs to the interactive start (command-line
        // output shows none: command_line_batch_test). It runs its slide: one
        // repaint per step, counted by an event filter rather than by the
        // time the slide takes.
        PaintCounter titlePaints(QStringLiteral("Title"));
        r = runStartRoutine(state, {});
        QVERIFY2(titlePaints.count >= Title::slideSteps().size(), qPrintable(QString::number(titlePaints.count)));
        QCOMPARE(r.next, StartupResult::Next::OpenMainWindow);
        QSettings stored(registry, QSettings::NativeFormat);
        QCOMPARE(stored.value(QStringLiteral("Vakuro/InstallDir")).toString() + QLatin1Char('/'), ProgramFolder());
        QVERIFY(!QFile::exists(config.filePath(QStringLiteral("Korvel/Vakuro.conf"))));
    }

    void titleJingleAndSlide() {
        QCOMPARE(Title::jingleFor(0.0), 101);
        QCOMPARE(Title::jingleFor(0.85), 101);
        QCOMPARE(Title::jingleFor(0.86), 102);
        QCOMPARE(Title::jingleFor(0.97), 102);
        QCOMPARE(Title::jingleFor(0.99), 103);
        const QList<int> steps = Title::slideSteps();
        QCOMPARE(steps.size(), 61);
        QCOMPARE(steps.last(), 13500);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
