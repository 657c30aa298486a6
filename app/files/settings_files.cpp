#include "settings_files.h"

#include <cstring>

#include <QDir>
#include <QFile>

#include "cp932_qstring.h"
#include "files_ui.h"
#include "program_paths.h"
#include "program_state.h"
#include "style_data.h"
#include "template_library.h"

namespace vakuro {

QString settingsFileFilter() { return QStringLiteral("設定ファイル (*.VTF);;全て (*.*)"); }

QString templateFolder() { return DataFolder() + QStringLiteral("Template/"); }

QString templateFilesInUse() {
    const QString own = templateFolder();
    if (QFile::exists(templateFilePath(own, 1))) return own;
    return ShippedFolder() + QStringLiteral("Template/");
}

void setStyleSignature(PavrexStyle& style) {
    setFixedField(style.Signature, sizeof style.Signature, QStringLiteral("Vakuro SettingFile"), false);
    style.FormatVersion = 100;
}

void storeStyleText(PavrexStyle& style, const QString& text) {
    setFixedField(style.Text, sizeof style.Text, text, false);
}

bool saveSettingsFile(ProgramState& state, const QString& path) {
    setStyleSignature(state.style);
    storeStyleText(state.style, state.host != nullptr ? state.host->text() : QString());
    return writeStyleData(path, state.style);
}

void completeCharacterScales(PavrexStyle& style) {
    if (style.CharScaleSet != 0) return;
    for (int i = 0; i < 20; ++i) {
        style.CharWidth[i] = 100;
        style.CharHeight[i] = 100;
    }
    style.CharScaleSet = 1;
}

void applyLoadedStyle(ProgramState& state, const PavrexStyle& record) {
    std::memcpy(&state.style, &record, sizeof record);
    if (state.host != nullptr) {
        // Selecting runs the list's click handler; the record is not complete
        // yet, so it must not draw.
        const int guard = state.redrawGuard;
        state.redrawGuard = -1;
        state.host->selectFontName(readFixedField(record.FontName, sizeof record.FontName).trimmed());
        state.redrawGuard = guard < 0 ? guard : 0;
    }
    completeCharacterScales(state.style);
    state.draw();
    state.tateYoko(state.style.Vertical);
    state.styleReplacedNotice();
    // The whole load is one step of the undo history.
    state.styleEdited();
}

SettingsLoad loadSettingsFile(ProgramState& state, const QString& path) {
    if (!QFile::exists(path)) return SettingsLoad::Missing;
    PavrexStyle record{};
    const StyleDataStatus status = readStyleData(path, record);
    if (status == StyleDataStatus::Missing) return SettingsLoad::Missing;
    if (status != StyleDataStatus::Read || !hasStyleSignature(record)) return SettingsLoad::Refused;
    applyLoadedStyle(state, record);
    return SettingsLoad::Loaded;
}

void saveSettingsCommand(ProgramState& state, QWidget* owner) {
    QDir().mkpath(templateFolder());
    const QString title = QStringLiteral("設定保存");
    const QString path = askFileName(owner, true, title, templateFolder(),
                                     QLatin1String(kProposedSettingsName), settingsFileFilter());
    if (path.isEmpty()) return;
    if (!saveSettingsFile(state, path)) {
        showFilesMessage(owner, QMessageBox::Warning, title,
                         QStringLiteral("設定ファイルを保存できませんでした。\n%1").arg(QDir::toNativeSeparators(path)));
    }
}

void loadSettingsCommand(ProgramState& state, QWidget* owner) {
    // The data folder's own template folder, else the shipped one.
    const QString start = ShippedPath(QStringLiteral("Template/"));
    const QString path =
        askFileName(owner, false, QStringLiteral("設定読込み"), start, QString(), settingsFileFilter());
    if (path.isEmpty()) return;
    if (loadSettingsFile(state, path) == SettingsLoad::Refused) {
        showFilesMessage(owner, QMessageBox::Warning, QStringLiteral("設定ファイル読込み"),
                         QStringLiteral("設定ファイルに異常があります"));
    }
}

}  // namespace vakuro
