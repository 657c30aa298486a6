// The settings of the animation in section "Anime" of the settings file,
// and the last output path.
#pragma once

#include <QString>

namespace vakuro {

struct AnimationSettings {
    int smooth = 1;      // "Smooth": area-averaging resize of the base image
    int backTrans = 0;   // "BackTrans": the background colour is transparent
    int loopCount = 0;   // "LoopCount": 0 endless, n plays n times
    int defKoma = 20;    // "DefKoma": frames per second of a new entry
    int webpQuality = -1;  // "WebPQuality": -1 lossless, 0..100 lossy (WebP output)

    static AnimationSettings read(const QString& iniPath);
};

// "GifAnimeOutFile" of section "Setting"; default: the data folder +
// "TextAni.Gif".
QString animationOutputFile(const QString& iniPath);
void storeAnimationOutputFile(const QString& iniPath, const QString& path);
// The default output file (what "Play" opens).
QString defaultAnimationOutputFile();

}  // namespace vakuro
