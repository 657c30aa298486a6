// Render time of the standard title: eight Japanese characters, default
// style, the pinned font, at the qualities the program uses.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "pavrex.h"

namespace {

// 文字画像を作ろう in code page 932.
const char* const kStandardTitle = "\x95\xB6\x8E\x9A\x89\xE6\x91\x9C\x82\xF0\x8D\xEC\x82\xEB\x82\xA4";

PavrexStyle standardStyle() {
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    std::strcpy(s.FontName, "IPAGothic");
    s.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) s.CharWidth[i] = s.CharHeight[i] = 100;
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

}  // namespace

BENCHMARK(renderTitle)->Arg(0)->Arg(1)->Arg(101)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
