// The skin: every picture, sprite and font of the user interface, read from one
// resource (RC_DATA 116) at start-up.
//
// The resource is little-endian throughout. A blob is a u32 length and that many
// bytes; a compressed blob is a blob holding a zlib stream.
//
//   1. pictures     u32 count; per picture u32 kind, then a blob:
//                     kind 0  the blob holds a compressed blob of a packed DIB;
//                     kind 1  the blob is a JPEG file.
//   2. sprites      u32 count; per definition u32 mode, then
//                     mode 0     u32 picture index;
//                     mode 1, 2  u32 picture index, u32 second index (-1: none);
//                     any other  nothing (the sprite draws nothing).
//   3. fonts        one compressed blob: u32 count, then that many font records
//                   (BitmapFont::Read).
//   4. standalone   u32 count (negative fails), then that many sprite records
//      sprites      (ReadSprite).
//
// Sprites of section 2 are made over the pictures of section 1 and do not own
// them; fonts and standalone sprites own what they read.
//
// Beside it a setup may carry the high glyphs of the skin's fonts (RC_DATA 117):
// one compressed blob holding u32 font count (at most the skin's), then for each
// of those fonts, in the skin's order, kHighGlyphCount glyph records
// (BitmapFont::ReadHighGlyphs). A skin without them, or with an empty resource
// in their place, draws exactly what it always drew.
#pragma once

#include <cstdint>

#include "base/ByteStream.h"
#include "base/PtrArray.h"
#include "platform/PlatformTypes.h"
#include "render/BitmapFont.h"
#include "render/Image.h"
#include "render/Sprite.h"

constexpr int kSkinResourceId = 116;
constexpr int kHighGlyphsResourceId = 117;

// The skin drawn anew for a display scale and the high glyphs of its fonts:
// optional resources in the layouts of 116 and 117, with the same pictures,
// sprites, fonts and captions, only larger. An empty one is none.
struct ScaledSkinResource {
  int percent;
  int skinId;
  int highGlyphsId;
};
constexpr ScaledSkinResource kScaledSkinResources[] = {{150, 120, 121}, {200, 122, 123}};
constexpr int kScaledSkinCount = int(sizeof kScaledSkinResources / sizeof kScaledSkinResources[0]);

// Whether `module` carries the scaled skin kScaledSkinResources[index] (a
// resource that is there and not empty).
bool CarriesScaledSkin(platform::ModuleHandle module, int index);

// The skin to draw with on a display of `dpi` dots an inch, of 116 and the
// scaled skins `carried` says are there (bit i for kScaledSkinResources[i]):
// the one drawn for the display's scale, else the next larger one, else (above
// them all) the largest; and the dots an inch it is drawn for. 116 alone for a
// display at 96 or below, or when none is carried.
struct SkinChoice {
  int skinId = kSkinResourceId;
  int highGlyphsId = kHighGlyphsResourceId;
  int dpi = 96;
};
SkinChoice ChooseSkin(int dpi, unsigned carried);

class SpriteList : public OwningList<Sprite> {
 public:
  SpriteList() : OwningList<Sprite>(20) {}
};

class FontList : public OwningList<BitmapFont> {
 public:
  FontList() : OwningList<BitmapFont>(6) {}
};

// The skin's decoded pictures, owned by the list.
class PictureList : public OwningList<Image> {
 public:
  PictureList() : OwningList<Image>(20) {}

  // Copies resource RC_DATA `resourceId` of `module` (null: this program) and
  // reads it from its first byte (below). 0 when the resource is missing.
  int LoadSkin(platform::ModuleHandle module, int resourceId, SpriteList& sprites, FontList& fonts,
               SpriteList& standalone);

  // Reads a skin at position into this list and the three others, emptying all
  // four first. Non-zero on success, with position just after the standalone
  // sprites. 0 for a short or damaged skin: a picture of another kind or that
  // does not decode, a sprite over a picture that is not there (only the second
  // index of modes 1 and 2 may be -1), a font or sprite record that does not
  // read, or a count larger than the bytes left could hold; all four lists are
  // then empty and position unchanged.
  int LoadSkin(const ByteStream& skin, std::uint32_t& position, SpriteList& sprites,
               FontList& fonts, SpriteList& standalone);
};

// Reads the high glyphs at position into the fonts already loaded. Non-zero on
// success, with position after the blob. 0 for a short or damaged resource or
// more fonts than `fonts` holds; no font then has high glyphs and position is
// unchanged.
int LoadHighGlyphs(const ByteStream& glyphs, std::uint32_t& position, FontList& fonts);
// The same from resource RC_DATA `resourceId` of `module` (null: this program).
// Non-zero also when there is no such resource or it is empty: the glyphs are
// optional.
int LoadHighGlyphs(platform::ModuleHandle module, int resourceId, FontList& fonts);
