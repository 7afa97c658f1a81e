// Filtered resampling: a separable two-pass rescale with a choice of seven kernels.
#pragma once

#include "render/Geometry.h"
#include "render/Image.h"
#include "render/Kernels.h"

// Re-creates `dst` as width x height (24-bit for a 24-bit source, otherwise grey)
// and fills it with `src`'s rectangle `srcRect` filtered through kernel
// `kernel % 7`. The source must be 8- or 24-bit. 0 on failure; `dst` is untouched
// when the failure comes before it is re-created.
//
// srcRect is clipped to the source; only what lies inside is read, and its first
// and last rows and columns land on dst's. Rows are filtered first, in double
// precision, each sum clamped to 0..255 and rounded half up, then columns. dst
// may be src itself.
int Resample(int kernel, Image& dst, int width, int height, const Image& src, const Rect& srcRect);

// The whole of src at width x height: Mitchell when either side grows, Lanczos3
// otherwise.
int Rescale(Image& dst, const Image& src, int width, int height);

// Rescale into `cache`, unless the cache already has exactly that size.
int RescaleCached(Image& cache, const Image& src, int width, int height);

// Makes `cache` able to supply `width` columns of a bar middle `height` rows high:
// a cache at least that wide is used as it is, otherwise `middle` is rescaled to
// width x height into it. 0 when the rescale fails, and the caller then falls back
// to repeating the middle piece.
int EnsureBarMiddle(Image& cache, const Image& middle, int width, int height);
