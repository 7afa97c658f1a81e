// The widgets over the default skin that kskin draws at build time (host builds
// only): figures that depend on the real art and fonts are taken from the loaded
// sprites, not written down.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "platform/Window.h"
#include "platform/host/HostWindowState.h"
#include "render/Skin.h"
#include "support/DefaultSkinFile.h"
#include "widgets/ButtonBar.h"
#include "widgets/CheckBox.h"
#include "widgets/FileTypeGrid.h"
#include "widgets/FocusList.h"
#include "widgets/ProgressBar.h"
#include "widgets/SkinSlots.h"
#include "widgets/TextView.h"
#include "widgets/TextWrap.h"

namespace {

struct DefaultSkin {
  DefaultSkin() {
    if (!readDefaultSkinFile(bytes)) return;
    std::uint32_t position = 0;
    loaded = pictures.LoadSkin(bytes, position, sprites, fonts, standalone);
    style.left = sprites.at(skinslot::kWidgetLeft);
    style.middle = sprites.at(skinslot::kWidgetMiddle);
    style.right = sprites.at(skinslot::kWidgetRight);
  }
  ByteStream bytes;
  PictureList pictures;
  SpriteList sprites, standalone;
  FontList fonts;
  int loaded = 0;
  ThreePieceBar style;
};

void useSets(ButtonBar& bar, const SpriteList& sprites) {
  for (int set = 0; set < 3; ++set) {
    bar.sets[set].left = sprites.at(1 + 3 * set);
    bar.sets[set].middle = sprites.at(2 + 3 * set);
    bar.sets[set].right = sprites.at(3 + 3 * set);
  }
}

TEST(DefaultSkinWidgets, CaptionBarLayout) {
  DefaultSkin skin;
  ASSERT_TRUE(skin.loaded);
  ButtonBar caption;
  useSets(caption, skin.sprites);
  auto* close = new ContentItem(skin.sprites.at(16), kItemButton);
  auto* title = new ContentItem(skin.standalone.at(0), kItemLabel);
  caption.items.add(close);
  caption.items.add(title);
  caption.Layout(0, 0, 500);
  const int lw = skin.sprites.at(7)->width, rw = skin.sprites.at(9)->width;
  EXPECT_EQ(close->rect.right, 500);
  EXPECT_EQ(close->rect.Width(), skin.sprites.at(16)->width + lw + rw);
  EXPECT_EQ(close->rect.Height(), skin.sprites.at(1)->height);
  EXPECT_EQ(title->x, lw);
}

TEST(DefaultSkinWidgets, ProgressTextPlacement) {
  DefaultSkin skin;
  ASSERT_TRUE(skin.loaded);
  const BitmapFont* font = skin.fonts.at(1);
  ItemList list;
  std::unique_ptr<ProgressBar> bar(ProgressBar::New());
  ASSERT_TRUE(bar->Setup(font, 0, 0, list, &skin.style, 300));
  const int maskX = skin.style.left->width - 1, maskWidth = bar->barMask.Width();
  bar->SetFraction(0.5);
  EXPECT_EQ(bar->TextPosition().x, maskX + maskWidth - font->Measure("50.0%", false).cx - 10);
  bar->SetFraction(0.51);
  EXPECT_EQ(bar->TextPosition().x, maskX + 10);
  bar->SetFraction(0);
  EXPECT_STREQ(bar->Text(), " 0.0%");
}

// kpack counts the file-type check boxes that fit from the cell size it works out;
// the page makes the boxes themselves. Both must come to the same picture.
TEST(DefaultSkinWidgets, FileTypeCellIsTheCheckBoxPicture) {
  DefaultSkin skin;
  ASSERT_TRUE(skin.loaded);
  const BitmapFont* font = skin.fonts.at(skinslot::kPageTextFont);
  const Sprite* checked = skin.sprites.at(skinslot::kTickChecked);
  const char* const labels[] = {"txt", "jpeg", "m4a", "WWWWWWWW", "i"};
  const Size cell = FileTypeCheckBoxCell(font, labels, 5, &skin.style, checked);
  const int widest = font->Measure("WWWWWWWW", false).cx;
  ItemList list;
  for (const char* label : labels) {
    std::unique_ptr<CheckBox> box(CheckBox::New());
    ASSERT_TRUE(box->Setup({font, label, &skin.style, skin.sprites.at(skinslot::kTickUnchecked),
                            checked, true, widest},
                           0, 0, list));
    EXPECT_EQ(box->picture.Width(), cell.cx) << label;
    EXPECT_EQ(box->picture.Height(), cell.cy) << label;
  }
  // The default skin beside a side picture of the usual width shows a few rows of
  // several boxes; a grid of one box would be a broken skin or a broken layout.
  const FileTypeGrid grid =
      LayOutFileTypeGrid(164, FileTypeCheckBoxCell(font, labels, 3, &skin.style, checked));
  EXPECT_GE(grid.columns, 3);
  EXPECT_GE(grid.rows, 3);
}

TEST(DefaultSkinWidgets, LicenceLineEnds) {
  DefaultSkin skin;
  ASSERT_TRUE(skin.loaded);
  const BitmapFont& font = *skin.fonts.at(1);
  std::string crlf, lf;
  for (const char* paragraph :
       {"1. You may install this program on any number of computers you own.",
        "2. You may not sell it.", "", "3. It comes with no warranty whatsoever."}) {
    crlf += std::string(paragraph) + "\r\n";
    lf += std::string(paragraph) + "\n";
  }
  std::vector<SetupString> lines;
  WrapText(font, crlf.data(), int(crlf.size()), 60, 380, lines);
  ASSERT_GE(lines.size(), 5u);
  int empty = 0;
  for (const SetupString& line : lines) {
    EXPECT_LE(line.length(), 60);
    EXPECT_LE(font.Measure(line.text(), false).cx, 380) << line.text();
    empty += line.isEmpty();
  }
  EXPECT_EQ(empty, 1);
  WrapText(font, lf.data(), int(lf.size()), 60, 380, lines);
  for (const SetupString& line : lines) EXPECT_FALSE(line.isEmpty());
  // Without carriage returns one paragraph runs into the next.
  bool runTogether = false;
  for (const SetupString& line : lines) {
    runTogether |= std::string(line.text()).find("own.2.") != std::string::npos;
  }
  EXPECT_TRUE(runTogether);
}

// The wizard's pages are laid out for fonts with these line steps, blanks and
// weights; the figures are measured the way the pages move the pen.
TEST(DefaultSkinWidgets, FontsKeepTheDesignedLineStepsBlanksAndWeights) {
  DefaultSkin skin;
  ASSERT_TRUE(skin.loaded);
  ASSERT_GE(skin.fonts.count(), 3);
  const struct {
    int lineStep, blank, weight;
  } designed[3] = {{18, 4, 700}, {17, 4, 400}, {15, 3, 400}};
  for (int i = 0; i < 3; ++i) {
    const BitmapFont& font = *skin.fonts.at(i);
    EXPECT_EQ(font.Measure("I\nI", false).cy - font.Measure("I", false).cy, designed[i].lineStep)
        << i;
    EXPECT_EQ(font.metrics.tmHeight, designed[i].lineStep) << i;
    EXPECT_EQ(font.Measure("I I", false).cx - font.Measure("II", false).cx, designed[i].blank) << i;
    EXPECT_EQ(font.metrics.tmWeight, designed[i].weight) << i;
  }
  // The captions drop font 0's internal leading (skip-leading): no letter or
  // digit may lose ink to it.
  const BitmapFont& captionFont = *skin.fonts.at(0);
  for (int ch = kFirstGlyph; ch <= kLastGlyph; ++ch) {
    if (!std::isalnum(ch)) continue;
    const Glyph& glyph = *captionFont.GlyphFor((unsigned char)ch);
    EXPECT_GE(glyph.offsetY + glyph.GlyphMask()->NonZeroBounds().top,
              captionFont.metrics.tmInternalLeading)
        << char(ch);
  }
}

// The bars size their buttons from the caption sprites. Two captions can't be
// held to 3 pixels by any free face that keeps font 0's blank: our title is a
// shorter text than the one the bar was drawn for, and Cancel comes out 4 short.
TEST(DefaultSkinWidgets, CaptionsKeepTheWidthsTheBarsWereDrawnFor) {
  DefaultSkin skin;
  ASSERT_TRUE(skin.loaded);
  ASSERT_GE(skin.standalone.count(), 6);
  const struct {
    const char* text;
    int designed, slack;
  } captions[6] = {{"Kestrane Setup", 126, 15}, {"Back", 38, 3},   {"Next", 36, 3},
                   {"I Agree", 53, 3},          {"Cancel", 52, 4}, {"Finish", 44, 3}};
  const BitmapFont& font = *skin.fonts.at(0);
  for (int i = 0; i < 6; ++i) {
    const Sprite* sprite = skin.standalone.at(i);
    // The sprite is that text in font 0, as the program would draw it.
    EXPECT_EQ(sprite->width, font.Measure(captions[i].text, true).cx) << captions[i].text;
    EXPECT_LE(std::abs(sprite->width - captions[i].designed), captions[i].slack)
        << captions[i].text << " is " << sprite->width;
  }
}

// The pages' texts are broken by hand for the text column beside a side picture
// 164 pixels wide: 500 - (164 + 10) - 10 pixels.
TEST(DefaultSkinWidgets, PageTextsFitTheTextColumn) {
  DefaultSkin skin;
  ASSERT_TRUE(skin.loaded);
  constexpr int kColumn = 500 - (164 + 10) - 10;
  const BitmapFont& font = *skin.fonts.at(1);
  const char* const texts[] = {
      "Thank you for choosing Kestrane software.\nWe will now Setup and Install:",
      "In the following pages you will be asked to\nselect Setup preferences. Click on the "
      "Next\nbutton to advance to the next page. Click on\nthe Back button to review/change "
      "selections.",
      "Check the file types you want Windows to\nopen with the software you are installing:",
      "This software is now ready to use and\ncan be accessed from the Start Menu, its\n"
      "Desktop Shortcut Icon, or from the install\nfolder. We hope you'll enjoy it!",
      "To uninstall this software please use Control\nPanel's \"Add or Remove Programs\".",
      "Click here to change install location",
      "Installation Folder:\ndisk space required: 123.4 MB\nFolder already exists, install "
      "will overwrite it\nLocation of installation folder:\nNot enough space available on disk"};
  for (const char* text : texts) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LE(font.Measure(line.c_str(), false).cx, kColumn) << line;
    }
  }
}

// Host only: the host backend lets a test hold keys down.
TEST(HostInput, ShiftTabWalksBackwardsAndDragMovesTheThumb) {
  DefaultSkin skin;
  ASSERT_TRUE(skin.loaded);
  ItemList items;
  FocusList list;
  std::string text;
  for (int i = 0; i < 40; ++i) text += "Line\r";
  for (int i = 0; i < 3; ++i) {
    TextView* view = TextView::New();
    list.add(view);
    ASSERT_TRUE(view->Setup(skin.fonts.at(1), 0, 120 * i, 200, 100, text.data(), int(text.size()),
                            60, items));
  }
  list.SetFocusIndex(0);
  int result = 0, repaint = 0;
  platform::host::setKeyDown(VK_SHIFT, true);
  list.HandleMessage(0, 0, nullptr, WM_CHAR, 9, 0, &result, &repaint);
  platform::host::setKeyDown(VK_SHIFT, false);
  EXPECT_EQ(list.focused, 2);

  auto* view = static_cast<TextView*>(list.at(2));
  const std::intptr_t onTrack = MakePointParam(195, 240 + 98);
  EXPECT_FALSE(list.HandleMessage(0, 0, nullptr, WM_MOUSEMOVE, 0, onTrack, &result, &repaint));
  platform::host::setKeyDown(VK_LBUTTON, true);
  EXPECT_TRUE(list.HandleMessage(0, 0, nullptr, WM_MOUSEMOVE, 0, onTrack, &result, &repaint));
  platform::host::setKeyDown(VK_LBUTTON, false);
  // The track's last row is (H - 3) / (H - 2) of the way down.
  EXPECT_EQ(view->top, (view->LineCount() - view->visibleLines) * 97 / 98);
}

}  // namespace
