// Copies and blends between images, and colour fills through grey masks.
//
// Blits take (destination, x, y, source, source x, y, width, height) and clip
// once with ClipBlit, so any position and size is safe and the pixel loops carry
// no bounds tests. They accept only the blit formats (24-bit, grey image) and
// return 0 for a missing image, another format, or nothing left after clipping,
// changing nothing then; otherwise non-zero, also when nothing had to be drawn.
// Alphas and mask values are 0..255 (255 opaque); values outside are clamped.
// Colours are COLORREF 0x00BBGGRR.
#pragma once

#include "platform/WinDefs.h"
#include "render/Image.h"

// 24 -> 24 and 8 -> 8: the bytes; 24 -> 8: the grey of the pixel; 8 -> 24: the
// value into all three channels.
int Copy(Image* dst, int x, int y, const Image* src, int sx, int sy, int w, int h);

// Blends the source over the destination with a constant alpha; alpha 255 is
// exactly Copy. From 8-bit into 24-bit the covered pixels become grey: the value
// is blended with the grey of the destination pixel.
int BlendConst(Image* dst, int x, int y, const Image* src, int sx, int sy, int w, int h, int alpha);

// As BlendConst with a per-pixel alpha of alpha scaled by the mask, which is read
// at the source position. A mask that is not a grey image of exactly the source's
// size is ignored: the call is then Copy (alpha 255) or BlendConst.
int BlendMasked(Image* dst, int x, int y, const Image* src, int sx, int sy, int w, int h,
                const Image* mask, int alpha);

// Fills a 24-bit destination with colour, each pixel weighted by alpha scaled by
// the grey mask's value.
int FillThroughMask(Image* dst, int x, int y, const Image* mask, int sx, int sy, int w, int h,
                    COLORREF colour, int alpha);

// Grey into grey: each destination value becomes the screen union with the source.
int MaskUnion(Image* dst, int x, int y, const Image* src, int sx, int sy, int w, int h);

// The whole-image forms: all of the source (from (sx, sy) where given, clipping
// trims the rest) at (x, y). 0 for a missing source.
int DrawImage(Image* dst, int x, int y, const Image* src);
int DrawImageFrom(Image* dst, int x, int y, const Image* src, int sx, int sy);
int BlendImage(Image* dst, int x, int y, const Image* src, int alpha);
int FillMask(Image* dst, int x, int y, const Image* mask, COLORREF colour, int mx, int my,
             int alpha);
int UnionMask(Image* dst, int x, int y, const Image* src);
