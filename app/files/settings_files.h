// Settings files (".VTF"): one whole style record, saved and loaded by the
// maintainer's menu commands "設定保存" and "設定読込み".
#pragma once

#include <QString>

#include "pavrex.h"

class QWidget;

namespace vakuro {

class ProgramState;

// The filter the file dialogs offer and the name the save dialog proposes.
QString settingsFileFilter();
inline constexpr char kProposedSettingsName[] = "VFmt_000.VTF";

// DataFolder() + "Template/", where settings files are saved.
QString templateFolder();

// The template files the template builder reads: templateFolder() when it
// holds "VFmt_001.VTF", otherwise the shipped "Template/" folder.
QString templateFilesInUse();

// Marks the record as a settings file: Signature "Vakuro SettingFile" and two
// blanks, FormatVersion 100.
void setStyleSignature(PavrexStyle& style);

// Stores the main window's text in the record's Text field (code page 932,
// blank-filled, no NUL).
void storeStyleText(PavrexStyle& style, const QString& text);

// Sets the signature, the version and the text, then writes the record. The
// previous file stays as it was when the write fails (false).
bool saveSettingsFile(ProgramState& state, const QString& path);

enum class SettingsLoad {
    Loaded,   // the record was taken
    Missing,  // no such file: nothing happened
    Refused,  // wrong signature or shorter than a record: the style is unchanged
};

// Reads a settings file and, when it is valid, applies it (applyLoadedStyle).
SettingsLoad loadSettingsFile(ProgramState& state, const QString& path);

// Puts a loaded record in place: copies it whole, selects its font in the
// main window's list without drawing, completes the per-character scales,
// draws once, lays out the main window for its writing direction and makes
// the open style dialogs reload.
void applyLoadedStyle(ProgramState& state, const PavrexStyle& record);

// A record whose per-character scales were never set gets 100 % for the
// first 20 characters.
void completeCharacterScales(PavrexStyle& style);

// The maintainer's menu commands.
void saveSettingsCommand(ProgramState& state, QWidget* owner);
void loadSettingsCommand(ProgramState& state, QWidget* owner);

}  // namespace vakuro
