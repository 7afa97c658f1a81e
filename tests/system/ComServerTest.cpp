#include "system/ComServer.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/WinDefs.h"
#include "support/RegistryProbe.h"
#include "support/Targets.h"
#include "system/RegistryHelpers.h"

namespace {

const char* kClassId = "{6A1D3C5E-0B7F-4E2A-9C44-1F2E3D4C5B6A}";
const std::string kClassKey = std::string("CLSID\\") + kClassId;

class ComServer : public ::testing::Test {
 protected:
  void SetUp() override { clean(); }
  void TearDown() override { clean(); }
  static void clean() {
    deleteKeyTree(HKEY_CLASSES_ROOT, kClassKey.c_str());
    platform::RegKey approved = nullptr;
    if (platform::regOpenKey(HKEY_LOCAL_MACHINE, kApprovedShellExtensions, KEY_SET_VALUE,
                             &approved) == ERROR_SUCCESS) {
      platform::regDeleteValue(approved, kClassId);
      platform::regCloseKey(approved);
    }
  }
};

}  // namespace

TEST_F(ComServer, RegistrationReplacesStaleKeysAndQuotesThePath) {
  writeRegString(HKEY_CLASSES_ROOT, (kClassKey + "\\LocalServer32").c_str(), nullptr, "stale");
  writeRegString(HKEY_CLASSES_ROOT, (kClassKey + "\\InProcServer32").c_str(), "Extra", "stale");
  ASSERT_TRUE(registerComServer(testTarget(), kClassId, "Kestrane Shell Extension",
                                "C:\\Program Files\\Kestrane\\Shell.dll"));
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, kClassKey, nullptr), "Kestrane Shell Extension");
  EXPECT_EQ(subkeysOf(HKEY_CLASSES_ROOT, kClassKey), (std::vector<std::string>{"InProcServer32"}));
  const std::string server = kClassKey + "\\InProcServer32";
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, server, nullptr),
            "\"C:\\Program Files\\Kestrane\\Shell.dll\"");
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, server, "ThreadingModel"), "Apartment");
  EXPECT_EQ(valueNamesOf(HKEY_CLASSES_ROOT, server).size(), 2u);
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kApprovedShellExtensions, kClassId),
            "Kestrane Shell Extension");

  EXPECT_TRUE(unregisterComServer(testTarget(), kClassId));
  EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, kClassKey));
  EXPECT_FALSE(unregisterComServer(testTarget(), kClassId));
  EXPECT_FALSE(unregisterComServer(testTarget(), ""));
  for (const char* missing : {"", static_cast<const char*>(nullptr)}) {
    EXPECT_FALSE(registerComServer(testTarget(), missing, "Name", "C:\\x.dll"));
    EXPECT_FALSE(registerComServer(testTarget(), kClassId, missing, "C:\\x.dll"));
    EXPECT_FALSE(registerComServer(testTarget(), kClassId, "Name", missing));
  }
  EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, kClassKey));
}
