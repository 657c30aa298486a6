#include "template_commands.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include "files_ui.h"
#include "program_paths.h"
#include "program_state.h"
#include "settings_files.h"
#include "template_library.h"

namespace vakuro {

QString templateLibraryPath() { return DataFolder() + QStringLiteral("Template.Dat"); }

QString templateLibraryInUse() { return ShippedPath(QStringLiteral("Template.Dat")); }

void buildTemplateLibraryCommand(ProgramState& state, QWidget* owner) {
    const PavrexStyle saved = state.style;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TemplateBuildResult result = buildTemplateLibrary(
        templateFilesInUse(), DataFolder() + QStringLiteral("Temp"), templateLibraryPath(), state.libraries(),
        [&state](PavrexStyle& record, const QString& outPath) {
            if (state.host == nullptr) return false;
            // The pipeline works on the current record: lend it the template.
            state.style = record;
            state.host->prepareTexture();
            state.host->renderTextImage(QString::fromUtf8(kTemplateSampleText), 0, outPath, 0, 0);
            return QFile::exists(outPath);
        });
    state.style = saved;
    QApplication::restoreOverrideCursor();
    // The preview and the texture file go back to the current style.
    state.draw();
    if (result.ok) {
        showFilesMessage(owner, QMessageBox::Information, QString(), QStringLiteral("OK"));
    } else {
        showFilesMessage(owner, QMessageBox::Warning, QStringLiteral("テンプレート"), result.error);
    }
}

bool loadTemplate(ProgramState& state, int index) {
    PavrexStyle record{};
    if (!readTemplateRecord(templateLibraryInUse(), index, record)) return false;
    state.style = record;
    completeCharacterScales(state.style);
    state.draw();
    state.tateYoko(state.style.Vertical);
    state.styleReplacedNotice();
    // The whole load is one step of the undo history.
    state.styleEdited();
    return true;
}

}  // namespace vakuro
