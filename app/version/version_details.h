// The version dialog's details: the version and date of the program and of
// its three libraries.
#pragma once

#include <QString>
#include <QStringList>

namespace vakuro {

struct Libraries;

// PadBytesLeft(FileVersionText(path, versionNumbers), 15) followed by the
// file's modification date as "yyyy/mm/dd" (nothing for a missing file).
QString FileInfoStr(const QString& path, const QString& versionNumbers);

// The four lines of the details list, for the program file programFile and
// the libraries in programFolder (ending in '/'), with the versions the bound
// libraries report:
//   "Main Version = " + FileInfoStr(program)
//   "Tesmor32.DLL = " + FileInfoStr(libTesmor32.so) + "  (" + TesmorVer(0) + ")"
//   "Pavrex.DLL   = " + FileInfoStr(libPavrex.so) + "  (" + PavrexVer(0) + ")"
//   "imgctl.DLL   = " + FileInfoStr(libimgctl.so) + "  (" + ImgctlVersion() + ")"
// A library whose version export is not bound shows no version.
QStringList VersionDetailLines(const QString& programFile, const QString& programFolder, const Libraries& libraries);

}  // namespace vakuro
