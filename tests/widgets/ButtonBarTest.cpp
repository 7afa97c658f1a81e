#include "widgets/ButtonBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

// Captions of any width: the slots never leave the strip nor overlap; they are
// as wide as their captions while that fits, else the widest are narrowed alike
// until the strip is full.
TEST(ButtonBar, CaptionsOfAnyWidthStayInTheStrip) {
  constexpr int kEnds = 3 + 4, kWidth = 520;
  const struct {
    std::vector<int> widths;  // -1: hidden
    bool fits;
  } cases[] = {
      {{53, 38, 52}, true},    {{160, 120, 150}, true}, {{100, 100, 299}, true},
      {{300, 40, 250}, false}, {{2000, 38, 52}, false}, {{-1, 600, -1, 40}, false},
  };
  for (const auto& c : cases) {
    std::vector<BarButton> buttons(c.widths.size());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      buttons[i].captionWidth = c.widths[i];
      buttons[i].rightAligned = true;
    }
    EXPECT_EQ(LayOutBarButtons(buttons.data(), int(buttons.size()), 10, kWidth, 3, 4), c.fits);
    int used = 0, narrowed = 0, widestWhole = 0, previousLeft = 10 + kWidth;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      const BarButton& b = buttons[i];
      const int slot = b.slotRight - b.slotLeft, wanted = c.widths[i] + kEnds;
      if (c.widths[i] < 0) {
        EXPECT_EQ(slot, 0);
        continue;
      }
      used += slot;
      EXPECT_EQ(b.slotRight, previousLeft) << i;  // side by side from the right edge
      previousLeft = b.slotLeft;
      if (slot == wanted) {
        EXPECT_EQ(b.captionX, b.slotRight - 4 - c.widths[i]) << i;
        widestWhole = std::max(widestWhole, slot);
      } else {
        EXPECT_LT(slot, wanted) << i;
        EXPECT_EQ(b.captionX, b.slotLeft + 3) << i;
        EXPECT_TRUE(narrowed == 0 || slot == narrowed) << i;
        narrowed = slot;
      }
    }
    EXPECT_GE(previousLeft, 10);
    EXPECT_EQ(narrowed == 0, c.fits);
    if (!c.fits) {
      EXPECT_GT(used, kWidth - int(buttons.size()));
      EXPECT_LE(widestWhole, narrowed);
    }
  }
}

}  // namespace
