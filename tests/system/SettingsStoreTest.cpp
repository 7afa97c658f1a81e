#include "system/SettingsStore.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Paths.h"
#include "package/PackageBytes.h"
#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "support/RegistryProbe.h"
#include "support/Targets.h"
#include "system/RegistryHelpers.h"

namespace {

// PackageBytes::header names the company "Kestrane Demo" and the settings key
// "Demo Product".
const std::string kSection = "software\\Kestrane Demo\\Demo Product\\Install";

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { deleteKeyTree(HKEY_LOCAL_MACHINE, "software\\Kestrane Demo"); }
  void TearDown() override { deleteKeyTree(HKEY_LOCAL_MACHINE, "software\\Kestrane Demo"); }

  void load(bool withOptionalExtensions) {
    PackageBytes p;
    p.header().u32(2).item("data.bin", 0).item("bin\\Demo.exe", 0x40).text("Demo").u32(1);
    p.text("Kestrane.Doc").text("Doc").u32(0).text("").u32(0).list({"kdc"});
    p.list(withOptionalExtensions ? std::vector<std::string>{"txt"} : std::vector<std::string>{});
    ByteStream s;
    p.copyTo(s);
    std::uint32_t position = 0;
    ASSERT_TRUE(model_.readPackage(s, position)) << model_.failureReason();
    options_.model = &model_;
    options_.ParentFolder = "C:\\Program Files";
    options_.ParentMenuEntry = "Games";
    options_.StartMenuEntry = true;
    options_.DesktopIcon = true;
  }

  InstallModel model_;
  InstallOptions options_;
};

}  // namespace

TEST_F(Settings, InstallSectionHoldsTheOptions) {
  load(true);
  options_.TopMenuEntry = true;
  saveInstallOptions(options_, testTarget(model_));
  EXPECT_EQ(dwordOf(HKEY_LOCAL_MACHINE, kSection, "CurrentUser"), 0);
  EXPECT_EQ(dwordOf(HKEY_LOCAL_MACHINE, kSection, "StartMenuEntry"), 1);
  EXPECT_EQ(dwordOf(HKEY_LOCAL_MACHINE, kSection, "TopMenuEntry"), 1);
  EXPECT_EQ(dwordOf(HKEY_LOCAL_MACHINE, kSection, "DesktopIcon"), 1);
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kSection, "ParentFolder"), "C:\\Program Files");
  // The menu group does not apply to a folder at the top of the menu.
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kSection, "ParentMenuEntry"), "");
  EXPECT_TRUE(options_.ParentMenuEntry.isEmpty());
  const char* app = "C:\\Program Files\\Demo Product\\Demo.exe";
  char shortPath[kPathBufferSize];
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kSection, "AppFile"),
            platform::getShortPathName(app, shortPath, sizeof shortPath) > 0 ? shortPath : app);
}

TEST_F(Settings, NoAppFileWithoutASelectableItem) {
  load(false);
  ASSERT_EQ(model_.selectableItem, -1);
  saveInstallOptions(options_, testTarget(model_));
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kSection, "ParentMenuEntry"), "Games");
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, kSection, "AppFile"), "<missing>");
  EXPECT_EQ(valueNamesOf(HKEY_LOCAL_MACHINE, kSection).size(), 6u);

  const SettingsStore store(testTarget(), "Kestrane Demo", "Demo Product");
  EXPECT_TRUE(store.putInt("Other", "Count", -1));
  EXPECT_TRUE(store.putText("Other", "Name", "text"));
  EXPECT_FALSE(store.putText("Other", "Name", nullptr));
  const std::string other = "software\\Kestrane Demo\\Demo Product\\Other";
  EXPECT_EQ(dwordOf(HKEY_LOCAL_MACHINE, other, "Count"), 0xFFFFFFFF);
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, other, "Name"), "text");
}

// A company or product name that is not one key would put the settings into some
// other publisher's key, or straight into "software".
TEST_F(Settings, NamesMustEachBeOneKey) {
  for (const auto& names : {std::make_pair("", "Demo"), std::make_pair("Kestrane Demo", ""),
                            std::make_pair("Other Vendor\\Other", "Demo"),
                            std::make_pair("Kestrane Demo", "..\\..\\Demo")}) {
    const SettingsStore store(testTarget(), names.first, names.second);
    EXPECT_FALSE(store.putInt("Install", "CurrentUser", 1)) << names.first << " " << names.second;
    EXPECT_FALSE(store.putText("Install", "ParentFolder", "C:\\"))
        << names.first << " " << names.second;
  }
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, "software\\Demo"));
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, "software\\Other Vendor"));
}
