#include "render/Skin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestImages.h"
#include "support/SkinBytes.h"

using namespace testimages;

namespace {

using namespace testdata;

struct Lists {
  PictureList pictures;
  SpriteList sprites;
  FontList fonts;
  SpriteList standalone;

  int load(const Bytes& bytes, std::uint32_t& position) {
    ByteStream stream;
    stream.appendBytes(std::uint32_t(bytes.size()), bytes.data());
    return pictures.LoadSkin(stream, position, sprites, fonts, standalone);
  }
  int load(const Bytes& bytes) {
    std::uint32_t position = 0;
    return load(bytes, position);
  }
  bool empty() const {
    return pictures.count() == 0 && sprites.count() == 0 && fonts.count() == 0 &&
           standalone.count() == 0;
  }
};

}  // namespace

TEST(Skin, LoadsEverySectionAndConsumesAllBytes) {
  const Bytes bytes = smallSkin().make();
  Lists lists;
  std::uint32_t position = 0;
  ASSERT_TRUE(lists.load(bytes, position));
  EXPECT_EQ(position, bytes.size());

  ASSERT_EQ(lists.pictures.count(), 3);
  EXPECT_EQ(lists.pictures.at(0)->BitsPerPixel(), 24);
  EXPECT_EQ(lists.pictures.at(2)->Width(), 4);
  EXPECT_EQ(lists.pictures.at(2)->Height(), 3);
  EXPECT_EQ(colourAt(*lists.pictures.at(0), 1, 1), COLORREF(0x123456));
  EXPECT_TRUE(lists.pictures.at(1)->IsGrey());

  ASSERT_EQ(lists.sprites.count(), 4);
  EXPECT_EQ(lists.sprites.at(3)->first, lists.pictures.at(2));
  const Sprite* picture = lists.sprites.at(0);
  const Sprite* masks = lists.sprites.at(1);
  const Sprite* alpha = lists.sprites.at(2);
  EXPECT_EQ(picture->first, lists.pictures.at(0));
  EXPECT_FALSE(picture->ownsPictures);
  // Mode 1 with second index -1: one mask, no second.
  EXPECT_EQ(masks->mode, kSpriteMaskPair);
  EXPECT_EQ(masks->first, lists.pictures.at(1));
  EXPECT_EQ(masks->second, nullptr);
  EXPECT_EQ(alpha->second, lists.pictures.at(1));

  ASSERT_EQ(lists.fonts.count(), 1);
  const BitmapFont* font = lists.fonts.at(0);
  EXPECT_EQ(font->metrics.tmHeight, 17);
  EXPECT_EQ(font->shadowOffsetX, 1);
  EXPECT_EQ(font->margin, 1);
  EXPECT_EQ(font->glyphs[0].advance, 6);
  EXPECT_EQ(font->glyphs[kGlyphCount - 1].offsetY, 2);
  EXPECT_EQ(font->glyphs[5].sprite.offsetX, 1);
  EXPECT_EQ(font->Measure("AB", false).cx, 3 + 12);

  ASSERT_EQ(lists.standalone.count(), 1);
  const Sprite* caption = lists.standalone.at(0);
  EXPECT_TRUE(caption->ownsPictures);
  EXPECT_EQ(caption->offsetX, -1);
  EXPECT_EQ(caption->offsetY, 2);
  EXPECT_EQ(greyAt(*caption->second, 0, 0), 100);
}

TEST(Skin, LoadingAgainReplacesTheLists) {
  const Bytes bytes = smallSkin().make();
  Lists lists;
  ASSERT_TRUE(lists.load(bytes));
  ASSERT_TRUE(lists.load(bytes));
  EXPECT_EQ(lists.pictures.count(), 3);
  EXPECT_EQ(lists.sprites.count(), 4);
  EXPECT_EQ(lists.fonts.count(), 1);
  EXPECT_EQ(lists.standalone.count(), 1);
}

TEST(Skin, DamagedSkinsFailAndLeaveEveryListEmpty) {
  struct Case {
    const char* what;
    SkinBytes skin;
  };
  std::vector<Case> cases;
  auto add = [&](const char* what, auto change) {
    SkinBytes skin = smallSkin();
    change(skin);
    cases.push_back({what, skin});
  };
  add("picture of kind 2", [](SkinBytes& s) { s.pictures[1].first = 2; });
  add("JPEG that does not decode", [](SkinBytes& s) { s.pictures[1] = {1, Bytes(40, 0xFF)}; });
  add("DIB that does not load", [](SkinBytes& s) { s.pictures[0].second.resize(41); });
  add("mode 0 over a missing picture", [](SkinBytes& s) { s.definitions[0].first = 3; });
  add("mode 0 over picture -1", [](SkinBytes& s) { s.definitions[0].first = 0xFFFFFFFF; });
  add("mode 1 first index -1", [](SkinBytes& s) { s.definitions[1].first = 0xFFFFFFFF; });
  add("mode 2 second index past the end", [](SkinBytes& s) { s.definitions[2].second = 5; });
  add("more fonts counted than stored", [](SkinBytes& s) { s.fontsClaimed = 1; });
  add("no font at all", [](SkinBytes& s) {
    s.fonts = 0;
    s.fontsClaimed = 1;
  });
  add("negative standalone count", [](SkinBytes& s) { s.standalone = -1; });
  for (const Case& c : cases) {
    Lists lists;
    ASSERT_TRUE(lists.load(smallSkin().make()));  // full lists before the failure
    std::uint32_t position = 0;
    EXPECT_FALSE(lists.load(c.skin.make(), position)) << c.what;
    EXPECT_TRUE(lists.empty()) << c.what;
    EXPECT_EQ(position, 0u) << c.what;
  }
}

TEST(Skin, ModesOtherThanZeroToTwoTakeNoIndices) {
  SkinBytes skin = smallSkin();
  skin.definitions.push_back({7, 0, 0});
  Lists lists;
  ASSERT_TRUE(lists.load(skin.make()));
  ASSERT_EQ(lists.sprites.count(), 5);
  EXPECT_EQ(lists.sprites.at(4)->first, nullptr);
}

TEST(Skin, CountsLargerThanTheBytesLeftFailAtOnce) {
  for (std::uint32_t count : {0xFFFFFFFFu, 0x80000000u, 1000000u}) {
    Bytes bytes;
    putU32(bytes, count);
    bytes.resize(64, 0);
    Lists lists;
    EXPECT_FALSE(lists.load(bytes)) << count;
    EXPECT_TRUE(lists.empty());
  }
}

TEST(Skin, ATruncatedSkinFailsCleanlyAtEveryLength) {
  const Bytes full = smallSkin().make();
  Lists lists;
  for (std::size_t n = 0; n < full.size(); ++n) {
    const Bytes cut(full.begin(), full.begin() + std::ptrdiff_t(n));
    std::uint32_t position = 0;
    ASSERT_FALSE(lists.load(cut, position)) << n;
    ASSERT_TRUE(lists.empty()) << n;
    ASSERT_EQ(position, 0u) << n;
  }
}

TEST(Skin, AMissingResourceFails) {
  Lists lists;
  EXPECT_FALSE(
      lists.pictures.LoadSkin(nullptr, 4242, lists.sprites, lists.fonts, lists.standalone));
  EXPECT_TRUE(lists.empty());
}

TEST(Skin, HighGlyphsDrawTheCodePageAboveAsciiAndNothingElseChanges) {
  Lists lists;
  ASSERT_TRUE(lists.load(smallSkin().make()));
  const BitmapFont* font = lists.fonts.at(0);
  // Without them the bytes above 127 draw nothing, the no-break space included.
  const char kAccented[] = "Caf\xE9\xA0M\xFCller\xAD\x81";
  const Size before = font->Measure(kAccented, false);
  EXPECT_EQ(before.cx, font->Measure("CafMller", false).cx);

  const Bytes glyphs = highGlyphs(1);
  ByteStream stream;
  stream.appendBytes(std::uint32_t(glyphs.size()), glyphs.data());
  std::uint32_t position = 0;
  ASSERT_TRUE(LoadHighGlyphs(stream, position, lists.fonts));
  EXPECT_EQ(position, glyphs.size());
  ASSERT_TRUE(font->HasHighGlyphs());
  // 8 low glyphs of 6, the two accented ones of 5, one blank of (2 * 7 - 1) / 3;
  // the soft hyphen and the undefined 0x81 draw nothing.
  EXPECT_EQ(font->Measure(kAccented, false).cx, 3 + 8 * 6 + 2 * 5 + 4);
  EXPECT_EQ(font->Measure("A", false).cx, 3 + 6);
  // The slots skip the five undefined bytes: 0x80 is the first, 0xFF the last.
  EXPECT_EQ(HighGlyphSlot(0x80), 0);
  EXPECT_EQ(HighGlyphSlot(0x82), 1);
  EXPECT_EQ(HighGlyphSlot(0x9E), 0x9E - 0x80 - 5);
  EXPECT_EQ(HighGlyphSlot(0xFF), kHighGlyphCount - 1);
  for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D, 0x7F, int('A')}) {
    EXPECT_EQ(HighGlyphSlot((unsigned char)undefined), -1) << undefined;
  }
}

TEST(Skin, DamagedHighGlyphsFailAtEveryLengthAndLeaveNone) {
  const Bytes full = highGlyphs(1);
  struct Case {
    const char* what;
    Bytes bytes;
  };
  std::vector<Case> cases = {{"more fonts than the skin has", highGlyphs(2)},
                             {"an advance no font has", highGlyphs(1, 2000)}};
  for (std::size_t n = 0; n < full.size(); n += 7) {
    cases.push_back({"cut short", Bytes(full.begin(), full.begin() + std::ptrdiff_t(n))});
  }
  for (const Case& c : cases) {
    Lists lists;
    ASSERT_TRUE(lists.load(smallSkin().make()));
    ByteStream stream;
    stream.appendBytes(std::uint32_t(full.size()), full.data());
    std::uint32_t position = 0;
    ASSERT_TRUE(LoadHighGlyphs(stream, position, lists.fonts));  // glyphs before the failure
    ByteStream damaged;
    damaged.appendBytes(std::uint32_t(c.bytes.size()), c.bytes.data());
    position = 0;
    EXPECT_FALSE(LoadHighGlyphs(damaged, position, lists.fonts)) << c.what << c.bytes.size();
    EXPECT_FALSE(lists.fonts.at(0)->HasHighGlyphs()) << c.what;
    EXPECT_EQ(position, 0u) << c.what;
  }
  // A program without the resource draws as it always did.
  Lists lists;
  ASSERT_TRUE(lists.load(smallSkin().make()));
  EXPECT_TRUE(LoadHighGlyphs(nullptr, 4242, lists.fonts));
  EXPECT_FALSE(lists.fonts.at(0)->HasHighGlyphs());
}
