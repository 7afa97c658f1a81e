#include "system/UninstallEntry.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/WinDefs.h"
#include "support/RegistryProbe.h"
#include "support/Targets.h"
#include "system/RegistryHelpers.h"

namespace {

const std::string kEntry = std::string(kUninstallKey) + "\\Kestrane Test Product";

struct Inputs {
  const char* texts[7] = {"Kestrane\\Kestrane Test Product",
                          "Kestrane Demo",
                          "https://example.com",
                          "C:\\Program Files\\Kestrane\\Uninstall.exe",
                          "C:\\Program Files\\Kestrane\\Demo.exe",
                          "Removes the product",
                          "https://example.com/demo"};
  const char* contact = "Customer Support";
  bool registerEntry() const {
    return registerUninstallEntry(testTarget(), texts[0], texts[1], texts[2], texts[3], texts[4],
                                  texts[5], texts[6], 2050, contact);
  }
};

class UninstallEntry : public ::testing::Test {
 protected:
  void SetUp() override { deleteKeyTree(HKEY_LOCAL_MACHINE, kEntry.c_str()); }
  void TearDown() override { deleteKeyTree(HKEY_LOCAL_MACHINE, kEntry.c_str()); }
};

}  // namespace

TEST_F(UninstallEntry, WritesTheFifteenValuesUnderTheLastNamePart) {
  ASSERT_TRUE(Inputs().registerEntry());
  const struct {
    const char* name;
    const char* text;
  } texts[] = {
      {"DisplayName", "Kestrane\\Kestrane Test Product"},
      {"UninstallString", "\"C:\\Program Files\\Kestrane\\Uninstall.exe\""},
      {"DisplayIcon", "\"C:\\Program Files\\Kestrane\\Demo.exe\""},
      {"Publisher", "Kestrane Demo"},
      {"URLInfoAbout", "https://example.com"},
      {"Comments", "Removes the product"},
      {"URLUpdateInfo", "https://example.com/demo"},
      {"HelpLink", "https://example.com/demo"},
      {"Contact", "Customer Support"},
      {"QuietUninstallString", "\"C:\\Program Files\\Kestrane\\Uninstall.exe\" /quiet"},
  };
  for (const auto& t : texts) EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kEntry, t.name), t.text);
  const struct {
    const char* name;
    long long value;
  } flags[] = {{"Language", 0},
               {"NoModify", 1},
               {"NoRepair", 1},
               {"WindowsInstaller", 0},
               {"EstimatedSize", 2050}};
  for (const auto& f : flags) EXPECT_EQ(dwordOf(HKEY_LOCAL_MACHINE, kEntry, f.name), f.value);
  EXPECT_EQ(valueNamesOf(HKEY_LOCAL_MACHINE, kEntry).size(), 15u);

  // Without a contact there is no Contact, not even the one of an earlier install.
  for (const char* none : {"", static_cast<const char*>(nullptr)}) {
    Inputs in;
    in.contact = none;
    ASSERT_TRUE(in.registerEntry());
    EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kEntry, "Contact"), "<missing>");
    EXPECT_EQ(valueNamesOf(HKEY_LOCAL_MACHINE, kEntry).size(), 14u);
  }
}

TEST_F(UninstallEntry, AnEmptyInputWritesNothing) {
  const std::size_t before = subkeysOf(HKEY_LOCAL_MACHINE, kUninstallKey).size();
  for (int i = 0; i < 7; ++i) {
    for (const char* missing : {"", static_cast<const char*>(nullptr)}) {
      Inputs in;
      in.texts[i] = missing;
      EXPECT_FALSE(in.registerEntry()) << i;
      EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kEntry)) << i;
    }
  }
  // A name that ends in a separator leaves no entry name: the values would land on
  // the Uninstall key itself.
  for (const char* name : {"Kestrane\\", "Kestrane/", "C:"}) {
    Inputs in;
    in.texts[0] = name;
    EXPECT_FALSE(in.registerEntry()) << name;
    EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "<missing>");
  }
  EXPECT_EQ(subkeysOf(HKEY_LOCAL_MACHINE, kUninstallKey).size(), before);
}
