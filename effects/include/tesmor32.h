/*
 * Tesmor32: the image effects library of Vakuro.
 *
 * The whole contract of libTesmor32.so. Every function is independent,
 * keeps no state between calls and allocates and frees its own buffers;
 * calls may run concurrently as long as they do not write the same file or
 * pixel array.
 *
 * Files. The file functions read a BMP file and write a new one. Accepted
 * files are uncompressed BMPs with a 54-byte header (info header size 40 or
 * more), positive height (bottom-up rows), 24 bits per pixel (HReSize also
 * takes 8), rows padded to 4 bytes, pixels in blue, green, red order, at
 * most 30000 pixels a side and 1 GiB of pixel data. Everything in a header
 * is checked against the real file length before it is used; the file size
 * field is not relied on. A file that lacks only the padding bytes of its
 * last row is read with zero padding; a file that lacks real pixel bytes is
 * refused as damaged (code -13).
 * The result is written with the source's header, changed only in the
 * width, height, sizes and, when the colour table is dropped, the data
 * offset (54) and info size (40). It is written to a temporary file in the
 * destination's folder and renamed over the destination, so the
 * destination may be the source itself and a failed call leaves the
 * destination as it was. Nothing is written when a function returns
 * anything other than 1.
 * Paths are the file system's own bytes (UTF-8), NUL-terminated. A null
 * source path counts as a file that cannot be opened, a null destination
 * as one that cannot be written.
 *
 * Pixel arrays. DIBPast, DIBPast2 and GetMarg work on pixel arrays in the
 * caller's memory: bottom-up rows of 3 bytes per pixel (blue, green, red),
 * each row padded to a multiple of 4 bytes, so width w and height h take
 * h * 4 * floor((3 * w + 3) / 4) bytes. The caller owns them; the library
 * keeps no pointer after returning.
 *
 * Result codes: 1 is success, negative values are failures as listed for
 * each function.
 */
#ifndef TESMOR32_H
#define TESMOR32_H

#define TESMOR32_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/*
 * HReSize: nearest-neighbour resize of an 8- or 24-bit BMP file.
 *
 * source, destination: file paths (may be the same).
 * newWidth, newHeight: size of the result in pixels; only the low 16 bits
 *   are used, as a signed value (-32768 .. 32767). Both 0 means half the
 *   source's size (integer division).
 * Output pixel (x, y) = source pixel (floor(x * W / newWidth),
 * floor(y * H / newHeight)), W x H the source's size, y from the bottom.
 * An 8-bit file keeps its colour table and data offset.
 *
 * Returns
 *    1  success
 *   -1  newWidth < 1 (not both sizes 0), or halving a source 1 pixel wide
 *   -2  newHeight < 1 (not both sizes 0), or halving a source 1 pixel high
 *   -3  source cannot be opened, or is shorter than 54 bytes
 *   -4  destination cannot be written
 *   -5  source does not start with "BM"
 *   -6  source is compressed
 *   -7  source has neither 8 nor 24 bits per pixel
 *   -8  out of memory, or the result would exceed 30000 pixels a side or
 *       1 GiB of pixel data
 *  -13  source damaged: its header's offsets or sizes do not fit the file,
 *       or its size is 0, negative or beyond the limits above
 */
TESMOR32_API int HReSize(const char* source, const char* destination, int newWidth,
                         int newHeight);

/*
 * SReSize: supersampling resize of a 24-bit BMP file.
 *
 * source, destination: file paths (may be the same).
 * newWidth, newHeight: size of the result in pixels; only the low 16 bits
 *   are used, as a signed value. A negative newWidth gives a result
 *   |newWidth| wide mirrored left to right. Both 0 means half the source's
 *   size (integer division), not mirrored.
 * samples: n x n samples per output pixel; n = 4 when samples <= 0, at
 *   most 15 (larger values mean 15).
 * Output pixel (x, y) is the per-channel average (integer division by n*n)
 * of the source pixels at rows floor((y*n + k) * H / (n * newHeight)) and
 * columns floor((x'*n + l) * W / (n * |newWidth|)), k, l = 0 .. n-1,
 * x' = x, or |newWidth| - 1 - x when mirrored. With n = 3 only, a pixel
 * whose three averages all exceed 245 becomes (245, 245, 245).
 *
 * Returns
 *    1  success
 *   -1  newWidth is 0 (not both sizes 0), or halving a source 1 pixel wide
 *   -2  newHeight < 1 (not both sizes 0), or halving a source 1 pixel high
 *   -3  source cannot be opened
 *   -4  first byte of the source is not 'B'
 *   -5  second byte of the source is not 'M'
 *   -6  source is not an uncompressed 24-bit file
 *   -7  out of memory, or the result would exceed 30000 pixels a side or
 *       1 GiB of pixel data
 *  -11  destination cannot be written
 *  -13  source damaged: shorter than 54 bytes, its header's offsets or sizes
 *       do not fit the file, or its size is 0, negative or beyond the limits
 */
TESMOR32_API int SReSize(const char* source, const char* destination, int newWidth,
                         int newHeight, int samples);

/*
 * SReSize2: cuts a window out of a 24-bit BMP file and resizes it with
 * supersampling.
 *
 * source, destination: file paths (may be the same).
 * x0, y0: left column and top row of the window, y0 counted from the top.
 * windowWidth, windowHeight: size of the window in pixels.
 * newWidth, newHeight: size of the result in pixels. Both 0 means half the
 *   size of the source (W/2 x H/2, integer division), not of the window.
 * All six are used by their low 16 bits, as signed values.
 * samples: n x n samples per output pixel; n = 5 when samples < 1, at most
 *   15.
 * Output pixel (x, y) (y from the bottom) averages the window pixels at
 * window column floor((x*n + l) * windowWidth / (n * newWidth)) and window
 * row, counted from the window's bottom, floor((y*n + k) * windowHeight /
 * (n * newHeight)).
 *
 * Returns
 *    1  success
 *   -1  newWidth < 1 (not both sizes 0), or halving a source 1 pixel wide
 *   -2  newHeight < 1 (not both sizes 0), or halving a source 1 pixel high
 *   -3  source cannot be opened
 *   -4  first byte of the source is not 'B'
 *   -5  second byte of the source is not 'M'
 *   -6  source is not an uncompressed 24-bit file
 *   -7  out of memory, or the result would exceed the limits
 *  -11  destination cannot be written
 *  -12  window not inside the source: x0 or y0 negative, windowWidth or
 *       windowHeight below 1, x0 + windowWidth > W or y0 + windowHeight > H
 *  -13  source damaged (as for SReSize)
 */
TESMOR32_API int SReSize2(const char* source, const char* destination, int x0, int y0,
                          int windowWidth, int windowHeight, int newWidth, int newHeight,
                          int samples);

/*
 * Zoom: bilinear enlargement of a 24-bit BMP file (point sampling in a
 * direction that shrinks).
 *
 * source, destination: file paths (may be the same).
 * newWidth, newHeight: size of the result in pixels, 1 .. 30000 (all 32
 *   bits are used).
 * With SX = max(1, floor(10 * newWidth / W)), capX = floor(newWidth / W):
 * output column x samples sx = floor(x * (W-1) / newWidth) and the next
 * column with fraction fx = x - floor(sx * newWidth / (W-1)) clamped to
 * 0 .. capX; rows likewise with SY, capY, sy, fy (y from the bottom). Each
 * channel = floor(floor((w00 p(sx,sy) + w10 p(sx+1,sy) + w01 p(sx,sy+1)
 * + w11 p(sx+1,sy+1)) / SX) / SY) with w00 = (SX-10fx)(SY-10fy),
 * w10 = 10fx(SY-10fy), w01 = 10fy(SX-10fx), w11 = 100 fx fy.
 * A source one pixel wide has no neighbour column to interpolate with: every
 * output column repeats that column (likewise a source one pixel high
 * repeats its row; a 1 x 1 source gives a uniform image).
 *
 * Returns
 *    1  success
 *   -1  source cannot be opened
 *   -2  source is shorter than 54 bytes
 *   -3  source does not start with "BM"
 *   -4  source is compressed
 *   -5  source is not a 24-bit file
 *   -6  destination cannot be written
 *   -7  newWidth < 1
 *   -8  newHeight < 1
 *   -9  out of memory, or the result would exceed 30000 pixels a side or
 *       1 GiB of pixel data
 *  -13  source damaged (as for HReSize)
 */
TESMOR32_API int Zoom(const char* source, const char* destination, int newWidth,
                      int newHeight);

/*
 * DIBPast: pastes one pixel array onto another, stretched, optionally
 * mirrored, optionally only onto the destination's key colour.
 *
 * destination: dstWidth x dstHeight pixel array, changed in place.
 * source: srcWidth x srcHeight pixel array, only read. It may be the same
 *   array as destination (the paste then reads the array as it was).
 * spare: ignored.
 * dstWidth, dstHeight, srcWidth, srcHeight: sizes in pixels, 1 .. 30000.
 * x, y: where the top-left corner of the paste goes, in pixels from the
 *   destination's left and top edges; may be negative.
 * w, h: size of the paste in pixels. 0 pastes nothing. A negative w (h)
 *   mirrors the source left to right (top to bottom).
 * mode: 1 replaces only destination pixels of the key colour, the colour
 *   of the destination's bottom-left pixel before the call; any other value
 *   replaces every pixel.
 * Paste pixel (j, i), j = 0 .. |w|-1, i = 0 .. |h|-1, lands at column
 * x + j, row y + i from the top, if that lies inside the destination, and
 * takes the source pixel at column floor(j * srcWidth / w) and row
 * floor(i * srcHeight / h) from the top; mirrored, column
 * floor(srcWidth * (j + w + 1) / w), row floor(srcHeight * (i + h + 1) / h).
 *
 * Returns
 *    1  success (also when nothing was pasted)
 *   -1  destination or source is null
 *   -2  a width or height is below 1, above 30000, or the array would
 *       exceed 1 GiB
 *   -4  out of memory (only possible when source and destination overlap:
 *       the source is then copied first)
 */
TESMOR32_API int DIBPast(unsigned char* destination, const unsigned char* source, int spare,
                         int dstWidth, int dstHeight, int srcWidth, int srcHeight, int x,
                         int y, int w, int h, int mode);

/*
 * DIBPast2: like DIBPast, but the paste takes a span of the source.
 *
 * Arguments as for DIBPast, and:
 * w, h: size of the paste; below 1 pastes nothing (no mirroring).
 * spare2: ignored.
 * srcTop: first source row of the span, counted from the top.
 * srcSpanX, srcSpanY: width and height of the span in source pixels; the
 *   span starts at source column 0.
 * Paste pixel (j, i) takes the source pixel at column
 * floor(j * srcSpanX / w) and row srcTop + floor(i * srcSpanY / h) from
 * the top.
 *
 * Returns
 *    1  success (also when nothing was pasted)
 *   -1  destination or source is null
 *   -2  a width or height is below 1, above 30000, or the array would
 *       exceed 1 GiB
 *   -3  the span does not lie inside the source: srcTop outside
 *       0 .. srcHeight-1, srcSpanX outside 0 .. srcWidth, srcSpanY
 *       negative or srcTop + srcSpanY > srcHeight (checked only when w and
 *       h are at least 1)
 *   -4  out of memory (as for DIBPast)
 */
TESMOR32_API int DIBPast2(unsigned char* destination, const unsigned char* source, int spare,
                          int dstWidth, int dstHeight, int srcWidth, int srcHeight, int x,
                          int y, int w, int h, int spare2, int srcTop, int srcSpanX,
                          int srcSpanY, int mode);

/*
 * GetMarg: counts the key-coloured rows below and above the ink of a
 * picture. The key colour is the colour of the bottom-left pixel.
 *
 * pixels: width x height pixel array, only read.
 * width, height: size in pixels, 1 .. 30000.
 * spare: ignored.
 * topMargin: receives height - 1 - the index (from the bottom) of the
 *   highest row holding a pixel of another colour.
 * bottomMargin: receives the index of the lowest such row.
 * A picture without such a pixel gives bottomMargin 0 and topMargin
 * height - 1. The outputs are written only on success.
 *
 * Returns
 *    1  success
 *   -1  pixels, topMargin or bottomMargin is null
 *   -2  width or height below 1, above 30000, or the array would exceed
 *       1 GiB
 */
TESMOR32_API int GetMarg(const unsigned char* pixels, int width, int height, int spare,
                         int* topMargin, int* bottomMargin);

#ifdef __cplusplus
}
#endif

#endif /* TESMOR32_H */
