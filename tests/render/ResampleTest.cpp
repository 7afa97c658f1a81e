#include "render/Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

int bytesPerPixel(const Image& image) {
  return image.BitsPerPixel() / 8;
}

// A picture with detail in every direction and channel, the same on every run.
void fillPattern(Image& image) {
  const int samples = image.Width() * bytesPerPixel(image);
  for (int y = 0; y < image.Height(); ++y) {
    unsigned char* row = image.PixelAt(0, y);
    for (int i = 0; i < samples; ++i) row[i] = (unsigned char)(i * 37 + y * 91 + (i * y) % 17);
  }
}

void makePatterned(Image& image, int width, int height, int bits) {
  ASSERT_TRUE(bits == 24 ? image.Create(width, height, 24) : image.CreateGrey(width, height));
  fillPattern(image);
}

// The pixel bytes row by row, without the padding at the row ends.
Bytes pixelsOf(const Image& image) {
  Bytes out;
  const int samples = image.Width() * bytesPerPixel(image);
  for (int y = 0; y < image.Height(); ++y) {
    const unsigned char* row = image.PixelAt(0, y);
    out.insert(out.end(), row, row + samples);
  }
  return out;
}

Bytes rescaled(int kernel, const Image& src, int width, int height) {
  Image dst;
  EXPECT_TRUE(Resample(kernel, dst, width, height, src, Rect{0, 0, src.Width(), src.Height()}));
  return pixelsOf(dst);
}

std::uint64_t digestOf(const Bytes& bytes) {
  std::uint64_t digest = 14695981039346656037ull;
  for (unsigned char b : bytes) digest = (digest ^ b) * 1099511628211ull;
  return digest;
}

int largestDifference(const Bytes& bytes, int value) {
  int worst = 0;
  for (unsigned char b : bytes) worst = std::max(worst, std::abs(b - value));
  return worst;
}

}  // namespace

TEST(Resample, RescalePicksMitchellWhenEitherSideGrows) {
  Image src;
  makePatterned(src, 32, 24, 24);
  const struct {
    int width;
    int height;
    int kernel;
  } cases[] = {
      {64, 48, kKernelMitchell}, {64, 12, kKernelMitchell}, {16, 48, kKernelMitchell},
      {33, 24, kKernelMitchell}, {16, 12, kKernelLanczos3}, {32, 24, kKernelLanczos3},
      {31, 24, kKernelLanczos3},
  };
  for (const auto& c : cases) {
    Image dst;
    ASSERT_TRUE(Rescale(dst, src, c.width, c.height));
    EXPECT_EQ(dst.BitsPerPixel(), 24);
    const int other = c.kernel == kKernelMitchell ? kKernelLanczos3 : kKernelMitchell;
    EXPECT_EQ(pixelsOf(dst), rescaled(c.kernel, src, c.width, c.height))
        << c.width << "x" << c.height;
    EXPECT_NE(pixelsOf(dst), rescaled(other, src, c.width, c.height)) << c.width << "x" << c.height;
  }
}

TEST(Resample, SameSizeWithTheTriangleGivesTheSameBytes) {
  for (int bits : {24, 8}) {
    for (int width : {1, 5, 7, 8}) {
      Image src;
      makePatterned(src, width, 5, bits);
      Image dst;
      ASSERT_TRUE(Resample(kKernelTriangle, dst, width, 5, src, Rect{0, 0, width, 5}));
      EXPECT_EQ(pixelsOf(dst), pixelsOf(src)) << bits << " bits, width " << width;
    }
  }
}

// A source one pixel wide maps every output column onto its only column, with
// weights that add up to 1.
TEST(Resample, OnePixelWideSourceFillsEveryColumn) {
  Image src;
  ASSERT_TRUE(src.Create(1, 3, 24));
  fillPattern(src);
  Image dst;
  ASSERT_TRUE(Rescale(dst, src, 10, 3));
  const Bytes column = rescaled(kKernelMitchell, src, 1, 3);
  for (int x = 0; x < 10; ++x) {
    for (int y = 0; y < 3; ++y) {
      EXPECT_EQ(std::memcmp(dst.PixelAt(x, y), &column[3 * y], 3), 0) << x << ", " << y;
    }
  }
  Image dot;
  ASSERT_TRUE(dot.Create(1, 1, 24));
  dot.Fill(0x00804020);
  Image expected;
  ASSERT_TRUE(expected.Create(10, 1, 24));
  expected.Fill(0x00804020);
  EXPECT_EQ(rescaled(kKernelMitchell, dot, 10, 1), pixelsOf(expected));
}

TEST(Resample, InBetweenSamplesRoundHalfUp) {
  Image src;
  ASSERT_TRUE(src.CreateGrey(2, 2));
  const unsigned char top[2] = {0, 101}, bottom[2] = {40, 200};
  std::memcpy(src.PixelAt(0, 0), top, 2);
  std::memcpy(src.PixelAt(0, 1), bottom, 2);
  // Centres at 0, 0.5 and 1 on both axes: 50.5 and 120 across, then down.
  EXPECT_EQ(rescaled(kKernelTriangle, src, 3, 3), (Bytes{0, 51, 101, 20, 86, 151, 40, 120, 200}));
}

// Kernels whose weights add up to 1 keep a flat colour flat when enlarging.
// Lanczos weights fall short by up to 0.6 percent, so a flat area may darken by up
// to a step in each pass; when shrinking, the stretched kernel is sampled
// unevenly and the sums stray both ways.
TEST(Resample, FlatColourStaysFlat) {
  Image src;
  ASSERT_TRUE(src.Create(6, 5, 24));
  src.Fill(0x00FFC80C);
  for (int kernel : {kKernelHermite, kKernelBell, kKernelCubicBSpline, kKernelMitchell,
                     kKernelTriangle, kKernelTruncatedBSpline}) {
    Image dst;
    ASSERT_TRUE(Resample(kernel, dst, 17, 13, src, Rect{0, 0, 6, 5}));
    Image expected;
    ASSERT_TRUE(expected.Create(17, 13, 24));
    expected.Fill(0x00FFC80C);
    EXPECT_EQ(pixelsOf(dst), pixelsOf(expected)) << kernel;
  }
  for (int value : {1, 77, 128, 200, 254, 255}) {
    Image grey;
    ASSERT_TRUE(grey.CreateGrey(40, 30));
    std::memset(grey.Bits(), value, grey.PixelBytes());
    const Bytes larger = rescaled(kKernelLanczos3, grey, 97, 71);
    EXPECT_LE(*std::max_element(larger.begin(), larger.end()), value);
    EXPECT_GE(*std::min_element(larger.begin(), larger.end()), value - 2);
    Image small;
    ASSERT_TRUE(Rescale(small, grey, 13, 7));
    EXPECT_LE(largestDifference(pixelsOf(small), value), 2) << value;
  }
}

// Mitchell overshoots on both sides of a hard edge, by 9 steps with 0 and 255:
// clamped, the enlarged edge still only rises; wrapped, 264 would turn to 8.
TEST(Resample, OvershootIsClampedNotWrapped) {
  for (bool acrossRows : {false, true}) {
    Image src;
    ASSERT_TRUE(acrossRows ? src.CreateGrey(8, 1) : src.CreateGrey(1, 8));
    for (int i = 0; i < 8; ++i) {
      *(acrossRows ? src.PixelAt(i, 0) : src.PixelAt(0, i)) = i < 4 ? 0 : 255;
    }
    const Bytes out =
        acrossRows ? rescaled(kKernelMitchell, src, 29, 1) : rescaled(kKernelMitchell, src, 1, 29);
    ASSERT_EQ(out.size(), 29u);
    EXPECT_TRUE(std::is_sorted(out.begin(), out.end())) << acrossRows;
    EXPECT_EQ(out[10], 0);
    EXPECT_EQ(out[18], 255);
  }
}

TEST(Resample, ChannelsAreFilteredApart) {
  Image grey;
  makePatterned(grey, 11, 9, 8);
  Image colour;
  ASSERT_TRUE(colour.Create(11, 9, 24));
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 11; ++x) std::memset(colour.PixelAt(x, y), *grey.PixelAt(x, y), 3);
  }
  for (int kernel = 0; kernel < kKernelCount; ++kernel) {
    const Bytes fromGrey = rescaled(kernel, grey, 17, 6);
    const Bytes fromColour = rescaled(kernel, colour, 17, 6);
    ASSERT_EQ(fromColour.size(), 3 * fromGrey.size());
    for (std::size_t i = 0; i < fromColour.size(); ++i) {
      ASSERT_EQ(fromColour[i], fromGrey[i / 3]) << kernel << " at " << i;
    }
  }
}

TEST(Resample, EightBitSourceComesOutGrey) {
  Image indexed;
  ASSERT_TRUE(indexed.Create(9, 7, 8));
  for (int i = 0; i < kPaletteEntries; ++i) {
    indexed.Palette()[i] = RgbQuad{std::uint8_t(255 - i), 0, std::uint8_t(i * 3), 0};
  }
  fillPattern(indexed);
  ASSERT_FALSE(indexed.IsGrey());
  Image grey;
  ASSERT_TRUE(grey.CreateGrey(9, 7));
  std::memcpy(grey.Bits(), indexed.Bits(), grey.PixelBytes());

  Image same;
  ASSERT_TRUE(Resample(kKernelTriangle, same, 9, 7, indexed, Rect{0, 0, 9, 7}));
  EXPECT_TRUE(same.IsGrey());
  EXPECT_EQ(pixelsOf(same), pixelsOf(indexed));
  Image larger;
  ASSERT_TRUE(Rescale(larger, indexed, 20, 15));
  EXPECT_TRUE(larger.IsGrey());
  EXPECT_EQ(pixelsOf(larger), rescaled(kKernelMitchell, grey, 20, 15));
}

TEST(Resample, FailuresBeforeRecreatingLeaveTheDestination) {
  Image colour;
  makePatterned(colour, 6, 4, 24);
  Image empty;
  Image fourBit;
  ASSERT_TRUE(fourBit.Create(6, 4, 4));
  Image thirtyTwo;
  ASSERT_TRUE(thirtyTwo.Create(6, 4, 32));
  const Rect whole{0, 0, 6, 4};
  const struct {
    const char* what;
    int width;
    int height;
    const Image* src;
    Rect rect;
  } cases[] = {
      {"zero width", 0, 5, &colour, whole},
      {"zero height", 5, 0, &colour, whole},
      {"negative width", -5, 5, &colour, whole},
      {"no pixels", 5, 5, &empty, whole},
      {"4-bit", 5, 5, &fourBit, whole},
      {"32-bit", 5, 5, &thirtyTwo, whole},
      {"empty rectangle", 5, 5, &colour, Rect{2, 2, 2, 4}},
      {"rectangle outside", 5, 5, &colour, Rect{6, 0, 9, 4}},
      {"a billion rows", 1, 1 << 30, &colour, whole},
      {"two billion columns", 0x7FFFFFFF, 1, &colour, whole},
  };
  for (const auto& c : cases) {
    Image dst;
    ASSERT_TRUE(dst.Create(3, 2, 24));
    dst.Fill(0x00123456);
    const Bytes before = pixelsOf(dst);
    const unsigned char* bits = dst.Bits();
    EXPECT_FALSE(Resample(kKernelMitchell, dst, c.width, c.height, *c.src, c.rect)) << c.what;
    EXPECT_EQ(dst.Bits(), bits) << c.what;
    EXPECT_EQ(dst.Width(), 3) << c.what;
    EXPECT_EQ(pixelsOf(dst), before) << c.what;
  }
  Image dst;
  ASSERT_TRUE(dst.Create(3, 2, 24));
  EXPECT_FALSE(Rescale(dst, empty, 5, 5));
  EXPECT_EQ(dst.Width(), 3);
}

// Only the rectangle is read, clipped to the source, and it is resampled as a
// picture of its own.
TEST(Resample, RectangleIsResampledAlone) {
  Image src;
  makePatterned(src, 12, 10, 24);
  Image part;
  ASSERT_TRUE(part.CreateLike(src));
  std::memcpy(part.Bits(), src.Bits(), src.PixelBytes());
  ASSERT_TRUE(part.Crop(Rect{3, 2, 12, 7}));
  Image dst;
  ASSERT_TRUE(Resample(kKernelLanczos3, dst, 7, 4, src, Rect{3, 2, 40, 7}));
  EXPECT_EQ(pixelsOf(dst), rescaled(kKernelLanczos3, part, 7, 4));
  ASSERT_TRUE(Resample(kKernelMitchell, dst, 9, 9, src, Rect{-5, -5, 4, 3}));
  Image corner;
  ASSERT_TRUE(corner.CreateLike(src));
  std::memcpy(corner.Bits(), src.Bits(), src.PixelBytes());
  ASSERT_TRUE(corner.Crop(Rect{0, 0, 4, 3}));
  EXPECT_EQ(pixelsOf(dst), rescaled(kKernelMitchell, corner, 9, 9));
}

TEST(Resample, OntoItself) {
  for (int bits : {24, 8}) {
    Image image;
    makePatterned(image, 14, 9, bits);
    const Bytes expected = rescaled(kKernelLanczos3, image, 10, 21);
    ASSERT_TRUE(Resample(kKernelLanczos3, image, 10, 21, image, Rect{0, 0, 14, 9}));
    EXPECT_EQ(pixelsOf(image), expected) << bits;
  }
}

// Doubles are rounded the same way in both builds (SSE2, our own sine), so the
// same picture comes out to the byte on the host and on Windows.
TEST(Resample, SameBytesOnEveryBuild) {
  Image src;
  makePatterned(src, 40, 30, 24);
  const struct {
    int kernel;
    int width;
    int height;
    std::uint64_t digest;
  } cases[] = {
      {kKernelMitchell, 63, 47, 10926244045845919388u},
      {kKernelLanczos3, 63, 47, 1069892565189499705u},
      {kKernelLanczos3, 23, 17, 311953399721831332u},
      {kKernelLanczos3, 7, 3, 3603408418109758489u},
      {kKernelHermite, 23, 50, 12809462217338746241u},
      {kKernelBell, 50, 23, 15393728443428939179u},
      {kKernelTruncatedBSpline, 9, 40, 9385263290479774845u},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(digestOf(rescaled(c.kernel, src, c.width, c.height)), c.digest)
        << c.kernel << " " << c.width << "x" << c.height;
  }
}

TEST(Resample, RescaleCachedKeepsACacheOfTheRightSize) {
  Image src;
  makePatterned(src, 10, 6, 24);
  Image cache;
  ASSERT_TRUE(RescaleCached(cache, src, 15, 9));
  EXPECT_EQ(pixelsOf(cache), rescaled(kKernelMitchell, src, 15, 9));

  cache.Fill(0x00ABCDEF);  // stands for whatever the cache was made from
  const Bytes marked = pixelsOf(cache);
  const unsigned char* bits = cache.Bits();
  ASSERT_TRUE(RescaleCached(cache, src, 15, 9));
  EXPECT_EQ(cache.Bits(), bits);
  EXPECT_EQ(pixelsOf(cache), marked);

  ASSERT_TRUE(RescaleCached(cache, src, 15, 8));
  EXPECT_EQ(cache.Height(), 8);
  EXPECT_EQ(pixelsOf(cache), rescaled(kKernelMitchell, src, 15, 8));
}

TEST(Resample, BarMiddleCacheIsKeptWhileWideEnough) {
  Image middle;
  ASSERT_TRUE(middle.Create(1, 24, 24));
  fillPattern(middle);
  Image cache;
  ASSERT_TRUE(EnsureBarMiddle(cache, middle, 80, 24));
  EXPECT_EQ(cache.Width(), 80);
  EXPECT_EQ(pixelsOf(cache), rescaled(kKernelMitchell, middle, 80, 24));

  const unsigned char* bits = cache.Bits();
  for (int width : {80, 79, 1}) {
    ASSERT_TRUE(EnsureBarMiddle(cache, middle, width, 24));
    EXPECT_EQ(cache.Bits(), bits);
    EXPECT_EQ(cache.Width(), 80);
  }
  ASSERT_TRUE(EnsureBarMiddle(cache, middle, 81, 24));
  EXPECT_EQ(cache.Width(), 81);

  Image none;
  Image unchanged;
  EXPECT_FALSE(EnsureBarMiddle(unchanged, none, 5, 24));
  EXPECT_FALSE(unchanged.HasPixels());
}
