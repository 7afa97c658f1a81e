// Any bytes at all as a skin resource: LoadSkin must read them or fail with all
// four lists empty, and whatever it reads must then draw without harm. What
// follows a skin that reads is taken as the high glyphs of its fonts, which
// must read or leave no font with any.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/ByteStream.h"
#include "render/Skin.h"

namespace {

void exercise(const PictureList& pictures, const SpriteList& sprites, const FontList& fonts,
              const SpriteList& standalone) {
  Image surface;
  surface.Create(64, 48, 24);
  surface.Fill(0xFFFFFF);
  for (int i = 0; i < sprites.count(); ++i) {
    DrawSpriteColoured(sprites.at(i), &surface, -3, 5, kDefaultShadowColour, kDefaultFaceColour,
                       200);
  }
  for (int i = 0; i < standalone.count(); ++i) {
    DrawSpriteColoured(standalone.at(i), &surface, 7, -2, 0, 0xFFFFFF, 255);
  }
  static const char kText[] = "Kestrane Setup\n\t~!\xC8 C:\\Program Files \xA0\xAD\x81\xFF";
  for (int i = 0; i < fonts.count(); ++i) {
    const BitmapFont* font = fonts.at(i);
    font->Measure(kText, true);
    font->DrawText(&surface, 1, 1, kText, kDefaultShadowColour, kDefaultFaceColour, true);
    // Metrics from the bytes may make a caption far too large to allocate; that
    // must fail, not crash.
    std::unique_ptr<Sprite> caption(font->NewCaptionSprite("Next >", true, true));
    if (caption) font->RenderCaption(caption.get(), "Back", false, true, 1, 1);
    SetupString path("C:\\Program Files\\Kestrane\\Product");
    font->FitWithEllipsis(path, 40);
  }
  (void)pictures;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteStream stream;
  if (stream.appendBytes(std::uint32_t(size), data) != S_OK) return 0;
  PictureList pictures;
  SpriteList sprites;
  FontList fonts;
  SpriteList standalone;
  std::uint32_t position = 0;
  if (!pictures.LoadSkin(stream, position, sprites, fonts, standalone)) {
    if (pictures.count() || sprites.count() || fonts.count() || standalone.count() || position) {
      __builtin_trap();  // a failed load leaves nothing behind
    }
    return 0;
  }
  if (position > size) __builtin_trap();
  std::uint32_t glyphsAt = position;
  if (!LoadHighGlyphs(stream, glyphsAt, fonts)) {
    for (int i = 0; i < fonts.count(); ++i) {
      if (fonts.at(i)->HasHighGlyphs()) __builtin_trap();
    }
    if (glyphsAt != position) __builtin_trap();
  }
  exercise(pictures, sprites, fonts, standalone);
  return 0;
}
