/*
 * imgctl: the image-format component.
 *
 * Loads 24- and 8-bit BMP files into bitmaps held behind opaque handles,
 * reduces them to at most 256 colours, and writes GIF (optionally with a
 * transparent colour), animated GIF and JPEG files; writes 32-bit RGBA
 * pictures as PNG files and frames (bitmaps, or RGBA pictures with their own
 * alpha) as animated WebP files.
 *
 * Conventions shared by every function:
 * - Paths are the file system's own bytes (UTF-8 on a normal Linux system),
 *   NUL-terminated, passed to open() unchanged.
 * - A handle is a non-zero signed 32-bit integer returned by ToDIB; 0 is
 *   never a valid handle. Every handle must be released with DeleteDIB.
 * - Pixel coordinates count from the top-left corner of the picture.
 * - Colours of 24-bit bitmaps are reported as 0x00BBGGRR (red in the low
 *   byte), the colour convention of the rest of the program.
 * - Functions that return a result code return IMGCTL_OK (1) on success and
 *   one of the negative IMGCTL_ERR_* values on failure. No function prints,
 *   throws or aborts; bad input gets a result code.
 * - Files are written to a temporary name in the target's folder and renamed
 *   over the target only when complete: a failed write leaves the previous
 *   file (if any) untouched and no partial file behind.
 * - The functions may be called from any thread; calls that use the same
 *   handle at the same time see either the state before or after the other
 *   call, never a mixture.
 */
#ifndef IMGCTL_H
#define IMGCTL_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define IMGCTL_API __attribute__((visibility("default")))
#else
#define IMGCTL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Version reported by ImgctlVersion: 100 means 1.00. */
#define IMGCTL_VERSION 100

/* Result codes. */
#define IMGCTL_OK 1
#define IMGCTL_ERR_HANDLE (-1)   /* the handle is 0, unknown or already deleted */
#define IMGCTL_ERR_ARGUMENT (-2) /* a NULL pointer or a value outside its documented range */
#define IMGCTL_ERR_NOT_8BIT (-3) /* a GIF writer got a handle that was not reduced with DIBto8Bit */
#define IMGCTL_ERR_MEMORY (-4)   /* not enough memory */
#define IMGCTL_ERR_WRITE (-5)    /* the output file could not be created, written or renamed */
#define IMGCTL_ERR_CODEC (-6)    /* the colour quantiser or an encoder reported a failure */

/* Flag bit of GifOptions.flags and FrameRecord.flags: the image has a
 * transparent colour, whose palette index is given beside the flags. */
#define IMGCTL_TRANSPARENT 0x0008

/* Value the program sets in FrameRecord.flags for every frame. It carries no
 * meaning for the writer; any bits other than IMGCTL_TRANSPARENT are ignored. */
#define IMGCTL_FRAME_STANDARD 0x1000

/* Value the program sets in GifAnimeHeader.flags. It carries no meaning for
 * the writer beyond identifying the record; bits not defined here are
 * ignored. */
#define IMGCTL_ANIME_HEADER_TAG 1024

/* GifAnimeHeader.flags bit: write every frame whole, each with its bitmap's
 * palette as local colour table. Without it, frames share the global colour
 * table where their colours allow, and opaque frames of equal size are
 * reduced to the rectangle that changed since the previous frame (see
 * DIBtoGIFAniEx). */
#define IMGCTL_ANIME_NO_OPTIMIZE 0x0001

/* Options of DIBto8Bit. */
#define IMGCTL_QUANT_NEAREST 0 /* every pixel takes its nearest palette colour (no dithering) */
#define IMGCTL_QUANT_DITHER 1  /* error-diffusion dithering that spares edges */

/* Option record of DIBtoGIFex: seven 32-bit fields. */
typedef struct GifOptions {
    int32_t flags;            /* IMGCTL_TRANSPARENT or 0; other bits are ignored */
    int32_t transparentIndex; /* palette index of the transparent colour, used with IMGCTL_TRANSPARENT */
    int32_t reserved[5];      /* must be zero; ignored */
} GifOptions;

/* One frame of an animation (28 bytes). The program keeps a table of these
 * and passes a pointer to its first record and the number of frames. */
typedef struct FrameRecord {
    uint32_t flags;            /* IMGCTL_FRAME_STANDARD, plus IMGCTL_TRANSPARENT for a transparent colour */
    uint32_t transparentIndex; /* palette index of the transparent colour (with IMGCTL_TRANSPARENT) */
    uint8_t reserved[12];      /* zero; ignored */
    int16_t disposal;          /* GIF disposal: 0 none, 1 leave in place, 2 restore background, 3 restore previous */
    int16_t delay;             /* time the frame is shown, in hundredths of a second, 0..32767 */
    int32_t dib;               /* handle of the frame's bitmap, reduced with DIBto8Bit */
} FrameRecord;

/* Header of an animation (16 bytes). */
typedef struct GifAnimeHeader {
    uint32_t flags;       /* IMGCTL_ANIME_HEADER_TAG, optionally with IMGCTL_ANIME_NO_OPTIMIZE */
    uint8_t reserved[8];  /* zero; ignored */
    int16_t loopCount;    /* 0 plays endlessly; n (1..32767) plays the animation n times in all */
    int16_t reserved2;    /* zero; ignored */
} GifAnimeHeader;

#ifdef __cplusplus
#define IMGCTL_STATIC_ASSERT(c, m) static_assert(c, m)
#else
#define IMGCTL_STATIC_ASSERT(c, m) _Static_assert(c, m)
#endif
IMGCTL_STATIC_ASSERT(sizeof(GifOptions) == 28, "GifOptions is seven 32-bit fields");
IMGCTL_STATIC_ASSERT(sizeof(FrameRecord) == 28, "FrameRecord is 28 bytes");
IMGCTL_STATIC_ASSERT(offsetof(FrameRecord, transparentIndex) == 4, "FrameRecord.transparentIndex at 4");
IMGCTL_STATIC_ASSERT(offsetof(FrameRecord, disposal) == 20, "FrameRecord.disposal at 20");
IMGCTL_STATIC_ASSERT(offsetof(FrameRecord, delay) == 22, "FrameRecord.delay at 22");
IMGCTL_STATIC_ASSERT(offsetof(FrameRecord, dib) == 24, "FrameRecord.dib at 24");
IMGCTL_STATIC_ASSERT(sizeof(GifAnimeHeader) == 16, "GifAnimeHeader is 16 bytes");
IMGCTL_STATIC_ASSERT(offsetof(GifAnimeHeader, loopCount) == 12, "GifAnimeHeader.loopCount at 12");
#undef IMGCTL_STATIC_ASSERT

/*
 * ImgctlVersion
 * Returns IMGCTL_VERSION (100 for version 1.00). Never fails.
 */
IMGCTL_API int ImgctlVersion(void);

/*
 * ToDIB
 * Loads an uncompressed BMP file of 24 bits per pixel (bottom-up or top-down
 * rows, padded to 4 bytes) or of 8 bits per pixel with a colour table of up
 * to 256 entries. Sides may be 1..32767 pixels, at most 2^26 pixels in all.
 *   path: the file's path (not NULL).
 * Returns a new handle (non-zero), or 0 when the file cannot be opened, is
 * not such a BMP file, has a header field that disagrees with the file's real
 * length, holds a pixel index outside its colour table, or memory runs out.
 * A 24-bit file gives a 24-bit bitmap; an 8-bit file gives an 8-bit bitmap
 * with the file's colour table as its palette.
 */
IMGCTL_API int ToDIB(const char* path);

/*
 * DIBto8Bit
 * Reduces the bitmap of handle, in place, to an 8-bit bitmap with a palette
 * of at most maxColors colours. A picture that has no more distinct colours
 * than maxColors is kept exactly: every pixel keeps its colour. Otherwise,
 * with IMGCTL_QUANT_NEAREST, the palette comes from cutting the picture's
 * distinct colours into boxes where the cut lowers the squared error most,
 * refined by k-means over those colours, and every pixel takes its nearest
 * palette colour, which gives the smallest squared error for the palette
 * (error diffusion can only add to it); the result depends on the picture
 * alone. With IMGCTL_QUANT_DITHER, libimagequant at its slowest, best
 * setting chooses the palette and diffuses the error.
 * An 8-bit bitmap whose palette has no more than maxColors entries is left
 * as it is.
 *   handle:    a handle from ToDIB.
 *   maxColors: 2..256, or 0 for 256.
 *   options:   IMGCTL_QUANT_NEAREST (0) or IMGCTL_QUANT_DITHER (1).
 * Returns IMGCTL_OK, IMGCTL_ERR_HANDLE, IMGCTL_ERR_ARGUMENT (maxColors or
 * options out of range), IMGCTL_ERR_MEMORY or IMGCTL_ERR_CODEC. On failure
 * the bitmap is unchanged.
 */
IMGCTL_API int DIBto8Bit(int handle, int maxColors, int options);

/*
 * PixelDIB
 * Reads one pixel.
 *   handle: a handle from ToDIB.
 *   x, y:   column and row from the top-left corner, inside the bitmap.
 * Returns the palette index (0..255) for an 8-bit bitmap, the colour
 * 0x00BBGGRR for a 24-bit bitmap, IMGCTL_ERR_HANDLE for a bad handle or
 * IMGCTL_ERR_ARGUMENT when (x, y) lies outside the bitmap.
 */
IMGCTL_API int PixelDIB(int handle, int x, int y);

/*
 * DIBInfo
 * Reports the size and depth of a bitmap.
 *   handle: a handle from ToDIB.
 *   width, height: receive the size in pixels (each may be NULL).
 *   bitsPerPixel:  receives 24 or 8 (may be NULL).
 * Returns IMGCTL_OK or IMGCTL_ERR_HANDLE (nothing is stored then).
 */
IMGCTL_API int DIBInfo(int handle, int* width, int* height, int* bitsPerPixel);

/*
 * DIBtoRGB32
 * Copies a bitmap into the caller's 32-bit pixel buffer, as drawing it at
 * the top-left corner of a width x height surface: the overlap of the bitmap
 * and the surface is written, pixels of the surface outside the bitmap are
 * left untouched. Each pixel is one 32-bit value 0xFFRRGGBB (alpha 255, then
 * red, green, blue; the layout of QImage::Format_RGB32 and
 * Format_ARGB32_Premultiplied on every byte order).
 *   handle:      a handle from ToDIB.
 *   dst:         the first (top) row of the surface; owned by the caller.
 *   width, height: size of the surface in pixels, 1..32767 each.
 *   strideBytes: distance between the starts of two rows in bytes, a
 *                multiple of 4 and at least 4 * width.
 * Returns IMGCTL_OK, IMGCTL_ERR_HANDLE or IMGCTL_ERR_ARGUMENT (dst NULL, a
 * size or the stride out of range; nothing is written then).
 */
IMGCTL_API int DIBtoRGB32(int handle, uint32_t* dst, int width, int height, int strideBytes);

/*
 * DIBtoGIFex
 * Writes an 8-bit bitmap as a GIF89a file with one image and the bitmap's
 * palette as global colour table.
 *   path:    output file; replaced when it exists.
 *   handle:  a handle reduced with DIBto8Bit (or loaded from an 8-bit BMP).
 *   options: the option record, or NULL for all zero. With IMGCTL_TRANSPARENT
 *            in flags, transparentIndex (an index of the bitmap's palette)
 *            becomes the transparent colour.
 * Returns IMGCTL_OK when the file was written, or IMGCTL_ERR_HANDLE,
 * IMGCTL_ERR_NOT_8BIT, IMGCTL_ERR_ARGUMENT (path NULL or empty, transparent
 * index outside the palette), IMGCTL_ERR_MEMORY, IMGCTL_ERR_CODEC or
 * IMGCTL_ERR_WRITE; then no file was written.
 */
IMGCTL_API int DIBtoGIFex(const char* path, int handle, const GifOptions* options);

/*
 * DIBtoJPG
 * Writes a bitmap (24- or 8-bit) as a JPEG file (JFIF, YCbCr 4:2:0,
 * optimised Huffman tables).
 *   path:        output file; replaced when it exists.
 *   handle:      a handle from ToDIB.
 *   quality:     1..100 (90 is the program's default); values outside are
 *                taken as the nearest of 1 and 100.
 *   progressive: 0 for a baseline file, any other value for a progressive one.
 * Returns IMGCTL_OK when the file was written, or IMGCTL_ERR_HANDLE,
 * IMGCTL_ERR_ARGUMENT (path NULL or empty), IMGCTL_ERR_MEMORY,
 * IMGCTL_ERR_CODEC or IMGCTL_ERR_WRITE; then no file was written.
 */
IMGCTL_API int DIBtoJPG(const char* path, int handle, int quality, int progressive);

/*
 * DIBtoGIFAniEx
 * Writes an animated GIF89a: one image per frame record, in order, each with
 * its delay, its disposal and, with IMGCTL_TRANSPARENT, its transparent
 * index. The logical screen is as large as the largest frame; every frame is
 * placed at its top-left corner.
 * Loop count: 0 writes a NETSCAPE2.0 extension with loop count 0 (plays
 * endlessly); 1 writes no NETSCAPE2.0 extension (plays once); n >= 2 writes
 * loop count n - 1, because browsers read that field as the number of
 * repetitions after the first play: the animation plays n times in all.
 * With IMGCTL_ANIME_NO_OPTIMIZE in the header's flags, every frame is written
 * whole with the palette of its bitmap as local colour table. Otherwise:
 * - Colour tables: each frame is written with only the colours it shows.
 *   Frames whose colours fit together in 256 entries use the global colour
 *   table (every frame, when the colours of all frames fit); the others
 *   carry a local table of their own colours.
 * - Changed rectangles: when every frame is opaque (no IMGCTL_TRANSPARENT)
 *   and all have the same size, each frame after the first is written as
 *   the bounding rectangle of the pixels whose colour differs from the
 *   previous frame (one pixel when none does). Each pixel inside it that did
 *   not change is written either as the frame's transparent index or as its
 *   colour, whichever lets the compression run on (as its colour when the
 *   changed pixels use all 256 entries). All frames then get disposal 1
 *   (leave in place).
 * The decoded pictures are identical, frame by frame, to those of the file
 * written with IMGCTL_ANIME_NO_OPTIMIZE. The frames are encoded on all the
 * machine's cores.
 *   path:   output file; replaced when it exists.
 *   frames: pointer to the first of count records (read only).
 *   count:  number of frames, 1..65535.
 *   header: the header record, or NULL for all zero.
 * Returns IMGCTL_OK when the file was written, or IMGCTL_ERR_HANDLE (a
 * frame's handle is bad), IMGCTL_ERR_NOT_8BIT (a frame was not reduced),
 * IMGCTL_ERR_ARGUMENT (path or frames NULL, count out of range, a negative
 * delay, a disposal outside 0..3, a transparent index outside the frame's
 * palette, a negative loop count), IMGCTL_ERR_MEMORY, IMGCTL_ERR_CODEC or
 * IMGCTL_ERR_WRITE; then no file was written.
 */
IMGCTL_API int DIBtoGIFAniEx(const char* path, const FrameRecord* frames, int count,
                             const GifAnimeHeader* header);

/*
 * RGBAtoPNG
 * Writes a 32-bit picture as a PNG file: 8 bits per channel, colour type 6
 * (RGBA, straight alpha), not interlaced, no ancillary chunks. Pixels of
 * alpha 0 are written as 0, 0, 0, 0. The smallest of several filter and
 * compression choices at zlib's best level is kept.
 *   path:        output file; replaced when it exists.
 *   pixels:      the top row first, four bytes per pixel: red, green, blue,
 *                alpha (0 transparent .. 255 opaque, not premultiplied);
 *                owned by the caller, only read.
 *   width, height: 1..32767 each, at most 2^26 pixels.
 *   strideBytes: distance between the starts of two rows, at least 4 * width.
 * Returns IMGCTL_OK when the file was written, or IMGCTL_ERR_ARGUMENT (path
 * NULL or empty, pixels NULL, a size or the stride out of range),
 * IMGCTL_ERR_MEMORY, IMGCTL_ERR_CODEC or IMGCTL_ERR_WRITE; then no file was
 * written.
 */
IMGCTL_API int RGBAtoPNG(const char* path, const uint8_t* pixels, int width, int height, int strideBytes);

/* DIBtoWebPAni quality: every frame lossless. */
#define IMGCTL_WEBP_LOSSLESS (-1)

/*
 * DIBtoWebPAni
 * Writes an animated WebP file with libwebp's animation encoder: one frame
 * per frame record, in order. The canvas is as large as the largest frame;
 * each frame is placed at its top-left corner over a transparent canvas.
 * Each record's delay (hundredths of a second; 0 shows for 10 ms) becomes
 * the frame's duration; disposal is ignored (the encoder chooses its own).
 * Consecutive identical frames are merged by the encoder into one frame of
 * their summed duration. With IMGCTL_TRANSPARENT, the pixels whose palette
 * index (8-bit bitmap) or colour 0x00BBGGRR (24-bit bitmap) equals
 * transparentIndex are fully transparent; all others are opaque.
 *   path:    output file; replaced when it exists.
 *   frames:  pointer to the first of count records (read only); bitmaps of
 *            24 or 8 bits.
 *   count:   number of frames, 1..65535.
 *   header:  the header record, or NULL for all zero; its loopCount n: 0
 *            plays endlessly, n >= 1 plays the animation n times in all.
 *   quality: IMGCTL_WEBP_LOSSLESS (-1, or any negative value) for lossless
 *            frames (the encoder's preset level 6 of 9), 0..100 for lossy
 *            frames at that quality (alpha kept exact).
 * Returns IMGCTL_OK when the file was written, or IMGCTL_ERR_HANDLE,
 * IMGCTL_ERR_ARGUMENT (path or frames NULL, count or quality out of range, a
 * negative delay or loop count, a transparent index outside an 8-bit
 * frame's palette), IMGCTL_ERR_MEMORY, IMGCTL_ERR_CODEC or IMGCTL_ERR_WRITE;
 * then no file was written.
 */
IMGCTL_API int DIBtoWebPAni(const char* path, const FrameRecord* frames, int count, const GifAnimeHeader* header,
                            int quality);

/* One frame of RGBAtoWebPAni: a straight-alpha picture and its delay. */
typedef struct RgbaFrame {
    const uint8_t* pixels; /* the top row first, four bytes per pixel: red, green, blue, alpha (not premultiplied); owned by the caller, only read */
    int32_t width;         /* 1..16383 */
    int32_t height;        /* 1..16383 */
    int32_t strideBytes;   /* distance between the starts of two rows, at least 4 * width */
    int32_t delay;         /* time the frame is shown, in hundredths of a second, 0..32767 */
} RgbaFrame;

/*
 * RGBAtoWebPAni
 * Writes an animated WebP file of 32-bit frames that carry their own alpha
 * (an animation with soft edges over any page): as DIBtoWebPAni, one frame
 * per record, in order, each placed at the top-left corner of a canvas as
 * large as the largest frame over a transparent canvas, each delay
 * (hundredths of a second; 0 shows for 10 ms) becoming the frame's
 * duration. Every pixel keeps its alpha; colours under alpha 0 are not
 * kept. Consecutive identical frames are merged by the encoder into one
 * frame of their summed duration.
 *   path:    output file; replaced when it exists.
 *   frames:  pointer to the first of count records (read only).
 *   count:   number of frames, 1..65535.
 *   header:  the header record, or NULL for all zero; its loopCount as for
 *            DIBtoWebPAni.
 *   quality: IMGCTL_WEBP_LOSSLESS (any negative value) or 0..100, as for
 *            DIBtoWebPAni (lossy frames keep their alpha exact).
 * Returns IMGCTL_OK when the file was written, or IMGCTL_ERR_ARGUMENT (path
 * or frames NULL, count or quality out of range, a frame's pixels NULL, its
 * size or stride out of range, a delay outside 0..32767, a negative loop
 * count), IMGCTL_ERR_MEMORY, IMGCTL_ERR_CODEC or IMGCTL_ERR_WRITE; then no
 * file was written.
 */
IMGCTL_API int RGBAtoWebPAni(const char* path, const RgbaFrame* frames, int count, const GifAnimeHeader* header,
                             int quality);

/*
 * DeleteDIB
 * Releases a bitmap; the handle becomes invalid.
 * Returns IMGCTL_OK or IMGCTL_ERR_HANDLE.
 */
IMGCTL_API int DeleteDIB(int handle);

#ifdef __cplusplus
}
#endif

#endif /* IMGCTL_H */
