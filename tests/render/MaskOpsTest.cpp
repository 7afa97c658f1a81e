#include "render/MaskOps.h"

#include <gtest/gtest.h>

#include <climits>

#include "TestImages.h"
#include "render/BlendTables.h"

using namespace testimages;

TEST(MaskOps, FillRectBlendCoversOnlyTheClippedRectangle) {
  Image image;
  solid(image, 4, 3, 0x646464);
  ASSERT_TRUE(FillRectBlend(&image, Rect{2, -5, 99, 2}, 0xC80000, 128));
  EXPECT_EQ(colourAt(image, 2, 0), 0x963232u);  // blue Blend(200, 100), the others Blend(0, 100)
  EXPECT_EQ(colourAt(image, 3, 1), 0x963232u);
  EXPECT_EQ(colourAt(image, 1, 0), 0x646464u);
  EXPECT_EQ(colourAt(image, 2, 2), 0x646464u);

  EXPECT_FALSE(FillRectBlend(&image, Rect{4, 0, 8, 3}, 0, 255));  // wholly right
  Image grey;
  greySolid(grey, 2, 2, 0);
  EXPECT_FALSE(FillRectBlend(&grey, Rect{0, 0, 2, 2}, 0, 255));
  EXPECT_FALSE(FillRectBlend(nullptr, Rect{0, 0, 2, 2}, 0, 255));
}

TEST(MaskOps, FillGreyRectAndInvert) {
  Image mask;
  greySolid(mask, 4, 3, 100);
  // A size that would overflow x + w still means "to the edges".
  ASSERT_TRUE(FillGreyRect(&mask, 1, 1, INT_MAX, INT_MAX, 200, 128));
  EXPECT_EQ(greyAt(mask, 0, 0), 100);
  EXPECT_EQ(greyAt(mask, 3, 0), 100);
  EXPECT_EQ(greyAt(mask, 1, 1), 150);
  EXPECT_EQ(greyAt(mask, 3, 2), 150);
  ASSERT_TRUE(FillGreyRect(&mask, 0, 0, 1, 1, 999, 255));  // clamped to 255
  EXPECT_EQ(greyAt(mask, 0, 0), 255);
  EXPECT_FALSE(FillGreyRect(&mask, -9, 0, 9, 3, 0, 255));

  ASSERT_TRUE(InvertMask(&mask));
  EXPECT_EQ(greyAt(mask, 0, 0), 0);
  EXPECT_EQ(greyAt(mask, 1, 0), 155);
  EXPECT_EQ(greyAt(mask, 1, 1), 105);

  Image colour;
  solid(colour, 2, 2, 0);
  EXPECT_FALSE(FillGreyRect(&colour, 0, 0, 2, 2, 9, 255));
  EXPECT_FALSE(InvertMask(&colour));
  EXPECT_FALSE(InvertMask(nullptr));
}

TEST(MaskOps, SoftShadowShadesThePanelEdges) {
  // The content panel's mask, at a size with room to see each region.
  const int w = 120, h = 100, inset = 40;
  Image mask;
  ASSERT_TRUE(SoftShadowMask(&mask, w, h, inset, 192, 255, 128));
  ASSERT_TRUE(mask.IsGrey());
  ASSERT_EQ(mask.Width(), w);
  ASSERT_EQ(mask.Height(), h);
  for (int x = 0; x < w; ++x) {
    ASSERT_EQ(greyAt(mask, x, 0), 255);
    ASSERT_EQ(greyAt(mask, x, h - 1), 255);
  }
  const int raised = Blend(255, 192, 128);
  EXPECT_EQ(greyAt(mask, 25, 22), 255 - 192);     // windows wholly in the base region
  EXPECT_EQ(greyAt(mask, 80, 70), 255 - raised);  // and wholly in the raised one
  // Towards the outer edges the zero border blurs in: the shadow grows.
  EXPECT_GT(greyAt(mask, w - 1, 70), greyAt(mask, 80, 70));
  EXPECT_GT(greyAt(mask, 0, 50), greyAt(mask, 25, 50));
  // Across the step from base to raised it falls.
  EXPECT_GT(greyAt(mask, 30, 70), greyAt(mask, 50, 70));

  EXPECT_FALSE(SoftShadowMask(&mask, 0, 10, inset, 192, 255, 128));
  EXPECT_FALSE(SoftShadowMask(nullptr, 10, 10, inset, 192, 255, 128));
}
