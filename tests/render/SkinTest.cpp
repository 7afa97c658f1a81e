#include "render/Skin.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <vector>

#include "TestImages.h"

using namespace testimages;

namespace {

using Bytes = std::vector<unsigned char>;

void putU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((unsigned char)(v >> (8 * i)));
}

void putBlob(Bytes& out, const Bytes& blob) {
  putU32(out, std::uint32_t(blob.size()));
  out.insert(out.end(), blob.begin(), blob.end());
}

// A packed DIB; grey images without a palette, as skins store masks.
Bytes dib(const Image& image) {
  BitmapInfoHeader h = image.Header();
  h.biClrUsed = h.biClrImportant = 0;
  const auto* header = reinterpret_cast<const unsigned char*>(&h);
  Bytes out(header, header + sizeof h);
  out.insert(out.end(), image.Bits(), image.Bits() + image.PixelBytes());
  return out;
}

Bytes deflate(const Bytes& bytes) {
  uLongf size = compressBound(uLong(bytes.size()));
  Bytes out(size);
  compress(out.data(), &size, bytes.data(), uLong(bytes.size()));
  out.resize(size);
  return out;
}

// A skin put together byte by byte, as the tests need it.
struct SkinBytes {
  struct Definition {
    std::uint32_t mode, first, second;
  };
  std::vector<std::pair<std::uint32_t, Bytes>> pictures;  // kind, DIB or JPEG
  std::vector<Definition> definitions;
  int fonts = 1;
  int fontsClaimed = 0;  // more fonts in the count than there are records
  int standalone = 1;

  Bytes make() const {
    Bytes out;
    putU32(out, std::uint32_t(pictures.size()));
    for (const auto& [kind, data] : pictures) {
      putU32(out, kind);
      Bytes inner;
      putBlob(inner, deflate(data));
      putBlob(out, kind == 0 ? inner : data);
    }
    putU32(out, std::uint32_t(definitions.size()));
    for (const Definition& d : definitions) {
      putU32(out, d.mode);
      if (d.mode <= 2) putU32(out, d.first);
      if (d.mode == 1 || d.mode == 2) putU32(out, d.second);
    }
    putBlob(out, deflate(fontBlock()));
    putU32(out, std::uint32_t(standalone));
    for (int i = 0; i < standalone; ++i) {
      putU32(out, 1);
      putU32(out, std::uint32_t(-1));
      putU32(out, 2);
      putBlob(out, dib(mask(3, 2, 200)));
      putBlob(out, dib(mask(3, 2, 100)));
    }
    return out;
  }

  static Image& mask(int w, int h, int value) {
    static Image image;
    greySolid(image, w, h, std::uint8_t(value));
    return image;
  }

  Bytes fontBlock() const {
    Bytes out;
    putU32(out, std::uint32_t(fonts + fontsClaimed));
    for (int f = 0; f < fonts; ++f) {
      TextMetric metrics{};
      metrics.tmHeight = 17 + f;
      metrics.tmInternalLeading = 3;
      metrics.tmAveCharWidth = 7;
      metrics.tmWeight = 400;
      const auto* raw = reinterpret_cast<const unsigned char*>(&metrics);
      out.insert(out.end(), raw, raw + sizeof metrics);
      putU32(out, 1);
      putU32(out, 1);
      putU32(out, 1);
      for (int g = 0; g < kGlyphCount; ++g) {
        for (int v : {6, 2, 0}) {  // advance, offset y, offset x as s16
          out.push_back((unsigned char)v);
          out.push_back(0);
        }
        putBlob(out, dib(mask(2, 3, 255)));
        putBlob(out, dib(mask(2, 3, 90)));
      }
    }
    return out;
  }
};

// Two pictures (a 24-bit 2 x 2 and a grey 3 x 3) and three sprites over them.
SkinBytes smallSkin() {
  SkinBytes skin;
  Image colour, grey;
  solid(colour, 2, 2, 0x123456);
  greySolid(grey, 3, 3, 77);
  skin.pictures = {{0, dib(colour)}, {0, dib(grey)}};
  skin.definitions = {{0, 0, 0}, {1, 1, 0xFFFFFFFF}, {2, 0, 1}};
  return skin;
}

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

  ASSERT_EQ(lists.pictures.count(), 2);
  EXPECT_EQ(lists.pictures.at(0)->BitsPerPixel(), 24);
  EXPECT_EQ(colourAt(*lists.pictures.at(0), 1, 1), COLORREF(0x123456));
  EXPECT_TRUE(lists.pictures.at(1)->IsGrey());

  ASSERT_EQ(lists.sprites.count(), 3);
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
  EXPECT_EQ(lists.pictures.count(), 2);
  EXPECT_EQ(lists.sprites.count(), 3);
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
  add("mode 0 over a missing picture", [](SkinBytes& s) { s.definitions[0].first = 2; });
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
  ASSERT_EQ(lists.sprites.count(), 4);
  EXPECT_EQ(lists.sprites.at(3)->first, nullptr);
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
