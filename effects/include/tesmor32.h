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
 * more), positive height (bottom-up rows), 24 bits per pixel (HReSize and
 * Rot also take 8), rows padded to 4 bytes, pixels in blue, green, red order, at
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
 * h * 4 * floor((3 * w + 3) / 4) bytes. RotM works on one byte per pixel
 * (see there). The caller owns them; the library keeps no pointer after
 * returning.
 *
 * Colours. Colour arguments are 0x00BBGGRR values: red = value & 0xFF,
 * green = (value >> 8) & 0xFF, blue = (value >> 16) & 0xFF. Coordinates
 * count columns from the left and rows from the bottom (file order).
 *
 * Result codes: 1 is success, negative values are failures as listed for
 * each function; Rot, RotM and RotAng also return 0 when asked to do
 * nothing.
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

/*
 * Rot: turns an 8- or 24-bit BMP file by a quarter.
 *
 * source, destination: file paths (may be the same).
 * mode: only the low 16 bits are used. 0 copies the picture unchanged,
 *   1 turns it a quarter clockwise, 2 a quarter counter-clockwise. A W x H
 *   picture turned becomes H x W: source pixel (x, y) (y from the bottom)
 *   goes to (y, W-1-x) clockwise and to (H-1-y, x) counter-clockwise.
 * An 8-bit file keeps its colour table and data offset.
 *
 * Returns
 *    1  success
 *    0  mode 0 with source and destination the same path: nothing is done
 *   -1  source cannot be opened
 *   -2  source is shorter than 54 bytes
 *   -3  source does not start with "BM"
 *   -4  source is compressed
 *   -5  source has neither 8 nor 24 bits per pixel
 *   -6  out of memory
 *  -10  destination cannot be written
 *  -11  mode is not 0, 1 or 2
 *  -13  source damaged (as for HReSize)
 */
TESMOR32_API int Rot(const char* source, const char* destination, int mode);

/*
 * RotM: turns a one-byte-per-pixel array in the caller's memory by a
 * quarter, in place.
 *
 * pixels: a w x h image of one byte per pixel (a palette index), bottom-up
 *   rows of 4 * floor((w + 3) / 4) bytes, changed in place. The turned
 *   image is h wide and w high, so it has w rows of 4 * floor((h + 3) / 4)
 *   bytes (their padding bytes are set to 0).
 *   Buffer rule: the buffer must hold the larger of the two images,
 *     max(h * 4 * floor((w + 3) / 4), w * 4 * floor((h + 3) / 4)) bytes.
 *   The library cannot see the buffer's length: a caller that allocated
 *   only the source image (for instance w = 4, h = 1: 4 bytes, turned 16)
 *   has its memory overrun. The caller owns the buffer.
 * width, height: pointers to the 16-bit sizes w and h in pixels, each
 *   1 .. 30000; swapped on success. Both 0 is an empty image: nothing is
 *   moved and 1 is returned.
 * mode: only the low 16 bits are used. 0 does nothing, 1 turns clockwise
 *   (source pixel (x, y) goes to (y, w-1-x)), any other value
 *   counter-clockwise (to (h-1-y, x)).
 *
 * Returns
 *    1  success
 *    0  mode 0: nothing is done, the sizes are left as they are
 *   -1  width below 1 or above 30000 (sizes not both 0)
 *   -2  height below 1 or above 30000 (sizes not both 0)
 *   -3  out of memory (for the copy of the source)
 *   -5  pixels, width or height is null
 * Nothing is changed unless 1 is returned.
 */
TESMOR32_API int RotM(unsigned char* pixels, short* width, short* height, int mode);

/*
 * RotAng: turns a 24-bit BMP file by any angle; the corners the turned
 * picture leaves uncovered take the colour of the source's bottom-left
 * pixel (its background).
 *
 * source, destination: file paths (may be the same).
 * outWidth, outHeight: receive the size of the result in pixels (may be
 *   null when not wanted); written only when 1 or 0 is returned.
 * angle: radians, single precision; positive turns the picture clockwise
 *   on screen. Must be a finite number.
 * With W x H the source's size and a the angle, the corners (0,0), (W,0),
 * (0,H), (W,H) map to X = W/2 + cos a (x - W/2) + sin a (y - H/2) and
 * Y = H/2 + cos a (y - H/2) - sin a (x - W/2), each truncated toward zero;
 * the result is W' = max X - min X wide and H' = max Y - min Y high (at
 * least 1 each). Output pixel (x', y') (y' from the bottom), with
 * dx = x' - trunc(W'/2), dy = y' - trunc(H'/2), takes source pixel
 * (trunc(trunc(W/2) + dx cos a - dy sin a),
 *  trunc(trunc(H/2) + dy cos a + dx sin a)) when that lies inside the
 * source, else the source's bottom-left pixel. Sine and cosine are taken
 * in single precision (the rest in double), so near whole numbers the
 * truncations fall either way: a quarter turn of a 100 x 40 picture comes
 * out 41 x 100, with background colour in parts of its bottom row and last
 * column and a one-pixel step between its halves. Rot turns by quarters
 * exactly.
 *
 * Returns
 *    1  success
 *    0  angle 0 with source and destination the same path: nothing is
 *       written; the outputs receive the source's size when it is a
 *       readable 24-bit file
 *   -1  source cannot be opened
 *   -2  source is shorter than 54 bytes
 *   -3  source does not start with "BM"
 *   -4  source is compressed
 *   -5  source is not a 24-bit file (8-bit files included)
 *   -6  out of memory, or the result would exceed 30000 pixels a side or
 *       1 GiB of pixel data
 *  -10  destination cannot be written
 *  -11  angle is not a finite number (infinite or NaN)
 *  -13  source damaged (as for HReSize)
 */
TESMOR32_API int RotAng(const char* source, const char* destination, int* outWidth,
                        int* outHeight, float angle);

/*
 * Fead: fades a 24-bit BMP file toward a colour, or darkens it.
 *
 * source, destination: file paths (may be the same).
 * colour: 0x00BBGGRR.
 * level: 0 .. 255 (values outside are taken as 0 or 255).
 * mode: 0 blends toward the colour: each channel p becomes
 *   ((255 - level) c + level p) / 255 (integer division, c the colour's
 *   channel), so 255 keeps the picture and 0 gives the plain colour.
 *   1 darkens: pixels exactly of the colour stay, every other channel
 *   becomes level p / 255. Any other mode copies the picture unchanged.
 *
 * Returns
 *    1  success
 *   -1  source cannot be opened
 *   -2  source is shorter than 54 bytes
 *   -3  source does not start with "BM"
 *   -4  source is compressed
 *   -5  source is not a 24-bit file
 *   -6  out of memory
 *  -10  destination cannot be written
 *  -13  source damaged (as for HReSize)
 */
TESMOR32_API int Fead(const char* source, const char* destination, int colour, int level,
                      int mode);

/*
 * Light: light rays streaming from a point through the ink of a 24-bit BMP
 * file: pixels with ink between them and the light get brighter, most
 * where long stretches of ink lie close to them.
 *
 * source, destination: file paths (may be the same).
 * lightX, lightY: the light's column from the left and row from the
 *   bottom, in pixels; may lie outside the picture.
 * strength: brightness per unit of light (the program passes 1 .. 10);
 *   negative values darken.
 * falloff: how fast the light fades with distance (the program passes
 *   0 .. 9); 0 does not fade. A negative value makes light grow with
 *   distance and brightens even pixels without ink toward the light.
 * The key colour is the source's bottom-left pixel. For pixel (x, y),
 * dx = lightX - x, dy = lightY - y, D = |dx| when |dx| > 1, else 1: probes
 * at k = 0, 2, 4, ... while k < |dx|, at column x + k (x < lightX) or
 * x - k (x >= lightX) and row y + floor(|dy| k / D) (y < lightY) or
 * y - floor(|dy| k / D), count the probes not of the key colour, stopping
 * at the first key-coloured probe after at least one counted; probes
 * outside the picture count as key colour; count is capped at 40. With
 * (px, py) the last probe, o = trunc(count - sqrt((x - px)^2
 * + 2 (y - py)^2) * falloff / 30), 0 when negative, times strength, is
 * added to each channel, clamped to 0 .. 255. A picture of only the key
 * colour, and the light's own column, stay unchanged (falloff >= 0).
 *
 * Returns 1 on success, or -1 .. -6, -10, -13 as for Fead.
 */
TESMOR32_API int Light(const char* source, const char* destination, int lightX, int lightY,
                       int strength, int falloff);

/*
 * SideDsp: shows a 24-bit BMP file up to a column and fades it into a
 * colour to the right of it.
 *
 * source, destination: file paths (may be the same).
 * edgeX: the last column (from the left) shown unchanged; only its low 24
 *   bits are used, as a signed value (-8388608 .. 8388607). Negative
 *   values are allowed (the edge still entering from the left).
 * edgeWidth: the width of the soft edge in pixels, at least 1.
 * colour: 0x00BBGGRR, the colour the picture fades into.
 * For column x: m = 256 + 256 (edgeX - x) / edgeWidth (division truncating
 * toward zero), m = 256 where x <= edgeX and 0 where m < 0; each channel p
 * becomes floor(m p / 256) + floor((256 - m) c / 256), c the colour's
 * channel.
 *
 * Returns 1 on success, -11 when edgeWidth is below 1 (checked before the
 * source is looked at), or -1 .. -6, -10, -13 as for Fead.
 */
TESMOR32_API int SideDsp(const char* source, const char* destination, int edgeX, int edgeWidth,
                         int colour);

/*
 * Effect: sharpens a 24-bit BMP file and adjusts its contrast and
 * brightness, byte by byte.
 *
 * source, destination: file paths (may be the same).
 * brightness, contrast, sharpen: only the low 16 bits are used, as signed
 *   values. 0, 0, 0 leaves every byte unchanged.
 * The whole padded rows are worked on, every byte on its own. Rows 0 and
 * H-1, the first 3 and last 3 bytes of each row, and all bytes when
 * sharpen is 0 are only mapped. Every other byte t is first sharpened with
 * its 8 neighbours of the same channel in the source (3 bytes left and
 * right, the bytes above and below, and the four diagonal ones): with A
 * the number of neighbours greater than t, S = 3 (left + right + above
 * + below) + 2 (the four diagonals) and s = sharpen,
 *   A = 0 or 8: t stays;  A = 1 or 7: t = (t (5s + 256) - S s / 4) >> 8;
 *   A = 2 or 6: t = (t (10s + 256) - s S / 2) >> 8;
 *   A = 3, 4 or 5: t = (t (20s + 256) - s S) >> 8
 * (divisions truncating toward zero, arithmetic shifts). Each byte is then
 * mapped to ((contrast + 256) (t - 128) >> 8) + brightness + 128, clamped
 * to 0 .. 255. The result keeps the source's bytes between the header and
 * the pixel data.
 *
 * Returns
 *    1  success
 *   -3  source cannot be opened, or is shorter than 54 bytes
 *   -4  destination cannot be written
 *   -5  source does not start with "BM"
 *   -6  source is compressed
 *   -7  source is not a 24-bit file
 *   -8  out of memory
 *  -13  source damaged (as for HReSize)
 */
TESMOR32_API int Effect(const char* source, const char* destination, int brightness,
                        int contrast, int sharpen);

/*
 * TexColEx: writes the striped two-colour pattern of the extended colour
 * fill as a new 24-bit BMP file.
 *
 * destination: file path, created or replaced.
 * width, height: size of the pattern in pixels, 1 .. 30000 each (the
 *   program writes 40 x 40).
 * colourA, colourB: 0x00BBGGRR.
 * repeat: the stripes hold repeat + 1 half-waves of colour change from one
 *   corner to the other (the program passes 0 .. 20).
 * angle: direction of the change in degrees (the program passes 0 .. 359).
 * spare: ignored.
 * With t = angle * 0.017453292519943278, S = |sin t| + |cos t| and for
 * pixel (j, i) (i from the bottom)
 *   f = (sin t (i - height/2) + cos t (j - width/2) + width S / 2)
 *       / width / S * (repeat + 1) * 1.570796326794895
 * (real division), each channel is trunc(a |sin f| + b |cos f|) clamped to
 * 0 .. 255, a and b the channels of colourA and colourB. At angle 0 and
 * repeat 0 the columns blend from colourB at the left edge to colourA at
 * the right.
 *
 * Returns
 *    1  success
 *   -1  width below 1 or above 30000
 *   -2  height below 1 or above 30000
 *   -3  out of memory, or the pattern would exceed 1 GiB
 *   -4  destination cannot be written
 * Nothing is written unless 1 is returned.
 */
TESMOR32_API int TexColEx(const char* destination, int width, int height, int colourA,
                          int colourB, int repeat, int angle, int spare);

/*
 * TesmorVer: the version of the library, 126 (the program requires at
 * least 126). The argument is ignored.
 */
TESMOR32_API int TesmorVer(int ignored);

#ifdef __cplusplus
}
#endif

#endif /* TESMOR32_H */
