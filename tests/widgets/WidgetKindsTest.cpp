#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "render/Composite.h"
#include "support/MessageCollector.h"
#include "widgets/CheckBox.h"
#include "widgets/FocusList.h"
#include "widgets/LinkButton.h"
#include "widgets/ProgressBar.h"
#include "widgets/WidgetFixture.h"

namespace {

constexpr unsigned kLinkMessage = WM_USER + 5;

TEST(ProgressBar, PercentageMovesToTheFilledEndAboveOneHalf) {
  widgettest::TestSkin skin;
  ASSERT_TRUE(skin.fontRead);
  ItemList list;
  std::unique_ptr<ProgressBar> bar(ProgressBar::New());
  ASSERT_TRUE(bar->Setup(&skin.font, 10, 20, list, &skin.style, 200));
  EXPECT_FALSE(bar->CanFocus());
  ASSERT_EQ(list.count(), 1);
  EXPECT_EQ(list.at(0)->rect, (Rect{10, 20, 210, 44}));

  // Mask: 200 - 5 - 6 + 2 wide at (4, 3).
  ASSERT_EQ(bar->barMask.Width(), 191);
  EXPECT_EQ(bar->barMask.Height(), 18);
  const struct {
    double fraction;
    const char* text;
    bool atLeftEnd;
  } cases[] = {{0.0, " 0.0%", false},
               {0.5, "50.0%", false},
               {0.51, "51.0%", true},
               {-3.0, " 0.0%", false},
               {7.0, "100.0%", true}};
  for (const auto& c : cases) {
    bar->SetFraction(c.fraction);
    EXPECT_STREQ(bar->Text(), c.text);
    const Size size = skin.font.Measure(c.text, false);
    const int x = c.atLeftEnd ? 4 + 10 : 4 + 191 - size.cx - 10;
    EXPECT_EQ(bar->TextPosition().x, x) << c.fraction;
    EXPECT_EQ(bar->TextPosition().y, (18 - size.cy + 1) / 2 + 3);
  }

  bar->SetFraction(0.0);
  EXPECT_TRUE(bar->barMask.NonZeroBounds().IsEmpty());
  bar->SetFraction(0.5);
  // (191 + 0.5) * 0.5 = 95.75: 95 columns, the last two bright.
  EXPECT_EQ(bar->barMask.NonZeroBounds(), (Rect{0, 0, 95, 18}));
  EXPECT_EQ(*bar->barMask.PixelAt(92, 5), 128);
  EXPECT_EQ(*bar->barMask.PixelAt(93, 5), 255);
}

struct Controls {
  Controls() {
    link.reset(LinkButton::New());
    link->Setup(&skin.font, 0, 0, "Read more", items, &skin.style);
    items.at(0)->message = kLinkMessage;
    items.at(0)->wParam = 3;
    box.reset(CheckBox::New());
    box->Setup({&skin.font, "Open now", &skin.style, skin.unchecked, skin.checked, true, 50}, 0, 40,
               items);
  }
  int send(Widget* widget, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    int result = -1;
    return widget->HandleMessage(100, 50, collector.window(), message, wParam, lParam, &result);
  }
  widgettest::TestSkin skin;
  ItemList items;
  std::unique_ptr<LinkButton> link;
  std::unique_ptr<CheckBox> box;
  MessageCollector collector;
};

TEST(CheckBox, SpaceAndXToggleOtherKeysDoNot) {
  Controls c;
  ASSERT_EQ(c.items.count(), 2);
  EXPECT_EQ(c.box->checked, 1);
  EXPECT_TRUE(c.send(c.box.get(), WM_CHAR, ' ', 0));
  EXPECT_EQ(c.box->checked, 0);
  EXPECT_TRUE(c.send(c.box.get(), WM_CHAR, 'x', 0));
  EXPECT_TRUE(c.send(c.box.get(), WM_CHAR, 'X', 0));
  EXPECT_EQ(c.box->checked, 0);
  EXPECT_FALSE(c.send(c.box.get(), WM_CHAR, 'y', 0));
  EXPECT_FALSE(c.send(c.box.get(), WM_KEYDOWN, VK_SPACE, 0));
  EXPECT_EQ(c.box->checked, 0);
  // The label is at least 50 wide: tick + 50 between the end pieces.
  EXPECT_GE(c.box->picture.Width(), 5 + 13 + 50 + 6);
}

TEST(CheckBox, DoubleClickTogglesTwice) {
  Controls c;
  FocusList list;
  list.add(c.box.release());
  const std::intptr_t inside = MakePointParam(100 + 3, 50 + 40 + 3);
  int result = 0, repaint = 0;
  EXPECT_TRUE(list.HandleMessage(100, 50, nullptr, WM_LBUTTONDOWN, 0, inside, &result, &repaint));
  auto* box = static_cast<CheckBox*>(list.at(0));
  EXPECT_EQ(list.focused, 0);
  EXPECT_EQ(box->checked, 0);
  EXPECT_TRUE(list.HandleMessage(100, 50, nullptr, WM_LBUTTONDBLCLK, 0, inside, &result, &repaint));
  EXPECT_EQ(box->checked, 1);
  // A click beside it does nothing.
  EXPECT_FALSE(list.HandleMessage(100, 50, nullptr, WM_LBUTTONDOWN, 0, MakePointParam(99, 90),
                                  &result, &repaint));
  EXPECT_EQ(box->checked, 1);
}

TEST(LinkButton, KeysAndClicksPostTheItemsMessage) {
  Controls c;
  EXPECT_TRUE(c.send(c.link.get(), WM_CHAR, 'x', 0));
  EXPECT_TRUE(c.send(c.link.get(), WM_CHAR, ' ', 0));
  EXPECT_FALSE(c.send(c.link.get(), WM_CHAR, 'q', 0));
  EXPECT_EQ(c.collector.take().size(), 2u);

  const std::intptr_t inside = MakePointParam(101, 51);
  EXPECT_TRUE(c.send(c.link.get(), WM_LBUTTONDOWN, 0, inside));
  EXPECT_TRUE(c.send(c.link.get(), WM_LBUTTONDBLCLK, 0, inside));
  EXPECT_FALSE(c.send(c.link.get(), WM_LBUTTONDOWN, 0, MakePointParam(99, 51)));
  const auto posted = c.collector.take();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].message, kLinkMessage);
  // Never clickable by the page layer's own hit testing.
  EXPECT_EQ(c.items.at(0)->flags, kItemVisible);
  EXPECT_EQ(c.items.HitTest(1, 1), -1);
}

TEST(LinkButton, FocusShiftsTheLabelAndLightsTheMask) {
  Controls c;
  Image before;
  before.CreateLike(c.link->picture);
  Copy(&before, 0, 0, &c.link->picture, 0, 0, before.Width(), before.Height());
  c.link->OnFocusGained();
  EXPECT_TRUE(c.link->focused);
  EXPECT_EQ(c.link->focusMask.NonZeroBounds(),
            (Rect{0, 0, c.link->focusMask.Width(), c.link->focusMask.Height()}));
  c.link->OnFocusLost();
  for (int y = 0; y < before.Height(); ++y) {
    EXPECT_EQ(std::memcmp(before.PixelAt(0, y), c.link->picture.PixelAt(0, y), 3 * before.Width()),
              0)
        << y;
  }
}

}  // namespace
