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
