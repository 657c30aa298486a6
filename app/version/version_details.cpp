#include "version_details.h"

#include "library_binding.h"
#include "shared_routines.h"

#include <QDateTime>
#include <QFileInfo>

#include <optional>

namespace vakuro {

QString FileInfoStr(const QString& path, const QString& versionNumbers) {
    const QFileInfo info(path);
    // A missing file has no date; the version text already says "（なし）".
    const QString date = info.exists() ? info.lastModified().toString(QStringLiteral("yyyy/MM/dd")) : QString();
    return PadBytesLeft(FileVersionText(path, versionNumbers), 15) + date;
}

namespace {

QString libraryLine(const char* caption, const QString& path, std::optional<int> version) {
    QString line = QString::fromLatin1(caption) + FileInfoStr(path, version ? LibraryVersionNumbers(*version) : QString());
    if (version) line += QStringLiteral("  (%1)").arg(*version);
    return line;
}

}  // namespace

QStringList VersionDetailLines(const QString& programFile, const QString& programFolder, const Libraries& libraries) {
    const auto& effects = libraries.effects;
    const auto& engine = libraries.engine;
    const auto& formats = libraries.imageFormat;
    return {
        QStringLiteral("Main Version = ") + FileInfoStr(programFile, ProgramVersionNumbers()),
        libraryLine("Tesmor32.DLL = ", programFolder + QStringLiteral("libTesmor32.so"),
                    effects.TesmorVer ? std::optional<int>(effects.TesmorVer(0)) : std::nullopt),
        libraryLine("Pavrex.DLL   = ", programFolder + QStringLiteral("libPavrex.so"),
                    engine.PavrexVer ? std::optional<int>(engine.PavrexVer(0)) : std::nullopt),
        libraryLine("imgctl.DLL   = ", programFolder + QStringLiteral("libimgctl.so"),
                    formats.ImgctlVersion ? std::optional<int>(formats.ImgctlVersion()) : std::nullopt),
    };
}

}  // namespace vakuro
