#include "render/Sprite.h"

#include <climits>
#include <memory>
#include <new>

#include "render/Composite.h"

namespace {

Rect rectOf(const Image* image) {
  if (image == nullptr) return Rect{};
  return Rect{0, 0, image->Width(), image->Height()};
}

// One length-prefixed packed DIB at position, into a new image.
std::unique_ptr<Image> readPicture(const ByteStream& stream, std::uint32_t& position) {
  ByteStream blob;
  if (blob.readBlob(stream, position) != S_OK) return nullptr;
  std::unique_ptr<Image> image(Image::New());
  if (!image || !image->LoadPackedDib(blob)) return nullptr;
  return image;
}

// a + b held within int, so far-off positions stay far off instead of wrapping.
int addClamped(int a, int b) {
  const long long sum = (long long)a + b;
  return sum < INT_MIN ? INT_MIN : sum > INT_MAX ? INT_MAX : int(sum);
}

}  // namespace

Sprite::~Sprite() {
  if (!ownsPictures) return;
  delete first;
  delete second;
}

void Sprite::ComputeBounds() {
  bounds = rectOf(first);
  if (mode == kSpriteMaskPair) bounds = Union(bounds, rectOf(second));
  width = bounds.Width();
  height = bounds.Height();
  originX = bounds.left;
  originY = bounds.top;
}

Sprite* CreateSprite(int type, int width, int height, int offsetX, int offsetY) {
  if (type != kSpritePicture && type != kSpriteMaskPair && type != kSpriteAlpha) return nullptr;
  std::unique_ptr<Sprite> sprite(new (std::nothrow) Sprite);
  if (!sprite) return nullptr;
  sprite->mode = type;
  sprite->offsetX = offsetX;
  sprite->offsetY = offsetY;
  sprite->ownsPictures = true;
  sprite->first = Image::New();
  if (sprite->first == nullptr) return nullptr;
  const bool firstMade = type == kSpriteMaskPair ? sprite->first->CreateGrey(width, height)
                                                 : sprite->first->Create(width, height, 24);
  if (!firstMade) return nullptr;
  if (type != kSpritePicture) {
    sprite->second = Image::New();
    if (sprite->second == nullptr || !sprite->second->CreateGrey(width, height)) return nullptr;
  }
  sprite->ComputeBounds();
  return sprite.release();
}

Sprite* MakeSprite(int mode, Image* first, Image* second) {
  Sprite* sprite = new (std::nothrow) Sprite;
  if (sprite == nullptr) return nullptr;
  sprite->mode = mode;
  sprite->first = first;
  sprite->second = second;
  sprite->ComputeBounds();
  return sprite;
}

Sprite* ReadSprite(const ByteStream& stream, std::uint32_t& position) {
  std::uint32_t at = position;
  std::uint32_t mode = 0, offsetX = 0, offsetY = 0;
  if (readU32(stream, at, mode) != S_OK || readU32(stream, at, offsetX) != S_OK ||
      readU32(stream, at, offsetY) != S_OK || mode > kSpriteAlpha) {
    return nullptr;
  }
  std::unique_ptr<Image> first = readPicture(stream, at);
  if (!first) return nullptr;
  std::unique_ptr<Image> second;
  if (mode != kSpritePicture) {
    second = readPicture(stream, at);
    if (!second) return nullptr;
  }
  Sprite* sprite = new (std::nothrow) Sprite;
  if (sprite == nullptr) return nullptr;
  sprite->mode = int(mode);
  sprite->offsetX = std::int32_t(offsetX);
  sprite->offsetY = std::int32_t(offsetY);
  sprite->first = first.release();
  sprite->second = second.release();
  sprite->ownsPictures = true;
  sprite->ComputeBounds();
  position = at;
  return sprite;
}

int DrawSprite(const Sprite* sprite, Image* dst, int x, int y, int sx, int sy, int w, int h,
               COLORREF shadowColour, COLORREF faceColour, int alpha, Point offset) {
  if (sprite == nullptr) return 0;
  switch (sprite->mode) {
    case kSpritePicture:
      return BlendConst(dst, x, y, sprite->first, sx, sy, w, h, alpha);
    case kSpriteMaskPair: {
      if (offset.x == 0 && offset.y == 0) offset = Point{sprite->offsetX, sprite->offsetY};
      // The shape is painted over its shadow.
      const int shadow = FillThroughMask(dst, addClamped(x, offset.x), addClamped(y, offset.y),
                                         sprite->second, sx, sy, w, h, shadowColour, alpha);
      const int face = FillThroughMask(dst, x, y, sprite->first, sx, sy, w, h, faceColour, alpha);
      return shadow || face;
    }
    case kSpriteAlpha:
      return BlendMasked(dst, x, y, sprite->first, sx, sy, w, h, sprite->second, alpha);
    default:
      return 0;
  }
}

int DrawSpriteAt(const Sprite* sprite, Image* dst, int x, int y, int alpha) {
  return DrawSpriteColoured(sprite, dst, x, y, 0x000000, 0xFFFFFF, alpha);
}

int DrawSpriteColoured(const Sprite* sprite, Image* dst, int x, int y, COLORREF shadowColour,
                       COLORREF faceColour, int alpha) {
  if (sprite == nullptr) return 0;
  return DrawSprite(sprite, dst, x, y, 0, 0, sprite->width, sprite->height, shadowColour,
                    faceColour, alpha, Point{});
}
