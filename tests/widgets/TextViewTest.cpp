#include "widgets/TextView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Window.h"
#include "support/MessageCollector.h"
#include "widgets/TextWrap.h"
#include "widgets/WidgetFixture.h"

namespace {

std::vector<std::string> wrap(const BitmapFont& font, const std::string& text, int maxChars,
                              int maxWidth) {
  // Exactly the text's bytes, no terminator: the sanitizer sees any read past
  // the end.
  std::vector<char> bytes(text.begin(), text.end());
  std::vector<SetupString> lines;
  WrapText(font, bytes.data(), int(bytes.size()), maxChars, maxWidth, lines);
  std::vector<std::string> out;
  for (const SetupString& line : lines) out.emplace_back(line.text(), std::size_t(line.length()));
  return out;
}

using Lines = std::vector<std::string>;

TEST(TextWrap, LineEnds) {
  widgettest::TestSkin skin;
  ASSERT_TRUE(skin.fontRead);
  // Carriage returns end lines and keep the empty ones; line feeds alone vanish.
  EXPECT_EQ(wrap(skin.font, "One\r\n\r\nTwo\r\n", 60, 1000), (Lines{"One", "", "Two"}));
  EXPECT_EQ(wrap(skin.font, "One\n\nTwo\n", 60, 1000), (Lines{"OneTwo"}));
  EXPECT_EQ(wrap(skin.font, "", 60, 1000), Lines{});
  EXPECT_EQ(wrap(skin.font, "\x01\t\x7f\xff\xc3\xa9", 60, 1000), Lines{});
  EXPECT_EQ(wrap(skin.font, "caf\xc3\xa9!", 60, 1000), (Lines{"caf!"}));
}

TEST(TextWrap, BreaksAtSpaces) {
  widgettest::TestSkin skin;
  // At most 10 characters: cut at the last space that keeps the line short.
  EXPECT_EQ(wrap(skin.font, "aaa bbb ccc ddd", 10, 1000), (Lines{"aaa bbb", "ccc ddd"}));
  // By width: each glyph advances 6, plus 3 for margins and shadow.
  const int fourLetters = skin.font.Measure("aaaa", false).cx;
  EXPECT_EQ(wrap(skin.font, "aaaa aaaa aaaa", 60, fourLetters), (Lines{"aaaa", "aaaa", "aaaa"}));
}

TEST(TextWrap, OverLongWordsStayWhole) {
  widgettest::TestSkin skin;
  // A word wider than the view is kept as one line, wider than the view.
  const std::string word(30, 'w');
  const int width = skin.font.Measure("wwwwwwwwww", false).cx;
  const Lines lines = wrap(skin.font, "a " + word, 60, width);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "a");
  EXPECT_GT(skin.font.Measure(lines[1].c_str(), false).cx, width);
  std::string joined;
  for (std::size_t i = 1; i < lines.size(); ++i) joined += lines[i];
  EXPECT_EQ(joined, word);
  // A space at the very start is no place to cut.
  EXPECT_EQ(wrap(skin.font, " abcdefghijk", 10, 1000), (Lines{" abcdefghij", "k"}));
}

struct View {
  explicit View(int lineCount, int height = 12 + 17 * 5 + 4) {
    std::string text;
    for (int i = 0; i < lineCount; ++i) text += "line " + std::to_string(i) + "\r\n";
    view.reset(TextView::New());
    ok = view->Setup(&skin.font, 10, 20, 200, height, text.data(), int(text.size()), 60, items);
  }
  int send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    int result = 0;
    return view->HandleMessage(100, 50, collector.window(), message, wParam, lParam, &result);
  }
  // A wheel turn over the view's middle: screen coordinates, as Windows gives.
  int wheel(int notches) {
    int x = 100 + 10 + 50, y = 50 + 20 + 30;
    platform::clientToScreen(collector.window(), x, y);
    const auto delta = std::uintptr_t(std::uint16_t(std::int16_t(notches * WHEEL_DELTA)));
    return send(WM_MOUSEWHEEL, delta << 16, MakePointParam(x, y));
  }
  widgettest::TestSkin skin;
  ItemList items;
  MessageCollector collector;
  std::unique_ptr<TextView> view;
  int ok = 0;
};

TEST(TextView, KeysAndWheelScroll) {
  View v(20);
  ASSERT_TRUE(v.ok);
  ASSERT_EQ(v.view->LineCount(), 20);
  EXPECT_EQ(v.view->visibleLines, 5);
  EXPECT_EQ(v.view->padding, 2);

  EXPECT_TRUE(v.wheel(-1));  // towards the user: down
  EXPECT_EQ(v.view->top, 1);
  EXPECT_TRUE(v.wheel(-3));
  EXPECT_EQ(v.view->top, 4);
  EXPECT_TRUE(v.wheel(1));
  EXPECT_EQ(v.view->top, 3);

  const struct {
    int key, top;
    bool handled;
  } keys[] = {{VK_END, 15, true},  {VK_END, 15, false}, {VK_PRIOR, 11, true}, {VK_UP, 10, true},
              {VK_DOWN, 11, true}, {VK_NEXT, 15, true}, {VK_HOME, 0, true},   {VK_HOME, 0, false},
              {VK_UP, 0, false},   {VK_SPACE, 0, false}};
  for (const auto& k : keys) {
    EXPECT_EQ(bool(v.send(WM_KEYDOWN, std::uintptr_t(k.key), 0)), k.handled) << k.key;
    EXPECT_EQ(v.view->top, k.top) << k.key;
  }
  EXPECT_EQ(v.view->ThumbY(), 0);
  v.send(WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(v.view->ThumbY(), v.view->picture.Height() - 2);
}

TEST(TextView, ScrollTrackClicks) {
  View v(20);
  const int h = v.view->picture.Height();
  // The track's bottom row: the last page.
  EXPECT_TRUE(v.send(WM_LBUTTONDOWN, 0, MakePointParam(100 + 10 + 195, 50 + 20 + h - 2)));
  EXPECT_EQ(v.view->top, 15 * (h - 3) / (h - 2));
  // Left of the track is the text: nothing.
  EXPECT_FALSE(v.send(WM_LBUTTONDOWN, 0, MakePointParam(100 + 10 + 150, 50 + 20 + 1)));
  EXPECT_TRUE(v.send(WM_LBUTTONDBLCLK, 0, MakePointParam(100 + 10 + 195, 50 + 20 + 1)));
  EXPECT_EQ(v.view->top, 0);
}

TEST(TextView, WholeTextFitsThumbAtTheTop) {
  for (int lineCount : {0, 3, 5}) {
    View v(lineCount);
    ASSERT_TRUE(v.ok);
    EXPECT_EQ(v.view->ThumbY(), 0);
    EXPECT_FALSE(v.send(WM_KEYDOWN, VK_END, 0));
    EXPECT_EQ(v.view->top, 0);
    EXPECT_FALSE(v.send(WM_LBUTTONDOWN, 0, MakePointParam(100 + 10 + 195, 50 + 20 + 50)));
  }
  // Too low for a single line.
  View tiny(4, 5);
  ASSERT_TRUE(tiny.ok);
  EXPECT_EQ(tiny.view->visibleLines, 0);
  EXPECT_TRUE(tiny.send(WM_KEYDOWN, VK_END, 0));
  EXPECT_EQ(tiny.view->top, 4);
}

}  // namespace
