// Runs the shell tests inside a QApplication on the offscreen platform, with
// the per-user configuration folder moved to a scratch folder so that no test
// touches the real one.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    if (!config.isValid()) {
        std::fprintf(stderr, "cannot create a scratch configuration folder: %s\n", qPrintable(config.errorString()));
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
