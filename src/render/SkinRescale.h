// A skin drawn for one display scale, drawn at another near it: every picture
// and mask resampled (Resample.h), every offset and metric multiplied, by the
// ratio of the two scales' dots an inch. A setup carries skins for a few scales
// and draws the scales between them from the next larger one this way.
#pragma once

#include "render/BitmapFont.h"
#include "render/Image.h"
#include "render/Sprite.h"

// The ratio `to` / `from` of two display scales' dots an inch.
struct ScaleRatio {
  int from;
  int to;
  // `v` times the ratio, rounded to the nearest (halves away from zero); a
  // length that was not 0 stays at least one pixel.
  int Of(int v) const;
};

// Resamples `picture` in place to its size times the ratio. False for a picture
// the resampler cannot take (one of colour indices, or of a depth other than 8
// or 24 bits) or when memory is short.
bool RescalePicture(Image& picture, ScaleRatio ratio);

// A sprite's offsets times the ratio, and its bounds again from its pictures,
// which the caller has rescaled; with `ownPictures` the sprite's own pictures
// are rescaled here first.
bool RescaleSprite(Sprite& sprite, ScaleRatio ratio, bool ownPictures);

// Every glyph of `font` (the high ones too) resampled, and its metrics, shadow
// offset, margin, advances and offsets multiplied.
bool RescaleFont(BitmapFont& font, ScaleRatio ratio);
