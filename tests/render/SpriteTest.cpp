#include "render/Sprite.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestImages.h"

using namespace testimages;

namespace {

using Bytes = std::vector<unsigned char>;

void putU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((unsigned char)(v >> (8 * i)));
}

// A blob holding the packed DIB of a 24-bit or grey image. A grey one is stored
// without a palette, as the skin stores masks.
void putDib(Bytes& out, const Image& image) {
  BitmapInfoHeader h = image.Header();
  h.biClrUsed = h.biClrImportant = 0;
  putU32(out, std::uint32_t(sizeof h + image.PixelBytes()));
  const auto* header = reinterpret_cast<const unsigned char*>(&h);
  out.insert(out.end(), header, header + sizeof h);
  out.insert(out.end(), image.Bits(), image.Bits() + image.PixelBytes());
}

Bytes spriteRecord(std::uint32_t mode, int offsetX, int offsetY,
                   const std::vector<const Image*>& pictures) {
  Bytes out;
  putU32(out, mode);
  putU32(out, std::uint32_t(offsetX));
  putU32(out, std::uint32_t(offsetY));
  for (const Image* picture : pictures) putDib(out, *picture);
  return out;
}

void fill(ByteStream& stream, const Bytes& bytes) {
  stream.appendBytes(std::uint32_t(bytes.size()), bytes.data());
}

// A 3 x 3 mask pair whose only set pixel is the centre.
void centreDot(Image& mask) {
  greyRows(mask, 3, 3, {0, 0, 0, 0, 255, 0, 0, 0, 0});
}

}  // namespace

TEST(Sprite, CreateMakesOwnedPicturesOfEachKind) {
  struct Case {
    int type;
    int firstBits;
    bool secondGrey;
  } cases[] = {{kSpritePicture, 24, false}, {kSpriteMaskPair, 8, true}, {kSpriteAlpha, 24, true}};
  for (const Case& c : cases) {
    Sprite* sprite = CreateSprite(c.type, 6, 4, 2, 1);
    ASSERT_NE(sprite, nullptr) << c.type;
    EXPECT_TRUE(sprite->ownsPictures);
    EXPECT_EQ(sprite->first->BitsPerPixel(), c.firstBits);
    EXPECT_EQ(sprite->second != nullptr && sprite->second->IsGrey(), c.secondGrey);
    EXPECT_EQ(sprite->bounds, (Rect{0, 0, 6, 4}));
    EXPECT_EQ(sprite->offsetX, 2);
    delete sprite;  // the sanitizer build checks the pictures went with it
  }
  EXPECT_EQ(CreateSprite(3, 6, 4, 0, 0), nullptr);
  EXPECT_EQ(CreateSprite(kSpriteMaskPair, 0, 4, 0, 0), nullptr);
}

TEST(Sprite, BoundsOfAMaskPairAreTheUnionAtTheOrigin) {
  Image shape, shadow;
  greySolid(shape, 10, 5, 0);
  greySolid(shadow, 6, 8, 0);
  Sprite* pair = MakeSprite(kSpriteMaskPair, &shape, &shadow);
  ASSERT_NE(pair, nullptr);
  EXPECT_FALSE(pair->ownsPictures);
  EXPECT_EQ(pair->bounds, (Rect{0, 0, 10, 8}));
  EXPECT_EQ(pair->width, 10);
  EXPECT_EQ(pair->height, 8);
  delete pair;  // must leave the images alone: they live on the stack

  Sprite* single = MakeSprite(kSpriteMaskPair, &shape, nullptr);
  EXPECT_EQ(single->bounds, (Rect{0, 0, 10, 5}));
  delete single;
  Sprite* alpha = MakeSprite(kSpriteAlpha, &shadow, &shape);
  EXPECT_EQ(alpha->bounds, (Rect{0, 0, 6, 8}));  // the picture only
  delete alpha;
}

TEST(Sprite, DrawsAPictureCopiedOrBlended) {
  Image picture, dst;
  solid(picture, 2, 2, 0xC8C8C8);
  Sprite* sprite = MakeSprite(kSpritePicture, &picture, nullptr);
  solid(dst, 4, 4, 0x646464);
  ASSERT_TRUE(DrawSpriteAt(sprite, &dst, 1, 1, 255));
  EXPECT_EQ(colourAt(dst, 1, 1), 0xC8C8C8u);
  EXPECT_EQ(colourAt(dst, 3, 3), 0x646464u);
  ASSERT_TRUE(DrawSpriteAt(sprite, &dst, 2, 2, 128));
  EXPECT_EQ(colourAt(dst, 2, 2), 0xC8C8C8u);  // Blend(200, 200) at the overlap
  EXPECT_EQ(colourAt(dst, 3, 3), 0x969696u);  // Blend(200, 100)
  delete sprite;
}

TEST(Sprite, MaskPairPaintsTheShapeOverItsOffsetShadow) {
  Image shape, shadow, dst;
  centreDot(shape);
  centreDot(shadow);
  Sprite* sprite = MakeSprite(kSpriteMaskPair, &shape, &shadow);
  sprite->offsetX = sprite->offsetY = 1;
  const COLORREF red = 0x0000FF, green = 0x00FF00;

  // Call offset (0, 0): the sprite's own (1, 1).
  solid(dst, 8, 8, 0);
  ASSERT_TRUE(DrawSprite(sprite, &dst, 2, 2, 0, 0, 3, 3, red, green, 255, Point{0, 0}));
  EXPECT_EQ(colourAt(dst, 3, 3), green);
  EXPECT_EQ(colourAt(dst, 4, 4), red);
  EXPECT_EQ(colourAt(dst, 5, 5), 0u);

  solid(dst, 8, 8, 0);
  ASSERT_TRUE(DrawSprite(sprite, &dst, 2, 2, 0, 0, 3, 3, red, green, 255, Point{2, 2}));
  EXPECT_EQ(colourAt(dst, 3, 3), green);
  EXPECT_EQ(colourAt(dst, 4, 4), 0u);
  EXPECT_EQ(colourAt(dst, 5, 5), red);

  // Where shadow and shape meet, the shape wins; the short form is black and white.
  sprite->offsetX = sprite->offsetY = 0;
  solid(dst, 8, 8, 0x123456);
  ASSERT_TRUE(DrawSpriteAt(sprite, &dst, 0, 0, 255));
  EXPECT_EQ(colourAt(dst, 1, 1), 0xFFFFFFu);
  EXPECT_EQ(colourAt(dst, 0, 0), 0x123456u);
  ASSERT_TRUE(DrawSpriteColoured(sprite, &dst, 4, 4, red, green, 255));
  EXPECT_EQ(colourAt(dst, 5, 5), green);
  delete sprite;
}

TEST(Sprite, AlphaSpriteBlendsThroughItsMask) {
  Image picture, alpha, dst;
  solid(picture, 3, 1, 0xC8C8C8);
  greyRows(alpha, 3, 1, {0, 128, 255});
  Sprite* sprite = MakeSprite(kSpriteAlpha, &picture, &alpha);
  solid(dst, 3, 1, 0x646464);
  ASSERT_TRUE(DrawSpriteAt(sprite, &dst, 0, 0, 255));
  EXPECT_EQ(colourAt(dst, 0, 0), 0x646464u);
  EXPECT_EQ(colourAt(dst, 1, 0), 0x969696u);
  EXPECT_EQ(colourAt(dst, 2, 0), 0xC8C8C8u);
  delete sprite;

  Sprite* odd = MakeSprite(7, &picture, &alpha);
  EXPECT_FALSE(DrawSpriteAt(odd, &dst, 0, 0, 255));
  delete odd;
  EXPECT_FALSE(DrawSpriteAt(nullptr, &dst, 0, 0, 255));
}

TEST(Sprite, ReadsRecordsOfEachMode) {
  Image picture, mask;
  solid(picture, 5, 3, 0x0A141E);
  greySolid(mask, 4, 6, 77);
  struct Case {
    std::uint32_t mode;
    std::vector<const Image*> pictures;
    Rect bounds;
  } cases[] = {
      {kSpritePicture, {&picture}, Rect{0, 0, 5, 3}},
      {kSpriteMaskPair, {&mask, &mask}, Rect{0, 0, 4, 6}},
      {kSpriteAlpha, {&picture, &mask}, Rect{0, 0, 5, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Bytes bytes = {0xEE};  // the record need not start the stream
    const Bytes record = spriteRecord(c.mode, -2, 3, c.pictures);
    bytes.insert(bytes.end(), record.begin(), record.end());
    ByteStream stream;
    fill(stream, bytes);
    std::uint32_t position = 1;
    Sprite* sprite = ReadSprite(stream, position);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(position, stream.size());
    EXPECT_EQ(sprite->mode, int(c.mode));
    EXPECT_EQ(sprite->offsetX, -2);
    EXPECT_EQ(sprite->offsetY, 3);
    EXPECT_TRUE(sprite->ownsPictures);
    EXPECT_EQ(sprite->bounds, c.bounds);
    EXPECT_EQ(sprite->second == nullptr, c.mode == kSpritePicture);
    if (c.mode == kSpriteMaskPair) {
      EXPECT_TRUE(sprite->first->IsGrey());
      EXPECT_EQ(greyAt(*sprite->second, 3, 5), 77);
    } else {
      EXPECT_EQ(colourAt(*sprite->first, 4, 2), 0x0A141Eu);
    }
    delete sprite;
  }
}

TEST(Sprite, DamagedRecordsFailWithoutKeepingAnything) {
  Image picture, mask;
  solid(picture, 5, 3, 0);
  greySolid(mask, 5, 3, 0);
  const Bytes good = spriteRecord(kSpriteMaskPair, 0, 0, {&mask, &mask});
  // Every truncation, down to nothing, fails and leaves the position alone. The
  // sanitizer build checks that the first mask read is freed again.
  for (std::size_t n = 0; n < good.size(); ++n) {
    ByteStream stream;
    fill(stream, Bytes(good.begin(), good.begin() + std::ptrdiff_t(n)));
    std::uint32_t position = 0;
    ASSERT_EQ(ReadSprite(stream, position), nullptr) << n;
    ASSERT_EQ(position, 0u);
  }

  Bytes badMode = spriteRecord(3, 0, 0, {&picture, &picture});
  Bytes badHeader = spriteRecord(kSpriteAlpha, 0, 0, {&picture, &mask});
  badHeader[12 + 4 + 40 + picture.PixelBytes() + 4] = 41;  // the second DIB's biSize
  Bytes shortDib = spriteRecord(kSpritePicture, 0, 0, {&picture});
  shortDib[12] -= 1;  // the blob ends one byte before the rows do
  Bytes hugeBlob = spriteRecord(kSpritePicture, 0, 0, {&picture});
  hugeBlob[15] = 0x7F;
  for (const Bytes* bytes : {&badMode, &badHeader, &shortDib, &hugeBlob}) {
    ByteStream stream;
    fill(stream, *bytes);
    std::uint32_t position = 0;
    EXPECT_EQ(ReadSprite(stream, position), nullptr);
    EXPECT_EQ(position, 0u);
  }
}
