// The template library "Template.Dat": the template records and their
// thumbnails in one file, built from the template files "Template/VFmt_001.VTF"
// onward, and read by the template browser.
//
// Layout (little-endian, no padding):
//   0   22   signature "Vakuro Format Binder" + 2 blanks (code page 932)
//   22  4    version, 100
//   26  4    count N, 0..100
//   30  4    record size, 4148
//   34  400  thumbnail sizes, int32[100] (0 beyond N)
//   434      the N records, then the N thumbnails (whole BMP files)
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

#include "pavrex.h"

namespace vakuro {

struct Libraries;

inline constexpr int kTemplateMax = 100;
inline constexpr int kTemplateHeaderSize = 434;
inline constexpr int kTemplateThumbWidth = 186;
inline constexpr int kTemplateThumbHeight = 65;
inline constexpr char kTemplateSampleText[] = "ソモロ";
inline constexpr char kTemplateSampleFont[] = "HG正楷書体-PRO";

// folder + "VFmt_" + three digits + ".VTF"; n counts from 1.
QString templateFilePath(const QString& folder, int n);

// The number of template files 1, 2, ... present in folder, stopping at the
// first missing number (at most 100).
int countTemplateFiles(const QString& folder);

// Renders the sample text with a record (its FontName already set to the
// sample font) into a 24-bit BMP file. The record may be changed (texture
// preparation stores the texture path). False when nothing was rendered.
using TemplateRenderer = std::function<bool(PavrexStyle& record, const QString& outPath)>;

struct TemplateBuildResult {
    bool ok = false;
    int count = 0;
    QString error;  // in Japanese, for the user
};

// Builds the library: reads every template file of templateFolder, renders
// its thumbnail into workFolder ("Tmp.bmp", reduced to "Tmp<n>.bmp" with the
// effects library's supersampling resize, 4 x 4), and writes outPath through
// a temporary file, so a failed build leaves the previous library as it was.
// A template file shorter than a record, or a thumbnail that cannot be
// made, stops the build with an error naming the file.
TemplateBuildResult buildTemplateLibrary(const QString& templateFolder, const QString& workFolder,
                                         const QString& outPath, const Libraries& libraries,
                                         const TemplateRenderer& render);

// What a library file holds, as far as it really goes.
struct TemplateLibrary {
    int version = 0;
    QList<PavrexStyle> records;     // the whole records present
    QList<QByteArray> thumbnails;   // one per record; empty when missing or damaged
    bool damaged = false;           // the header or size table did not match the file
};

// Reads a library. False when there is no file or it is shorter than its
// header. A count outside 0..100, a record size other than 4148, a negative
// size or a file that ends early mark the library damaged: only the records
// and thumbnails that lie wholly inside the file are taken.
bool readTemplateLibrary(const QString& path, TemplateLibrary& library);

// Reads record index of the library at path (the records lie before the
// thumbnails). False when the file does not hold it.
bool readTemplateRecord(const QString& path, int index, PavrexStyle& record);

}  // namespace vakuro
