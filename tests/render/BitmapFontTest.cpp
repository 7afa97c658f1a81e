#include "render/BitmapFont.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestFont.h"
#include "TestImages.h"

using namespace testimages;
using testfont::kAdvance;

namespace {

class BitmapFontTest : public ::testing::Test {
 protected:
  void SetUp() override { testfont::makeFont(font); }
  BitmapFont font;
};

constexpr COLORREF kShadow = 0x0000FF;
constexpr COLORREF kFace = 0xFF0000;
constexpr COLORREF kPaper = 0xFFFFFF;

}  // namespace

TEST_F(BitmapFontTest, MeasuresByTheLayoutRules) {
  // Box: |dx| + 2 * margin = 3 wide and |dy| + 2 * margin + tmHeight = 21 high
  // around the pen's travel.
  struct Case {
    const char* text;
    bool skipLeading;
    int width;
    int height;
  } cases[] = {
      {"", false, 3, 21},
      {"", true, 3, 18},  // the start y is raised by tmInternalLeading
      {"A", false, 3 + kAdvance, 21},
      {"AB", false, 3 + 2 * kAdvance, 21},
      {"AB   ", false, 3 + 2 * kAdvance, 21},  // trailing blanks do not widen
      {"AB\t", false, 3 + 2 * kAdvance, 21},
      {"   ", false, 3, 21},
      {" A", false, 3 + 4 + kAdvance, 21},  // a blank is (2 * 7 - 1) / 3 = 4
      {"\tA", false, 3 + 4 + kAdvance, 21},
      {"AB\n", false, 3 + 2 * kAdvance, 21 + 18},  // a line feed adds tmHeight
      {"AB\nA", false, 3 + 2 * kAdvance, 21 + 18},
      {"A\nABC", true, 3 + 3 * kAdvance, 18 + 18},
      {"A\xC8"
       "B",
       false, 3 + 2 * kAdvance, 21},  // character 200 is skipped
      {"\xC8", false, 3, 21},
      {"A\rB\x7F", false, 3 + 2 * kAdvance, 21},
  };
  for (const Case& c : cases) {
    const Size size = font.Measure(c.text, c.skipLeading);
    EXPECT_EQ(size.cx, c.width) << '"' << c.text << '"';
    EXPECT_EQ(size.cy, c.height) << '"' << c.text << '"';
  }
  const Size none = font.Measure(nullptr, false);
  EXPECT_EQ(none.cx, 0);
  EXPECT_EQ(none.cy, 0);
}

TEST_F(BitmapFontTest, GlyphsTheFontLacksAreSkipped) {
  delete font.glyphs['B' - kFirstGlyph].sprite.first;
  font.glyphs['B' - kFirstGlyph].sprite.first = nullptr;
  EXPECT_EQ(font.Measure("ABA", false).cx, font.Measure("AA", false).cx);
}

TEST_F(BitmapFontTest, DrawTextPutsTheShadowUnderTheFace) {
  Image paper;
  solid(paper, 30, 20, kPaper);
  ASSERT_TRUE(font.DrawText(&paper, 2, 0, "A", kShadow, kFace, false));
  // The glyph covers x 2..5, y 4..13; its shadow one pixel right and down.
  EXPECT_EQ(colourAt(paper, 2, 4), kFace);
  EXPECT_EQ(colourAt(paper, 5, 13), kFace);
  EXPECT_NE(colourAt(paper, 6, 14), kFace);
  EXPECT_NE(colourAt(paper, 6, 14), kPaper);  // the shadow's half-strength corner
  EXPECT_EQ(colourAt(paper, 1, 4), kPaper);
  EXPECT_EQ(colourAt(paper, 2, 3), kPaper);
  EXPECT_EQ(colourAt(paper, 7, 14), kPaper);
}

TEST_F(BitmapFontTest, DrawTextSkipsWhatMeasureSkips) {
  Image plain, skipped;
  solid(plain, 40, 40, kPaper);
  solid(skipped, 40, 40, kPaper);
  font.DrawText(&plain, 1, 1, "AB\nC", kShadow, kFace, true);
  font.DrawText(&skipped, 1, 1, "A\xC8\rB\nC\xC8", kShadow, kFace, true);
  EXPECT_EQ(bytesOf(plain), bytesOf(skipped));
  EXPECT_FALSE(font.DrawText(nullptr, 0, 0, "A", kShadow, kFace, false));
  EXPECT_FALSE(font.DrawText(&plain, 0, 0, nullptr, kShadow, kFace, false));
}

TEST_F(BitmapFontTest, FitWithEllipsisKeepsTheEnd) {
  const std::string path = "C:\\Program Files\\Kestrane\\Product";
  const int fullWidth = font.Measure(path.c_str(), true).cx;
  // A width that holds "..." and the last eight characters, and one just short of
  // holding a ninth.
  const int eight = 3 + (3 + 8) * kAdvance;
  struct Case {
    int maxWidth;
    std::string expected;
  } cases[] = {
      {fullWidth, path},
      {fullWidth + 50, path},
      {eight, "..." + path.substr(path.size() - 8)},
      {eight + kAdvance - 1, "..." + path.substr(path.size() - 8)},
      {eight + kAdvance, "..." + path.substr(path.size() - 9)},
      {5, "..."},  // narrower than the ellipsis itself: it still ends
      {-1, "..."},
  };
  for (const Case& c : cases) {
    SetupString text(path.c_str());
    font.FitWithEllipsis(text, c.maxWidth);
    EXPECT_EQ(std::string(text.text()), c.expected) << c.maxWidth;
  }
  SetupString empty;
  font.FitWithEllipsis(empty, 0);
  EXPECT_EQ(std::string(empty.text()), "...");  // even "" is 3 wide
}

TEST_F(BitmapFontTest, CaptionSpritesHoldTheTextAndTrimBlankColumns) {
  OwningList<Sprite> list(20);
  const int plain = MakeCaptionSprite(list, font, " A", false, false);
  const int trimmed = MakeCaptionSprite(list, font, " A", false, true);
  ASSERT_EQ(plain, 0);
  ASSERT_EQ(trimmed, 1);
  const Sprite* untrimmedSprite = list.at(plain);
  const Sprite* trimmedSprite = list.at(trimmed);
  EXPECT_EQ(untrimmedSprite->mode, kSpriteMaskPair);
  EXPECT_TRUE(untrimmedSprite->ownsPictures);
  EXPECT_EQ(untrimmedSprite->width, font.Measure(" A", false).cx);
  EXPECT_EQ(untrimmedSprite->height, 21);
  // The shape lies 4 pixels in (the blank), its shadow one more right and down.
  EXPECT_EQ(greyAt(*untrimmedSprite->first, 4, 4), 255);
  EXPECT_EQ(greyAt(*untrimmedSprite->first, 3, 4), 0);
  EXPECT_EQ(greyAt(*untrimmedSprite->second, 5, 5), 128);
  EXPECT_EQ(greyAt(*untrimmedSprite->second, 4, 4), 0);
  // Trimmed: ink from the first column; the block and its shadow, 5 x 11.
  EXPECT_EQ(trimmedSprite->width, 5);
  EXPECT_EQ(trimmedSprite->height, 11);
  EXPECT_EQ(greyAt(*trimmedSprite->first, 0, 0), 255);
  EXPECT_EQ(greyAt(*trimmedSprite->second, 4, 10), 128);
  EXPECT_EQ(trimmedSprite->offsetX, 0);

  EXPECT_EQ(MakeCaptionSprite(list, font, nullptr, false, false), -1);
  EXPECT_EQ(list.count(), 2);
}

TEST_F(BitmapFontTest, RenderCaptionRedrawsAnExistingSprite) {
  std::unique_ptr<Sprite> sprite(font.NewCaptionSprite("AB", false, false));
  ASSERT_NE(sprite, nullptr);
  ASSERT_TRUE(font.RenderCaption(sprite.get(), "A", false, false, 0, 0));
  EXPECT_EQ(greyAt(*sprite->first, 0, 4), 255);
  EXPECT_EQ(greyAt(*sprite->first, kAdvance, 4), 0);  // the old B is gone

  ASSERT_TRUE(font.RenderCaption(sprite.get(), "A", false, true, 3, 0));
  EXPECT_EQ(sprite->width, 5);
  EXPECT_EQ(sprite->height, 11);
  EXPECT_EQ(greyAt(*sprite->first, 0, 0), 255);

  Sprite bare;
  EXPECT_FALSE(font.RenderCaption(&bare, "A", false, false, 0, 0));
  EXPECT_FALSE(font.RenderCaption(sprite.get(), nullptr, false, false, 0, 0));
}

TEST(BitmapFontRead, RefusesMetricsNoScreenFontHas) {
  // One font record of 1 x 1 masks with the given line height, blank width and
  // glyph advance.
  const auto record = [](int height, int averageWidth, int advance) {
    std::vector<unsigned char> out;
    const auto u32 = [&](std::uint32_t v) {
      for (int i = 0; i < 4; ++i) out.push_back((unsigned char)(v >> (8 * i)));
    };
    TextMetric metrics{};
    metrics.tmHeight = height;
    metrics.tmAveCharWidth = averageWidth;
    const auto* raw = reinterpret_cast<const unsigned char*>(&metrics);
    out.insert(out.end(), raw, raw + sizeof metrics);
    u32(1);
    u32(1);
    u32(1);
    Image mask;
    mask.CreateGrey(1, 1);
    BitmapInfoHeader header = mask.Header();
    header.biClrUsed = header.biClrImportant = 0;
    const auto* h = reinterpret_cast<const unsigned char*>(&header);
    for (int g = 0; g < kGlyphCount; ++g) {
      for (int v : {advance, 0, 0}) {
        out.push_back((unsigned char)(v & 0xFF));
        out.push_back((unsigned char)((v >> 8) & 0xFF));
      }
      for (int i = 0; i < 2; ++i) {
        u32(std::uint32_t(sizeof header + mask.PixelBytes()));
        out.insert(out.end(), h, h + sizeof header);
        out.insert(out.end(), mask.PixelBytes(), 0);
      }
    }
    return out;
  };
  struct Case {
    int height, averageWidth, advance;
    bool reads;
  } cases[] = {{17, 7, 6, true},     {1024, 7, 6, true},   {1025, 7, 6, false},
               {-2000, 7, 6, false}, {17, 5000, 6, false}, {17, 7, -1024, true},
               {17, 7, 30000, false}};
  for (const Case& c : cases) {
    const std::vector<unsigned char> bytes = record(c.height, c.averageWidth, c.advance);
    ByteStream stream;
    stream.appendBytes(std::uint32_t(bytes.size()), bytes.data());
    BitmapFont font;
    std::uint32_t position = 0;
    EXPECT_EQ(font.Read(stream, position) != 0, c.reads) << c.height << " " << c.advance;
    EXPECT_EQ(position, c.reads ? bytes.size() : 0u);
  }
}
