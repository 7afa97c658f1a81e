// Sprite: the unit in which skin pictures, caption shapes and glyphs are drawn.
//
// Three kinds, by mode:
//   0  one 24-bit picture;
//   1  two grey masks, a shape and its shadow, each filled with its own colour
//      when drawn, the shadow `offset` away from the shape;
//   2  a 24-bit picture with a grey alpha mask of the same size.
// A sprite that owns its pictures destroys them with itself; sprites made over the
// skin's picture list don't.
#pragma once

#include <cstdint>

#include "base/ByteStream.h"
#include "platform/WinDefs.h"
#include "render/Geometry.h"
#include "render/Image.h"

constexpr int kSpritePicture = 0;
constexpr int kSpriteMaskPair = 1;
constexpr int kSpriteAlpha = 2;

// The default (shadow, face) colour pair for mask sprites and text.
constexpr COLORREF kDefaultShadowColour = 0x80D8E8;
constexpr COLORREF kDefaultFaceColour = 0x800000;

class Sprite {
 public:
  Sprite() = default;
  ~Sprite();
  Sprite(const Sprite&) = delete;
  Sprite& operator=(const Sprite&) = delete;

  // Sets bounds, width, height and origin from the pictures: for mode 1 the union
  // of both masks placed at (0, 0) (the offset is not part of it), otherwise the
  // first picture's rectangle.
  void ComputeBounds();

  int mode = kSpritePicture;
  Image* first = nullptr;   // the picture, or the shape mask
  Image* second = nullptr;  // the shadow or alpha mask, or none
  int offsetX = 0;
  int offsetY = 0;
  Rect bounds;
  int width = 0;
  int height = 0;
  int originX = 0;
  int originY = 0;
  bool ownsPictures = false;
};

// A sprite owning new, uninitialised pictures of width x height: type 0 one 24-bit
// picture, 1 two grey images, 2 a 24-bit picture and a grey image. Null for any
// other type or when memory is short.
Sprite* CreateSprite(int type, int width, int height, int offsetX, int offsetY);

// A sprite over existing pictures, not owning them. Either may be null. Null only
// when memory is short.
Sprite* MakeSprite(int mode, Image* first, Image* second);

// Reads a sprite record at position: u32 mode (0..2), s32 offset x, s32 offset y,
// then one length-prefixed packed DIB (mode 0) or two (modes 1 and 2). The sprite
// owns what it read. Null, with position unchanged and nothing kept, for any
// other mode, a short or damaged record, or when memory is short.
Sprite* ReadSprite(const ByteStream& stream, std::uint32_t& position);

// Draws the (sx, sy, w, h) part of the sprite at (x, y):
//   mode 0  Copy (alpha 255) or BlendConst of the picture;
//   mode 1  the shadow mask filled with shadowColour at (x, y) + offset, then the
//           shape mask filled with faceColour at (x, y), both at alpha; an offset
//           of (0, 0) means the sprite's own;
//   mode 2  the picture blended through its alpha mask.
// Non-zero when something was drawn; 0 for a missing sprite or image, another
// mode, or nothing left after clipping.
int DrawSprite(const Sprite* sprite, Image* dst, int x, int y, int sx, int sy, int w, int h,
               COLORREF shadowColour, COLORREF faceColour, int alpha, Point offset);

// The whole sprite with its own offset, in black and white.
int DrawSpriteAt(const Sprite* sprite, Image* dst, int x, int y, int alpha);
// The whole sprite with its own offset, in the given colours.
int DrawSpriteColoured(const Sprite* sprite, Image* dst, int x, int y, COLORREF shadowColour,
                       COLORREF faceColour, int alpha);
