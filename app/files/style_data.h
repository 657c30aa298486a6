// The style data file: one style record of 4148 bytes, the style kept
// between runs ("Vakuro.Dat") and the body of settings files.
#pragma once

#include <QString>

#include "pavrex.h"

namespace vakuro {

enum class StyleDataStatus {
    Read,     // the whole record was read
    Missing,  // no such file, or it cannot be opened
    Short,    // the file is shorter than a record: nothing was taken from it
};

// Reads one record from the start of the file. The record is changed only
// when all 4148 bytes are there.
StyleDataStatus readStyleData(const QString& path, PavrexStyle& style);

// Writes the record through a temporary file renamed over the target, so a
// failed write leaves the previous file. Returns false when nothing was written.
bool writeStyleData(const QString& path, const PavrexStyle& style);

// True when the record's 20-byte signature is "Vakuro SettingFile" and two blanks.
bool hasStyleSignature(const PavrexStyle& style);

}  // namespace vakuro
