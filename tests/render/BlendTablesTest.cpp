#include "render/BlendTables.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(BlendTables, BlendWeighsSourceOverDestination) {
  EXPECT_EQ(MulTable()[128][200], 100);
  EXPECT_EQ(MulTable()[127][100], 50);
  EXPECT_EQ(Blend(200, 100, 128), 150);
  // The two terms are rounded apart, so the ends are exact for every pair.
  for (int s = 0; s < 256; ++s) {
    for (int d = 0; d < 256; ++d) {
      ASSERT_EQ(Blend(s, d, 255), s) << s << " over " << d;
      ASSERT_EQ(Blend(s, d, 0), d) << s << " over " << d;
    }
  }
}

TEST(BlendTables, BlendStaysBetweenItsInputs) {
  for (int a = 0; a < 256; a += 17) {
    for (int s = 0; s < 256; s += 5) {
      for (int d = 0; d < 256; d += 3) {
        const int v = Blend(s, d, a);
        ASSERT_GE(v, std::min(s, d) - 1);
        ASSERT_LE(v, std::max(s, d) + 1);
      }
    }
  }
}

TEST(BlendTables, GreyOfEdges) {
  EXPECT_EQ(GreyOf()[0], 0);
  EXPECT_EQ(GreyOf()[1], 0);
  EXPECT_EQ(GreyOf()[2], 1);
  EXPECT_EQ(GreyOf()[255 + 255 + 255], 255);
  const unsigned char bgr[3] = {10, 20, 31};
  EXPECT_EQ(GreyOfPixel(bgr), 20);
}

TEST(BlendTables, ScreenIsAUnionOfCoverages) {
  for (int x = 0; x < 256; ++x) {
    EXPECT_EQ(ScreenTable()[0][x], x);
    EXPECT_EQ(ScreenTable()[255][x], 255);
    for (int y = 0; y < 256; ++y) {
      ASSERT_EQ(ScreenTable()[x][y], ScreenTable()[y][x]);
      ASSERT_GE(ScreenTable()[x][y], std::max(x, y));
    }
  }
}
