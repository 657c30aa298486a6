#include "wave_player.h"

#include <QLibrary>

#include "program_paths.h"

namespace vakuro {
namespace {

using StartFunction = void* (*)(const char*);
using StopFunction = void (*)(void*);
using PlayAndWaitFunction = void (*)(const char*, int);

struct SoundModule {
    StartFunction start = nullptr;
    StopFunction stop = nullptr;
    PlayAndWaitFunction playAndWait = nullptr;
};

// The module, loaded on first use and kept for the rest of the run.
const SoundModule& soundModule() {
    static const SoundModule module = [] {
        SoundModule m;
        QLibrary library(LibraryFolder() + QStringLiteral("libvakuro_sound.so"));
        if (!library.load()) return m;
        m.start = reinterpret_cast<StartFunction>(library.resolve("vakuroSoundStart"));
        m.stop = reinterpret_cast<StopFunction>(library.resolve("vakuroSoundStop"));
        m.playAndWait = reinterpret_cast<PlayAndWaitFunction>(library.resolve("vakuroSoundPlayAndWait"));
        if (!m.start || !m.stop || !m.playAndWait) m = {};
        return m;
    }();
    return module;
}

}  // namespace

PlayingWave::PlayingWave(const QString& url) {
    const SoundModule& m = soundModule();
    if (m.start) handle_ = m.start(url.toUtf8().constData());
}

PlayingWave::~PlayingWave() {
    if (handle_ != nullptr) soundModule().stop(handle_);
}

void playWaveAndWait(const QString& url, int timeoutMs) {
    const SoundModule& m = soundModule();
    if (m.playAndWait) m.playAndWait(url.toUtf8().constData(), timeoutMs);
}

}  // namespace vakuro
