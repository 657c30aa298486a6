// The web button painter of the file output: ink margins of the text image,
// placement on the button canvas, shape, outline and 3D shading.
//
// Colours are 0x00BBGGRR values. The face of a button is every canvas pixel
// whose colour equals the background colour exactly.
#pragma once

#include <QImage>

#include <vector>

namespace vakuro {

enum ButtonShape { ShapeSquare = 0, ShapeRound = 1, ShapeDiamond = 2, ShapeHexagon = 3 };
enum OutlineType { OutlineNone = 0, OutlineRaised = 1, OutlineSunken = 2, OutlineFlat = 3, OutlinePipe = 4 };

inline constexpr int kOutlineLight = 0xF0F0F0;
inline constexpr int kOutlineDark = 0x404040;

// Converts between 0x00BBGGRR and Qt's RGB values.
QRgb colourRefToRgb(int colourRef);
int rgbToColourRef(QRgb rgb);

// Distances from each edge to the first pixel that differs from the
// background: an image without any such pixel gives L = R = width and
// T = B = height.
struct InkMargins {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};
InkMargins inkMargins(const QImage& text, int background);

// A buttonWidth x buttonHeight canvas filled with the background colour and
// the text image drawn at its natural size: centred, or with the centring
// correction its inked area centred.
QImage placeOnCanvas(const QImage& text, int buttonWidth, int buttonHeight, int background, bool centring);

// The pipe outline's colour table, one entry per ring (e rings).
std::vector<int> pipeColourTable(int rings, int colour1, int colour2);

struct ButtonLook {
    int shape = ShapeSquare;
    int outline = OutlineRaised;
    int outlineWidth = 2;  // doubled inside for the round shape
    int outside = 0;
    int colour1 = 0;
    int colour2 = 0;
    bool smoothing = true;
};

// Paints shape and outline onto the canvas (RGB32) in place.
void paintButton(QImage& canvas, int background, const ButtonLook& look);

// The 3D strength of a level 1..5; 0 for any other level.
int shadingStrength(int level);

// The row offset of the shading at row y of a canvas height high.
int shadingOffset(int y, int height, int strength);

// Replaces every face pixel of each row by the background moved by the row's
// offset. Level 0 does nothing.
void shadeButton(QImage& canvas, int background, int level);

}  // namespace vakuro
