// The test program carries resources of its own (tests/CMakeLists.txt): a zlib
// body as RC_DATA 200 and string-table entries in English and German.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "base/Inflate.h"
#include "base/SetupString.h"
#include "platform/Module.h"
#include "platform/Resources.h"
#include "texts/TextLoading.h"

namespace {

std::string sampleText() {
  std::string text;
  char line[64];
  for (int i = 0; i < 1500; ++i) {
    std::snprintf(line, sizeof line, "Kestrane sample line %04d\n", i);
    text += line;
  }
  return text;
}

}  // namespace

TEST(Resources, DataResourceLoadsAndInflates) {
  ByteStream packed;
  ASSERT_EQ(packed.loadResourceData(200, nullptr), S_OK);
  EXPECT_GT(packed.size(), 100u);
  ByteStream plain;
  ASSERT_EQ(inflateStream(&packed, &plain), S_OK);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(plain.bytes()), plain.size()), sampleText());
}

TEST(Resources, MissingDataResourceLeavesAnEmptyStream) {
  ByteStream s;
  s.appendBytes(3, "old");
  EXPECT_EQ(s.loadResourceData(201, nullptr), E_FAIL);
  EXPECT_EQ(s.size(), 0u);
  EXPECT_EQ(s.bytes(), nullptr);
}

TEST(Resources, StringTableEntries) {
  SetupString s;
  EXPECT_TRUE(s.loadResourceText(nullptr, 1));
  EXPECT_EQ(s, "Kestrane Setup");
  EXPECT_TRUE(s.loadResourceText(nullptr, 2));
  EXPECT_EQ(s, "KestraneSetupClass");
  // Longer than the first 256-byte attempt: loaded again with more room.
  EXPECT_TRUE(s.loadResourceText(nullptr, 15));
  ASSERT_EQ(s.length(), 600);
  EXPECT_EQ(std::string(s.text()).substr(590), "0123456789");
  EXPECT_FALSE(s.loadResourceText(nullptr, 99));
  EXPECT_TRUE(s.isEmpty());
}

// The German table of the test program (tests/CMakeLists.txt) stands beside the
// English one; an entry is found only in the language asked for.
TEST(Resources, StringsInALanguage) {
  const platform::ModuleHandle self = platform::currentModule();
  std::vector<std::uint16_t> carried = platform::stringLanguages(self);
  std::sort(carried.begin(), carried.end());
  EXPECT_EQ(carried, (std::vector<std::uint16_t>{0x0407, 0x0409}));
  // Strings come in blocks of 16: 65 and 67 are German, 66 English.
  carried = platform::stringLanguages(self, 66);
  std::sort(carried.begin(), carried.end());
  EXPECT_EQ(carried, (std::vector<std::uint16_t>{0x0407, 0x0409}));
  EXPECT_EQ(platform::stringLanguages(self, 41), std::vector<std::uint16_t>{0x0407});

  const struct {
    int id;
    std::uint16_t language;
    const char* text;  // "" for none
  } cases[] = {
      {1, 0x0407, "Kestrane Einrichtung"},
      {1, 0x0409, "Kestrane Setup"},
      {41, 0x0407, "Weiter"},
      {41, 0x0409, ""},  // German only
      {2, 0x0407, ""},   // English only, in a block German has too
      {1, 0x040C, ""},   // French is not there
      {1, 0x0807, ""},   // nor German of another region
      {-1, 0x0409, ""},
  };
  for (const auto& c : cases) {
    char text[64] = "old";
    EXPECT_EQ(platform::loadString(self, c.id, c.language, text, sizeof text),
              int(std::strlen(c.text)))
        << c.id << " " << c.language;
    EXPECT_STREQ(text, c.text) << c.id << " " << c.language;
  }
  // Cut to the buffer, terminated; nothing for no buffer.
  char small[4];
  EXPECT_EQ(platform::loadString(self, 43, 0x0407, small, sizeof small), 3);
  EXPECT_STREQ(small, "Abb");
  EXPECT_EQ(platform::loadString(self, 43, 0x0407, small, 0), 0);
}

// The texts of a program come from its table in the chosen language, else from
// its English table, else they are ours; a translated format with other
// conversions than ours is passed over.
TEST(Resources, TextsComeInTheChosenLanguage) {
  const platform::ModuleHandle self = platform::currentModule();
  const struct {
    std::uint16_t language;
    int id;
    const char* text;  // null: ours
  } cases[] = {
      {0x0407, texts::WindowName, "Kestrane Einrichtung"},
      {0x0407, texts::Next, "Weiter"},
      {0x0407, texts::UninstallDone, "%s wurde entfernt."},
      {0x0407, texts::UninstallQuestion, nullptr},            // %d for %s
      {0x0407, texts::UninstallThisProgram, "this product"},  // English table
      {0x0407, texts::FolderText, nullptr},                   // in neither table
      {0x0409, texts::WindowName, "Kestrane Setup"},
      {0x0409, texts::Next, nullptr},
      {0x0409, texts::UninstallThisProgram, "this product"},
      {0x040C, texts::WindowName, "Kestrane Setup"},  // not carried: English
      {0x040C, texts::Next, nullptr},
  };
  for (const auto& c : cases) {
    texts::TextSet set;
    EXPECT_TRUE(texts::loadTexts(self, c.language, set));
    EXPECT_EQ(set.language, c.language);
    EXPECT_STREQ(set.text(c.id), c.text != nullptr ? c.text : texts::englishText(c.id))
        << c.language << " " << c.id;
  }
}
