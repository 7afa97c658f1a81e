#include "system/Shortcuts.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Paths.h"
#include "package/PackageBytes.h"
#include "platform/Com.h"
#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "support/LinkProbe.h"
#include "support/Targets.h"
#include "system/FileOps.h"

namespace {

const char* kLocation = "C:\\kestrane-tests\\shortcuts\\Kestrane Test";
const char* kProduct = "Kestrane Shortcut Test";

std::string programs(int currentUser) {
  SetupString folder;
  EXPECT_TRUE(programsMenuFolder(folder, currentUser));
  return folder.text();
}

std::string desktop(int currentUser) {
  SetupString folder;
  EXPECT_TRUE(desktopFolder(folder, currentUser));
  return folder.text();
}

bool exists(const std::string& path) {
  return platform::getFileAttributes(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class Shortcuts : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::oleInitialize();
    createFolder("C:\\kestrane-tests");
    createFolder("C:\\kestrane-tests\\shortcuts");
    createFolder(kLocation);
    ByteStream content;
    content.appendBytes(3, "exe");
    for (const char* name : {"Demo.exe", "Help.chm"}) {
      ASSERT_EQ(writeStreamToFile(content, (std::string(kLocation) + "\\" + name).c_str()), S_OK);
    }
    clean();
  }
  void TearDown() override {
    clean();
    deleteTree("C:\\kestrane-tests\\shortcuts", 0, true);
    platform::oleUninitialize();
  }
  static void clean() {
    for (int user : {0, 1}) {
      deleteTree((programs(user) + "\\" + kProduct).c_str(), 0, true);
      platform::deleteFile((desktop(user) + "\\Kestrane Demo 1.lnk").c_str());
    }
  }

  // Two items: Demo.exe with its own link titles, Help.chm for the menu only.
  void load(std::uint32_t demoFlags, std::uint32_t helpFlags) {
    PackageBytes p;
    p.u32(0x91827364).u32(1).text(kProduct);
    p.text("Kestrane Demo").text("").text("").text("Settings").text("Kestrane Test").text("");
    p.blob(testdata::EncodeSolidJpeg(16, 32, 0x99, 0x66, 0x33))
        .blob(testdata::EncodeSolidGreyJpeg(8, 8, 0x80))
        .blob({0});
    p.u32(2).item("bin\\Demo.exe", demoFlags);
    if (demoFlags & kItemMenuShortcut) p.text("Kestrane Demo 1.5");
    if (demoFlags & kItemDesktopShortcut) p.text("Kestrane Demo 1.5");
    p.item("Help.chm", helpFlags);
    if (helpFlags & kItemMenuShortcut) p.text("");
    ByteStream s;
    p.copyTo(s);
    std::uint32_t position = 0;
    model_.reset();
    ASSERT_TRUE(model_.readPackage(s, position)) << model_.failureReason();
    options_.model = &model_;
    options_.TopMenuEntry = true;
  }

  InstallModel model_;
  InstallOptions options_;
};

}  // namespace

TEST(LinkFileName, ATitleLosesWhatFollowsItsLastDot) {
  for (const auto& c : {std::pair<const char*, const char*>{"Demo", "Demo.lnk"},
                        {"Demo 1.5", "Demo 1.lnk"},
                        {"Demo.exe", "Demo.lnk"},
                        {"docs\\Help.chm", "docs\\Help.lnk"}}) {
    EXPECT_EQ(linkFileName(c.first), c.second) << c.first;
  }
}

TEST(ProductMenuFolder, LiesStrictlyBelowThePrograms) {
  const std::string base = programs(0);
  const struct {
    int top;
    const char* parent;
    const char* name;
    const char* below;  // null: refused
  } cases[] = {
      {1, "Ignored", "Demo", "Demo"},
      {0, "Games", "Demo", "Games\\Demo"},
      {0, "", "Kestrane\\Demo", "Kestrane\\Demo"},
      {1, "..", "Demo", "Demo"},
      {0, "..", "Demo", nullptr},
      {0, "", "", nullptr},
      {1, "", "..", nullptr},
      {1, "", "...", nullptr},
      {1, "", "Demo\\..\\..", nullptr},
      {1, "", "\\Demo", nullptr},
      {1, "", "C:Demo", nullptr},
      {1, "", "D:\\Demo", nullptr},
  };
  for (const auto& c : cases) {
    SetupString folder("stale");
    const bool made = productMenuFolder(folder, base.c_str(), c.top, c.parent, c.name);
    EXPECT_EQ(made, c.below != nullptr) << c.name;
    EXPECT_EQ(folder, c.below != nullptr ? (base + "\\" + c.below).c_str() : "") << c.name;
  }
}

TEST_F(Shortcuts, LinksLeadToTheirTargets) {
  const std::string target = std::string(kLocation) + "\\Demo.exe";
  const std::string link = std::string(kLocation) + "\\Demo.lnk";
  ASSERT_TRUE(createShortcut(target.c_str(), link.c_str(), "The demo"));
  LinkFacts facts;
  ASSERT_TRUE(readLink(link.c_str(), facts));
  EXPECT_EQ(facts.target, target);
  EXPECT_EQ(facts.description, "The demo");
  EXPECT_FALSE(createShortcut(nullptr, link.c_str(), nullptr));
  EXPECT_FALSE(createShortcut(target.c_str(), nullptr, nullptr));
  EXPECT_FALSE(
      createShortcut(target.c_str(), "C:\\kestrane-tests\\no such folder\\x.lnk", nullptr));
}

TEST_F(Shortcuts, AReinstallReplacesTheMenuFolder) {
  load(kItemMenuShortcut, kItemMenuShortcut);
  const InstallTarget target = testTarget(model_);
  createMenuShortcuts(options_, target, kLocation);
  const std::string folder = programs(0) + "\\" + kProduct;
  LinkFacts facts;
  ASSERT_TRUE(readLink((folder + "\\Kestrane Demo 1.lnk").c_str(), facts));
  EXPECT_EQ(facts.target, std::string(kLocation) + "\\Demo.exe");
  ASSERT_TRUE(readLink((folder + "\\Help.lnk").c_str(), facts));
  EXPECT_EQ(facts.target, std::string(kLocation) + "\\Help.chm");

  load(kItemMenuShortcut, 0);
  createMenuShortcuts(options_, target, kLocation);
  EXPECT_TRUE(exists(folder + "\\Kestrane Demo 1.lnk"));
  EXPECT_FALSE(exists(folder + "\\Help.lnk"));

  // A product name that would not lie below the Programs folder is left alone.
  model_.displayName = "";
  createMenuShortcuts(options_, target, kLocation);
  EXPECT_TRUE(exists(folder + "\\Kestrane Demo 1.lnk"));
}

TEST_F(Shortcuts, DesktopLinkMovesWithTheAudience) {
  load(kItemDesktopShortcut, 0);
  InstallTarget target = testTarget(model_);
  createDesktopShortcuts(options_, target, kLocation);
  const std::string common = desktop(0) + "\\Kestrane Demo 1.lnk";
  const std::string own = desktop(1) + "\\Kestrane Demo 1.lnk";
  LinkFacts facts;
  ASSERT_TRUE(readLink(common.c_str(), facts));
  EXPECT_EQ(facts.target, std::string(kLocation) + "\\Demo.exe");
  EXPECT_FALSE(exists(own));

  // The same install for the user alone.
  std::swap(target.links, target.otherLinks);
  createDesktopShortcuts(options_, target, kLocation);
  EXPECT_FALSE(exists(common));
  ASSERT_TRUE(readLink(own.c_str(), facts));
  EXPECT_EQ(facts.target, std::string(kLocation) + "\\Demo.exe");
}
