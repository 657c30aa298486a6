// Sections, keys and defaults of the settings file "Vakuro.ini", in one place
// so that every part of the program spells them the same way.
// Keys whose default depends on the folders (FileOutName, GifAnimeOutFile) or
// on a dialog's current values (the output size fields) carry no default here.
#pragma once

#include "settings_store.h"

namespace vakuro::settings {

inline constexpr char kSetting[] = "Setting";
inline constexpr char kWindow[] = "Window";
inline constexpr char kAnime[] = "Anime";
inline constexpr char kSetup[] = "Setup";

// A numeric key with its section and default.
struct IntKey {
    const char* section;
    const char* key;
    int defaultValue;
};

// Section "Setting": options.
inline constexpr IntKey kTitleSkip{kSetting, "TitleSkip", 0};
inline constexpr IntKey kHiPreView{kSetting, "HiPreView", 0};
inline constexpr IntKey kClipSmooth{kSetting, "ClipSmooth", 1};
inline constexpr IntKey kClipScaleIndex{kSetting, "ClipScaleIndex", 1};
inline constexpr IntKey kClipMetaFile{kSetting, "ClipMetaFile", 0};
inline constexpr IntKey kClipWithDialog{kSetting, "ClipWithDialog", 1};
inline constexpr IntKey kJISFontOnly{kSetting, "JISFontOnly", 0};
inline constexpr IntKey kFileOutPreView{kSetting, "FileOutPreView", 1};
inline constexpr IntKey kRotYokoSen{kSetting, "RotYokoSen", 1};
inline constexpr IntKey kBackPaint{kSetting, "BackPaint", 0};
inline constexpr IntKey kButtonPaint{kSetting, "ButtonPaint", 0};

// Section "Setting": text (stored enclosed in apostrophes, see Quote()).
inline constexpr char kTextKey[] = "Text";
inline constexpr char kTextDefault[] = "Vakuro";

// Section "Setting": file output.
inline constexpr char kFileOutName[] = "FileOutName";                // default: folder + "Vak_000.BMP"
inline constexpr char kFileOutNameDefaultFile[] = "Vak_000.BMP";
inline constexpr IntKey kFileOutFileFormat{kSetting, "FileOutFileFormat", 0};
inline constexpr IntKey kFileOutRateFlg{kSetting, "FileOutRateFlg", 1};
inline constexpr IntKey kFileOutSmooth{kSetting, "FileOutSmooth", 1};
inline constexpr IntKey kFileOutTransBack{kSetting, "FileOutTransBack", 1};
inline constexpr char kFileOutTextBaseSize[] = "FileOutTextBaseSize";
inline constexpr char kFileOutTextW[] = "FileOutTextW";
inline constexpr char kFileOutTextH[] = "FileOutTextH";
inline constexpr IntKey kFileOutButton{kSetting, "FileOutButton", 1};
inline constexpr IntKey kFileOutButtonWid{kSetting, "FileOutButtonWid", 120};
inline constexpr IntKey kFileOutButtonHi{kSetting, "FileOutButtonHi", 30};
inline constexpr IntKey kFileOutButtonEffect{kSetting, "FileOutButtonEffect", 1};
inline constexpr IntKey kFileOutButtonGrad{kSetting, "FileOutButtonGrad", 1};
inline constexpr IntKey kFileOutButtonCenter{kSetting, "FileOutButtonCenter", 1};
inline constexpr IntKey kFileOutButtonEffectMode{kSetting, "FileOutButtonEffectMode", 0};
inline constexpr IntKey kFileOutButtonWakuColor1{kSetting, "FileOutButtonWakuColor1", 0};
inline constexpr IntKey kFileOutButtonWakuColor2{kSetting, "FileOutButtonWakuColor2", 0};
inline constexpr IntKey kFileOutButtonBackColor{kSetting, "FileOutButtonBackColor", 0};
inline constexpr IntKey kFileOutButtonWakuWid{kSetting, "FileOutButtonWakuWid", 2};
// The GIF's matte: off, the background colour (the file as ever); on, the
// colour of the page the GIF will sit on.
inline constexpr IntKey kFileOutMatte{kSetting, "FileOutMatte", 0};
inline constexpr IntKey kFileOutMatteColor{kSetting, "FileOutMatteColor", 0xFFFFFF};

// Section "Setting": output transform.
inline constexpr IntKey kTranslateType{kSetting, "TranslateType", 0};
inline constexpr IntKey kTranslateP1{kSetting, "TranslateP1", 50};
inline constexpr IntKey kTranslateP2{kSetting, "TranslateP2", 50};
inline constexpr IntKey kTranslateP3{kSetting, "TranslateP3", 50};

// Section "Setting": animated GIF output.
inline constexpr char kGifAnimeOutFile[] = "GifAnimeOutFile";         // default: folder + "TextAni.Gif"
inline constexpr char kGifAnimeOutFileDefaultFile[] = "TextAni.Gif";

// Section "Anime".
inline constexpr IntKey kGifAnimeChrSpType{kAnime, "GifAnimeChrSpType", 0};
inline constexpr IntKey kAnimeSmooth{kAnime, "Smooth", 1};
inline constexpr IntKey kAnimeBackTrans{kAnime, "BackTrans", 0};
inline constexpr IntKey kAnimeLoopCount{kAnime, "LoopCount", 0};
// Quality of animated WebP output: -1 lossless, 0..100 lossy.
inline constexpr IntKey kAnimeWebPQuality{kAnime, "WebPQuality", -1};
inline constexpr IntKey kAnimeDefKoma{kAnime, "DefKoma", 20};

// Section "Setup": JPEG output.
inline constexpr IntKey kJPEGQuality{kSetup, "JPEGQuality", 90};  // 1..100
inline constexpr IntKey kJPEGProgression{kSetup, "JPEGProgression", 0};

// Reads and writes a numeric key of the table.
inline int IniReadInt(const QString& iniPath, const IntKey& key) {
    return vakuro::IniReadInt(iniPath, QLatin1String(key.section), QLatin1String(key.key), key.defaultValue);
}
inline void IniWriteInt(const QString& iniPath, const IntKey& key, int value) {
    vakuro::IniWriteInt(iniPath, QLatin1String(key.section), QLatin1String(key.key), value);
}

}  // namespace vakuro::settings
