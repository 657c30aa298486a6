// Playing the program's wave resources. Qt Multimedia and the sound
// libraries under it (some twenty shared libraries) are loaded only when a
// sound first plays, from the module libvakuro_sound.so in the program
// folder, so that command-line output and every start without a sound do
// not pay for loading them. Without the module, or without an audio
// output, nothing plays and the program carries on.
#pragma once

#include <QString>

namespace vakuro {

// A wave that plays asynchronously while the object lives (the title
// screen's jingle); the sound stops when it is destroyed.
class PlayingWave {
public:
    // url: a "qrc:" URL of a wave resource.
    explicit PlayingWave(const QString& url);
    ~PlayingWave();
    PlayingWave(const PlayingWave&) = delete;
    PlayingWave& operator=(const PlayingWave&) = delete;

private:
    void* handle_ = nullptr;
};

// Plays a wave and waits until it has finished, at most timeoutMs
// milliseconds, handling no user input meanwhile.
void playWaveAndWait(const QString& url, int timeoutMs);

}  // namespace vakuro
