#include <gtest/gtest.h>

#include <cstring>

#include "reference_steps.h"
#include "render.h"

namespace pavrex {
namespace {

// 文字画像を作ろう
const char* const kTitle = "\x95\xB6\x8E\x9A\x89\xE6\x91\x9C\x82\xF0\x8D\xEC\x82\xEB\x82\xA4";

struct StyleCase {
    const char* name;
    void (*apply)(PavrexStyle&);
};

const StyleCase kStyles[] = {
    {"default", [](PavrexStyle&) {}},
    {"outline", [](PavrexStyle& s) { s.OutlineStyle = 1; s.OutlineWidth = 3; s.OutlineColor1 = PAVREX_RGB(20, 20, 90); }},
    {"glow", [](PavrexStyle& s) { s.ShadowType = 2; s.ShadowSpread = 3; s.ShadowBlur = 5; s.BackColor = PAVREX_RGB(10, 10, 40); }},
    {"deep", [](PavrexStyle& s) { s.ReliefDepth = 10; s.ReliefGloss = 8; s.ReliefReflection = 6; s.OutlineStyle = 2; }},
    {"trapezoid", [](PavrexStyle& s) { s.ReliefOn = 2; s.Vertical = 1; s.ShadowSpread = 2; s.OutlineStyle = 3; }},
};

TEST(Pipeline, FastStepsEqualTheDirectFormulasOnRealRenderings) {
    for (const auto& style : kStyles) {
        for (int quality : {0, 1, 2, 100, 101, 102}) {
            PavrexStyle s;
            PavrexStyleDefaults(&s);
            std::strcpy(s.FontName, "IPAGothic");
            style.apply(s);
            const auto fast = renderText(kTitle, s, quality, -1, openSystemFont);
            const auto direct = renderText(kTitle, s, quality, -1, openSystemFont, reference::runRenderingSteps);
            ASSERT_EQ(fast.code, PAVREX_OK);
            EXPECT_EQ(fast.context.canvas, direct.context.canvas) << style.name << " quality " << quality;
        }
    }
}

}  // namespace
}  // namespace pavrex
