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
// as wide as their captions while that fits, and else the widest give way first.
TEST(ButtonBar, CaptionsOfAnyWidthStayInTheStrip) {
  constexpr int kEnds = 3 + 4;
  const struct {
    const char* what;
    std::vector<int> widths;  // -1: hidden
    int width;
    bool fits;
  } cases[] = {
      {"room to spare", {53, 38, 52}, 520, true},
      {"exactly the strip", {100, 100, 100 - 3 * kEnds + 200}, 500, true},
      {"wide captions", {160, 120, 150}, 520, true},
      {"too wide together", {300, 40, 250}, 520, false},
      {"one far too wide", {2000, 38, 52}, 520, false},
      {"hidden ones take no room", {-1, 600, -1, 40}, 520, false},
      {"not even the end pieces fit", {30, 30, 30}, 12, false},
  };
  for (const auto& c : cases) {
    std::vector<BarButton> buttons(c.widths.size());
    int total = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      buttons[i].captionWidth = c.widths[i];
      buttons[i].rightAligned = true;
      if (c.widths[i] >= 0) total += c.widths[i] + kEnds;
    }
    EXPECT_EQ(LayOutBarButtons(buttons.data(), int(buttons.size()), 10, c.width, 3, 4), c.fits)
        << c.what;
    int used = 0, narrowed = -1, widestWhole = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      const BarButton& b = buttons[i];
      if (c.widths[i] < 0) {
        EXPECT_EQ(b.slotLeft, b.slotRight) << c.what;
        continue;
      }
      const int slot = b.slotRight - b.slotLeft;
      used += slot;
      EXPECT_GE(slot, kEnds) << c.what;
      if (c.width >= 3 * kEnds) {
        EXPECT_GE(b.slotLeft, 10) << c.what;
        EXPECT_LE(b.slotRight, 10 + c.width) << c.what;
      }
      for (std::size_t j = i + 1; j < buttons.size(); ++j) {
        if (c.widths[j] < 0) continue;
        EXPECT_TRUE(b.slotRight <= buttons[j].slotLeft || buttons[j].slotRight <= b.slotLeft)
            << c.what << ": " << i << " and " << j;
      }
      if (slot == c.widths[i] + kEnds) {
        EXPECT_EQ(b.captionX, b.slotRight - 4 - c.widths[i]) << c.what;
        widestWhole = std::max(widestWhole, slot);
      } else {
        EXPECT_LT(slot, c.widths[i] + kEnds) << c.what;
        EXPECT_EQ(b.captionX, b.slotLeft + 3) << c.what;
        if (narrowed >= 0) {
          EXPECT_EQ(slot, narrowed) << c.what << ": narrowed alike";
        }
        narrowed = slot;
      }
    }
    if (c.fits) {
      EXPECT_EQ(used, total) << c.what;
    } else if (c.width >= 3 * kEnds) {
      // Narrowed just enough to fill the strip, and only the widest.
      EXPECT_GT(used, c.width - int(buttons.size())) << c.what;
      EXPECT_LE(used, c.width) << c.what;
      EXPECT_LE(widestWhole, narrowed) << c.what;
    }
  }
}

}  // namespace
