// pavrex_render: renders one line of text with the engine into a BMP file.
//
//   pavrex_render TEXT OUT.bmp [QUALITY] [FACE] [vertical]
//
// TEXT and FACE are UTF-8; the style is the program's default style.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <string>

#include "pavrex.h"

namespace {

// Converts UTF-8 to code page 932; false when a character has no equivalent.
bool toCp932(const char* utf8, std::string& out) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string in(utf8);
    out.assign(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TEXT OUT.bmp [QUALITY] [FACE] [vertical]\n", argv[0]);
        return 2;
    }
    std::string text, face;
    if (!toCp932(argv[1], text)) {
        std::fprintf(stderr, "the text holds characters that cannot be drawn\n");
        return 2;
    }
    if (!toCp932(argc > 4 ? argv[4] : "IPAGothic", face) || face.size() >= sizeof(PavrexStyle{}.FontName)) {
        std::fprintf(stderr, "unusable face name\n");
        return 2;
    }
    PavrexStyle style;
    PavrexStyleDefaults(&style);
    std::memcpy(style.FontName, face.c_str(), face.size() + 1);
    style.RotateDashes = 1;
    style.CharScaleSet = 1;
    for (int i = 0; i < 20; ++i) style.CharWidth[i] = style.CharHeight[i] = 100;
    style.Vertical = argc > 5 && std::strcmp(argv[5], "vertical") == 0;
    const int quality = argc > 3 ? std::atoi(argv[3]) : 101;
    const int result = ImgMake(text.c_str(), &style, argv[2], quality);
    if (result != PAVREX_OK) {
        std::fprintf(stderr, "rendering failed with code %d\n", result);
        return 1;
    }
    std::printf("%s\n", argv[2]);
    return 0;
}
