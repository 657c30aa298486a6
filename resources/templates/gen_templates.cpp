// Writes the template files VFmt_001.VTF onward: each one whole style record
// of 4148 bytes, starting from the program's style defaults. Edit the table,
// run the generator with the output folder as its argument, look at the
// thumbnails (vakuro_build_templates with VAKURO_KEEP_THUMBNAILS) and commit
// the files.
#include <cstdio>
#include <cstring>
#include <string>

#include <iconv.h>

#include "pavrex.h"

namespace {

#define RGB PAVREX_RGB

// Code page 932, left-aligned, blank-filled; with a NUL after the value when
// withNul and it fits.
void setField(char* field, size_t size, const char* utf8, bool withNul) {
    std::memset(field, ' ', size);
    iconv_t cd = iconv_open("CP932", "UTF-8");
    char buffer[1024];
    char* in = const_cast<char*>(utf8);
    size_t inLeft = std::strlen(utf8);
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    const size_t n = std::min(size, sizeof buffer - outLeft);
    std::memcpy(field, buffer, n);
    if (withNul && n < size) field[n] = '\0';
}

struct Template {
    const char* text;  // the Japanese sample kept in the record
    const char* font;
    void (*apply)(PavrexStyle& s);
};

// Effects shared by several templates.
void glow(PavrexStyle& s, int colour, int spread, int blur) {
    s.ShadowType = 2;
    s.ShadowColor = colour;
    s.ShadowDistance = 0;
    s.SpareDistance = 0;
    s.ShadowSpread = spread;
    s.ShadowBlur = blur;
}
void dropShadow(PavrexStyle& s, int colour, int distance, int blur) {
    s.ShadowType = 1;
    s.ShadowColor = colour;
    s.ShadowDistance = distance;
    s.SpareDistance = distance;
    s.ShadowSpread = 0;
    s.ShadowBlur = blur;
}
void outline(PavrexStyle& s, int width, int style, int c1, int c2) {
    s.OutlineWidth = width;
    s.OutlineStyle = style;
    s.OutlineColor1 = c1;
    s.OutlineColor2 = c2;
}
void relief(PavrexStyle& s, int on, int depth, int curvature, int gloss, int reflection) {
    s.ReliefOn = on;
    s.ReliefDepth = depth;
    s.ReliefCurvature = curvature;
    s.ReliefGloss = gloss;
    s.ReliefReflection = reflection;
}
void fill(PavrexStyle& s, int type, int c1, int c2, int c3) {
    s.FillType = type;
    s.FillColor1 = c1;
    s.FillColor2 = c2;
    s.FillColor3 = c3;
}
void texture(PavrexStyle& s, int index) {
    s.FillType = 5;
    s.TextureIndex = index;
}
void pattern(PavrexStyle& s, int c1, int c2, int repeat, int angle) {
    s.FillType = 6;
    s.FillColor1 = c1;
    s.FillColor2 = c2;
    s.PatternRepeat = repeat;
    s.PatternAngle = angle;
}

const Template kTemplates[] = {
    // 1 Gold: three-colour vertical gradient, deep bevel, brown edge.
    {"黄金の輝き", "HG正楷書体-PRO", [](PavrexStyle& s) {
         fill(s, 4, RGB(255, 240, 150), RGB(200, 140, 20), RGB(255, 220, 90));
         outline(s, 2, 1, RGB(90, 50, 0), 0);
         relief(s, 1, 6, 5, 6, 4);
         dropShadow(s, RGB(120, 100, 60), 5, 3);
     }},
    // 2 Sunset: horizontal gradient of three colours, white edge.
    {"夕焼け空", "ＭＳ ゴシック", [](PavrexStyle& s) {
         fill(s, 2, RGB(255, 150, 40), RGB(240, 60, 110), RGB(120, 50, 170));
         outline(s, 2, 1, RGB(255, 255, 255), 0);
         relief(s, 1, 3, 5, 3, 0);
         dropShadow(s, RGB(110, 70, 110), 6, 3);
     }},
    // 3 Ice: pale gradient with a blue glow.
    {"氷の結晶", "ＭＳ 明朝", [](PavrexStyle& s) {
         fill(s, 4, RGB(255, 255, 255), RGB(150, 220, 255), RGB(60, 140, 230));
         outline(s, 1, 1, RGB(30, 90, 170), 0);
         relief(s, 1, 4, 5, 7, 3);
         glow(s, RGB(80, 170, 255), 4, 4);
     }},
    // 4 Neon on a dark wall.
    {"ネオン街", "ＭＳ ゴシック", [](PavrexStyle& s) {
         fill(s, 0, RGB(255, 235, 250), 0, 0);
         outline(s, 1, 1, RGB(255, 60, 200), 0);
         relief(s, 0, 1, 5, 0, 0);
         glow(s, RGB(255, 40, 190), 5, 5);
         s.BackColor = RGB(20, 10, 40);
     }},
    // 5 Deep red lacquer: trapezoid relief at full depth.
    {"朱塗り", "HG正楷書体-PRO", [](PavrexStyle& s) {
         fill(s, 3, RGB(230, 40, 30), RGB(140, 0, 0), 0);
         outline(s, 1, 1, RGB(60, 0, 0), 0);
         relief(s, 2, 10, 6, 7, 5);
         dropShadow(s, RGB(100, 100, 100), 7, 2);
     }},
    // 6 Silver metal.
    {"銀の刻印", "ＭＳ 明朝", [](PavrexStyle& s) {
         fill(s, 4, RGB(250, 250, 250), RGB(120, 125, 135), RGB(220, 225, 230));
         outline(s, 1, 1, RGB(50, 55, 60), 0);
         relief(s, 1, 8, 4, 8, 6);
         dropShadow(s, RGB(90, 90, 90), 5, 3);
     }},
    // 7..12 Textures.
    {"金箔押し", "HG正楷書体-PRO", [](PavrexStyle& s) {
         texture(s, 30);
         outline(s, 1, 1, RGB(90, 50, 0), 0);
         relief(s, 1, 6, 5, 6, 4);
         dropShadow(s, RGB(110, 90, 70), 5, 3);
     }},
    {"大理石", "ＭＳ 明朝", [](PavrexStyle& s) {
         texture(s, 41);
         outline(s, 1, 1, RGB(60, 60, 60), 0);
         relief(s, 2, 7, 5, 6, 4);
         dropShadow(s, RGB(100, 100, 100), 6, 3);
     }},
    {"青空と雲", "ＭＳ ゴシック", [](PavrexStyle& s) {
         texture(s, 42);
         outline(s, 1, 1, RGB(20, 70, 160), 0);
         relief(s, 1, 4, 5, 4, 2);
         glow(s, RGB(90, 160, 255), 3, 4);
     }},
    {"虹色", "ＭＳ ゴシック", [](PavrexStyle& s) {
         texture(s, 27);
         outline(s, 2, 1, RGB(255, 255, 255), 0);
         relief(s, 1, 4, 5, 5, 2);
         dropShadow(s, RGB(110, 110, 130), 6, 3);
     }},
    {"星屑", "ＭＳ 明朝", [](PavrexStyle& s) {
         texture(s, 22);
         outline(s, 1, 1, RGB(255, 240, 255), 0);
         relief(s, 1, 4, 5, 6, 3);
         glow(s, RGB(200, 120, 255), 4, 4);
         s.BackColor = RGB(25, 10, 45);
     }},
    {"銅板", "ＭＳ ゴシック", [](PavrexStyle& s) {
         texture(s, 10);
         outline(s, 1, 1, RGB(60, 25, 5), 0);
         relief(s, 2, 8, 5, 7, 5);
         dropShadow(s, RGB(100, 90, 80), 6, 3);
     }},
    // 13..16 Patterns.
    {"縞模様", "ＭＳ ゴシック", [](PavrexStyle& s) {
         pattern(s, RGB(255, 90, 60), RGB(255, 220, 80), 8, 45);
         outline(s, 2, 1, RGB(120, 30, 0), 0);
         relief(s, 1, 4, 5, 4, 2);
         dropShadow(s, RGB(120, 100, 90), 5, 3);
     }},
    {"波の模様", "ＭＳ 明朝", [](PavrexStyle& s) {
         pattern(s, RGB(20, 80, 180), RGB(150, 220, 255), 5, 90);
         outline(s, 1, 1, RGB(0, 30, 90), 0);
         relief(s, 1, 5, 5, 5, 3);
         glow(s, RGB(120, 200, 255), 3, 4);
     }},
    {"若葉の縞", "ＭＳ ゴシック", [](PavrexStyle& s) {
         pattern(s, RGB(40, 150, 60), RGB(200, 240, 120), 12, 135);
         outline(s, 1, 1, RGB(20, 70, 20), 0);
         relief(s, 1, 3, 5, 3, 1);
         dropShadow(s, RGB(110, 130, 110), 5, 3);
     }},
    {"紫の帯", "HG正楷書体-PRO", [](PavrexStyle& s) {
         pattern(s, RGB(110, 40, 160), RGB(240, 200, 255), 3, 0);
         outline(s, 1, 1, RGB(70, 0, 100), 0);
         relief(s, 1, 4, 5, 5, 2);
         dropShadow(s, RGB(90, 60, 110), 6, 3);
     }},
    // 17 Cherry blossom glow.
    {"桜の便り", "HG正楷書体-PRO", [](PavrexStyle& s) {
         fill(s, 3, RGB(255, 200, 220), RGB(240, 110, 160), 0);
         outline(s, 1, 1, RGB(200, 60, 120), 0);
         relief(s, 1, 3, 5, 5, 2);
         glow(s, RGB(255, 150, 190), 4, 4);
     }},
    // 18 Emerald.
    {"翡翠", "ＭＳ 明朝", [](PavrexStyle& s) {
         fill(s, 4, RGB(180, 255, 200), RGB(0, 130, 80), RGB(60, 200, 130));
         outline(s, 1, 1, RGB(0, 60, 30), 0);
         relief(s, 2, 7, 5, 7, 5);
         dropShadow(s, RGB(80, 110, 90), 6, 3);
     }},
    // 19 Thick outline with a gradient edge.
    {"太縁取り", "ＭＳ ゴシック", [](PavrexStyle& s) {
         fill(s, 0, RGB(255, 255, 200), 0, 0);
         outline(s, 3, 3, RGB(255, 60, 40), RGB(120, 0, 160));
         relief(s, 1, 2, 5, 2, 0);
         dropShadow(s, RGB(100, 100, 100), 6, 3);
     }},
    // 20 Pop candy: horizontal gradient edge.
    {"ポップ", "ＭＳ ゴシック", [](PavrexStyle& s) {
         fill(s, 1, RGB(255, 240, 60), RGB(255, 140, 30), 0);
         outline(s, 4, 2, RGB(0, 160, 255), RGB(230, 0, 150));
         relief(s, 1, 3, 5, 4, 1);
         dropShadow(s, RGB(90, 90, 130), 5, 2);
     }},
    // 21 Vertical writing: ink on paper.
    {"縦書き墨", "HG正楷書体-PRO", [](PavrexStyle& s) {
         fill(s, 3, RGB(60, 60, 60), RGB(0, 0, 0), 0);
         outline(s, 0, 0, 0, 0);
         relief(s, 1, 2, 5, 2, 0);
         dropShadow(s, RGB(170, 170, 170), 4, 4);
         s.Vertical = 1;
     }},
    // 22 Vertical writing: gold on deep red.
    {"縦書き金", "HG正楷書体-PRO", [](PavrexStyle& s) {
         fill(s, 4, RGB(255, 245, 170), RGB(210, 150, 30), RGB(255, 215, 80));
         outline(s, 1, 1, RGB(80, 40, 0), 0);
         relief(s, 1, 5, 5, 6, 4);
         glow(s, RGB(255, 210, 80), 3, 4);
         s.BackColor = RGB(120, 10, 20);
         s.Vertical = 1;
     }},
    // 23 Italic speed.
    {"疾風", "ＭＳ ゴシック", [](PavrexStyle& s) {
         fill(s, 1, RGB(0, 200, 255), RGB(0, 60, 200), 0);
         outline(s, 2, 1, RGB(255, 255, 255), 0);
         relief(s, 1, 4, 5, 5, 2);
         dropShadow(s, RGB(60, 60, 100), 8, 2);
         s.Slant = 20;
     }},
    // 24 Chocolate.
    {"チョコレート", "ＭＳ ゴシック", [](PavrexStyle& s) {
         fill(s, 3, RGB(140, 80, 40), RGB(70, 30, 10), 0);
         outline(s, 1, 1, RGB(40, 15, 0), 0);
         relief(s, 2, 9, 7, 7, 4);
         dropShadow(s, RGB(120, 100, 90), 6, 3);
     }},
    // 25 Night glow in white and blue on navy.
    {"月夜", "ＭＳ 明朝", [](PavrexStyle& s) {
         fill(s, 3, RGB(255, 255, 230), RGB(200, 220, 255), 0);
         outline(s, 0, 0, 0, 0);
         relief(s, 1, 3, 5, 4, 1);
         glow(s, RGB(150, 190, 255), 4, 5);
         s.BackColor = RGB(10, 20, 60);
     }},
    // 26 Fire: red to yellow with an orange glow.
    {"炎の魂", "HG正楷書体-PRO", [](PavrexStyle& s) {
         fill(s, 4, RGB(255, 250, 120), RGB(255, 120, 0), RGB(220, 20, 0));
         outline(s, 1, 1, RGB(120, 0, 0), 0);
         relief(s, 1, 4, 5, 5, 2);
         glow(s, RGB(255, 120, 0), 4, 5);
     }},
    // 27 Festival: red sunburst.
    {"祝賀", "HG正楷書体-PRO", [](PavrexStyle& s) {
         texture(s, 35);
         outline(s, 2, 1, RGB(255, 230, 120), 0);
         relief(s, 1, 5, 5, 6, 3);
         dropShadow(s, RGB(120, 80, 60), 6, 3);
     }},
    // 28 Emerald glitter.
    {"南の海", "ＭＳ ゴシック", [](PavrexStyle& s) {
         texture(s, 21);
         outline(s, 1, 1, RGB(0, 80, 90), 0);
         relief(s, 1, 5, 5, 6, 3);
         glow(s, RGB(0, 200, 190), 3, 4);
     }},
};

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
        PavrexStyleDefaults(&s);
        setField(s.Signature, sizeof s.Signature, "Vakuro SettingFile", false);
        s.FormatVersion = 100;
        setField(s.Text, sizeof s.Text, t.text, false);
        setField(s.SpareText, sizeof s.SpareText, "", false);
        setField(s.TextureFile, sizeof s.TextureFile, "", true);
        setField(s.SparePath, sizeof s.SparePath, "", false);
        setField(s.FontName, sizeof s.FontName, t.font, true);
        s.CharScaleSet = 1;
        for (int i = 0; i < 20; ++i) {
            s.CharWidth[i] = 100;
            s.CharHeight[i] = 100;
        }
        s.RotateDashes = 1;
        t.apply(s);
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
