#include "render/Image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A packed DIB: header, `paletteEntries` palette entries, then the rows.
Bytes packedDib(int width, int height, int bits, std::uint32_t clrUsed, int paletteEntries,
                const RgbQuad* palette = nullptr) {
  BitmapInfoHeader h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = std::uint16_t(bits);
  h.biClrUsed = clrUsed;
  const std::size_t rows = std::size_t(DibStride(width, bits) * height);
  Bytes out(40 + 4 * std::size_t(paletteEntries) + rows);
  std::memcpy(out.data(), &h, 40);
  if (palette != nullptr) std::memcpy(out.data() + 40, palette, 4 * std::size_t(paletteEntries));
  for (std::size_t i = 0; i < rows; ++i) out[out.size() - rows + i] = (unsigned char)(i * 7);
  return out;
}

}  // namespace

TEST(Image, CreateChecksSizeAndDepth) {
  Image image;
  ASSERT_TRUE(image.Create(4, 3, 0));
  EXPECT_EQ(image.BitsPerPixel(), 24);
  EXPECT_EQ(image.Header().biSizeImage, 12u * 3);
  EXPECT_EQ(image.Header().biClrUsed, 0u);
  EXPECT_FALSE(image.Create(4, 0, 24));
  EXPECT_FALSE(image.HasPixels());
  EXPECT_EQ(image.Width(), 0);
  EXPECT_FALSE(image.Create(4, 4, 16));
  EXPECT_FALSE(image.Create(-4, 4, 24));
  EXPECT_FALSE(image.Create(0x40000000, 0x40000000, 24));  // far beyond any real picture
  ASSERT_TRUE(image.Create(3, 3, 4));
  EXPECT_EQ(image.Header().biClrUsed, 16u);
  EXPECT_EQ(image.PixelAt(0, 0), nullptr);  // no addressing at 4 bits
}

TEST(Image, RowsArePaddedAndStoredBottomUp) {
  Image colour;
  ASSERT_TRUE(colour.Create(5, 4, 24));
  EXPECT_EQ(colour.Stride(), 16);
  EXPECT_EQ(colour.PixelAt(0, 0), colour.Bits() + 3 * 16);  // the last stored row
  EXPECT_EQ(colour.PixelAt(0, 3), colour.Bits());
  EXPECT_EQ(colour.PixelAt(2, 1), colour.Bits() + 2 * 16 + 6);

  Image grey;
  ASSERT_TRUE(grey.CreateGrey(10, 2));
  EXPECT_EQ(grey.Stride(), 12);
  EXPECT_TRUE(grey.IsGrey());
  EXPECT_EQ(grey.PixelAt(3, 0), grey.Bits() + 12 + 3);
}

TEST(Image, FillWritesBlueGreenRed) {
  Image image;
  ASSERT_TRUE(image.Create(3, 2, 24));
  image.Fill(0x00112233);  // COLORREF: red 0x33, green 0x22, blue 0x11
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      const unsigned char* p = image.PixelAt(x, y);
      EXPECT_EQ(p[0], 0x11);
      EXPECT_EQ(p[1], 0x22);
      EXPECT_EQ(p[2], 0x33);
    }
  }
  Image grey;
  ASSERT_TRUE(grey.CreateGrey(2, 2));
  std::memset(grey.Bits(), 9, grey.PixelBytes());
  grey.Fill(0xFFFFFF);
  EXPECT_EQ(grey.PixelAt(0, 0)[0], 9);
}

TEST(Image, PackedDibsAndTheirPalettes) {
  Image image;
  const Bytes noPalette = packedDib(3, 2, 8, 0, 0);
  ASSERT_TRUE(image.LoadPackedDib(noPalette.data(), std::uint32_t(noPalette.size())));
  EXPECT_TRUE(image.IsGrey());
  EXPECT_EQ(image.PixelAt(0, 1)[0], 0);      // the first stored row is the bottom one
  EXPECT_EQ(image.PixelAt(1, 0)[0], 5 * 7);  // stored row 1 of stride 4, byte 1

  RgbQuad palette[256];
  std::memcpy(palette, GreyRamp(), sizeof palette);
  const Bytes rampPalette = packedDib(3, 2, 8, 256, 256, palette);
  ASSERT_TRUE(image.LoadPackedDib(rampPalette.data(), std::uint32_t(rampPalette.size())));
  EXPECT_TRUE(image.IsGrey());

  palette[17].red = 99;
  const Bytes colourPalette = packedDib(3, 2, 8, 256, 256, palette);
  ASSERT_TRUE(image.LoadPackedDib(colourPalette.data(), std::uint32_t(colourPalette.size())));
  EXPECT_FALSE(image.IsGrey());
  EXPECT_EQ(image.Palette()[17].red, 99);

  const Bytes colour = packedDib(5, 3, 24, 0, 0);
  ASSERT_TRUE(image.LoadPackedDib(colour.data(), std::uint32_t(colour.size())));
  EXPECT_EQ(image.PixelBytes(), 48u);
}

TEST(Image, DamagedPackedDibsLeaveTheImageEmpty) {
  Image image;
  const Bytes good = packedDib(5, 3, 24, 0, 0);
  EXPECT_FALSE(image.LoadPackedDib(good.data(), std::uint32_t(good.size() - 1)));
  EXPECT_FALSE(image.HasPixels());
  EXPECT_FALSE(image.LoadPackedDib(good.data(), 39));
  EXPECT_FALSE(image.LoadPackedDib(nullptr, 100));

  auto patched = [&](auto change) {
    Bytes b = good;
    BitmapInfoHeader h;
    std::memcpy(&h, b.data(), 40);
    change(h);
    std::memcpy(b.data(), &h, 40);
    ASSERT_TRUE(image.Create(2, 2, 24));
    EXPECT_FALSE(image.LoadPackedDib(b.data(), std::uint32_t(b.size())));
    EXPECT_FALSE(image.HasPixels());
  };
  patched([](BitmapInfoHeader& h) { h.biSize = 12; });
  patched([](BitmapInfoHeader& h) { h.biBitCount = 16; });
  patched([](BitmapInfoHeader& h) { h.biHeight = -3; });
  patched([](BitmapInfoHeader& h) { h.biWidth = 0; });
  patched([](BitmapInfoHeader& h) { h.biWidth = 0x7FFFFFFF; });
  patched([](BitmapInfoHeader& h) { h.biHeight = 0x7FFFFFFF; });
}

TEST(Image, CreateLikeAndTakeFrom) {
  Image grey;
  ASSERT_TRUE(grey.CreateGrey(4, 4));
  Image like;
  const Size size{7, 2};
  ASSERT_TRUE(like.CreateLike(grey, &size));
  EXPECT_TRUE(like.IsGrey());
  EXPECT_EQ(like.Width(), 7);
  ASSERT_TRUE(like.CreateLike(like));  // from itself: same size and depth
  EXPECT_EQ(like.Width(), 7);
  EXPECT_TRUE(like.IsGrey());
  Image empty;
  EXPECT_FALSE(like.CreateLike(empty));
  EXPECT_FALSE(like.HasPixels());

  const unsigned char* pixels = grey.Bits();
  Image taken;
  taken.TakeFrom(&grey);
  EXPECT_EQ(taken.Bits(), pixels);  // moved, not copied
  EXPECT_TRUE(taken.IsGrey());
  EXPECT_FALSE(grey.HasPixels());
  EXPECT_TRUE(grey.CreateGrey(2, 2));  // the emptied image is still usable
  taken.TakeFrom(&taken);
  taken.TakeFrom(nullptr);
  EXPECT_TRUE(taken.IsGrey());
}

TEST(Image, CropKeepsTheRectangle) {
  Image image;
  ASSERT_TRUE(image.CreateGrey(6, 5));
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) image.PixelAt(x, y)[0] = (unsigned char)(10 * y + x);
  }
  const unsigned char* before = image.Bits();
  EXPECT_TRUE(image.Crop(Rect{0, 0, 6, 5}));
  EXPECT_EQ(image.Bits(), before);  // the whole image: nothing changes
  EXPECT_FALSE(image.Crop(Rect{10, 10, 20, 20}));
  ASSERT_TRUE(image.Crop(Rect{-2, 2, 3, 9}));  // clipped to (0, 2, 3, 5)
  EXPECT_EQ(image.Width(), 3);
  EXPECT_EQ(image.Height(), 3);
  EXPECT_TRUE(image.IsGrey());
  EXPECT_EQ(image.PixelAt(0, 0)[0], 20);
  EXPECT_EQ(image.PixelAt(2, 2)[0], 42);
}

TEST(Image, EnsureAtLeastKeepsALargerImage) {
  Image image;
  ASSERT_TRUE(image.EnsureAtLeast(10, 10));
  EXPECT_EQ(image.BitsPerPixel(), 24);
  const unsigned char* bits = image.Bits();
  ASSERT_TRUE(image.EnsureAtLeast(5, 10));
  EXPECT_EQ(image.Bits(), bits);
  ASSERT_TRUE(image.EnsureAtLeast(5, 11));
  EXPECT_EQ(image.Width(), 5);
  EXPECT_EQ(image.Height(), 11);
}

TEST(Image, NonZeroBoundsOfGreyImages) {
  Image mask;
  ASSERT_TRUE(mask.CreateGrey(8, 6));
  std::memset(mask.Bits(), 0, mask.PixelBytes());
  EXPECT_TRUE(mask.NonZeroBounds().IsEmpty());
  mask.PixelAt(2, 1)[0] = 1;
  mask.PixelAt(5, 3)[0] = 255;
  EXPECT_EQ(mask.NonZeroBounds(), (Rect{2, 1, 6, 4}));
  Image colour;
  ASSERT_TRUE(colour.Create(3, 3, 24));
  std::memset(colour.Bits(), 255, colour.PixelBytes());
  EXPECT_TRUE(colour.NonZeroBounds().IsEmpty());
}

TEST(Image, ClipBlitTrimsAgainstBothImages) {
  Image dst;
  Image src;
  ASSERT_TRUE(dst.Create(20, 20, 24));
  ASSERT_TRUE(src.Create(8, 8, 24));

  // The destination clip moves the source by (3, 4) and leaves 7 x 6; the source
  // clip then trims that to what the 8 x 8 source holds from (3, 4).
  Point d{-3, -4}, s{0, 0};
  Size n{10, 10};
  ASSERT_TRUE(ClipBlit(dst, d, src, s, n));
  EXPECT_EQ(d.x, 0);
  EXPECT_EQ(d.y, 0);
  EXPECT_EQ(s.x, 3);
  EXPECT_EQ(s.y, 4);
  EXPECT_EQ(n.cx, 5);
  EXPECT_EQ(n.cy, 4);

  // A source position left of and above the source moves the destination along.
  d = {2, 2}, s = {-3, -1}, n = {6, 4};
  ASSERT_TRUE(ClipBlit(dst, d, src, s, n));
  EXPECT_EQ(d.x, 5);
  EXPECT_EQ(d.y, 3);
  EXPECT_EQ(s.x, 0);
  EXPECT_EQ(s.y, 0);
  EXPECT_EQ(n.cx, 3);
  EXPECT_EQ(n.cy, 3);

  const struct {
    Point dst, src;
    Size size;
  } nothing[] = {
      {{-10, 0}, {0, 0}, {10, 5}},          // wholly left of the destination
      {{0, 0}, {8, 0}, {4, 4}},             // wholly right of the source
      {{18, 5}, {-2, 1}, {6, 3}},           // what is left of the source lies left of it
      {{0, 0}, {0, 0}, {0, 4}},             // empty size
      {{0x7FFFFFF0, 0}, {0, 0}, {100, 4}},  // would wrap in 32 bits
      {{-0x7FFFFFFF, 0}, {0x7FFFFFFF, 0}, {0x7FFFFFFF, 4}},
  };
  for (const auto& c : nothing) {
    Point dp = c.dst, sp = c.src;
    Size sz = c.size;
    EXPECT_FALSE(ClipBlit(dst, dp, src, sp, sz));
  }
  Image empty;
  d = {0, 0}, s = {0, 0}, n = {2, 2};
  EXPECT_FALSE(ClipBlit(dst, d, empty, s, n));
}
