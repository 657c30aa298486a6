// A program state against a fresh data folder and temporary folder, with
// the libraries bound from the build's program folder.
#pragma once

#include <memory>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>

#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"

namespace vakuro::testing {

class AppFixture {
public:
    AppFixture() {
        qputenv("VAKURO_HOME", home.path().toLocal8Bit());
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        QString error;
        bound = bindLibraries(QCoreApplication::applicationDirPath() + QLatin1Char('/'), libraries, error);
        if (!bound) qWarning("%s", qPrintable(error));
        state = std::make_unique<ProgramState>(libraries, SettingsPath());
    }

    void writeIni(const QByteArray& content) {
        QFile f(SettingsPath());
        f.open(QIODevice::WriteOnly);
        f.write(content);
    }

    QTemporaryDir home;
    QTemporaryDir temp;
    Libraries libraries;
    bool bound = false;
    std::unique_ptr<ProgramState> state;
};

}  // namespace vakuro::testing
