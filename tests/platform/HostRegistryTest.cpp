// The host registry's own promises: the file it keeps, the order it keeps values
// in, and failures on request.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/WinDefs.h"
#include "platform/host/FailureInjection.h"
#include "platform/host/HostRegistry.h"
#include "support/HostMachine.h"
#include "support/RegistryProbe.h"
#include "support/Targets.h"
#include "system/RegistryHelpers.h"
#include "system/UninstallEntry.h"

namespace {

const std::string kEntry = std::string(kUninstallKey) + "\\Host Registry Test";

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool registerEntry() {
  return registerUninstallEntry(testTarget(), "Host Registry Test", "Kestrane Demo",
                                "https://example.com", "C:\\Demo\\Uninstall.exe",
                                "C:\\Demo\\Demo.exe", "Removes it", "https://example.com/demo", 12,
                                "Customer Support");
}

class HostRegistry : public ::testing::Test {
 protected:
  void SetUp() override { deleteKeyTree(HKEY_LOCAL_MACHINE, kEntry.c_str()); }
  void TearDown() override {
    platform::host::clearFailures();
    deleteKeyTree(HKEY_LOCAL_MACHINE, kEntry.c_str());
  }
};

}  // namespace

TEST_F(HostRegistry, UninstallValuesAreWrittenInTheirOrder) {
  ASSERT_TRUE(registerEntry());
  EXPECT_EQ(valueNamesOf(HKEY_LOCAL_MACHINE, kEntry),
            (std::vector<std::string>{
                "DisplayName", "UninstallString", "DisplayIcon", "Publisher", "URLInfoAbout",
                "Comments", "URLUpdateInfo", "HelpLink", "Contact", "Language", "NoModify",
                "NoRepair", "WindowsInstaller", "EstimatedSize", "QuietUninstallString"}));
  // The first write that fails ends the entry; what came before stays.
  for (int failing : {1, 5, 13, 15}) {
    deleteKeyTree(HKEY_LOCAL_MACHINE, kEntry.c_str());
    platform::host::failNthCall(platform::host::HostCall::RegistryWrite, failing);
    EXPECT_FALSE(registerEntry());
    EXPECT_EQ(valueNamesOf(HKEY_LOCAL_MACHINE, kEntry).size(), std::size_t(failing - 1));
  }
}

TEST_F(HostRegistry, LivesInTheRegistryFileAcrossRestarts) {
  ASSERT_TRUE(registerEntry());
  const std::string path = platform::host::registryFilePath();
  const std::string bytes = fileBytes(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(std::ifstream(path + ".tmp").good(), false);

  platform::host::reloadRegistry();
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kEntry, "UninstallString"), "\"C:\\Demo\\Uninstall.exe\"");
  EXPECT_EQ(dwordOf(HKEY_LOCAL_MACHINE, kEntry, "NoModify"), 1);
  EXPECT_EQ(fileBytes(path), bytes);

  // A file that is no export is kept aside, and the machine starts afresh.
  std::ofstream(path, std::ios::binary | std::ios::trunc) << "not a registry";
  platform::host::reloadRegistry();
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kEntry));
  EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, "CLSID"));
  EXPECT_EQ(fileBytes(path + ".unreadable"), "not a registry");
  std::remove((path + ".unreadable").c_str());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  platform::host::reloadRegistry();
  EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, kEntry));
}

// A 32-bit program on 64-bit Windows writes the keys Windows redirects below
// WOW6432Node unless it names the 64-bit view; the shared ones, and everything on
// a 32-bit Windows, stay where they are named. Each case is written in its view,
// found where it lies (looked at in the 64-bit view), and deleted in its view.
TEST(HostRegistryViews, RedirectedKeysLandInTheirView) {
  const struct {
    bool x64;
    platform::RegKey root;
    std::uint32_t view;
    const char* key;
    const char* lies;  // below HKEY_LOCAL_MACHINE
    bool shared;       // the other view sees it too
  } cases[] = {
      {true, HKEY_LOCAL_MACHINE, 0, "Software\\Kestrane View",
       "Software\\WOW6432Node\\Kestrane View", false},
      {true, HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Kestrane View",
       "Software\\Kestrane View", false},
      {true, HKEY_LOCAL_MACHINE, 0, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KV",
       "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KV", false},
      {true, HKEY_LOCAL_MACHINE, 0, "Software\\Policies\\Kestrane View",
       "Software\\Policies\\Kestrane View", true},
      {true, HKEY_CLASSES_ROOT, 0, "CLSID\\{KV}", "Software\\Classes\\WOW6432Node\\CLSID\\{KV}",
       false},
      {true, HKEY_CLASSES_ROOT, KEY_WOW64_64KEY, "CLSID\\{KV}", "Software\\Classes\\CLSID\\{KV}",
       false},
      {true, HKEY_CLASSES_ROOT, 0, ".kview", "Software\\Classes\\.kview", true},
      {false, HKEY_LOCAL_MACHINE, 0, "Software\\Kestrane View", "Software\\Kestrane View", true},
      {false, HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Kestrane View",
       "Software\\Kestrane View", true},
  };
  const RegRoot machine(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY);
  for (const auto& c : cases) {
    useMachine(c.x64);
    const RegRoot root(c.root, c.view);
    const std::string where = std::string(c.key) + " in view " + std::to_string(c.view);
    ASSERT_TRUE(writeRegString(root, c.key, "Value", "here")) << where;
    char text[16] = {};
    EXPECT_TRUE(readRegString(machine, c.lies, "Value", text, sizeof text)) << where;
    EXPECT_TRUE(readRegString(root, c.key, "Value", text, sizeof text)) << where;
    const RegRoot other(c.root, c.view == 0 ? KEY_WOW64_64KEY : 0);
    EXPECT_EQ(readRegString(other, c.key, "Value", text, sizeof text), c.shared) << where;
    EXPECT_EQ(deleteKeyTree(root, c.key), ERROR_SUCCESS) << where;
    EXPECT_FALSE(readRegString(machine, c.lies, "Value", text, sizeof text)) << where;
  }
  useMachine(false);
}
