// kskin: the default skin it draws, what `kskin check` says of it, and how it
// reports mistakes in a description.
#include <gtest/gtest.h>
#include <zlib.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "kskin/Description.h"
#include "kskin/ImageFiles.h"
#include "kskin/Report.h"
#include "kskin/SkinWriter.h"

namespace {

namespace fs = std::filesystem;

const kskin::BuildOptions kOptions{{KESTRANE_FONT_ROOT}};

std::string run(const std::string& command, int& status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return out;
  }
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  status = pclose(pipe);
  return out;
}

fs::path writeTemp(const std::string& name, const std::string& text) {
  const fs::path dir = fs::temp_directory_path() / "kskin_test";
  fs::create_directories(dir);
  const fs::path path = dir / name;
  std::ofstream(path) << text;
  return path;
}

}  // namespace

TEST(Kskin, DrawsTheDefaultSkinWithTheStandardParts) {
  const kskin::Bytes bytes =
      kskin::WriteSkin(kskin::BuildSkin(KESTRANE_SOURCE_DIR "/skins/default/skin.toml", kOptions));
  kskin::LoadedSkin skin;
  ASSERT_TRUE(kskin::LoadSkinBytes(bytes, skin));
  EXPECT_EQ(skin.consumed, skin.size);
  ASSERT_EQ(skin.pictures.count(), 22);
  EXPECT_EQ(skin.sprites.count(), 19);
  ASSERT_EQ(skin.fonts.count(), 3);
  ASSERT_EQ(skin.standalone.count(), 6);

  // The sizes the window and the widgets are laid out for.
  const struct {
    int width, height, bits;
  } sizes[22] = {{320, 240, 24}, {5, 24, 24},  {1, 24, 24}, {5, 24, 24},  {5, 24, 24}, {1, 24, 24},
                 {5, 24, 24},    {3, 24, 24},  {1, 24, 24}, {4, 24, 24},  {4, 30, 24}, {1, 30, 24},
                 {4, 30, 24},    {4, 164, 24}, {1, 2, 24},  {4, 164, 24}, {10, 11, 8}, {10, 11, 8},
                 {22, 22, 8},    {22, 22, 8},  {21, 21, 8}, {21, 21, 8}};
  for (int i = 0; i < 22; ++i) {
    const Image* p = skin.pictures.at(i);
    EXPECT_EQ(p->Width(), sizes[i].width) << i;
    EXPECT_EQ(p->Height(), sizes[i].height) << i;
    EXPECT_EQ(p->BitsPerPixel(), sizes[i].bits) << i;
    EXPECT_EQ(p->IsGrey(), sizes[i].bits == 8) << i;
  }
  for (int i = 0; i < 19; ++i) {
    const Sprite* s = skin.sprites.at(i);
    EXPECT_EQ(s->mode, i < 16 ? kSpritePicture : kSpriteMaskPair) << i;
    EXPECT_EQ(s->first, skin.pictures.at(i < 16 ? i : 16 + 2 * (i - 16))) << i;
  }

  const struct { int height, weight; } fonts[3] = {{18, 700}, {17, 400}, {15, 400}};
  for (int i = 0; i < 3; ++i) {
    const BitmapFont* f = skin.fonts.at(i);
    EXPECT_EQ(f->metrics.tmHeight, fonts[i].height) << i;
    EXPECT_EQ(f->metrics.tmWeight, fonts[i].weight) << i;
    EXPECT_EQ(f->metrics.tmAscent + f->metrics.tmDescent, f->metrics.tmHeight) << i;
    EXPECT_GT(f->metrics.tmAveCharWidth, 3) << i;
    EXPECT_EQ(f->shadowOffsetX, 1);
    EXPECT_EQ(f->margin, 1);
    // Every glyph has ink, and its masks are the same size.
    for (const Glyph& g : f->glyphs) {
      ASSERT_TRUE(g.Exists());
      EXPECT_FALSE(g.GlyphMask()->NonZeroBounds().IsEmpty());
      EXPECT_EQ(g.GlyphMask()->Width(), g.ShadowMask()->Width());
    }
  }
  // Captions: mode-1 mask pairs of height 18, the title the widest.
  for (int i = 0; i < 6; ++i) {
    const Sprite* s = skin.standalone.at(i);
    EXPECT_EQ(s->mode, kSpriteMaskPair) << i;
    EXPECT_EQ(s->height, 18) << i;
    EXPECT_GT(s->width, 25) << i;
    EXPECT_LT(s->width, skin.standalone.at(0)->width + (i == 0)) << i;
  }
}

TEST(Kskin, CheckReportsTheBuiltDefaultSkin) {
  int status = 0;
  const std::string out = run(std::string(KSKIN_PATH " check ") + KESTRANE_DEFAULT_SKIN, status);
  ASSERT_EQ(status, 0) << out;
  ASSERT_TRUE(nlohmann::json::accept(out)) << out;
  EXPECT_EQ(nlohmann::json::parse(out)["counts"],
            nlohmann::json({{"pictures", 22}, {"sprites", 19}, {"fonts", 3}, {"standalone", 6}}))
      << out;
  const auto size = std::to_string(fs::file_size(KESTRANE_DEFAULT_SKIN));
  EXPECT_NE(out.find("\"bytes\": " + size + ",\n  \"consumed\": " + size + ","), std::string::npos)
      << out;
  EXPECT_NE(out.find("\"tmHeight\": 18"), std::string::npos);

  const fs::path broken = writeTemp("broken.skin", "not a skin");
  run(std::string(KSKIN_PATH " check ") + broken.string() + " 2>/dev/null", status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST(Kskin, PreviewIsAPngOfTheWholeSheet) {
  kskin::LoadedSkin skin;
  ASSERT_TRUE(kskin::LoadSkinBytes(kskin::ReadFile(KESTRANE_DEFAULT_SKIN), skin));
  Image sheet;
  kskin::RenderPreview(skin, sheet);
  const kskin::Bytes png = kskin::EncodePng(sheet);
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
  EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
  const auto bigEndian = [&](std::size_t at) {
    return std::uint32_t(png[at]) << 24 | std::uint32_t(png[at + 1]) << 16 |
           std::uint32_t(png[at + 2]) << 8 | png[at + 3];
  };
  EXPECT_EQ(bigEndian(16), std::uint32_t(sheet.Width()));
  EXPECT_EQ(bigEndian(20), std::uint32_t(sheet.Height()));
  EXPECT_EQ(bigEndian(29), std::uint32_t(crc32(0, png.data() + 12, 17)));
}

TEST(Kskin, DescriptionMistakesAreNamed) {
  const struct {
    const char* description;
    const char* message;
  } cases[] = {
      {"[[picture]]\nname = \"p\"\nwidth = 2\n", "needs a whole number 'height'"},
      {"[[picture]]\nname = \"p\"\nwidth = 2\nheight = 2\npaint = [{ type = \"blob\" }]",
       "unknown layer type \"blob\""},
      {"[[picture]]\nname = \"p\"\nwidth = 2\nheight = 2\n"
       "paint = [{ type = \"fill\", colour = \"red\" }]",
       "not a colour"},
      {"[[picture]]\nname = \"p\"\nwidth = 2\nheight = 2\nfrom = \"nothing\"\ncrop = [0, 0, 2, 2]",
       "no earlier sheet or picture is named \"nothing\""},
      {"[[sprite]]\nmode = 0\npicture = \"missing\"", "no picture is named \"missing\""},
      {"[[font]]\nfile = \"NoSuchFont.ttf\"\nheight = 17", "cannot find NoSuchFont.ttf"},
      {"[[caption]]\ntext = \"Back\"\nfont = 0", "no such font"},
      {"picture = 3", "'picture' must be a list of tables"},
      {"[[picture", "skin.toml"},
  };
  for (const auto& c : cases) {
    const fs::path path = writeTemp("skin.toml", c.description);
    try {
      kskin::BuildSkin(path.string(), kOptions);
      ADD_FAILURE() << c.description;
    } catch (const kskin::SkinError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}
