#include "system/RegistryHelpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/WinDefs.h"
#include "support/RegistryProbe.h"

namespace {

const std::string kBase = "Software\\KestraneTests\\Helpers";

class RegistryHelpers : public ::testing::Test {
 protected:
  void SetUp() override { deleteKeyTree(HKEY_CURRENT_USER, kBase.c_str()); }
  void TearDown() override { deleteKeyTree(HKEY_CURRENT_USER, kBase.c_str()); }
  static std::string key(const char* sub) { return kBase + "\\" + sub; }
};

}  // namespace

TEST_F(RegistryHelpers, WritesStringsDwordsAndEmptyValues) {
  const std::string k = key("Values");
  EXPECT_TRUE(writeRegString(HKEY_CURRENT_USER, k.c_str(), nullptr, "default"));
  EXPECT_TRUE(writeRegString(HKEY_CURRENT_USER, k.c_str(), "Named", "text"));
  EXPECT_TRUE(writeRegDword(HKEY_CURRENT_USER, k.c_str(), "Number", 0x01020304));
  EXPECT_TRUE(writeRegEmptyValue(HKEY_CURRENT_USER, k.c_str(), "Marker"));
  RegValue v;
  ASSERT_TRUE(readValue(HKEY_CURRENT_USER, k, nullptr, v));
  EXPECT_EQ(v.data, std::string("default", 8));
  ASSERT_TRUE(readValue(HKEY_CURRENT_USER, k, "Named", v));
  EXPECT_EQ(v.data, std::string("text", 5));
  EXPECT_EQ(dwordOf(HKEY_CURRENT_USER, k, "Number"), 0x01020304);
  ASSERT_TRUE(readValue(HKEY_CURRENT_USER, k, "Marker", v));
  EXPECT_EQ(v.type, REG_NONE);
  EXPECT_EQ(v.data, "");

  EXPECT_FALSE(writeRegString(HKEY_CURRENT_USER, nullptr, "x", "y"));
  EXPECT_FALSE(writeRegString(HKEY_CURRENT_USER, k.c_str(), "x", nullptr));
  EXPECT_FALSE(writeRegDword(HKEY_CURRENT_USER, k.c_str(), nullptr, 1));
  EXPECT_FALSE(writeRegEmptyValue(HKEY_CURRENT_USER, k.c_str(), nullptr));
  EXPECT_EQ(valueNamesOf(HKEY_CURRENT_USER, k).size(), 4u);
}

TEST_F(RegistryHelpers, ReadsAnyValueIntoABoundedTerminatedBuffer) {
  const std::string k = key("Read");
  writeRegString(HKEY_CURRENT_USER, k.c_str(), nullptr, "Kestrane.Doc");
  writeRegDword(HKEY_CURRENT_USER, k.c_str(), "Number", 0x00434241);
  platform::RegKey raw = nullptr;
  platform::regCreateKey(HKEY_CURRENT_USER, k.c_str(), KEY_ALL_ACCESS, &raw);
  platform::regSetValue(raw, "Bare", REG_SZ, "abcdef", 6);  // stored without terminator
  platform::regCloseKey(raw);

  char buffer[16];
  EXPECT_TRUE(readRegString(HKEY_CURRENT_USER, k.c_str(), nullptr, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "Kestrane.Doc");
  EXPECT_TRUE(readRegString(HKEY_CURRENT_USER, k.c_str(), "Number", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "ABC");  // the type is not checked
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_TRUE(readRegString(HKEY_CURRENT_USER, k.c_str(), "Bare", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "abcdef");
  EXPECT_FALSE(readRegString(HKEY_CURRENT_USER, k.c_str(), "Bare", buffer, 6));
  EXPECT_FALSE(readRegString(HKEY_CURRENT_USER, k.c_str(), nullptr, buffer, 12));
  EXPECT_FALSE(readRegString(HKEY_CURRENT_USER, k.c_str(), "Missing", buffer, sizeof buffer));
  EXPECT_FALSE(readRegString(HKEY_CURRENT_USER, key("Missing").c_str(), nullptr, buffer, 16));
  EXPECT_FALSE(readRegString(HKEY_CURRENT_USER, nullptr, nullptr, buffer, sizeof buffer));
}

TEST_F(RegistryHelpers, DeletesWholeTreesAndReportsMissingKeys) {
  for (const char* sub : {"Tree\\a\\b\\c", "Tree\\a\\d", "Tree\\e", "Keep"}) {
    writeRegString(HKEY_CURRENT_USER, key(sub).c_str(), "v", sub);
  }
  EXPECT_EQ(deleteKeyTree(HKEY_CURRENT_USER, key("Tree").c_str()), ERROR_SUCCESS);
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key("Tree")));
  EXPECT_EQ(subkeysOf(HKEY_CURRENT_USER, kBase), (std::vector<std::string>{"Keep"}));
  EXPECT_EQ(deleteKeyTree(HKEY_CURRENT_USER, key("Tree").c_str()), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(deleteKeyTree(HKEY_CURRENT_USER, key("Keep\\Nothing").c_str()), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, key("Keep")));
  // An empty path would name the root itself.
  EXPECT_EQ(deleteKeyTree(HKEY_CURRENT_USER, ""), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(deleteKeyTree(HKEY_CURRENT_USER, nullptr), ERROR_INVALID_PARAMETER);
}

TEST(QuotePath, PutsQuotesAroundTheText) {
  for (const char* text : {"C:\\Program Files\\Demo.exe", ""}) {
    SetupString path(text);
    quotePath(path);
    EXPECT_EQ(path, ("\"" + std::string(text) + "\"").c_str());
  }
}
