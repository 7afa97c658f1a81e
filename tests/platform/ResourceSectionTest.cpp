#include "platform/ResourceSection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void putU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (unsigned char)(v >> (8 * i));
}

// A section with two entries: RC_DATA 112 "pkg" and string 1 "Title".
Bytes sampleSection() {
  Bytes b(kres::kHeaderSize + 2 * kres::kEntrySize + 16, 0);
  std::memcpy(b.data(), "KRES", 4);
  putU32(b, 4, 1);
  putU32(b, 8, 2);
  const std::size_t data = kres::kHeaderSize + 2 * kres::kEntrySize;
  std::memcpy(&b[16], "RC_DATA", 7);
  putU32(b, 16 + 16, 112);
  putU32(b, 16 + 20, std::uint32_t(data));
  putU32(b, 16 + 24, 3);
  std::memcpy(&b[48], "#6", 2);
  putU32(b, 48 + 16, 1);
  putU32(b, 48 + 20, std::uint32_t(data + 3));
  putU32(b, 48 + 24, 5);
  std::memcpy(&b[data], "pkgTitle", 8);
  return b;
}

bool find(const Bytes& b, const char* type, std::uint32_t id, std::string* text = nullptr) {
  const unsigned char* data = nullptr;
  std::uint32_t size = 0;
  if (!kres::findInSection(b.data(), b.size(), type, id, &data, &size)) return false;
  if (text != nullptr) text->assign(reinterpret_cast<const char*>(data), size);
  return true;
}

}  // namespace

TEST(ResourceSection, FindsEntriesByTypeAndId) {
  const Bytes b = sampleSection();
  std::string text;
  ASSERT_TRUE(find(b, "RC_DATA", 112, &text));
  EXPECT_EQ(text, "pkg");
  ASSERT_TRUE(find(b, "rc_data", 112));  // type names ignore case, as on Windows
  ASSERT_TRUE(find(b, kres::kStringType, 1, &text));
  EXPECT_EQ(text, "Title");
  EXPECT_FALSE(find(b, "RC_DATA", 116));
  EXPECT_FALSE(find(b, "RC_DAT", 112));
  EXPECT_FALSE(find(b, "RC_DATA_LONGER", 112));
}

TEST(ResourceSection, FindsStringsByLanguage) {
  // Version 1 knows no languages: its strings are English.
  Bytes b = sampleSection();
  const unsigned char* data = nullptr;
  std::uint32_t size = 0;
  EXPECT_TRUE(kres::findInSection(b.data(), b.size(), "#6", 1, &data, &size, 0x0409));
  EXPECT_FALSE(kres::findInSection(b.data(), b.size(), "#6", 1, &data, &size, 0x0407));
  EXPECT_EQ(kres::languagesInSection(b.data(), b.size(), "#6", 1),
            std::vector<std::uint32_t>{0x0409});
  // Version 2: the same string twice, in German and in French; "pkg" counts as
  // a French string 1 here.
  putU32(b, 4, 2);
  std::memcpy(&b[16], "#6", 3);
  putU32(b, 16 + 16, 1);
  putU32(b, 16 + 28, 0x040C);
  putU32(b, 48 + 28, 0x0407);
  std::string text;
  ASSERT_TRUE(kres::findInSection(b.data(), b.size(), "#6", 1, &data, &size, 0x0407));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), "Title");
  ASSERT_TRUE(find(b, "#6", 1, &text));
  EXPECT_EQ(text, "pkg");
  EXPECT_FALSE(kres::findInSection(b.data(), b.size(), "#6", 1, &data, &size, 0x0409));
  EXPECT_EQ(kres::languagesInSection(b.data(), b.size(), "#6", 1),
            (std::vector<std::uint32_t>{0x040C, 0x0407}));
  putU32(b, 4, 0);
  EXPECT_TRUE(kres::languagesInSection(b.data(), b.size(), "#6", 1).empty());
}

TEST(ResourceSection, SurvivesDamagedDirectories) {
  const Bytes good = sampleSection();
  Bytes badMagic = good;
  badMagic[0] = 'X';
  Bytes badVersion = good;
  putU32(badVersion, 4, 3);
  Bytes hugeCount = good;
  putU32(hugeCount, 8, 0xFFFFFFFFu);
  Bytes offsetPastEnd = good;
  putU32(offsetPastEnd, 16 + 20, std::uint32_t(good.size() + 1));
  Bytes sizePastEnd = good;
  putU32(sizePastEnd, 16 + 24, 0xFFFFFFF0u);
  Bytes unterminatedType = good;
  std::memset(&unterminatedType[16], 'A', kres::kTypeNameSize);
  for (const Bytes* b : {&badMagic, &badVersion, &hugeCount, &offsetPastEnd, &sizePastEnd}) {
    EXPECT_FALSE(find(*b, "RC_DATA", 112));
  }
  EXPECT_FALSE(find(unterminatedType, "RC_DATA", 112));
  EXPECT_TRUE(find(unterminatedType, std::string(kres::kTypeNameSize, 'A').c_str(), 112));
  for (std::size_t n = 0; n < good.size(); ++n) {
    const Bytes cut(good.begin(), good.begin() + long(n));
    const unsigned char* data = nullptr;
    std::uint32_t size = 0;
    if (kres::findInSection(cut.data(), cut.size(), "#6", 1, &data, &size)) {
      EXPECT_LE(data + size, cut.data() + cut.size());
    }
  }
}
