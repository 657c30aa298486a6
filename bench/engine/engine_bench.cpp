// Render time of the standard title: eight Japanese characters, the pinned
// font, the default style (relief, shadow) plus a single-colour outline, at
// the qualities the program uses; and the time of each rendering step.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "pavrex.h"
#include "reference_steps.h"
#include "render.h"
#include "steps/steps.h"

namespace {

// 文字画像を作ろう in code page 932.
const char* const kStandardTitle = "\x95\xB6\x8E\x9A\x89\xE6\x91\x9C\x82\xF0\x8D\xEC\x82\xEB\x82\xA4";

PavrexStyle standardStyle() {
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    std::strcpy(s.FontName, "IPAGothic");
    s.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) s.CharWidth[i] = s.CharHeight[i] = 100;
    s.OutlineStyle = 1;
    s.OutlineColor1 = PAVREX_RGB(30, 30, 120);
    return s;
}

void renderTitle(benchmark::State& state) {
    const PavrexStyle style = standardStyle();
    const std::string out = (std::filesystem::temp_directory_path() / "engine_bench.bmp").string();
    const int quality = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (ImgMake(kStandardTitle, &style, out.c_str(), quality) != PAVREX_OK) {
            state.SkipWithError("rendering failed");
            break;
        }
    }
}
BENCHMARK(renderTitle)->Arg(0)->Arg(1)->Arg(101)->Unit(benchmark::kMillisecond);

// The same rendering with the direct formulas the tests use as reference:
// what the faster algorithms save.
void renderTitleDirect(benchmark::State& state) {
    const PavrexStyle style = standardStyle();
    const int quality = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto r = pavrex::renderText(kStandardTitle, style, quality, -1, pavrex::openSystemFont,
                                    pavrex::reference::runRenderingSteps);
        benchmark::DoNotOptimize(r.context.canvas.data());
    }
}
BENCHMARK(renderTitleDirect)->Arg(0)->Arg(101)->Unit(benchmark::kMillisecond);

using Step = void (*)(pavrex::RenderContext&);
constexpr Step kSteps[] = {pavrex::thicken,      pavrex::fill,        pavrex::markShadow, pavrex::colourShadow,
                           pavrex::paintBackground, pavrex::buildReliefEdges, pavrex::shapeRelief,
                           pavrex::drawOutline,  pavrex::composite};
constexpr const char* kStepNames[] = {"thicken", "fill", "markShadow", "colourShadow", "paintBackground",
                                      "buildReliefEdges", "shapeRelief", "drawOutline", "composite"};

// Layout and glyph rasterising alone (the steps left out).
void layoutAndGlyphs(benchmark::State& state) {
    const PavrexStyle style = standardStyle();
    const int quality = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto r = pavrex::renderText(kStandardTitle, style, quality, -1, pavrex::openSystemFont,
                                    [](pavrex::RenderContext&) {});
        benchmark::DoNotOptimize(r.context.canvas.data());
    }
}
BENCHMARK(layoutAndGlyphs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One step on the canvas that the steps before it leave.
void oneStep(benchmark::State& state) {
    const int stepIndex = static_cast<int>(state.range(0));
    const int quality = static_cast<int>(state.range(1));
    state.SetLabel(kStepNames[stepIndex]);
    const PavrexStyle style = standardStyle();
    auto base = pavrex::renderText(kStandardTitle, style, quality, -1, pavrex::openSystemFont,
                                   [](pavrex::RenderContext&) {});
    for (int i = 0; i < stepIndex; ++i) kSteps[i](base.context);
    for (auto _ : state) {
        state.PauseTiming();
        pavrex::RenderContext c = base.context;
        state.ResumeTiming();
        kSteps[stepIndex](c);
        benchmark::DoNotOptimize(c.canvas.data());
    }
}
BENCHMARK(oneStep)->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8}, {0, 1}})->Unit(benchmark::kMicrosecond);

// The direct forms of the steps that have faster algorithms, on the same input.
void oneStepDirect(benchmark::State& state) {
    const int stepIndex = static_cast<int>(state.range(0));
    const int quality = static_cast<int>(state.range(1));
    state.SetLabel(std::string(kStepNames[stepIndex]) + " (direct)");
    Step direct = nullptr;
    switch (stepIndex) {
    case 2: direct = pavrex::reference::markShadow; break;
    case 3: direct = pavrex::reference::colourShadow; break;
    case 5: direct = pavrex::reference::buildReliefEdges; break;
    default: direct = pavrex::reference::drawOutline; break;
    }
    const PavrexStyle style = standardStyle();
    auto base = pavrex::renderText(kStandardTitle, style, quality, -1, pavrex::openSystemFont,
                                   [](pavrex::RenderContext&) {});
    for (int i = 0; i < stepIndex; ++i) kSteps[i](base.context);
    for (auto _ : state) {
        state.PauseTiming();
        pavrex::RenderContext c = base.context;
        state.ResumeTiming();
        direct(c);
        benchmark::DoNotOptimize(c.canvas.data());
    }
}
BENCHMARK(oneStepDirect)->ArgsProduct({{2, 3, 5, 7}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
