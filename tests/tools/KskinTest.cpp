// kskin: the default skin it draws, what `kskin check` says of it, the preview
// of the pages over it, and how it reports mistakes in a description.
#include <gtest/gtest.h>
#include <zlib.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/pages/InstallFolderPage.h"
#include "common/PageCheck.h"
#include "kpack/Manifest.h"
#include "kpack/PackageWriter.h"
#include "kpack/ShippedLanguages.h"
#include "kskin/Description.h"
#include "kskin/DescriptionKeys.h"
#include "kskin/Icon.h"
#include "kskin/ImageFiles.h"
#include "kskin/PreviewSheet.h"
#include "kskin/Report.h"
#include "kskin/SampleProduct.h"
#include "kskin/Scale.h"
#include "kskin/SkinWriter.h"
#include "platform/host/Prefix.h"
#include "support/EncodeJpeg.h"
#include "support/PageProbe.h"
#include "support/RunProcess.h"

namespace {

namespace fs = std::filesystem;

const kskin::BuildOptions kOptions{{KESTRANE_FONT_ROOT}};

std::string run(const std::string& command, int& status) {
  std::string out;
  status = runBounded(command, out, 60);
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
  EXPECT_EQ(status, 1);
}

// The build draws the skin again at 150 % and 200 % beside the one at 100 %, and
// the program's reader takes them as they are: the same parts, every picture but
// the background and every font larger by the scale, the glyphs rendered at the
// new size rather than enlarged.
TEST(Kskin, DrawsTheSkinAnewAtEachScale) {
  kskin::LoadedSkin base;
  ASSERT_TRUE(kskin::LoadSkinBytes(kskin::ReadFile(KESTRANE_DEFAULT_SKIN), base));
  for (const double scale : {1.5, 2.0}) {
    const std::string path = kskin::ScaledPath(KESTRANE_DEFAULT_SKIN, kskin::ScalePercent(scale));
    kskin::LoadedSkin skin;
    ASSERT_TRUE(kskin::LoadSkinBytes(kskin::ReadFile(path), skin)) << path;
    EXPECT_EQ(skin.consumed, skin.size) << path;
    ASSERT_TRUE(kskin::LoadHighGlyphBytes(kskin::ReadFile(kskin::HighGlyphsPathFor(path)), skin));
    ASSERT_EQ(skin.pictures.count(), base.pictures.count());
    ASSERT_EQ(skin.sprites.count(), base.sprites.count());
    ASSERT_EQ(skin.fonts.count(), base.fonts.count());
    ASSERT_EQ(skin.standalone.count(), base.standalone.count());

    // The background is resampled to the page anyway and stays as it is; the
    // three-piece bars, frame, close button and check boxes grow.
    EXPECT_EQ(skin.pictures.at(0)->Width(), base.pictures.at(0)->Width());
    for (int i = 1; i < skin.pictures.count(); ++i) {
      const Image* p = skin.pictures.at(i);
      const Image* p1 = base.pictures.at(i);
      EXPECT_EQ(p->Height(), std::lround(p1->Height() * scale)) << path << " picture " << i;
      EXPECT_NEAR(p->Width(), p1->Width() * scale, 1.0) << path << " picture " << i;
      EXPECT_EQ(p->IsGrey(), p1->IsGrey()) << path << " picture " << i;
    }
    // A bar's three pieces still make the whole bar they were cut from.
    EXPECT_EQ(
        skin.pictures.at(1)->Width() + skin.pictures.at(2)->Width() + skin.pictures.at(3)->Width(),
        std::lround(11 * scale));

    for (int i = 0; i < skin.fonts.count(); ++i) {
      const BitmapFont* f = skin.fonts.at(i);
      const BitmapFont* f1 = base.fonts.at(i);
      // The face's nearest line height to the scaled one, in whole pixels.
      EXPECT_NEAR(f->metrics.tmHeight, std::lround(f1->metrics.tmHeight * scale), 1)
          << path << " font " << i;
      EXPECT_EQ(f->metrics.tmWeight, f1->metrics.tmWeight);
      EXPECT_EQ(f->shadowOffsetX, std::lround(scale));
      EXPECT_EQ(f->margin, std::lround(scale));
      EXPECT_TRUE(f->HasHighGlyphs());
      // Glyphs doubled from the 100 % ones would all have masks of even width;
      // rendered anew from the outlines, many come out odd.
      int odd = 0;
      for (const Glyph& g : f->glyphs) odd += g.GlyphMask()->Width() % 2;
      EXPECT_GT(odd, 10) << path << " font " << i;
    }
    for (int i = 0; i < skin.standalone.count(); ++i) {
      EXPECT_NEAR(skin.standalone.at(i)->height, base.standalone.at(i)->height * scale, 1 + scale)
          << path << " caption " << i;
    }
  }
}

// Every scaled size is rounded in one place; coordinates on whole pixels stay on
// whole pixels, those between are multiplied exactly, and scale 1 changes
// nothing (the skin at 100 % stays what it was).
TEST(Kskin, ScalesRoundInOnePlace) {
  const struct {
    int pixels;
    double scale;
    int scaled;
  } sizes[] = {{24, 1.5, 36}, {11, 1.5, 17}, {1, 1.5, 2}, {1, 1.25, 1},
               {0, 2, 0},     {-1, 1.5, -2}, {7, 1, 7},   {1, 0.1, 1}};
  for (const auto& c : sizes) {
    EXPECT_EQ(kskin::ScaledPixels(c.pixels, c.scale), c.scaled) << c.pixels << " x " << c.scale;
  }
  EXPECT_EQ(kskin::ScaledCoordinate(5, 1.5), 8.0);
  EXPECT_EQ(kskin::ScaledCoordinate(2.5, 1.5), 3.75);
  EXPECT_EQ(kskin::ScaledCoordinate(2.5, 1), 2.5);
  EXPECT_EQ(kskin::ScaledCoordinate(0.1, 1), 0.1);

  EXPECT_EQ(kskin::ParseScales("1,1.5,2"), (std::vector<double>{1, 1.5, 2}));
  EXPECT_EQ(kskin::ParseScales("2,1.25,2"), (std::vector<double>{1.25, 2}));
  for (const char* wrong : {"", "1,,2", "0.5", "1.333", "5", "x", "1.5x", "nan", "1,"}) {
    EXPECT_THROW(kskin::ParseScales(wrong), kskin::SkinError) << wrong;
  }
  EXPECT_EQ(kskin::ScaledPath("out/default.skin", 150), "out/default@150.skin");
  EXPECT_EQ(kskin::ScaledPath("out/default.glyphs", 200), "out/default@200.glyphs");
  EXPECT_EQ(kskin::ScaledPath("default.skin", 100), "default.skin");
}

// The sheet's pages are the windows the program composes, a page added in one
// class and one line among them, and the tool writes the same bytes on every
// run: a PNG of that very sheet.
TEST(Kskin, PreviewShowsTheComposedPagesAndIsTheSameEveryRun) {
  kskin::LoadedSkin skin;
  ASSERT_TRUE(kskin::LoadSkinBytes(kskin::ReadFile(KESTRANE_DEFAULT_SKIN), skin));
  InstallModel sampleModel;
  kskin::MakeSampleProduct(sampleModel);
  kskin::PreviewSheet sheet;
  kskin::RenderPreview(skin, sampleModel, sheet, SetupTexts(), DisplayScale(),
                       AddPagesWithCountingPage);

  // The window the pages are checked against, built apart from the sheet's.
  InstallModel model;
  kskin::MakeSampleProduct(model);
  InstallOptions options;
  options.ParentFolder = "C:\\Program Files";
  Wizard wizard;
  ASSERT_TRUE(AddPagesWithCountingPage(wizard.Pages()));
  ASSERT_TRUE(wizard.Build(skin, model, options));
  ASSERT_EQ(wizard.PageCount(), 7);
  const int w = wizard.WindowWidth(), h = wizard.WindowHeight();
  ASSERT_EQ(sheet.window.cx, w);
  ASSERT_EQ(sheet.window.cy, h);
  EXPECT_GE(sheet.image.Width(), 3 * w);
  EXPECT_GE(sheet.image.Height(), 2 * h);
  Image window;
  ASSERT_TRUE(window.Create(w, h, 24));
  ASSERT_EQ(int(sheet.pages.size()), wizard.PageCount());
  for (int page = 0; page < wizard.PageCount(); ++page) {
    const Point at = sheet.pages[page];
    ASSERT_TRUE(at.x >= 0 && at.y >= 0 && at.x + w <= sheet.image.Width() &&
                at.y + h <= sheet.image.Height())
        << "page " << page;
    for (int other = 0; other < page; ++other) {
      const Point o = sheet.pages[other];
      EXPECT_TRUE(at.x >= o.x + w || o.x >= at.x + w || at.y >= o.y + h || o.y >= at.y + h)
          << "pages " << other << " and " << page << " overlap";
    }
    kskin::StagePage(wizard, model, wizard.PageAt(page)->Id());
    wizard.Compose(&window, w, h);
    int differing = 0;
    for (int y = 0; y < h; ++y) {
      differing +=
          std::memcmp(sheet.image.PixelAt(at.x, at.y + y), window.PixelAt(0, y), 3 * w) != 0;
    }
    EXPECT_EQ(differing, 0) << "rows of page " << page << " differ from the composed window";
  }
  // The folder page describes the preview's roomy drive, never this machine's:
  // even a full C: drive leaves Next shown.
  const std::string freeFile = platform::host::prefixRoot() + "/drive_c.free";
  std::ofstream(freeFile) << "1000";
  kskin::StagePage(wizard, model, InstallFolder);
  std::remove(freeFile.c_str());
  const auto* folder = static_cast<const InstallFolderPage*>(wizard.FindPage(InstallFolder));
  EXPECT_TRUE(folder->Ok()) << folder->Text(1).text();

  // A PNG of the whole sheet of the setup's own pages.
  kskin::PreviewSheet standard;
  kskin::RenderPreview(skin, sampleModel, standard);
  ASSERT_EQ(standard.pages.size(), sheet.pages.size() - 1);
  const kskin::Bytes expected = kskin::EncodePng(standard.image);
  ASSERT_GT(expected.size(), 33u);
  EXPECT_EQ(std::string(expected.begin() + 1, expected.begin() + 4), "PNG");
  EXPECT_EQ(std::string(expected.begin() + 12, expected.begin() + 16), "IHDR");
  const auto bigEndian = [&](std::size_t at) {
    return std::uint32_t(expected[at]) << 24 | std::uint32_t(expected[at + 1]) << 16 |
           std::uint32_t(expected[at + 2]) << 8 | expected[at + 3];
  };
  EXPECT_EQ(bigEndian(16), std::uint32_t(standard.image.Width()));
  EXPECT_EQ(bigEndian(20), std::uint32_t(standard.image.Height()));
  EXPECT_EQ(bigEndian(29), std::uint32_t(crc32(0, expected.data() + 12, 17)));
  const fs::path dir = fs::temp_directory_path() / "kskin_test";
  fs::create_directories(dir);
  // Nor does the tool make an emulated machine to ask.
  const fs::path prefix = dir / "no-prefix";
  fs::remove_all(prefix);
  for (const char* name : {"first.png", "second.png"}) {
    int status = 0;
    const std::string out =
        run("KESTRANE_PREFIX='" + prefix.string() +
                "' " KSKIN_PATH " preview " KESTRANE_DEFAULT_SKIN " -o " + (dir / name).string(),
            status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_TRUE(kskin::ReadFile((dir / name).string()) == expected) << name;
  }
  EXPECT_FALSE(fs::exists(prefix));
}

// A vendor's own package is shown instead of the sample, and a built program's
// resources serve as well as the bare files.
TEST(Kskin, PreviewShowsTheGivenPackageAndReadsBuiltPrograms) {
  const fs::path dir = fs::temp_directory_path() / "kskin_test" / "package";
  fs::create_directories(dir);
  const auto write = [&](const char* name, const std::vector<unsigned char>& bytes) {
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  };
  write("side.jpg", testdata::EncodeSolidJpeg(164, 314, 0x20, 0x60, 0x30));
  write("logo.jpg", testdata::EncodeSolidJpeg(49, 49, 0xC0, 0x30, 0x20));
  std::ofstream(dir / "LICENCE.txt") << "The vendor's own licence.\n";
  std::ofstream(dir / "Tool.exe") << "MZ";
  std::ofstream(dir / "manifest.toml") << R"([product]
name = "Vendor Product"
company = "Vendor"
settings-key = "Vendor"
install-folder = "Vendor Product"
[pictures]
side = "side.jpg"
logo = "logo.jpg"
[licence]
file = "LICENCE.txt"
[[items]]
source = "Tool.exe"
)";
  const auto package = kpack::buildPackage(kpack::loadManifest(dir / "manifest.toml"));
  write("vendor.bin", package);

  kskin::LoadedSkin skin;
  ASSERT_TRUE(kskin::LoadSkinBytes(kskin::ReadFile(KESTRANE_DEFAULT_SKIN), skin));
  InstallModel model;
  ByteStream stream;
  ASSERT_EQ(stream.appendBytes(std::uint32_t(package.size()), package.data()), S_OK);
  std::uint32_t position = 0;
  ASSERT_TRUE(model.readPackage(stream, position)) << model.failureReason();
  kskin::PreviewSheet sheet;
  kskin::RenderPreview(skin, model, sheet);

  // kpack carries the default skin as its resource, as a built setup does.
  int status = 0;
  const fs::path out = dir / "vendor.png";
  const std::string output = run(std::string(KSKIN_PATH " preview " KPACK_PATH " --package ") +
                                     (dir / "vendor.bin").string() + " -o " + out.string(),
                                 status);
  ASSERT_EQ(status, 0) << output;
  EXPECT_TRUE(kskin::ReadFile(out.string()) == kskin::EncodePng(sheet.image));

  // At a display scale, over the skin drawn for it beside the skin file.
  const Size one = sheet.window;
  kskin::LoadedSkin large;
  const std::string largePath = kskin::ScaledPath(KESTRANE_DEFAULT_SKIN, 200);
  ASSERT_TRUE(kskin::LoadSkinBytes(kskin::ReadFile(largePath), large));
  ASSERT_TRUE(
      kskin::LoadHighGlyphBytes(kskin::ReadFile(kskin::HighGlyphsPathFor(largePath)), large));
  kskin::RenderPreview(large, model, sheet, SetupTexts(), DisplayScale(192));
  const std::string scaled =
      run(std::string(KSKIN_PATH " preview " KESTRANE_DEFAULT_SKIN) + " --scale 2 --package " +
              (dir / "vendor.bin").string() + " -o " + out.string(),
          status);
  ASSERT_EQ(status, 0) << scaled;
  EXPECT_EQ(sheet.window.cx, 2 * one.cx);
  EXPECT_TRUE(kskin::ReadFile(out.string()) == kskin::EncodePng(sheet.image));
}

// Whatever a vendor passes as the skin or the package, the tool answers with an
// error, never a crash or a picture of nonsense.
TEST(Kskin, PreviewRefusesWhatIsNotASkinOrAPackage) {
  const fs::path dir = fs::temp_directory_path() / "kskin_test";
  const fs::path junk = writeTemp("junk.bin", "MZ but nothing of a program");
  const fs::path out = dir / "refused.png";
  const std::string preview = std::string(KSKIN_PATH " preview ");
  const struct {
    std::string arguments;
    int status;
  } cases[] = {
      {junk.string(), 1},
      {std::string(KESTRANE_DEFAULT_SKIN) + " --package " + junk.string(), 1},
      {std::string(KESTRANE_DEFAULT_SKIN) + " --package " + KESTRANE_DEFAULT_SKIN, 1},
      // A built program without a package.
      {std::string(KESTRANE_DEFAULT_SKIN) + " --package " + KPACK_PATH, 1},
      {std::string(KESTRANE_DEFAULT_SKIN) + " --package " + (dir / "missing").string(), 2},
      // No setup carries a skin for 125 %; "large" is no scale.
      {std::string(KESTRANE_DEFAULT_SKIN) + " --scale 1.25", 2},
      {std::string(KESTRANE_DEFAULT_SKIN) + " --scale large", 1},
  };
  for (const auto& c : cases) {
    fs::remove(out);
    int status = 0;
    const std::string output = run(preview + c.arguments + " -o " + out.string(), status);
    EXPECT_EQ(status, c.status) << c.arguments << "\n" << output;
    EXPECT_NE(output.find("kskin: "), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(out)) << c.arguments;
  }
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
      {"[[font]]\nfile = \"NoSuchFont.ttf\"\nheight = 17",
       "cannot find NoSuchFont.ttf (looked in "},
      {"[[caption]]\ntext = \"Back\"\nfont = 0", "no such font"},
      {"picture = 3", "picture: must be a list of tables"},
      {"[[pictures]]\nname = \"p\"", "skin: unknown key \"pictures\"; did you mean \"picture\"?"},
      {"[[picture]]\nname = \"p\"\nwidht = 2\nheight = 2",
       "skin.toml:3: picture 0: unknown key \"widht\"; did you mean \"width\"?"},
      {"[[picture]]\nname = \"p\"\nwidth = 2\nheight = 2\n"
       "paint = [{ type = \"fill\", color = \"#ffffff\" }]",
       "layer 0: unknown key \"color\"; did you mean \"colour\"?"},
      {"[[sheet]]\nname = \"s\"\nwidth = 2\nheight = 2\nfile = \"s.jpg\"",
       "sheet 0: unknown key \"file\""},
      {"[[picture", "skin.toml"},
      {"[[picture]]\nname = \"p\"\nformat = \"jpeg\"\nwidth = 2\nheight = 2\nfile = \"fake.jpg\"",
       "fake.jpg is a PNG picture, not a JPEG: save it as"},
  };
  writeTemp("fake.jpg", std::string("\x89PNG\r\n\x1A\n") + std::string(40, '\0'));
  for (const auto& c : cases) {
    const fs::path path = writeTemp("skin.toml", c.description);
    try {
      kskin::BuildSkin(path.string(), kOptions);
      ADD_FAILURE() << c.description;
    } catch (const kskin::SkinError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).rfind(path.string() + ":", 0), 0u)
          << "names no file: " << e.what();
    }
  }
}

// A font whose lines are taller than the pages are laid out for makes them
// overlap: kskin build warns at the font's table with the fix, and --strict
// refuses to write the skin. The default description draws pages that fit.
TEST(Kskin, BuildWarnsAboutAFontThePagesDoNotFit) {
  std::ifstream in(KESTRANE_SOURCE_DIR "/skins/default/skin.toml");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string height = "height = ";
  const std::size_t at =
      text.find(height + "17", text.find("file = \"opentype/cabin/Cabin-Regular.otf\""));
  ASSERT_NE(at, std::string::npos);
  std::string tall = text;
  tall.replace(at + height.size(), 2, "22");
  const std::size_t table = text.rfind("[[font]]", at);
  const int line = 1 + int(std::count(text.begin(), text.begin() + std::ptrdiff_t(table), '\n'));
  const fs::path fits = writeTemp("fits.toml", text), big = writeTemp("tall.toml", tall);
  const fs::path out = big.parent_path() / "tall.skin";
  const auto build = [&](const fs::path& description, const std::string& options, int& status) {
    return run(std::string(KSKIN_PATH " build ") + description.string() + " -o " + out.string() +
                   " --font-dir " KESTRANE_FONT_ROOT + options + " 2>&1",
               status);
  };
  for (const int percent : {150, 200}) fs::remove(kskin::ScaledPath(out.string(), percent));
  int status = -1;
  EXPECT_EQ(build(fits, " --strict --scales 1,2", status), "");
  EXPECT_EQ(status, 0);
  // The scales asked for, each beside the skin under its percentage.
  EXPECT_TRUE(fs::exists(kskin::ScaledPath(out.string(), 200)));
  EXPECT_TRUE(fs::exists(kskin::ScaledPath(kskin::HighGlyphsPathFor(out.string()), 200)));
  EXPECT_FALSE(fs::exists(kskin::ScaledPath(out.string(), 150)));
  build(fits, " --scales 1,0.5", status);
  EXPECT_EQ(status, 1);

  const std::string head = big.string() + ":" + std::to_string(line) +
                           ": font 1: font 1 (the page text font) has lines 22 pixels high";
  std::string output = build(big, "", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(output.rfind("kskin: warning: " + head, 0), 0u) << output;
  EXPECT_NE(output.find("Welcome: the text \"In the following pages"), std::string::npos) << output;
  EXPECT_NE(output.find("Fix: the pages are laid out for lines of 17 pixels: give it height = 17"),
            std::string::npos)
      << output;

  fs::remove(out);
  fs::remove(kskin::ScaledPath(out.string(), 200));
  output = build(big, " --strict", status);
  EXPECT_EQ(status, 1) << output;
  EXPECT_EQ(output.rfind("kskin: error: " + head, 0), 0u) << output;
  // Nothing at all is written, at no scale.
  EXPECT_FALSE(fs::exists(out));
  EXPECT_FALSE(fs::exists(kskin::ScaledPath(out.string(), 200)));
}

// The page check traces each finding to its cause by laying the pages out again
// with pictures of the sizes the layout expects, so several mistakes at once are
// told apart; it gives the product's pictures back as they were, names the run
// in what it says, and refuses only a layout that cannot work at all.
TEST(Kskin, PageCheckTellsCausesApartAndGivesThePicturesBack) {
  kskin::LoadedSkin skin;
  ASSERT_TRUE(kskin::LoadSkinBytes(kskin::ReadFile(KESTRANE_DEFAULT_SKIN), skin));
  InstallModel model;
  kskin::MakeSampleProduct(model);
  tools::PageCheckRun run;
  run.skin = &skin;
  run.model = &model;
  tools::PageCheckResult result = tools::CheckPages(run);
  EXPECT_EQ(result.error, "");
  EXPECT_TRUE(result.warnings.empty()) << result.warnings[0].message;

  // A page added in one class and one line is checked like the standard ones.
  run.addPages = AddPagesWithCountingPage;
  result = tools::CheckPages(run);
  EXPECT_TRUE(result.warnings.empty()) << result.warnings[0].message;
  CountingPage::text = "A page of the tests, whose one line is too long for the text column";
  result = tools::CheckPages(run);
  CountingPage::text = "A page of the tests";
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_NE(result.warnings[0].message.find("Counting: the text \"A page of the tests"),
            std::string::npos)
      << result.warnings[0].message;
  run.addPages = AddStandardPages;

  // A wide side picture, a large logo and body text on taller lines at once.
  ASSERT_TRUE(model.sidePicture.Create(300, 314, 24));
  model.sidePicture.Fill(0x336699);
  ASSERT_TRUE(model.logoPicture.Create(100, 100, 24));
  model.logoPicture.Fill(0x996633);
  skin.fonts.at(1)->metrics.tmHeight = 24;
  run.name = "German";
  result = tools::CheckPages(run);
  ASSERT_EQ(result.error, "");
  ASSERT_EQ(result.warnings.size(), 3u);
  const struct {
    tools::PageCause cause;
    int font;
    const char* start;
    const char* fix;
  } expected[] = {
      {tools::PageCause::SidePicture, -1,
       "the side picture is 300 x 314 pixels: German: ", "Fix: make it 164 x 314"},
      {tools::PageCause::Logo, -1,
       "the logo is 100 x 100 pixels: German: ", "Fix: make it 49 x 49"},
      {tools::PageCause::Font, 1, "font 1 (the page text font) has lines 24 pixels high",
       "give it height = 17"},
  };
  for (const auto& e : expected) {
    const auto found = std::find_if(
        result.warnings.begin(), result.warnings.end(),
        [&](const tools::PageWarning& w) { return w.cause == e.cause && w.font == e.font; });
    ASSERT_NE(found, result.warnings.end()) << e.start;
    EXPECT_EQ(found->message.rfind(e.start, 0), 0u) << found->message;
    EXPECT_NE(found->message.find(e.fix), std::string::npos) << found->message;
    EXPECT_NE(found->message.find("German: "), std::string::npos) << found->message;
  }
  EXPECT_EQ(model.sidePicture.Width(), 300);
  EXPECT_EQ(model.sidePicture.PixelAt(299, 313)[0], 0x33);  // blue, green, red
  EXPECT_EQ(model.logoPicture.Height(), 100);
  EXPECT_EQ(model.logoPicture.PixelAt(0, 0)[0], 0x99);

  // No text column at all cannot work: an error, and no warnings.
  ASSERT_TRUE(model.sidePicture.Create(480, 314, 24));
  result = tools::CheckPages(run);
  EXPECT_NE(result.error.find("leaves the pages no room for their text"), std::string::npos)
      << result.error;
  EXPECT_EQ(result.errorCause, tools::PageCause::SidePicture);
  EXPECT_TRUE(result.warnings.empty());
}

// Every key of the table, given a value of another type than the table says, is
// refused by name, whichever reader takes its table.
TEST(Kskin, DescriptionValuesKeepToTheirTable) {
  using T = tools::KeyType;
  for (const tools::Key& key : kskin::DescriptionKeys().keys) {
    if (key.type == T::Table || key.type == T::Tables) continue;
    const char* wrong = key.type == T::Number || key.type == T::Numbers ? "\"x\""
                        : key.type == T::Integer                        ? "1.5"
                        : key.type == T::Pairs                          ? "[1, 2]"
                                                                        : "1";
    const std::string section = key.section;
    const std::string line = std::string(key.name) + " = " + wrong;
    std::string description = "[[" + section + "]]\n" + line + "\n";
    if (section == "layer") {
      description = "[[picture]]\nname = \"p\"\nwidth = 2\nheight = 2\npaint = [{ " + line + " }]";
    } else if (section == "icon") {
      description = line + "\n";
    } else if (section == "size") {
      description = "paint = []\n" + description;
    }
    const fs::path path = writeTemp("keys.toml", description);
    try {
      if (section == "icon" || section == "size") {
        kskin::DrawIcon(path.string(), kskin::kIconSizes);
      } else {
        kskin::BuildSkin(path.string(), kOptions);
      }
      ADD_FAILURE() << description;
    } catch (const kskin::SkinError& e) {
      EXPECT_NE(std::string(e.what()).find("'" + std::string(key.name) + "' must be"),
                std::string::npos)
          << description << "\n"
          << e.what();
    }
  }
}

// The translations kpack ships fit the default skin's pages: laid out in each
// language by the page check without a finding, at every scale the default skin
// is drawn for, and every line of every page text no wider than the text
// column, however the pages place it.
TEST(Kskin, ShippedTranslationsFitTheDefaultSkin) {
  kskin::LoadedSkin skin, scaled[2];
  const int percents[2] = {150, 200};
  ASSERT_TRUE(kskin::LoadSkinBytes(kskin::ReadFile(KESTRANE_DEFAULT_SKIN), skin));
  ASSERT_TRUE(kskin::LoadHighGlyphBytes(
      kskin::ReadFile(kskin::HighGlyphsPathFor(KESTRANE_DEFAULT_SKIN)), skin));
  for (int k = 0; k < 2; ++k) {
    const std::string path = kskin::ScaledPath(KESTRANE_DEFAULT_SKIN, percents[k]);
    ASSERT_TRUE(kskin::LoadSkinBytes(kskin::ReadFile(path), scaled[k]));
    ASSERT_TRUE(kskin::LoadHighGlyphBytes(
        kskin::ReadFile(
            kskin::ScaledPath(kskin::HighGlyphsPathFor(KESTRANE_DEFAULT_SKIN), percents[k])),
        scaled[k]));
  }
  InstallModel model;
  kskin::MakeSampleProduct(model);
  const int column = Wizard::TextWidthBeside(tools::kLayoutSidePicture.cx);
  std::size_t count = 0;
  const kpack::ShippedLanguage* shipped = kpack::shippedLanguages(count);
  ASSERT_EQ(count, 10u);
  for (std::size_t i = 0; i < count; ++i) {
    tools::PageCheckRun run;
    run.skin = &skin;
    run.model = &model;
    run.name = shipped[i].tag;
    for (const auto& [id, text] : kpack::shippedTexts(shipped[i])) {
      ASSERT_TRUE(run.texts.set(id, text.c_str())) << shipped[i].tag << " " << id;
      if (id >= texts::Back || std::strchr(text.c_str(), '%') != nullptr) continue;
      const int font = id == texts::HeaderTitle ? 0 : 1;
      std::size_t start = 0;
      while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        EXPECT_LE(skin.fonts.at(font)->Measure(line.c_str(), false).cx, column)
            << shipped[i].tag << " " << texts::findText(id)->key << ": " << line;
        start = end + 1;
      }
    }
    for (int k = -1; k < 2; ++k) {
      if (k >= 0) {
        run.skin = &scaled[k];
        run.scale = DisplayScale(percents[k] * 96 / 100);
        run.name = tools::RunName(shipped[i].tag, percents[k]);
      }
      const tools::PageCheckResult result = tools::CheckPages(run);
      EXPECT_EQ(result.error, "") << run.name;
      for (const tools::PageWarning& w : result.warnings) ADD_FAILURE() << w.message;
    }
  }
}
