// A program state against a fresh data folder and temporary folder with
// the libraries bound, a recorder of the messages the animation shows, and
// small helpers to build schedules and pictures.
#pragma once

#include <memory>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "library_binding.h"
#include "output_messages.h"
#include "program_paths.h"
#include "program_state.h"
#include "schedule.h"

namespace vakuro::testing {

// Records every message and answers with the queued answers (then the
// default button, or OK).
class MessageRecorder {
public:
    MessageRecorder() {
        setOutputMessageHandler([this](const OutputMessage& m, QWidget*) {
            messages.append(m);
            if (!answers.isEmpty()) return answers.takeFirst();
            return m.defaultButton == QMessageBox::NoButton ? QMessageBox::Ok : m.defaultButton;
        });
    }
    ~MessageRecorder() { setOutputMessageHandler({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    QStringList texts() const {
        QStringList t;
        for (const auto& m : messages) t << m.text;
        return t;
    }
    QList<OutputMessage> messages;
    QList<QMessageBox::StandardButton> answers;
};

// Puts TMPDIR and VAKURO_HOME back as they were, so that the next fixture
// makes its folders in the real temporary folder.
class EnvironmentRestorer {
public:
    EnvironmentRestorer() : tmp_(qgetenv("TMPDIR")), home_(qgetenv("VAKURO_HOME")) {}
    ~EnvironmentRestorer() {
        restore("TMPDIR", tmp_);
        restore("VAKURO_HOME", home_);
    }
    EnvironmentRestorer(const EnvironmentRestorer&) = delete;
    EnvironmentRestorer& operator=(const EnvironmentRestorer&) = delete;

private:
    static void restore(const char* name, const QByteArray& value) {
        if (value.isEmpty()) qunsetenv(name);
        else qputenv(name, value);
    }
    QByteArray tmp_;
    QByteArray home_;
};

class AnimationFixture {
public:
    AnimationFixture() {
        qputenv("VAKURO_HOME", home.path().toLocal8Bit());
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        QString error;
        bound = bindLibraries(QCoreApplication::applicationDirPath() + QLatin1Char('/'), libraries, error);
        if (!bound) qWarning("%s", qPrintable(error));
        state = std::make_unique<ProgramState>(libraries, SettingsPath());
        PavrexStyleDefaults(&state->style);
        state->style.BackColor = 0xFFFFFF;
    }

    void writeIni(const QByteArray& content) {
        QFile f(SettingsPath());
        f.open(QIODevice::WriteOnly);
        f.write(content);
    }

    QString out(const QString& name) const { return outDir.filePath(name); }

    EnvironmentRestorer environment;
    QTemporaryDir home;
    QTemporaryDir temp;
    QTemporaryDir outDir;
    Libraries libraries;
    bool bound = false;
    std::unique_ptr<ProgramState> state;
    MessageRecorder recorder;
};

// A white picture with a black block in its middle half: after a fade to
// white at level L the block's pixels are 255 - L.
inline QImage blockPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    for (int y = h / 4; y < h - h / 4; ++y)
        for (int x = w / 4; x < w - w / 4; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
    return image;
}

// An entry with the defaults, a duration and a frame rate.
inline ScheduleEntry entryOf(int kind, float seconds, int fps) {
    ScheduleEntry e = ScheduleEntry::withDefaults(kind, fps);
    e.setDuration(seconds);
    return e;
}

// A schedule of the given entries, in order.
inline AnimationSchedule scheduleOf(std::initializer_list<ScheduleEntry> entries) {
    AnimationSchedule s;
    int i = 0;
    for (const ScheduleEntry& e : entries) s[i++] = e;
    return s;
}

}  // namespace vakuro::testing
