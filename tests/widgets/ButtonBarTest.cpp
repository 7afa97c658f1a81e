#include "widgets/ButtonBar.h"

#include <gtest/gtest.h>

#include "widgets/WidgetFixture.h"

namespace {

using widgettest::solidSprite;

struct Bar {
  Bar() {
    bar.sets[0].left = solidSprite(sprites, 2, 20, 0x111111);
    bar.sets[2].left = solidSprite(sprites, 3, 20, 0x222222);
    bar.sets[2].right = solidSprite(sprites, 4, 20, 0x333333);
  }
  ContentItem* add(int spriteWidth, int flags) {
    auto* item = new ContentItem(solidSprite(sprites, spriteWidth, 12, 0x444444), flags);
    bar.items.add(item);
    return item;
  }
  OwningList<Sprite> sprites{8};
  ButtonBar bar;
};

TEST(ButtonBar, CaptionButtonAtTheRightEdgeAndTitleAtTheLeft) {
  Bar b;
  ContentItem* close = b.add(10, kItemButton);
  ContentItem* title = b.add(126, kItemLabel);
  b.bar.Layout(0, 0, 400);
  // The slot is the sprite plus set 2's end pieces: 10 + 3 + 4.
  EXPECT_EQ(close->rect, (Rect{383, 0, 400, 20}));
  EXPECT_EQ(close->x, 400 - 4 - 10);
  EXPECT_EQ(close->y, (20 - 12 + 2) / 2);
  EXPECT_EQ(title->x, 3);
  EXPECT_TRUE(title->rect.IsEmpty());  // a label is never hit
}

TEST(ButtonBar, HiddenButtonsLeaveNoGap) {
  Bar b;
  ContentItem* buttons[3] = {b.add(30, kItemButton), b.add(40, kItemButton),
                             b.add(50, kItemButton)};
  b.bar.Layout(0, 100, 300);
  EXPECT_EQ(buttons[0]->rect.right, 300);
  EXPECT_EQ(buttons[1]->rect.right, 300 - 37);
  EXPECT_EQ(buttons[2]->rect.right, 300 - 37 - 47);

  buttons[0]->flags &= ~kItemVisible;
  b.bar.Layout(0, 100, 300);
  EXPECT_TRUE(buttons[0]->rect.IsEmpty());
  EXPECT_EQ(buttons[1]->rect, (Rect{253, 100, 300, 120}));
  EXPECT_EQ(buttons[2]->rect, (Rect{196, 100, 253, 120}));
}

TEST(ButtonBar, StripsAndHotButton) {
  Bar b;
  b.add(10, kItemButton);
  EXPECT_EQ(b.bar.Strip(kCaptionBar, 300, 200), (Rect{0, 0, 300, 20}));
  EXPECT_EQ(b.bar.Strip(kNavigationBar, 300, 200), (Rect{0, 180, 300, 200}));
  EXPECT_EQ(b.bar.ItemAt(295, 190, kNavigationBar, 300, 200), 0);
  EXPECT_EQ(b.bar.items.hotIndex, 0);
  EXPECT_EQ(b.bar.ItemAt(10, 190, kNavigationBar, 300, 200), -1);
  EXPECT_EQ(b.bar.items.hotIndex, -1);
}

}  // namespace
