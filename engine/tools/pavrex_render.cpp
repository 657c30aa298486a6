// pavrex_render: renders one line of text with the engine into a BMP file.
//
//   pavrex_render TEXT OUT.bmp [QUALITY] [FACE] [vertical]
//
// TEXT and FACE are UTF-8; the style is the program's default style.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "cp932.h"
#include "pavrex.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TEXT OUT.bmp [QUALITY] [FACE] [vertical]\n", argv[0]);
        return 2;
    }
    const std::optional<std::string> text = cp932::fromUtf8(argv[1]);
    if (!text) {
        std::fprintf(stderr, "the text holds characters that cannot be drawn\n");
        return 2;
    }
    const std::optional<std::string> face = cp932::fromUtf8(argc > 4 ? argv[4] : "IPAGothic");
    if (!face || face->size() >= sizeof(PavrexStyle{}.FontName)) {
        std::fprintf(stderr, "unusable face name\n");
        return 2;
    }
    PavrexStyle style;
    PavrexStyleDefaults(&style);
    std::memcpy(style.FontName, face->c_str(), face->size() + 1);
    style.RotateDashes = 1;
    style.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) style.CharWidth[i] = style.CharHeight[i] = 100;
    style.Vertical = argc > 5 && std::strcmp(argv[5], "vertical") == 0;
    const int quality = argc > 3 ? std::atoi(argv[3]) : 101;
    const int result = ImgMake(text->c_str(), &style, argv[2], quality);
    if (result != PAVREX_OK) {
        std::fprintf(stderr, "rendering failed with code %d\n", result);
        return 1;
    }
    std::printf("%s\n", argv[2]);
    return 0;
}
