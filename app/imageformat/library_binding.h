// Binding of the three libraries from the program folder with dlopen: the
// engine, the effects library and the image-format component. The program
// never links them; every call goes through these tables.
#pragma once

#include <QString>

#include "imgctl.h"
#include "pavrex.h"
#include "tesmor32.h"

namespace vakuro {

struct EngineLibrary {
    decltype(&::ImgMake) ImgMake = nullptr;
    decltype(&::ImgMake2) ImgMake2 = nullptr;
    decltype(&::ImgMake3) ImgMake3 = nullptr;
    decltype(&::ImgMeasure) ImgMeasure = nullptr;
    decltype(&::PavrexVer) PavrexVer = nullptr;
    decltype(&::PavrexFaceAlias) PavrexFaceAlias = nullptr;
};

struct EffectsLibrary {
    decltype(&::HReSize) HReSize = nullptr;
    decltype(&::SReSize) SReSize = nullptr;
    decltype(&::SReSize2) SReSize2 = nullptr;
    decltype(&::Zoom) Zoom = nullptr;
    decltype(&::DIBPast) DIBPast = nullptr;
    decltype(&::DIBPast2) DIBPast2 = nullptr;
    decltype(&::GetMarg) GetMarg = nullptr;
    decltype(&::TexColEx) TexColEx = nullptr;
    decltype(&::TesmorVer) TesmorVer = nullptr;
    // Rotation, light, fade and colour effects (the animation generators).
    decltype(&::Rot) Rot = nullptr;
    decltype(&::RotM) RotM = nullptr;
    decltype(&::RotAng) RotAng = nullptr;
    decltype(&::Fead) Fead = nullptr;
    decltype(&::Light) Light = nullptr;
    decltype(&::SideDsp) SideDsp = nullptr;
    decltype(&::Effect) Effect = nullptr;
};

struct ImageFormatLibrary {
    decltype(&::ImgctlVersion) ImgctlVersion = nullptr;
    decltype(&::ToDIB) ToDIB = nullptr;
    decltype(&::DIBto8Bit) DIBto8Bit = nullptr;
    decltype(&::PixelDIB) PixelDIB = nullptr;
    decltype(&::DIBInfo) DIBInfo = nullptr;
    decltype(&::DIBtoRGB32) DIBtoRGB32 = nullptr;
    decltype(&::DIBtoGIFex) DIBtoGIFex = nullptr;
    decltype(&::DIBtoJPG) DIBtoJPG = nullptr;
    decltype(&::DIBtoGIFAniEx) DIBtoGIFAniEx = nullptr;
    decltype(&::RGBAtoPNG) RGBAtoPNG = nullptr;
    decltype(&::DIBtoWebPAni) DIBtoWebPAni = nullptr;
    decltype(&::RGBAtoWebPAni) RGBAtoWebPAni = nullptr;
    decltype(&::DeleteDIB) DeleteDIB = nullptr;
};

struct Libraries {
    EngineLibrary engine;
    EffectsLibrary effects;
    ImageFormatLibrary imageFormat;
};

// Loads the three libraries from folder and resolves every export. On
// failure returns false and sets error to a Japanese message naming the
// file and, where it applies, the missing export. Loaded libraries stay
// loaded for the rest of the run.
bool bindLibraries(const QString& folder, Libraries& libraries, QString& error);

}  // namespace vakuro
