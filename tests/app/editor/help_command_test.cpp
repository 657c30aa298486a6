// The help command when the desktop has no launcher for the help pages: a
// message names the help file, so that it can be opened by hand.
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "app_fixture.h"
#include "main_window.h"

using namespace vakuro;
using vakuro::testing::AppFixture;

class HelpCommandTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // No launcher can be found: an empty PATH and no browser named.
        QVERIFY(empty.isValid());
        qputenv("PATH", empty.path().toLocal8Bit());
        qunsetenv("BROWSER");
        qunsetenv("DEFAULT_BROWSER");
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("KDE_FULL_SESSION");
        qunsetenv("DESKTOP_SESSION");
    }

    void withoutALauncherTheMessageNamesTheHelpFile() {
        AppFixture app;
        QVERIFY(app.bound);
        app.writeIni("[Setting]\r\nTitleSkip=1\r\n");
        MainWindow window(*app.state);
        window.open();
        window.show();
        // The data folder has no help of its own: the shipped pages are meant.
        const QString help = ProgramFolder() + QStringLiteral("help/index.html");
        QVERIFY(QFile::exists(help));
        QString title, text;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                text = box->text();
                box->accept();
            }
        });
        window.findChild<QAction*>(QStringLiteral("M_Help"))->trigger();
        QCOMPARE(title, QStringLiteral("ヘルプ"));
        QVERIFY2(text.contains(help), qPrintable(text));
    }

private:
    QTemporaryDir empty;
};

QTEST_MAIN(HelpCommandTest)
#include "help_command_test.moc"
