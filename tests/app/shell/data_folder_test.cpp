// The data folder seen from the real program: with VAKURO_HOME set, the
// settings, the default output file and the per-user settings store stay
// inside it, and nothing is written to the home folder or beside the program.
// Every run has a time limit, so a hang fails.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every file below folder, relative to it.
QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

}  // namespace

class DataFolderTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!QFile::exists(program())) QSKIP("the program is not built");
    }

    void vakuroHomeKeepsEverythingInside() {
        QTemporaryDir home, user, temp;
        QVERIFY(home.isValid() && user.isValid() && temp.isValid());
        // The title screen is on, so the start records the program folder in
        // the per-user settings store.
        QFile ini(home.filePath(QStringLiteral("Vakuro.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Setting]\r\nTitleSkip=0\r\n");
        ini.close();
        const QStringList ours{QStringLiteral("Vak_*"), QStringLiteral("Vakuro.*")};
        const QStringList besideProgram = QDir(QCoreApplication::applicationDirPath()).entryList(ours, QDir::Files);

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VAKURO_HOME"), home.path());
        env.insert(QStringLiteral("HOME"), user.path());
        env.insert(QStringLiteral("TMPDIR"), temp.path());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(temp.path());
        // No /F: the output goes to the stored name, by default "Vak_000.BMP"
        // numbered on, in the data folder.
        p.start(program(), {QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/S"), QStringLiteral("1")});
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished();
            QFAIL("the program did not end within 20 s");
        }
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAllStandardError().constData());

        const QStringList written = filesBelow(home.path());
        QVERIFY2(!written.filter(QRegularExpression(QStringLiteral("^Vak_\\d{3}\\.BMP$"))).isEmpty(),
                 qPrintable(written.join(u' ')));
        // Where the start records the program folder in the per-user settings
        // store, that store is inside the data folder too; the user's own
        // configuration and data folders stay untouched.
        if (!written.contains(QStringLiteral("Korvel/Vakuro.conf"))) qInfo("the per-user settings store was not written");
        // (The sound system may keep files of its own there; only ours count.)
        const QStringList outside = filesBelow(user.path()).filter(
            QRegularExpression(QStringLiteral("^\\.(config|local/share)/(Korvel|QtProject)")));
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join(u' ')));
        QCOMPARE(QDir(QCoreApplication::applicationDirPath()).entryList(ours, QDir::Files), besideProgram);
    }

private:
    static QString program() { return QCoreApplication::applicationDirPath() + QStringLiteral("/vakuro"); }
};

QTEST_MAIN(DataFolderTest)
#include "data_folder_test.moc"
