#include "render/ThreePieceBar.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "TestImages.h"

using namespace testimages;

namespace {

constexpr COLORREF kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

// Pieces 3 rows high: a left end 2 wide, a middle column, a right end 3 wide.
struct Pieces {
  Image leftPicture, middlePicture, rightPicture;
  std::unique_ptr<Sprite> left, middle, right;

  Pieces() {
    solid(leftPicture, 2, 3, kRed);
    solid(middlePicture, 1, 3, kGreen);
    solid(rightPicture, 3, 3, kBlue);
    left.reset(MakeSprite(kSpritePicture, &leftPicture, nullptr));
    middle.reset(MakeSprite(kSpritePicture, &middlePicture, nullptr));
    right.reset(MakeSprite(kSpritePicture, &rightPicture, nullptr));
  }
};

// The colours of one row of a 24-bit image, left to right.
std::vector<COLORREF> rowOf(const Image& image, int y) {
  std::vector<COLORREF> out;
  for (int x = 0; x < image.Width(); ++x) out.push_back(colourAt(image, x, y));
  return out;
}

}  // namespace

TEST(ThreePieceBar, StretchesTheMiddleBetweenTheEnds) {
  Pieces p;
  ThreePieceBar bar(p.left.get(), p.middle.get(), p.right.get());
  Image dst;
  solid(dst, 12, 5, 0);
  ASSERT_TRUE(bar.Draw(&dst, 1, 1, 9));
  const std::vector<COLORREF> drawn = {0,      kRed,  kRed,  kGreen, kGreen, kGreen,
                                       kGreen, kBlue, kBlue, kBlue,  0,      0};
  EXPECT_EQ(rowOf(dst, 1), drawn);
  EXPECT_EQ(rowOf(dst, 3), drawn);
  EXPECT_EQ(rowOf(dst, 0), std::vector<COLORREF>(12, 0));
  EXPECT_EQ(rowOf(dst, 4), std::vector<COLORREF>(12, 0));
  EXPECT_FALSE(bar.Draw(nullptr, 0, 0, 9));
}

TEST(ThreePieceBar, WidthOfTheTwoEndsDrawsNoMiddle) {
  Pieces p;
  ThreePieceBar bar(p.left.get(), p.middle.get(), p.right.get());
  Image dst;
  solid(dst, 7, 3, 0);
  ASSERT_TRUE(bar.Draw(&dst, 0, 0, 5));
  EXPECT_EQ(rowOf(dst, 0), (std::vector<COLORREF>{kRed, kRed, kBlue, kBlue, kBlue, 0, 0}));
  EXPECT_FALSE(bar.cache.HasPixels());  // nothing was rescaled

  // Narrower still: the right end moves over the left one.
  solid(dst, 7, 3, 0);
  ASSERT_TRUE(bar.Draw(&dst, 0, 0, 4));
  EXPECT_EQ(rowOf(dst, 0), (std::vector<COLORREF>{kRed, kBlue, kBlue, kBlue, 0, 0, 0}));
}

TEST(ThreePieceBar, RepeatsTheMiddleWhenItCannotBeRescaled) {
  // Without a left end there is no height to rescale the middle to, so it is
  // drawn once per column.
  Pieces p;
  Image empty;
  std::unique_ptr<Sprite> noLeft(MakeSprite(kSpritePicture, &empty, nullptr));
  ThreePieceBar bar(noLeft.get(), p.middle.get(), p.right.get());
  Image dst;
  solid(dst, 10, 3, 0);
  ASSERT_TRUE(bar.Draw(&dst, 2, 0, 6));
  EXPECT_EQ(rowOf(dst, 2),
            (std::vector<COLORREF>{0, 0, kGreen, kGreen, kGreen, kBlue, kBlue, kBlue, 0, 0}));

  // Far-reaching bars only draw the columns that land in the destination.
  solid(dst, 10, 3, 0);
  ASSERT_TRUE(bar.Draw(&dst, -1000, 0, 1010));
  EXPECT_EQ(rowOf(dst, 1), (std::vector<COLORREF>{kGreen, kGreen, kGreen, kGreen, kGreen, kGreen,
                                                  kGreen, kBlue, kBlue, kBlue}));
  solid(dst, 10, 3, 0);
  ASSERT_TRUE(bar.Draw(&dst, 0, 0, INT_MAX));
  EXPECT_EQ(rowOf(dst, 0), std::vector<COLORREF>(10, kGreen));
}
