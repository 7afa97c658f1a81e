// How a setup's version meets the one an entry says is installed, written as
// the registration stage writes it: "2.1" against setups of other versions.
#include "system/InstalledVersion.h"

#include <gtest/gtest.h>

#include "platform/WinDefs.h"
#include "support/Targets.h"
#include "system/RegistryHelpers.h"
#include "system/UninstallEntry.h"

TEST(InstalledVersion, AnOlderSetupMeetsANewerProduct) {
  InstallModel model;
  model.displayName = "Kestrane Versioned Product";
  SetupString key;
  ASSERT_TRUE(uninstallEntryKey(model.displayName.text(), key));
  const InstallTarget target = testTarget(model);
  deleteKeyTree(HKEY_LOCAL_MACHINE, key.text());

  ProductVersion ours;
  SetupString installed;
  ASSERT_TRUE(parseProductVersion("2.0", ours));
  EXPECT_EQ(meetInstalledVersion(target, model, ours, installed), VersionMeeting::NoneInstalled);

  ASSERT_TRUE(writeRegString(target.machine, key.text(), "DisplayVersion", "2.1"));
  const struct {
    const char* setup;  // empty: a setup without a version
    VersionMeeting meeting;
  } cases[] = {
      {"2.0.9", VersionMeeting::Newer},    {"2.1.0.0", VersionMeeting::Same},
      {"2.1.1", VersionMeeting::Older},    {"10.0", VersionMeeting::Older},
      {"", VersionMeeting::NoneInstalled},
  };
  for (const auto& c : cases) {
    parseProductVersion(c.setup, ours);
    EXPECT_EQ(meetInstalledVersion(target, model, ours, installed), c.meeting) << c.setup;
  }
  EXPECT_STREQ(installed.text(), "2.1");
  deleteKeyTree(HKEY_LOCAL_MACHINE, key.text());
}
