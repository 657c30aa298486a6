// Time from a change to the updated preview: the main window's Draw of the
// standard title (eight Japanese characters), default style, with and
// without the high-quality preview. Runs on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include "bench_environment.h"
#include "main_window.h"
#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"

namespace {

vakuro::MainWindow* window = nullptr;
vakuro::ProgramState* state = nullptr;

void drawTitle(benchmark::State& s) {
    state->options.highQualityPreview = static_cast<int>(s.range(0));
    for (auto _ : s) window->Draw();
}
BENCHMARK(drawTitle)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A font change: the list's click handler stores the face and draws.
void changeFont(benchmark::State& s) {
    state->options.highQualityPreview = 0;
    const QStringList faces = {QStringLiteral("IPAGothic"), QStringLiteral("IPAMincho")};
    int i = 0;
    for (auto _ : s) window->selectFont(faces[i++ % 2]);
}
BENCHMARK(changeFont)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const vakuro::BenchEnvironment environment;
    QApplication app(argc, argv);
    vakuro::Libraries libraries;
    QString error;
    if (!vakuro::bindLibraries(QCoreApplication::applicationDirPath() + QLatin1Char('/'), libraries, error)) {
        qFatal("%s", qPrintable(error));
    }
    vakuro::ProgramState programState(libraries, vakuro::SettingsPath());
    vakuro::MainWindow form(programState);
    form.open();
    form.show();
    form.textBox()->setText(QStringLiteral("文字画像を作ろう"));
    form.selectFont(QStringLiteral("IPAGothic"));
    window = &form;
    state = &programState;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
