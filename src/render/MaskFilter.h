// A neighbourhood filter over grey masks: the largest, smallest or mean value in
// a window around each pixel. Soft shadows are masks blurred with its mean.
#pragma once

#include <cstdint>

#include "render/Image.h"

// What a window yields.
constexpr int kFilterMax = 0;
constexpr int kFilterMin = 1;
constexpr int kFilterMean = 2;

// The window's shape within (2r + 1) x (2r + 1) cells around the centre.
constexpr int kWindowDisk = 0;     // cells with sqrt(dx^2 + dy^2) <= r + 0.4; any unknown shape
constexpr int kWindowSquare = 1;   // every cell
constexpr int kWindowDiamond = 2;  // cells with |dx| + |dy| <= r

// The largest radius the filter takes: wider windows than any picture we draw.
constexpr int kMaxFilterRadius = 1024;

// Replaces every pixel of a grey mask by the largest (kFilterMax), smallest
// (kFilterMin) or mean (kFilterMean, looked up in `table`, 256 entries, or taken
// as it is when table is null) value of the window of radius |radius| around it.
// Pixels beyond the mask's edges count as 0. Radius 0 succeeds without touching
// anything. 0, mask unchanged, for a mask that is not grey, an unknown mode, a
// radius beyond kMaxFilterRadius, or when the working copy can't be allocated.
int MaskFilter(Image* mask, int radius, int mode, int shape, const std::uint8_t* table);

// The mean over a disk of the given radius; nothing (and success) for radius <= 0.
int BlurMask(Image* mask, int radius);
