// libvakuro_sound.so: the program's sounds over Qt Multimedia, loaded by
// wave_player.cpp on first use. Plain C entry points, nothing else.
#include <QAudioDevice>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

extern "C" {

// Starts playing the wave at url; returns the handle for vakuroSoundStop,
// or null when there is no audio output.
Q_DECL_EXPORT void* vakuroSoundStart(const char* url) {
    if (QMediaDevices::audioOutputs().isEmpty()) return nullptr;
    auto* sound = new QSoundEffect;
    sound->setSource(QUrl(QString::fromUtf8(url)));
    sound->play();
    return sound;
}

// Stops the sound and frees it.
Q_DECL_EXPORT void vakuroSoundStop(void* handle) { delete static_cast<QSoundEffect*>(handle); }

// Plays the wave at url and returns when it has finished or after timeoutMs.
Q_DECL_EXPORT void vakuroSoundPlayAndWait(const char* url, int timeoutMs) {
    if (QMediaDevices::audioOutputs().isEmpty()) return;
    QSoundEffect sound;
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&sound, &QSoundEffect::playingChanged, &loop, [&] {
        if (!sound.isPlaying()) loop.quit();
    });
    QObject::connect(&sound, &QSoundEffect::statusChanged, &loop, [&] {
        if (sound.status() == QSoundEffect::Error) loop.quit();
        if (sound.status() == QSoundEffect::Ready && !sound.isPlaying()) sound.play();
    });
    sound.setSource(QUrl(QString::fromUtf8(url)));
    if (sound.status() == QSoundEffect::Ready) sound.play();
    if (sound.status() == QSoundEffect::Error) return;
    guard.start(timeoutMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // extern "C"
