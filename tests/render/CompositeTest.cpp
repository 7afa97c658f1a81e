#include "render/Composite.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "TestImages.h"
#include "render/BlendTables.h"

using namespace testimages;

namespace {

// One pixel of either blit format: a colour for 24-bit, a value for grey.
struct Pixel {
  bool colour;
  COLORREF value;
};

void makeImage(Image& image, int w, int h, Pixel p) {
  if (p.colour) {
    solid(image, w, h, p.value);
  } else {
    greySolid(image, w, h, std::uint8_t(p.value));
  }
}

// The pixel at (x, y) in the form Pixel uses for the image's format.
COLORREF valueAt(const Image& image, int x, int y) {
  return image.BitsPerPixel() == 24 ? colourAt(image, x, y) : COLORREF(greyAt(image, x, y));
}

}  // namespace

TEST(Composite, CopyAndBlendConvertBetweenAllFourFormatPairs) {
  // Source 200 everywhere (grey 200 for the colour source), destination 100.
  const COLORREF grey200 = 0xC8C8C8, grey100 = 0x646464;
  struct Case {
    Pixel src, dst;
    COLORREF copied, blended;  // after Copy, after BlendConst at alpha 128
  } cases[] = {
      {{true, 0x1E140A}, {true, grey100}, 0x1E140A, 0x413C37},  // each channel on its own
      {{true, 0x1F140A}, {false, 100}, 20, 60},                 // grey (10 + 20 + 31 + 1) / 3
      {{false, 200}, {true, 0x6E645A}, grey200, 0x969696},      // grey of (90, 100, 110) is 100
      {{false, 200}, {false, 100}, 200, 150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "src " << c.src.colour << " dst " << c.dst.colour);
    Image src, dst;
    makeImage(src, 3, 2, c.src);
    makeImage(dst, 4, 3, c.dst);
    ASSERT_TRUE(Copy(&dst, 1, 1, &src, 0, 0, 3, 2));
    EXPECT_EQ(valueAt(dst, 1, 1), c.copied);
    EXPECT_EQ(valueAt(dst, 3, 2), c.copied);
    EXPECT_EQ(valueAt(dst, 0, 0), c.dst.value);  // outside the blit

    makeImage(dst, 4, 3, c.dst);
    ASSERT_TRUE(BlendConst(&dst, 1, 1, &src, 0, 0, 3, 2, 128));
    EXPECT_EQ(valueAt(dst, 2, 1), c.blended);
    EXPECT_EQ(valueAt(dst, 0, 2), c.dst.value);

    // Alpha 255 (and beyond, clamped) is exactly the copy.
    makeImage(dst, 4, 3, c.dst);
    ASSERT_TRUE(BlendConst(&dst, 1, 1, &src, 0, 0, 3, 2, 300));
    EXPECT_EQ(valueAt(dst, 2, 2), c.copied);
  }
}

TEST(Composite, GreyIntoColourTurnsTheCoveredPixelsGrey) {
  Image src, dst;
  greySolid(src, 1, 1, 0);
  solid(dst, 1, 1, 0x0000FFFF);  // yellow: grey 170
  ASSERT_TRUE(BlendConst(&dst, 0, 0, &src, 0, 0, 1, 1, 255));
  EXPECT_EQ(colourAt(dst, 0, 0), 0x000000u);
  solid(dst, 1, 1, 0x0000FFFF);
  ASSERT_TRUE(BlendConst(&dst, 0, 0, &src, 0, 0, 1, 1, 254));
  EXPECT_EQ(colourAt(dst, 0, 0), 0x010101u);  // Blend(0, 170, 254) in every channel
  solid(dst, 1, 1, 0x0000FFFF);
  ASSERT_TRUE(BlendConst(&dst, 0, 0, &src, 0, 0, 1, 1, 0));
  EXPECT_EQ(colourAt(dst, 0, 0), 0xAAAAAAu);  // even at alpha 0
}

TEST(Composite, BlitsClipAgainstBothImagesInTheirOrientation) {
  Image src, dst;
  solid(src, 3, 3, 0);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) setColour(src, x, y, COLORREF(10 * y + x + 1));
  }
  solid(dst, 3, 3, 0);
  ASSERT_TRUE(DrawImage(&dst, -1, -1, &src));
  EXPECT_EQ(colourAt(dst, 0, 0), 12u);  // source (1, 1)
  EXPECT_EQ(colourAt(dst, 1, 1), 23u);
  EXPECT_EQ(colourAt(dst, 2, 0), 0u);
  EXPECT_EQ(colourAt(dst, 0, 2), 0u);

  solid(dst, 3, 3, 0);
  ASSERT_TRUE(DrawImageFrom(&dst, 0, 1, &src, 2, 0));  // one column, two rows survive
  EXPECT_EQ(colourAt(dst, 0, 1), 3u);
  EXPECT_EQ(colourAt(dst, 0, 2), 13u);
  EXPECT_EQ(colourAt(dst, 1, 1), 0u);
  EXPECT_EQ(colourAt(dst, 0, 0), 0u);
}

TEST(Composite, NothingLeftAfterClippingDrawsNothing) {
  Image colour, grey, dst, mask;
  solid(colour, 4, 4, 0xFFFFFF);
  greySolid(grey, 4, 4, 255);
  greySolid(mask, 4, 4, 255);
  solid(dst, 8, 8, 0x123456);
  const auto before = bytesOf(dst);
  struct Place {
    int x, y, sx, sy, w, h;
  } places[] = {
      {-4, 0, 0, 0, 4, 4},                         // wholly left of the destination
      {8, 2, 0, 0, 4, 4},                          // wholly right
      {0, 0, 4, 0, 4, 4},                          // wholly right of the source
      {0, 0, 0, 0, 0, 4},                          // no width
      {0, 0, 0, 0, -3, -3},                        // negative size
      {INT_MIN, INT_MIN, 0, 0, INT_MAX, INT_MAX},  // ends far out, no overflow
      {INT_MAX, 0, INT_MIN, 0, INT_MAX, 4},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y << " from " << p.sx << "," << p.sy);
    EXPECT_FALSE(Copy(&dst, p.x, p.y, &colour, p.sx, p.sy, p.w, p.h));
    EXPECT_FALSE(BlendConst(&dst, p.x, p.y, &grey, p.sx, p.sy, p.w, p.h, 100));
    EXPECT_FALSE(BlendMasked(&dst, p.x, p.y, &colour, p.sx, p.sy, p.w, p.h, &mask, 100));
    EXPECT_FALSE(FillThroughMask(&dst, p.x, p.y, &mask, p.sx, p.sy, p.w, p.h, 0xFF, 255));
  }
  EXPECT_EQ(bytesOf(dst), before);
}

TEST(Composite, MissingImagesAndOtherFormatsFail) {
  Image colour, grey, paletted, fourBit, empty;
  solid(colour, 2, 2, 0);
  greySolid(grey, 2, 2, 0);
  ASSERT_TRUE(paletted.Create(2, 2, 8));  // 8-bit, but its palette is not the ramp
  ASSERT_TRUE(fourBit.Create(2, 2, 4));
  EXPECT_FALSE(Copy(nullptr, 0, 0, &colour, 0, 0, 2, 2));
  EXPECT_FALSE(Copy(&colour, 0, 0, nullptr, 0, 0, 2, 2));
  EXPECT_FALSE(Copy(&colour, 0, 0, &empty, 0, 0, 2, 2));
  EXPECT_FALSE(Copy(&colour, 0, 0, &paletted, 0, 0, 2, 2));
  EXPECT_FALSE(Copy(&paletted, 0, 0, &colour, 0, 0, 2, 2));
  EXPECT_FALSE(BlendConst(&colour, 0, 0, &fourBit, 0, 0, 2, 2, 7));
  EXPECT_FALSE(FillThroughMask(&grey, 0, 0, &grey, 0, 0, 2, 2, 0, 255));      // into grey
  EXPECT_FALSE(FillThroughMask(&colour, 0, 0, &colour, 0, 0, 2, 2, 0, 255));  // colour mask
  EXPECT_FALSE(MaskUnion(&colour, 0, 0, &grey, 0, 0, 2, 2));
  EXPECT_FALSE(MaskUnion(&grey, 0, 0, &colour, 0, 0, 2, 2));
  EXPECT_FALSE(DrawImage(&colour, 0, 0, nullptr));
  EXPECT_FALSE(DrawImageFrom(&colour, 0, 0, nullptr, 0, 0));
  EXPECT_FALSE(BlendImage(&colour, 0, 0, nullptr, 9));
  EXPECT_FALSE(FillMask(&colour, 0, 0, nullptr, 0, 0, 0, 255));
  EXPECT_FALSE(UnionMask(&grey, 0, 0, nullptr));
}

TEST(Composite, BlendMaskedWeighsEachPixelByTheMaskAtTheSourcePosition) {
  Image src, dst, mask;
  solid(src, 4, 1, 0xC8C8C8);
  greyRows(mask, 4, 1, {0, 255, 128, 255});
  solid(dst, 3, 1, 0x646464);
  // Source columns 1..3 land on destination 0..2 and take mask columns 1..3.
  ASSERT_TRUE(BlendMasked(&dst, 0, 0, &src, 1, 0, 3, 1, &mask, 255));
  EXPECT_EQ(colourAt(dst, 0, 0), 0xC8C8C8u);
  EXPECT_EQ(colourAt(dst, 1, 0), 0x969696u);  // Blend(200, 100, 128)
  EXPECT_EQ(colourAt(dst, 2, 0), 0xC8C8C8u);

  solid(dst, 3, 1, 0x646464);
  ASSERT_TRUE(BlendMasked(&dst, 0, 0, &src, 1, 0, 3, 1, &mask, 128));
  EXPECT_EQ(colourAt(dst, 0, 0), 0x969696u);
  const int quarter = Blend(200, 100, MulTable()[128][128]);
  EXPECT_EQ(colourAt(dst, 1, 0) & 0xFF, COLORREF(quarter));
}

TEST(Composite, BlendMaskedWithoutAFittingMaskFallsBack) {
  Image src, dst, expected, wrongSize, notGrey;
  solid(src, 4, 2, 0xC8C8C8);
  greySolid(wrongSize, 4, 3, 0);
  solid(notGrey, 4, 2, 0);
  const Image* masks[] = {&wrongSize, &notGrey, nullptr};
  for (const Image* mask : masks) {
    for (int alpha : {255, 77}) {
      solid(dst, 5, 5, 0x646464);
      solid(expected, 5, 5, 0x646464);
      ASSERT_TRUE(BlendMasked(&dst, 1, 2, &src, 0, 0, 4, 2, mask, alpha));
      ASSERT_TRUE(BlendConst(&expected, 1, 2, &src, 0, 0, 4, 2, alpha));
      EXPECT_EQ(bytesOf(dst), bytesOf(expected));
    }
  }
}

TEST(Composite, FillThroughMaskPaintsTheColourByCoverage) {
  Image dst, mask;
  solid(dst, 3, 2, 0xFFFFFF);
  greyRows(mask, 3, 2, {0, 255, 128, 255, 255, 0});
  ASSERT_TRUE(FillMask(&dst, 0, 0, &mask, 0x00400000, 0, 0, 255));
  EXPECT_EQ(colourAt(dst, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(colourAt(dst, 1, 0), 0x400000u);  // blue 64 only
  const COLORREF half = COLORREF(Blend(0, 255, 128));
  EXPECT_EQ(colourAt(dst, 2, 0), COLORREF(Blend(0x40, 255, 128)) << 16 | half << 8 | half);

  // The mask read from (1, 1) onwards: only its two bottom-right values remain.
  solid(dst, 3, 2, 0xFFFFFF);
  ASSERT_TRUE(FillMask(&dst, 0, 0, &mask, 0x000000, 1, 1, 128));
  EXPECT_EQ(colourAt(dst, 0, 0), half * 0x010101u);
  EXPECT_EQ(colourAt(dst, 1, 0), 0xFFFFFFu);
  EXPECT_EQ(colourAt(dst, 0, 1), 0xFFFFFFu);
}

TEST(Composite, MaskUnionScreensGreyValues) {
  Image dst, src;
  greyRows(dst, 3, 1, {0, 255, 100});
  greyRows(src, 3, 1, {77, 10, 100});
  ASSERT_TRUE(UnionMask(&dst, 0, 0, &src));
  EXPECT_EQ(greyAt(dst, 0, 0), 77);
  EXPECT_EQ(greyAt(dst, 1, 0), 255);
  EXPECT_EQ(greyAt(dst, 2, 0), ScreenTable()[100][100]);
}
