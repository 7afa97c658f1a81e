// A small bitmap font made in memory for the text and skin tests: every glyph a
// solid block, so where text lands can be read straight off the pixels.
#pragma once

#include <cstring>

#include "render/BitmapFont.h"

namespace testfont {

constexpr int kAdvance = 6;
constexpr int kGlyphWidth = 4;
constexpr int kGlyphHeight = 10;
constexpr int kGlyphTop = 4;  // offset y of every glyph

// tmHeight 18, tmInternalLeading 3, tmAveCharWidth 7 (a blank is 4), shadow
// offset (1, 1), margin 1; every glyph advances 6 and is a 4 x 10 block of 255
// (shape) and 128 (shadow) at (0, 4) from the pen.
inline void makeFont(BitmapFont& font) {
  font.Clear();
  font.metrics.tmHeight = 18;
  font.metrics.tmInternalLeading = 3;
  font.metrics.tmAveCharWidth = 7;
  font.metrics.tmWeight = 700;
  font.shadowOffsetX = 1;
  font.shadowOffsetY = 1;
  font.margin = 1;
  for (Glyph& glyph : font.glyphs) {
    glyph.advance = kAdvance;
    glyph.offsetX = 0;
    glyph.offsetY = kGlyphTop;
    Image* shape = Image::New();
    Image* shadow = Image::New();
    shape->CreateGrey(kGlyphWidth, kGlyphHeight);
    shadow->CreateGrey(kGlyphWidth, kGlyphHeight);
    std::memset(shape->Bits(), 255, shape->PixelBytes());
    std::memset(shadow->Bits(), 128, shadow->PixelBytes());
    glyph.sprite.mode = kSpriteMaskPair;
    glyph.sprite.first = shape;
    glyph.sprite.second = shadow;
    glyph.sprite.offsetX = glyph.sprite.offsetY = 1;
    glyph.sprite.ownsPictures = true;
    glyph.sprite.ComputeBounds();
  }
}

}  // namespace testfont
