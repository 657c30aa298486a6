#include "library_binding.h"

#include <dlfcn.h>

#include <QFile>

namespace vakuro {
namespace {

// One loaded library: resolves exports by name and reports the first one
// missing.
class Loader {
public:
    Loader(const QString& folder, const char* fileName) : fileName_(fileName) {
        const QString path = folder + QString::fromLatin1(fileName);
        handle_ = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) {
            error_ = QStringLiteral("%1 を読み込めません。\nプログラムのフォルダに置かれているか確認してください。\n(%2)")
                         .arg(QString::fromLatin1(fileName), QString::fromLocal8Bit(dlerror()));
        }
    }

    template <typename Function>
    void resolve(Function& target, const char* name) {
        if (!handle_ || !error_.isEmpty()) return;
        target = reinterpret_cast<Function>(dlsym(handle_, name));
        if (!target) {
            error_ = QStringLiteral("%1 に関数 %2 がありません。\n正しいバージョンのファイルを使用してください。")
                         .arg(QString::fromLatin1(fileName_), QString::fromLatin1(name));
        }
    }

    const QString& error() const { return error_; }

private:
    const char* fileName_;
    void* handle_ = nullptr;
    QString error_;
};

#define VAKURO_RESOLVE(loader, table, name) loader.resolve(table.name, #name)

}  // namespace

bool bindLibraries(const QString& folder, Libraries& libs, QString& error) {
    Loader engine(folder, "libPavrex.so");
    VAKURO_RESOLVE(engine, libs.engine, ImgMake);
    VAKURO_RESOLVE(engine, libs.engine, ImgMake2);
    VAKURO_RESOLVE(engine, libs.engine, ImgMake3);
    VAKURO_RESOLVE(engine, libs.engine, ImgMeasure);
    VAKURO_RESOLVE(engine, libs.engine, PavrexVer);
    VAKURO_RESOLVE(engine, libs.engine, PavrexFaceAlias);
    if (!engine.error().isEmpty()) {
        error = engine.error();
        return false;
    }

    Loader effects(folder, "libTesmor32.so");
    VAKURO_RESOLVE(effects, libs.effects, HReSize);
    VAKURO_RESOLVE(effects, libs.effects, SReSize);
    VAKURO_RESOLVE(effects, libs.effects, SReSize2);
    VAKURO_RESOLVE(effects, libs.effects, Zoom);
    VAKURO_RESOLVE(effects, libs.effects, DIBPast);
    VAKURO_RESOLVE(effects, libs.effects, DIBPast2);
    VAKURO_RESOLVE(effects, libs.effects, GetMarg);
    VAKURO_RESOLVE(effects, libs.effects, TexColEx);
    VAKURO_RESOLVE(effects, libs.effects, TesmorVer);
    VAKURO_RESOLVE(effects, libs.effects, Rot);
    VAKURO_RESOLVE(effects, libs.effects, RotM);
    VAKURO_RESOLVE(effects, libs.effects, RotAng);
    VAKURO_RESOLVE(effects, libs.effects, Fead);
    VAKURO_RESOLVE(effects, libs.effects, Light);
    VAKURO_RESOLVE(effects, libs.effects, SideDsp);
    VAKURO_RESOLVE(effects, libs.effects, Effect);
    if (!effects.error().isEmpty()) {
        error = effects.error();
        return false;
    }

    Loader formats(folder, "libimgctl.so");
    VAKURO_RESOLVE(formats, libs.imageFormat, ImgctlVersion);
    VAKURO_RESOLVE(formats, libs.imageFormat, ToDIB);
    VAKURO_RESOLVE(formats, libs.imageFormat, DIBto8Bit);
    VAKURO_RESOLVE(formats, libs.imageFormat, PixelDIB);
    VAKURO_RESOLVE(formats, libs.imageFormat, DIBInfo);
    VAKURO_RESOLVE(formats, libs.imageFormat, DIBtoRGB32);
    VAKURO_RESOLVE(formats, libs.imageFormat, DIBtoGIFex);
    VAKURO_RESOLVE(formats, libs.imageFormat, DIBtoJPG);
    VAKURO_RESOLVE(formats, libs.imageFormat, DIBtoGIFAniEx);
    VAKURO_RESOLVE(formats, libs.imageFormat, RGBAtoPNG);
    VAKURO_RESOLVE(formats, libs.imageFormat, DIBtoWebPAni);
    VAKURO_RESOLVE(formats, libs.imageFormat, RGBAtoWebPAni);
    VAKURO_RESOLVE(formats, libs.imageFormat, DeleteDIB);
    if (!formats.error().isEmpty()) {
        error = formats.error();
        return false;
    }
    return true;
}

}  // namespace vakuro
