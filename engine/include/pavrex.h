/*
 * Pavrex: the text image engine of Vakuro.
 *
 * Turns one line of code page 932 (Shift-JIS) text and a style record into a
 * 24-bit bottom-up BMP file. The library keeps no state between calls; calls
 * must not overlap (the program calls it from its one user-interface thread).
 *
 * This header is the whole contract of libPavrex.so.
 */
#ifndef PAVREX_H
#define PAVREX_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#if defined(__GNUC__)
#define PAVREX_API __attribute__((visibility("default")))
#else
#define PAVREX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * The style record: every parameter of a text-art style, 4148 bytes,
 * little-endian. The same bytes are the body of settings files, of the style
 * data file and of template records, so the layout must never change.
 *
 * Colours are 0x00BBGGRR. String fields are fixed-width code page 932 bytes,
 * left-aligned and blank-filled; FontName and TextureFile carry a NUL after
 * the value. Fields marked "scaled" are pixels at base resolution; the engine
 * multiplies them itself for its internal resolution.
 */
typedef struct PavrexStyle {
    char Signature[20];        /* "Vakuro SettingFile" + 2 blanks in settings files */
    int32_t FormatVersion;     /* 100 in settings files */
    char Text[512];            /* text of the main window (not read by the engine) */
    char SpareText[512];
    int32_t FillType;          /* 0 colour, 1/2 horizontal gradient of 2/3, 3/4 vertical gradient of 2/3, 5 texture, 6 pattern */
    int32_t FillColor1;
    int32_t FillColor2;
    int32_t FillColor3;
    char TextureFile[256];     /* BMP painted by fill types 5 and 6 (NUL-terminated) */
    char FontName[40];         /* face name (NUL-terminated; at most 31 bytes honoured) */
    int32_t ThickenX;          /* scaled, 0..8 */
    int32_t ThickenY;          /* scaled, 0..8 */
    int32_t Reserved1;
    int32_t Reserved2;
    int32_t ReservedTable[100];
    int32_t OutlineWidth;      /* scaled, list index 0..5 */
    int32_t OutlineStyle;      /* 0 none, 1 colour, 2 horizontal gradient, 3 vertical gradient */
    int32_t OutlineColor1;
    int32_t OutlineColor2;
    int32_t ReliefOn;          /* 0 off, 1 bevel, 2 trapezoid */
    int32_t ReliefDepth;       /* scaled, 1..10 */
    int32_t ReliefCurvature;   /* 1..10, divided at higher resolutions */
    int32_t ReliefGloss;       /* 0..8 */
    int32_t ShadowType;        /* 0 none, 1 dark, 2 light (glow) */
    int32_t ShadowColor;       /* used unchanged: 0 stays 0 */
    int32_t ShadowDistance;    /* scaled, 0..16 */
    int32_t SpareDistance;
    int32_t ShadowBlur;        /* scaled, 0..5 */
    int32_t Reserved3;
    int32_t BackColor;
    int32_t SpareColor1;
    int32_t SpareColor2;
    char SparePath[256];
    int32_t Slant;             /* italic slant 0..30 */
    int32_t TextureIndex;
    int32_t TextureTile;       /* 1 tiled, 0 stretched */
    int32_t ShadowSpread;      /* scaled, 0..8 */
    int32_t PatternAngle;      /* 0..359 */
    int32_t PatternRepeat;     /* 0..20 */
    int32_t Vertical;          /* 0 horizontal, 1 vertical */
    int32_t Spacing;           /* as shown in the colour dialog; equals SpacingPx */
    int32_t ReliefReflection;  /* 0..8 */
    int32_t CharScaleSet;      /* 1 once CharWidth/CharHeight 0..19 hold 100 */
    int32_t CharGap[40];       /* extra internal pixels after each character (not scaled) */
    int32_t CharWidth[40];     /* percent of natural width, 0 read as 100 */
    int32_t CharHeight[40];    /* percent of natural height, 0 read as 100 */
    int32_t CharOffsetX[40];   /* percent of natural width */
    int32_t CharOffsetY[40];   /* percent of natural height */
    int32_t SpacingPx;         /* scaled, -30..100: added between characters */
    int32_t RotateDashes;      /* 1: turn dashes and long-vowel marks in vertical writing */
    uint8_t Reserved4[1200];
} PavrexStyle;

#define PAVREX_STYLE_SIZE 4148

#ifdef __cplusplus
#define PAVREX_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define PAVREX_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

PAVREX_STATIC_ASSERT(sizeof(PavrexStyle) == PAVREX_STYLE_SIZE, "style record is 4148 bytes");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, FormatVersion) == 20, "FormatVersion");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, Text) == 24, "Text");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, SpareText) == 536, "SpareText");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, FillType) == 1048, "FillType");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, FillColor1) == 1052, "FillColor1");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, FillColor2) == 1056, "FillColor2");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, FillColor3) == 1060, "FillColor3");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, TextureFile) == 1064, "TextureFile");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, FontName) == 1320, "FontName");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ThickenX) == 1360, "ThickenX");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ThickenY) == 1364, "ThickenY");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, Reserved1) == 1368, "Reserved1");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, Reserved2) == 1372, "Reserved2");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ReservedTable) == 1376, "ReservedTable");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, OutlineWidth) == 1776, "OutlineWidth");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, OutlineStyle) == 1780, "OutlineStyle");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, OutlineColor1) == 1784, "OutlineColor1");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, OutlineColor2) == 1788, "OutlineColor2");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ReliefOn) == 1792, "ReliefOn");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ReliefDepth) == 1796, "ReliefDepth");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ReliefCurvature) == 1800, "ReliefCurvature");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ReliefGloss) == 1804, "ReliefGloss");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ShadowType) == 1808, "ShadowType");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ShadowColor) == 1812, "ShadowColor");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ShadowDistance) == 1816, "ShadowDistance");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, SpareDistance) == 1820, "SpareDistance");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ShadowBlur) == 1824, "ShadowBlur");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, Reserved3) == 1828, "Reserved3");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, BackColor) == 1832, "BackColor");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, SpareColor1) == 1836, "SpareColor1");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, SpareColor2) == 1840, "SpareColor2");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, SparePath) == 1844, "SparePath");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, Slant) == 2100, "Slant");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, TextureIndex) == 2104, "TextureIndex");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, TextureTile) == 2108, "TextureTile");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ShadowSpread) == 2112, "ShadowSpread");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, PatternAngle) == 2116, "PatternAngle");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, PatternRepeat) == 2120, "PatternRepeat");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, Vertical) == 2124, "Vertical");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, Spacing) == 2128, "Spacing");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, ReliefReflection) == 2132, "ReliefReflection");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, CharScaleSet) == 2136, "CharScaleSet");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, CharGap) == 2140, "CharGap");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, CharWidth) == 2300, "CharWidth");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, CharHeight) == 2460, "CharHeight");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, CharOffsetX) == 2620, "CharOffsetX");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, CharOffsetY) == 2780, "CharOffsetY");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, SpacingPx) == 2940, "SpacingPx");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, RotateDashes) == 2944, "RotateDashes");
PAVREX_STATIC_ASSERT(offsetof(PavrexStyle, Reserved4) == 2948, "Reserved4");

/* Builds a colour value 0x00BBGGRR. */
#define PAVREX_RGB(r, g, b) ((int32_t)((uint32_t)(r) | ((uint32_t)(g) << 8) | ((uint32_t)(b) << 16)))

/*
 * The program's style reset: all fields zero (strings NUL), then the
 * defaults of a fresh style. Run once at start-up before a style is loaded.
 */
static inline void PavrexStyleDefaults(PavrexStyle* style)
{
    memset(style, 0, sizeof *style);
    style->OutlineWidth = 1;
    style->BackColor = PAVREX_RGB(255, 255, 255);
    style->SpareColor1 = PAVREX_RGB(255, 255, 255);
    style->SpareColor2 = PAVREX_RGB(255, 255, 255);
    style->ReliefCurvature = 5;
    style->ReliefDepth = 5;
    style->ReliefGloss = 4;
    style->ReliefOn = 1;
    style->ShadowBlur = 2;
    style->ShadowColor = PAVREX_RGB(128, 128, 128);
    style->ShadowDistance = 7;
    style->SpareDistance = 7;
    style->ShadowType = 1;
    style->ThickenX = 3;
    style->ThickenY = 3;
    style->FillColor1 = PAVREX_RGB(64, 192, 192);
    style->FillColor2 = PAVREX_RGB(64, 128, 255);
    style->FillColor3 = PAVREX_RGB(128, 255, 225);
}

/* Result codes of ImgMake and ImgMake2. */
#define PAVREX_OK 0
#define PAVREX_TEXT_TOO_LONG (-1)     /* text longer than 255 bytes: nothing written */
#define PAVREX_WRITE_FAILED (-2)      /* output file could not be created or fully written: no file left */
#define PAVREX_CANNOT_RENDER (-3)     /* canvas could not be made (too large: a side over 60000 or an area over
                                         16 million pixels per resolution factor, at most 50 million; out of
                                         memory; no font at all): nothing written */
#define PAVREX_BAD_ARGUMENT (-4)      /* text, record or outPath is a null pointer */

/*
 * ImgMake2: renders text with the style record into a 24-bit BMP file.
 *
 *  text        NUL-terminated code page 932 bytes, at most 255 of them. An
 *              empty text renders the canvas of a single blank: background
 *              only, one line high.
 *  record      4148-byte style record; only read (the engine works on a copy).
 *  outPath     path of the BMP to create, as file-system bytes. The file is
 *              written under a temporary name in the same folder and renamed
 *              over the target, so a failed write leaves the old file alone.
 *  quality     0, 1, 2: internal resolution 1x, 2x, 4x. 100, 101, 102: the
 *              same, and the finished image is halved (smoothed edges).
 *              Other values take the nearest of these meanings: below 0 is
 *              0; 3..50 is 2; 51..99 is 100; above 102 is 102.
 *              A side of 1 stays 1 when halved: a degenerate style (its
 *              margins or spacing cancelling the text) gets the smallest
 *              canvas, 4 x 1, which halves to 2 x 1. The picture written
 *              never has a side of 0, and the caller still gets a picture
 *              rather than an error for a style it can correct.
 *
 * Any value in any field of the record is rendered or refused with
 * PAVREX_CANNOT_RENDER, in time bounded by the canvas: no field makes the
 * engine loop beyond the picture it works on.
 *  glyphIndex  -1 renders every glyph; i >= 0 renders only glyph i (a
 *              double-byte character, or a half-width character with its
 *              voiced mark, is one glyph) on a canvas of the whole text.
 *  outStart, outEnd
 *              written only when glyphIndex is not -1 (and the pointer is not
 *              null): the first and the end column of the rendered glyph on
 *              the canvas before any halving; both 0 when no glyph i exists.
 *
 * Returns PAVREX_OK or one of the negative codes above.
 */
PAVREX_API int ImgMake2(const char* text, const PavrexStyle* record, const char* outPath,
                        int quality, int glyphIndex, int* outStart, int* outEnd);

/* Flag of ImgMake3. */
#define PAVREX_WHITE_INK 1

/*
 * ImgMake3: ImgMake with flags; flags 0 renders exactly as ImgMake.
 *
 *  flags       0, or PAVREX_WHITE_INK. Internally white marks the empty
 *              canvas, so ImgMake treats every pure white text pixel (a
 *              white fill colour, white in a texture or gradient) as
 *              background: it casts no shadow, gets no outline or relief
 *              and shows the background colour. With PAVREX_WHITE_INK the
 *              text is the ink as laid out and thickened, whatever colour
 *              fills it, so white text is drawn white. Renderings of a
 *              style on two background colours then differ exactly where
 *              the background shows through, which is how the program
 *              recovers the alpha channel of a title.
 *              Any other bit gives PAVREX_BAD_ARGUMENT.
 *  text, record, outPath, quality: as for ImgMake2.
 *
 * Returns PAVREX_OK or one of the negative codes above.
 */
PAVREX_API int ImgMake3(const char* text, const PavrexStyle* record, const char* outPath, int quality, int flags);

/* ImgMake: ImgMake2 with glyphIndex -1. */
PAVREX_API int ImgMake(const char* text, const PavrexStyle* record, const char* outPath, int quality);

/*
 * ImgMeasure: the width and height of the picture ImgMake would write for
 * the same text, record and quality, found from the layout alone (nothing
 * is drawn or written), for a caller that needs only the size.
 *  width, height  written on PAVREX_OK only.
 * Returns PAVREX_OK, PAVREX_TEXT_TOO_LONG, PAVREX_CANNOT_RENDER (as ImgMake
 * would) or PAVREX_BAD_ARGUMENT (a null pointer).
 */
PAVREX_API int ImgMeasure(const char* text, const PavrexStyle* record, int quality, int* width, int* height);

/*
 * PavrexFaceAlias: the installed face that stands in for a face name of
 * another system (for example the Mincho and Gothic faces that styles and
 * templates made elsewhere name). face is a NUL-terminated code page 932
 * name; on a match the replacement (code page 932, NUL-terminated) is
 * written into out (outSize bytes, cut to fit) and 1 is returned; otherwise
 * 0 is returned and out is not touched.
 */
PAVREX_API int PavrexFaceAlias(const char* face, char* out, int outSize);

/* PavrexVer: the engine's version, 121. The argument is ignored. */
PAVREX_API int PavrexVer(int ignored);

#ifdef __cplusplus
}
#endif

#endif /* PAVREX_H */
