#include "widgets/FileTypeGrid.h"

#include <gtest/gtest.h>

TEST(FileTypeGrid, WorkedExample) {
  // A first box 100 pixels wide beside a side picture 150 wide: 320 usable
  // pixels hold 3 columns, and the 20 left over make gaps of 6.
  const FileTypeGrid grid = LayOutFileTypeGrid(150, Size{100, 20});
  EXPECT_EQ(grid.columns, 3);
  EXPECT_EQ(grid.gap, 6);
  const Point first = grid.BoxPosition(0), fifth = grid.BoxPosition(4);
  EXPECT_EQ(first.x, 160);
  EXPECT_EQ(first.y, 130);
  EXPECT_EQ(fifth.x, 160 + 106);
  EXPECT_EQ(fifth.y, 130 + 24);
}

TEST(FileTypeGrid, ShowsExactlyTheBoxesThatEndAboveTheLinks) {
  for (int side : {0, 100, 164, 300, 460}) {
    for (int width = 1; width <= 200; width += 7) {
      for (int height = 1; height <= 160; height += 9) {
        const FileTypeGrid grid = LayOutFileTypeGrid(side, Size{width, height});
        const int usableRight = 500 - 20;
        for (int i = 0; i < grid.Capacity(); ++i) {
          const Point p = grid.BoxPosition(i);
          ASSERT_GE(p.x, side + 10);
          ASSERT_LE(p.x + width, usableRight) << side << " " << width << " " << i;
          ASSERT_LE(p.y + height, 276) << side << " " << height << " " << i;
        }
        // No room for one more column, and the next row would reach the links.
        if (side + 10 + width <= usableRight) {
          ASSERT_GT(grid.columns, 0);
          ASSERT_GT(side + 10 + (grid.columns + 1) * width, usableRight);
        }
        if (grid.columns > 0) {
          ASSERT_GT(grid.BoxPosition(grid.Capacity()).y + height, 276);
        } else {
          ASSERT_EQ(grid.Capacity(), 0);
        }
      }
    }
  }
  EXPECT_EQ(LayOutFileTypeGrid(164, Size{0, 20}).Capacity(), 0);
  EXPECT_EQ(LayOutFileTypeGrid(164, Size{80, 147}).Capacity(), 0);  // taller than the room
}
