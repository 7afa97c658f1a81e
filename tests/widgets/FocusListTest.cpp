#include "widgets/FocusList.h"

#include <gtest/gtest.h>

#include <string>

#include "widgets/ContentItem.h"
#include "widgets/WidgetFixture.h"

namespace {

// A widget that writes down what happens to it: a 10 x 10 square at its item.
class Recorder : public Widget {
 public:
  Recorder(std::string& log, char name) : log_(log), name_(name) {}
  void OnFocusGained() override { log_ += std::string("+") + name_; }
  void OnFocusLost() override { log_ += std::string("-") + name_; }
  int HandleMessage(int, int, platform::WindowHandle, unsigned message, std::uintptr_t,
                    std::intptr_t, int* result) override {
    *result = 0;
    if (message != WM_LBUTTONDOWN) return 0;
    log_ += std::string("click") + name_;
    return 1;
  }
  int HitTest(int x, int y) override {
    return x >= item->x && x < item->x + 10 && y >= item->y && y < item->y + 10;
  }

 private:
  std::string& log_;
  char name_;
};

struct Widgets {
  // One widget per letter, side by side 20 pixels apart; upper-case letters
  // can't take the focus.
  explicit Widgets(const char* names) {
    for (int i = 0; names[i] != 0; ++i) {
      auto* widget = new Recorder(log, names[i]);
      widget->focusable = names[i] >= 'a' ? 1 : 0;
      auto* item = new ContentItem(nullptr, kItemLabel);
      item->x = 20 * i;
      item->widget = widget;
      items.add(item);
      widget->Bind(item);
      list.add(widget);
    }
  }
  int send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, int* repaint) {
    int result = 0;
    return list.HandleMessage(100, 50, nullptr, message, wParam, lParam, &result, repaint);
  }
  std::string log;
  ItemList items;
  FocusList list;
};

TEST(FocusList, TabWalksTheFocusableWidgetsRoundTheList) {
  Widgets w("aBc");
  int repaint = 0;
  w.list.SetFocusIndex(0);
  EXPECT_EQ(w.log, "+a-B-c");
  w.log.clear();
  EXPECT_TRUE(w.send(WM_CHAR, 9, 0, &repaint));
  EXPECT_EQ(repaint, 1);
  EXPECT_EQ(w.list.focused, 2);
  EXPECT_EQ(w.log, "-a+c");
  w.send(WM_CHAR, 9, 0, &repaint);
  EXPECT_EQ(w.list.focused, 0);
}

TEST(FocusList, TabWithOneOrNoFocusableWidget) {
  Widgets one("AbC");
  one.list.SetFocusIndex(1);
  int repaint = 0;
  EXPECT_TRUE(one.send(WM_CHAR, 9, 0, &repaint));
  EXPECT_EQ(one.list.focused, 1);

  Widgets none("AB");
  EXPECT_TRUE(none.send(WM_CHAR, 9, 0, &repaint));
  EXPECT_EQ(none.list.focused, -1);
  none.list.focused = 1;
  none.send(WM_CHAR, 9, 0, &repaint);
  EXPECT_EQ(none.list.focused, 1);
  EXPECT_EQ(none.log, "");
}

TEST(FocusList, ClickFocusesTheWidgetUnderTheMouse) {
  Widgets w("aBc");
  w.list.SetFocusIndex(0);
  w.log.clear();
  int repaint = 0;
  // On c (x 40..49 in the page, the page at (100, 50)).
  EXPECT_TRUE(w.send(WM_LBUTTONDOWN, 0, MakePointParam(145, 55), &repaint));
  EXPECT_EQ(w.list.focused, 2);
  EXPECT_EQ(w.log, "-a+cclickc");

  // B can't take the focus: it stays on c, which still gets the click.
  w.log.clear();
  EXPECT_TRUE(w.send(WM_LBUTTONDOWN, 0, MakePointParam(125, 55), &repaint));
  EXPECT_EQ(w.list.focused, 2);
  EXPECT_EQ(w.log, "clickc");
}

TEST(FocusList, HiddenFocusedWidgetGetsNothing) {
  Widgets w("ab");
  w.list.SetFocusIndex(0);
  w.items.at(0)->flags = 0;
  int repaint = 1;
  EXPECT_FALSE(w.send(WM_LBUTTONDOWN, 0, MakePointParam(0, 0), &repaint));
  EXPECT_EQ(repaint, 0);
  // Nor can it be reached with Tab.
  w.list.FocusNext(false);
  EXPECT_EQ(w.list.focused, 1);
  w.list.FocusNext(false);
  EXPECT_EQ(w.list.focused, 1);
}

}  // namespace
