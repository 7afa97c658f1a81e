// Fills and the small tools that shape grey masks.
//
// All return non-zero on success and 0, changing nothing, for a missing image, a
// depth they don't take, or a rectangle wholly outside the image. Alphas and
// values outside 0..255 are clamped.
#pragma once

#include "platform/WinDefs.h"
#include "render/Geometry.h"
#include "render/Image.h"

// Blends colour over the part of rect inside a 24-bit image.
int FillRectBlend(Image* image, const Rect& rect, COLORREF colour, int alpha);

// Blends value over the part of (x, y, x + w, y + h) inside a grey image.
int FillGreyRect(Image* mask, int x, int y, int w, int h, int value, int alpha);

// Turns every value v of a grey image into 255 - v.
int InvertMask(Image* mask);

// Makes `mask` a w x h grey image that, filled through in a dark colour, shades
// the edges of a panel: base everywhere, value blended in at alpha from (inset,
// inset) to the right and bottom edges, blurred by inset / 2, inverted, and the
// top and bottom rows set to 255. 0 when the mask can't be created or blurred.
int SoftShadowMask(Image* mask, int w, int h, int inset, int base, int value, int alpha);
