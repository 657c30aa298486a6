// Writes the template files VFmt_001.VTF onward: each one whole style record
// of 4148 bytes, starting from the program's style defaults. Edit the table,
// run the generator with the output folder as its argument, look at the
// thumbnails (vakuro_build_templates with VAKURO_KEEP_THUMBNAILS) and commit
// the files.
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "cp932.h"
#include "pavrex.h"

namespace {

#define RGB PAVREX_RGB

// The fill: a colour or gradient (FillType 0-4) of up to three colours, a
// texture (5) or the striped pattern (6).
struct Fill {
    int type;
    int colour1 = 0;
    int colour2 = 0;
    int colour3 = 0;
    int texture = 0;
    int repeat = 0;
    int angle = 0;
};
constexpr Fill colours(int type, int c1, int c2 = 0, int c3 = 0) { return {type, c1, c2, c3}; }
constexpr Fill texture(int index) { return {.type = 5, .texture = index}; }
constexpr Fill pattern(int c1, int c2, int repeat, int angle) {
    return {.type = 6, .colour1 = c1, .colour2 = c2, .repeat = repeat, .angle = angle};
}

struct Outline {
    int width;
    int style;
    int colour1;
    int colour2;
};

struct Relief {
    int on;
    int depth;
    int curvature;
    int gloss;
    int reflection;
};

// A dark drop shadow at a distance, or a light glow spread around the text.
struct Shadow {
    int type;
    int colour;
    int distance;
    int spread;
    int blur;
};
constexpr Shadow drop(int colour, int distance, int blur) { return {1, colour, distance, 0, blur}; }
constexpr Shadow glow(int colour, int spread, int blur) { return {2, colour, 0, spread, blur}; }

// What a few templates change beyond the fill, edge, relief and shadow.
struct Layout {
    std::optional<int> backColour = std::nullopt;
    int vertical = 0;
    int slant = 0;
};

struct Template {
    const char* text;  // the Japanese sample kept in the record
    const char* font;
    Fill fill;
    Outline outline;
    Relief relief;
    Shadow shadow;
    Layout layout = {};
};

const Template kTemplates[] = {
    // 1 Gold: three-colour vertical gradient, deep bevel, brown edge.
    {"黄金の輝き", "HG正楷書体-PRO", colours(4, RGB(255, 240, 150), RGB(200, 140, 20), RGB(255, 220, 90)),
     {2, 1, RGB(90, 50, 0), 0}, {1, 6, 5, 6, 4}, drop(RGB(120, 100, 60), 5, 3)},
    // 2 Sunset: horizontal gradient of three colours, white edge.
    {"夕焼け空", "ＭＳ ゴシック", colours(2, RGB(255, 150, 40), RGB(240, 60, 110), RGB(120, 50, 170)),
     {2, 1, RGB(255, 255, 255), 0}, {1, 3, 5, 3, 0}, drop(RGB(110, 70, 110), 6, 3)},
    // 3 Ice: pale gradient with a blue glow.
    {"氷の結晶", "ＭＳ 明朝", colours(4, RGB(255, 255, 255), RGB(150, 220, 255), RGB(60, 140, 230)),
     {1, 1, RGB(30, 90, 170), 0}, {1, 4, 5, 7, 3}, glow(RGB(80, 170, 255), 4, 4)},
    // 4 Neon on a dark wall.
    {"ネオン街", "ＭＳ ゴシック", colours(0, RGB(255, 235, 250)), {1, 1, RGB(255, 60, 200), 0},
     {0, 1, 5, 0, 0}, glow(RGB(255, 40, 190), 5, 5), {.backColour = RGB(20, 10, 40)}},
    // 5 Deep red lacquer: trapezoid relief at full depth.
    {"朱塗り", "HG正楷書体-PRO", colours(3, RGB(230, 40, 30), RGB(140, 0, 0)), {1, 1, RGB(60, 0, 0), 0},
     {2, 10, 6, 7, 5}, drop(RGB(100, 100, 100), 7, 2)},
    // 6 Silver metal.
    {"銀の刻印", "ＭＳ 明朝", colours(4, RGB(250, 250, 250), RGB(120, 125, 135), RGB(220, 225, 230)),
     {1, 1, RGB(50, 55, 60), 0}, {1, 8, 4, 8, 6}, drop(RGB(90, 90, 90), 5, 3)},
    // 7..12 Textures.
    {"金箔押し", "HG正楷書体-PRO", texture(30), {1, 1, RGB(90, 50, 0), 0}, {1, 6, 5, 6, 4},
     drop(RGB(110, 90, 70), 5, 3)},
    {"大理石", "ＭＳ 明朝", texture(41), {1, 1, RGB(60, 60, 60), 0}, {2, 7, 5, 6, 4},
     drop(RGB(100, 100, 100), 6, 3)},
    {"青空と雲", "ＭＳ ゴシック", texture(42), {1, 1, RGB(20, 70, 160), 0}, {1, 4, 5, 4, 2},
     glow(RGB(90, 160, 255), 3, 4)},
    {"虹色", "ＭＳ ゴシック", texture(27), {2, 1, RGB(255, 255, 255), 0}, {1, 4, 5, 5, 2},
     drop(RGB(110, 110, 130), 6, 3)},
    {"星屑", "ＭＳ 明朝", texture(22), {1, 1, RGB(255, 240, 255), 0}, {1, 4, 5, 6, 3},
     glow(RGB(200, 120, 255), 4, 4), {.backColour = RGB(25, 10, 45)}},
    {"銅板", "ＭＳ ゴシック", texture(10), {1, 1, RGB(60, 25, 5), 0}, {2, 8, 5, 7, 5},
     drop(RGB(100, 90, 80), 6, 3)},
    // 13..16 Patterns.
    {"縞模様", "ＭＳ ゴシック", pattern(RGB(255, 90, 60), RGB(255, 220, 80), 8, 45), {2, 1, RGB(120, 30, 0), 0},
     {1, 4, 5, 4, 2}, drop(RGB(120, 100, 90), 5, 3)},
    {"波の模様", "ＭＳ 明朝", pattern(RGB(20, 80, 180), RGB(150, 220, 255), 5, 90), {1, 1, RGB(0, 30, 90), 0},
     {1, 5, 5, 5, 3}, glow(RGB(120, 200, 255), 3, 4)},
    {"若葉の縞", "ＭＳ ゴシック", pattern(RGB(40, 150, 60), RGB(200, 240, 120), 12, 135),
     {1, 1, RGB(20, 70, 20), 0}, {1, 3, 5, 3, 1}, drop(RGB(110, 130, 110), 5, 3)},
    {"紫の帯", "HG正楷書体-PRO", pattern(RGB(110, 40, 160), RGB(240, 200, 255), 3, 0),
     {1, 1, RGB(70, 0, 100), 0}, {1, 4, 5, 5, 2}, drop(RGB(90, 60, 110), 6, 3)},
    // 17 Cherry blossom glow.
    {"桜の便り", "HG正楷書体-PRO", colours(3, RGB(255, 200, 220), RGB(240, 110, 160)),
     {1, 1, RGB(200, 60, 120), 0}, {1, 3, 5, 5, 2}, glow(RGB(255, 150, 190), 4, 4)},
    // 18 Emerald.
    {"翡翠", "ＭＳ 明朝", colours(4, RGB(180, 255, 200), RGB(0, 130, 80), RGB(60, 200, 130)),
     {1, 1, RGB(0, 60, 30), 0}, {2, 7, 5, 7, 5}, drop(RGB(80, 110, 90), 6, 3)},
    // 19 Thick outline with a gradient edge.
    {"太縁取り", "ＭＳ ゴシック", colours(0, RGB(255, 255, 200)), {3, 3, RGB(255, 60, 40), RGB(120, 0, 160)},
     {1, 2, 5, 2, 0}, drop(RGB(100, 100, 100), 6, 3)},
    // 20 Pop candy: horizontal gradient edge.
    {"ポップ", "ＭＳ ゴシック", colours(1, RGB(255, 240, 60), RGB(255, 140, 30)),
     {4, 2, RGB(0, 160, 255), RGB(230, 0, 150)}, {1, 3, 5, 4, 1}, drop(RGB(90, 90, 130), 5, 2)},
    // 21 Vertical writing: ink on paper.
    {"縦書き墨", "HG正楷書体-PRO", colours(3, RGB(60, 60, 60), RGB(0, 0, 0)), {0, 0, 0, 0}, {1, 2, 5, 2, 0},
     drop(RGB(170, 170, 170), 4, 4), {.vertical = 1}},
    // 22 Vertical writing: gold on deep red.
    {"縦書き金", "HG正楷書体-PRO", colours(4, RGB(255, 245, 170), RGB(210, 150, 30), RGB(255, 215, 80)),
     {1, 1, RGB(80, 40, 0), 0}, {1, 5, 5, 6, 4}, glow(RGB(255, 210, 80), 3, 4),
     {.backColour = RGB(120, 10, 20), .vertical = 1}},
    // 23 Italic speed.
    {"疾風", "ＭＳ ゴシック", colours(1, RGB(0, 200, 255), RGB(0, 60, 200)), {2, 1, RGB(255, 255, 255), 0},
     {1, 4, 5, 5, 2}, drop(RGB(60, 60, 100), 8, 2), {.slant = 20}},
    // 24 Chocolate.
    {"チョコレート", "ＭＳ ゴシック", colours(3, RGB(140, 80, 40), RGB(70, 30, 10)), {1, 1, RGB(40, 15, 0), 0},
     {2, 9, 7, 7, 4}, drop(RGB(120, 100, 90), 6, 3)},
    // 25 Night glow in white and blue on navy.
    {"月夜", "ＭＳ 明朝", colours(3, RGB(255, 255, 230), RGB(200, 220, 255)), {0, 0, 0, 0}, {1, 3, 5, 4, 1},
     glow(RGB(150, 190, 255), 4, 5), {.backColour = RGB(10, 20, 60)}},
    // 26 Fire: red to yellow with an orange glow.
    {"炎の魂", "HG正楷書体-PRO", colours(4, RGB(255, 250, 120), RGB(255, 120, 0), RGB(220, 20, 0)),
     {1, 1, RGB(120, 0, 0), 0}, {1, 4, 5, 5, 2}, glow(RGB(255, 120, 0), 4, 5)},
    // 27 Festival: red sunburst.
    {"祝賀", "HG正楷書体-PRO", texture(35), {2, 1, RGB(255, 230, 120), 0}, {1, 5, 5, 6, 3},
     drop(RGB(120, 80, 60), 6, 3)},
    // 28 Emerald glitter.
    {"南の海", "ＭＳ ゴシック", texture(21), {1, 1, RGB(0, 80, 90), 0}, {1, 5, 5, 6, 3},
     glow(RGB(0, 200, 190), 3, 4)},
};

// Code page 932, left-aligned, blank-filled; with a NUL after the value when
// withNul and it fits. False when the text has no code page 932 form.
bool setField(std::span<char> field, const char* utf8, bool withNul) {
    const std::optional<std::string> bytes = cp932::fromUtf8(utf8);
    if (!bytes) return false;
    cp932::setFixedField(field, *bytes, withNul);
    return true;
}

// The record of one template, from the program's defaults.
bool makeRecord(const Template& t, PavrexStyle& s) {
    PavrexStyleDefaults(&s);
    s.FormatVersion = 100;
    s.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) {
        s.CharWidth[i] = 100;
        s.CharHeight[i] = 100;
    }
    s.RotateDashes = 1;

    s.FillType = t.fill.type;
    if (t.fill.type == 5) {
        s.TextureIndex = t.fill.texture;
    } else {
        s.FillColor1 = t.fill.colour1;
        s.FillColor2 = t.fill.colour2;
        if (t.fill.type == 6) {
            s.PatternRepeat = t.fill.repeat;
            s.PatternAngle = t.fill.angle;
        } else {
            s.FillColor3 = t.fill.colour3;
        }
    }
    s.OutlineWidth = t.outline.width;
    s.OutlineStyle = t.outline.style;
    s.OutlineColor1 = t.outline.colour1;
    s.OutlineColor2 = t.outline.colour2;
    s.ReliefOn = t.relief.on;
    s.ReliefDepth = t.relief.depth;
    s.ReliefCurvature = t.relief.curvature;
    s.ReliefGloss = t.relief.gloss;
    s.ReliefReflection = t.relief.reflection;
    s.ShadowType = t.shadow.type;
    s.ShadowColor = t.shadow.colour;
    s.ShadowDistance = t.shadow.distance;
    s.SpareDistance = t.shadow.distance;
    s.ShadowSpread = t.shadow.spread;
    s.ShadowBlur = t.shadow.blur;
    if (t.layout.backColour) s.BackColor = *t.layout.backColour;
    if (t.layout.vertical != 0) s.Vertical = t.layout.vertical;
    if (t.layout.slant != 0) s.Slant = t.layout.slant;

    return setField(s.Signature, "Vakuro SettingFile", false) && setField(s.Text, t.text, false) &&
           setField(s.SpareText, "", false) && setField(s.TextureFile, "", true) &&
           setField(s.SparePath, "", false) && setField(s.FontName, t.font, true);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vakuro_gen_templates <folder>\n");
        return 2;
    }
    int n = 0;
    for (const Template& t : kTemplates) {
        ++n;
        PavrexStyle s;
        if (!makeRecord(t, s)) {
            std::fprintf(stderr, "vakuro_gen_templates: template %d has text without a code page 932 form\n", n);
            return 1;
        }
        char name[64];
        std::snprintf(name, sizeof name, "%s/VFmt_%03d.VTF", argv[1], n);
        FILE* f = std::fopen(name, "wb");
        if (f == nullptr || std::fwrite(&s, sizeof s, 1, f) != 1) {
            std::fprintf(stderr, "vakuro_gen_templates: cannot write %s\n", name);
            if (f != nullptr) std::fclose(f);
            return 1;
        }
        std::fclose(f);
    }
    std::printf("%d templates\n", n);
    return 0;
}
