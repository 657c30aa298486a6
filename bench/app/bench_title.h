// The styled title every animation benchmark plays: its style, the binding
// of the libraries beside the benchmark, and the base image at 999 x 300.
#pragma once

#include <algorithm>
#include <cstdio>

#include <QCoreApplication>
#include <QString>

#include "animation_driver.h"
#include "library_binding.h"
#include "program_paths.h"
#include "render_pipeline.h"

namespace vakuro {

// A title as the program's users make them: gold gradient fill on a deep
// blue background.
inline void styleBenchTitle(PavrexStyle& s) {
    PavrexStyleDefaults(&s);
    s.FillType = 3;
    s.FillColor1 = PAVREX_RGB(255, 236, 120);
    s.FillColor2 = PAVREX_RGB(230, 110, 20);
    s.BackColor = PAVREX_RGB(20, 30, 80);
}

// Binds the libraries of the benchmark's folder; says why on standard error
// when it cannot.
inline bool bindBenchLibraries(Libraries& libraries) {
    QString error;
    if (bindLibraries(QCoreApplication::applicationDirPath() + QLatin1Char('/'), libraries, error)) return true;
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return false;
}

// Renders "文字画像を作ろう" with the state's style and returns the driver's
// inputs for a 999 x 300 animation of it.
inline AnimationRunInputs renderBenchTitle(RenderPipeline& pipeline) {
    AnimationRunInputs inputs;
    inputs.text = QStringLiteral("文字画像を作ろう");
    pipeline.RenderTextImage(inputs.text, 0, TempFolder() + QStringLiteral("title.bmp"), 0, 1);
    inputs.baseRendering = pipeline.holder();
    inputs.outputWidth = 999;
    inputs.outputHeight = 300;
    inputs.widthScale = 999.0 / std::max(1, inputs.baseRendering.width());
    return inputs;
}

}  // namespace vakuro
