#include "animation_settings.h"

#include <algorithm>

#include "program_paths.h"
#include "settings_keys.h"

namespace vakuro {

namespace keys = vakuro::settings;

AnimationSettings AnimationSettings::read(const QString& ini) {
    AnimationSettings s;
    s.smooth = keys::IniReadInt(ini, keys::kAnimeSmooth);
    s.backTrans = keys::IniReadInt(ini, keys::kAnimeBackTrans);
    s.loopCount = keys::IniReadInt(ini, keys::kAnimeLoopCount);
    s.defKoma = keys::IniReadInt(ini, keys::kAnimeDefKoma);
    const int q = keys::IniReadInt(ini, keys::kAnimeWebPQuality);
    s.webpQuality = q < 0 ? -1 : std::min(q, 100);
    return s;
}

QString defaultAnimationOutputFile() {
    return DataFolder() + QString::fromLatin1(keys::kGifAnimeOutFileDefaultFile);
}

QString animationOutputFile(const QString& ini) {
    return IniRead(ini, QString::fromLatin1(keys::kSetting), QString::fromLatin1(keys::kGifAnimeOutFile),
                   defaultAnimationOutputFile());
}

void storeAnimationOutputFile(const QString& ini, const QString& path) {
    IniWrite(ini, QString::fromLatin1(keys::kSetting), QString::fromLatin1(keys::kGifAnimeOutFile), path);
}

}  // namespace vakuro
