#include "render/SkinRescale.h"

#include <initializer_list>

#include "render/Resample.h"

int ScaleRatio::Of(int v) const {
  if (v == 0 || from <= 0) return v;
  const long long magnitude = (v < 0 ? -static_cast<long long>(v) : v) * to;
  long long scaled = (magnitude + from / 2) / from;
  if (scaled == 0) scaled = 1;
  return v < 0 ? int(-scaled) : int(scaled);
}

bool RescalePicture(Image& picture, ScaleRatio ratio) {
  if (!picture.HasPixels()) return true;
  if (!picture.IsBlitFormat()) return false;
  return Rescale(picture, picture, ratio.Of(picture.Width()), ratio.Of(picture.Height())) != 0;
}

bool RescaleSprite(Sprite& sprite, ScaleRatio ratio, bool ownPictures) {
  if (ownPictures) {
    for (Image* picture : {sprite.first, sprite.second}) {
      if (picture != nullptr && !RescalePicture(*picture, ratio)) return false;
    }
  }
  sprite.offsetX = ratio.Of(sprite.offsetX);
  sprite.offsetY = ratio.Of(sprite.offsetY);
  sprite.ComputeBounds();
  return true;
}

namespace {

bool rescaleGlyph(Glyph& glyph, ScaleRatio ratio) {
  glyph.advance = std::int16_t(ratio.Of(glyph.advance));
  glyph.offsetX = std::int16_t(ratio.Of(glyph.offsetX));
  glyph.offsetY = std::int16_t(ratio.Of(glyph.offsetY));
  return RescaleSprite(glyph.sprite, ratio, true);
}

}  // namespace

bool RescaleFont(BitmapFont& font, ScaleRatio ratio) {
  TextMetric& m = font.metrics;
  for (std::int32_t* length :
       {&m.tmHeight, &m.tmAscent, &m.tmDescent, &m.tmInternalLeading, &m.tmExternalLeading,
        &m.tmAveCharWidth, &m.tmMaxCharWidth, &m.tmOverhang, &font.shadowOffsetX,
        &font.shadowOffsetY, &font.margin}) {
    *length = ratio.Of(*length);
  }
  for (Glyph& glyph : font.glyphs) {
    if (!rescaleGlyph(glyph, ratio)) return false;
  }
  Glyph* high = font.HighGlyphs();
  for (int i = 0; high != nullptr && i < kHighGlyphCount; ++i) {
    if (!rescaleGlyph(high[i], ratio)) return false;
  }
  return true;
}
