// Builds the template library at build time, without a window: copies the
// template files into <out>/Template, renders every thumbnail with the
// engine through the render pipeline (textures prepared as the program
// prepares them) and writes <out>/Template.Dat.
//
// Usage: vakuro_build_templates <program folder> <template sources> <out>
#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"
#include "render_pipeline.h"
#include "template_library.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: vakuro_build_templates <program folder> <template sources> <out>\n");
        return 2;
    }
    const QString programFolder = QDir(args.at(1)).absolutePath() + QLatin1Char('/');
    const QString sources = QDir(args.at(2)).absolutePath();
    const QString out = QDir(args.at(3)).absolutePath();

    // The texture file and the work files go to a folder of our own, so that
    // builds running side by side do not share them.
    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "vakuro_build_templates: no temporary folder\n");
        return 1;
    }
    qputenv("TMPDIR", QFile::encodeName(work.path()));
    qputenv("VAKURO_HOME", QFile::encodeName(work.path() + QStringLiteral("/home")));

    vakuro::Libraries libraries;
    QString error;
    if (!vakuro::bindLibraries(programFolder, libraries, error)) {
        std::fprintf(stderr, "vakuro_build_templates: %s\n", error.toLocal8Bit().constData());
        return 1;
    }

    // The template files beside the library, numbered without gaps.
    const QString templateFolder = out + QStringLiteral("/Template");
    QDir(templateFolder).removeRecursively();
    QDir().mkpath(templateFolder);
    const int count = vakuro::countTemplateFiles(sources);
    for (int n = 1; n <= count; ++n) {
        const QString to = vakuro::templateFilePath(templateFolder, n);
        if (!QFile::copy(vakuro::templateFilePath(sources, n), to)) {
            std::fprintf(stderr, "vakuro_build_templates: cannot copy %s\n", to.toLocal8Bit().constData());
            return 1;
        }
    }

    vakuro::ProgramState state(libraries, vakuro::SettingsPath());
    vakuro::RenderPipeline pipeline(state);
    const vakuro::TemplateBuildResult result = vakuro::buildTemplateLibrary(
        templateFolder, work.path() + QStringLiteral("/Temp"), out + QStringLiteral("/Template.Dat"), libraries,
        [&](PavrexStyle& record, const QString& outPath) {
            state.style = record;
            pipeline.PrepareTexture();
            pipeline.RenderTextImage(QString::fromUtf8(vakuro::kTemplateSampleText), 0, outPath, 0, 0);
            return QFile::exists(outPath);
        });
    if (!result.ok) {
        std::fprintf(stderr, "vakuro_build_templates: %s\n", result.error.toLocal8Bit().constData());
        return 1;
    }
    // Keep the thumbnails for a look when asked to.
    const QString keep = qEnvironmentVariable("VAKURO_KEEP_THUMBNAILS");
    if (!keep.isEmpty()) {
        QDir().mkpath(keep);
        for (int n = 1; n <= result.count; ++n) {
            const QString name = QStringLiteral("Tmp%1.bmp").arg(n);
            QFile::remove(keep + QLatin1Char('/') + name);
            QFile::copy(work.path() + QStringLiteral("/Temp/") + name, keep + QLatin1Char('/') + name);
        }
    }
    std::printf("Template.Dat: %d templates\n", result.count);
    return 0;
}
