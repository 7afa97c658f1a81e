// The registry calls as Windows answers them; under Wine these run against Wine's
// real registry, which holds the host backend to the same answers.
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/WinDefs.h"
#include "support/RegistryProbe.h"
#include "system/RegistryHelpers.h"

namespace {

const char* kBase = "Software\\KestraneTests\\Registry";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    deleteKeyTree(HKEY_CURRENT_USER, kBase);
    ASSERT_EQ(platform::regCreateKey(HKEY_CURRENT_USER, kBase, KEY_ALL_ACCESS, &key_),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    platform::regCloseKey(key_);
    deleteKeyTree(HKEY_CURRENT_USER, kBase);
  }
  platform::RegKey key_ = nullptr;
};

}  // namespace

TEST_F(Registry, KeysAreFoundInAnyLetterCase) {
  platform::RegKey nested = nullptr;
  ASSERT_EQ(platform::regCreateKey(key_, "One\\Two\\Three", KEY_ALL_ACCESS, &nested),
            ERROR_SUCCESS);
  EXPECT_EQ(platform::regSetValue(nested, "Name", REG_SZ, "v", 2), ERROR_SUCCESS);
  platform::regCloseKey(nested);
  EXPECT_EQ(platform::regOpenKey(key_, "ONE\\two\\tHREE", KEY_READ, &nested), ERROR_SUCCESS);
  EXPECT_EQ(textOf(nested, "", "NAME"), "v");
  platform::regCloseKey(nested);
  EXPECT_EQ(platform::regOpenKey(key_, "One\\Four", KEY_READ, &nested), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(nested, nullptr);

  platform::regCreateKey(key_, "apple", KEY_READ, &nested);
  platform::regCloseKey(nested);
  EXPECT_EQ(subkeysOf(key_, ""), (std::vector<std::string>{"apple", "One"}));
  char name[4];
  EXPECT_EQ(platform::regEnumKey(key_, 0, name, sizeof name), ERROR_MORE_DATA);
  EXPECT_EQ(platform::regEnumKey(key_, 2, name, sizeof name), ERROR_NO_MORE_ITEMS);
}

TEST_F(Registry, DefaultTextIsMeasuredByTheSystem) {
  // RegSetValueA stores the text with its terminator, whatever size it is handed.
  EXPECT_EQ(platform::regSetDefaultText(key_, "Sub", "abc", 3), ERROR_SUCCESS);
  RegValue v;
  ASSERT_TRUE(readValue(key_, "Sub", nullptr, v));
  EXPECT_EQ(v.type, REG_SZ);
  EXPECT_EQ(v.data, std::string("abc", 4));

  char text[16];
  std::int32_t size = sizeof text;
  EXPECT_EQ(platform::regQueryDefaultText(key_, "Sub", text, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 4);
  EXPECT_STREQ(text, "abc");
  // A key without a default value reads as the empty text; a missing key fails.
  size = sizeof text;
  EXPECT_EQ(platform::regQueryDefaultText(key_, nullptr, text, &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "");
  size = 2;
  EXPECT_EQ(platform::regQueryDefaultText(key_, "Sub", text, &size), ERROR_MORE_DATA);
  EXPECT_EQ(platform::regQueryDefaultText(key_, "Missing", text, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, ValuesAreListedDeletedAndGuardedByAccess) {
  EXPECT_EQ(platform::regSetValue(key_, nullptr, REG_SZ, "d", 2), ERROR_SUCCESS);
  EXPECT_EQ(platform::regSetValue(key_, "Empty", REG_NONE, nullptr, 0), ERROR_SUCCESS);
  // Windows lists values in the order they were made, Wine by name.
  const std::vector<std::string> listed = valueNamesOf(key_, "");
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_TRUE(listed[0] == "" || listed[1] == "");  // the default value, unnamed
  const std::uint32_t empty = listed[0] == "Empty" ? 0 : 1;
  EXPECT_EQ(listed[empty], "Empty");
  char name[4];
  std::uint32_t size = 3;  // "Empty" and its terminator need 6
  EXPECT_EQ(platform::regEnumValue(key_, empty, name, &size, nullptr), ERROR_MORE_DATA);
  size = sizeof name;
  EXPECT_EQ(platform::regEnumValue(key_, 2, name, &size, nullptr), ERROR_NO_MORE_ITEMS);

  platform::RegKey reader = nullptr;
  ASSERT_EQ(platform::regOpenKey(HKEY_CURRENT_USER, kBase, KEY_QUERY_VALUE, &reader),
            ERROR_SUCCESS);
  EXPECT_EQ(platform::regSetValue(reader, "x", REG_SZ, "y", 2), ERROR_ACCESS_DENIED);
  EXPECT_EQ(platform::regDeleteValue(reader, "Empty"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(platform::regEnumKey(reader, 0, name, sizeof name), ERROR_ACCESS_DENIED);
  platform::regCloseKey(reader);

  EXPECT_EQ(platform::regDeleteValue(key_, "EMPTY"), ERROR_SUCCESS);
  EXPECT_EQ(platform::regDeleteValue(key_, "Empty"), ERROR_FILE_NOT_FOUND);
  std::uint32_t bytes = 0;
  EXPECT_EQ(platform::regQueryValue(key_, "Empty", nullptr, nullptr, &bytes), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, OnlyKeysWithoutSubkeysAreDeleted) {
  platform::RegKey child = nullptr;
  ASSERT_EQ(platform::regCreateKey(key_, "Parent\\Child", KEY_ALL_ACCESS, &child), ERROR_SUCCESS);
  EXPECT_EQ(platform::regDeleteKey(key_, "Parent", 0), ERROR_ACCESS_DENIED);
  EXPECT_EQ(platform::regDeleteKey(key_, "Parent\\Child", 0), ERROR_SUCCESS);
  // The handle of a deleted key stays valid but reaches nothing.
  EXPECT_EQ(platform::regSetValue(child, "x", REG_SZ, "y", 2), ERROR_KEY_DELETED);
  EXPECT_EQ(platform::regCloseKey(child), ERROR_SUCCESS);
  EXPECT_EQ(platform::regDeleteKey(key_, "Parent", 0), ERROR_SUCCESS);
  EXPECT_EQ(platform::regDeleteKey(key_, "Parent", 0), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, AccentedNamesAndTextKeepEveryLetter) {
  // Windows-1252 names and text, whatever code page the system itself runs in.
  const char* publisher = "Soci\xE9t\xE9 G\xE9n\xE9rale Test";
  const char* value = "Nom \xAB\xE9t\xE9\xBB";
  const char* text =
      "\x80 5, na\xEFve fa\xE7"
      "ade \xBD";
  platform::RegKey nested = nullptr;
  ASSERT_EQ(platform::regCreateKey(key_, (std::string(publisher) + "\\Caf\xE9 M\xFCller").c_str(),
                                   KEY_ALL_ACCESS, &nested),
            ERROR_SUCCESS);
  EXPECT_EQ(
      platform::regSetValue(nested, value, REG_SZ, text, std::uint32_t(std::strlen(text) + 1)),
      ERROR_SUCCESS);
  platform::regCloseKey(nested);

  // The accented letters fold like the others.
  ASSERT_EQ(platform::regOpenKey(key_, "SOCI\xC9T\xC9 G\xC9N\xC9RALE TEST\\CAF\xC9 M\xDCLLER",
                                 KEY_READ, &nested),
            ERROR_SUCCESS);
  EXPECT_EQ(textOf(nested, "", value), text);
  EXPECT_EQ(valueNamesOf(nested, ""), std::vector<std::string>{value});
  platform::regCloseKey(nested);
  EXPECT_EQ(subkeysOf(key_, ""), std::vector<std::string>{publisher});

  EXPECT_EQ(platform::regSetDefaultText(key_, "\xC6sop", text, 0), ERROR_SUCCESS);
  char read[32];
  std::int32_t size = sizeof read;
  EXPECT_EQ(platform::regQueryDefaultText(key_, "\xE6SOP", read, &size), ERROR_SUCCESS);
  EXPECT_STREQ(read, text);
  EXPECT_EQ(size, std::int32_t(std::strlen(text) + 1));
}
