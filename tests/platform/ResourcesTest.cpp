// The test program carries resources of its own (tests/CMakeLists.txt): a zlib
// body as RC_DATA 200 and three string-table entries.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/ByteStream.h"
#include "base/Inflate.h"
#include "base/SetupString.h"

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
