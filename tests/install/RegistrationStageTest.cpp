// The whole install pass with every kind of item, as the worker runs it.
#include "app/AppMessages.h"
#include "install/RegistrationStage.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Paths.h"
#include "install/InstallWorker.h"
#include "package/PackageBytes.h"
#include "platform/Files.h"
#include "support/LinkProbe.h"
#include "support/MessageCollector.h"
#include "support/RegistryProbe.h"
#include "support/Targets.h"
#include "system/ComServer.h"
#include "system/FileOps.h"
#include "system/RegistryHelpers.h"
#include "system/Shortcuts.h"
#include "system/UninstallEntry.h"

namespace {

const char* kParent = "C:\\kestrane-tests\\stage";
const std::string kLocation = "C:\\kestrane-tests\\stage\\Kestrane Stage";
const char* kProduct = "Kestrane Stage Demo";
const char* kGuid = "{5B3C2A10-7E6D-4F8B-A1C2-D3E4F5061728}";
const char* kSlot = "{BB2E617C-0920-11D1-9A0B-00C04FC2D6C1}";
const char* kProgId = "KestraneStage.Doc";

std::string systemFile(const char* name) {
  char system[kPathBufferSize];
  platform::getSystemDirectory(system, sizeof system);
  return std::string(system) + "\\" + name;
}

std::string folder(bool menu) {
  SetupString f;
  if (menu) {
    programsMenuFolder(f, 1);
  } else {
    desktopFolder(f, 1);
  }
  return std::string(f.text()) + (menu ? std::string("\\") + kProduct : "");
}

class Stage : public ::testing::Test {
 protected:
  void SetUp() override {
    createFolder("C:\\kestrane-tests");
    createFolder(kParent);
    clean();
    PackageBytes p;
    PackageBytes::Texts texts;
    texts.displayName = kProduct;
    texts.moreUrl = "https://example.com/stage";
    texts.settingsKey = "Stage";
    texts.installFolder = "Kestrane Stage";
    texts.licence = {0};
    p.header(texts);
    p.u32(5);
    p.item("bin\\Demo.exe", 0x04 | 0x08 | 0x40)
        .text("Stage Demo")
        .text("Stage Demo")
        .text("Stage Demo");
    p.u32(1).text(kProgId).text("Stage document").u32(2).text(kSlot).u32(1);
    p.list({"ksd"}).list({"kso1", "kso2"});
    p.item("StageShell.dll", 0x80).text(kGuid).text("Stage Shell Extension");
    p.item("Uninstall.exe", 0x20).u32(0).text("Removes the stage demo");
    p.item("kstagehelper.dll", 0x02);
    p.item("kstagenocopy.dll", 0x01 | 0x02);
    ByteStream s;
    p.copyTo(s);
    std::uint32_t position = 0;
    ASSERT_TRUE(model_.readPackage(s, position)) << model_.failureReason();
    options_.model = &model_;
    options_.ParentFolder = kParent;
    options_.CurrentUser = true;
    options_.StartMenuEntry = options_.TopMenuEntry = options_.DesktopIcon = true;
    options_.fileTypeChoices[0] = true;  // kso1 checked, kso2 not
  }
  void TearDown() override {
    clean();
    deleteTree(kParent, 0, true);
  }
  static void clean() {
    deleteKeyTree(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + kProduct).c_str());
    for (const char* key : {kProgId, "Applications\\Demo.exe", ".ksd", ".kso1", ".kso2"}) {
      deleteKeyTree(HKEY_CLASSES_ROOT, key);
    }
    unregisterComServer(testTarget(), kGuid);
    deleteKeyTree(HKEY_LOCAL_MACHINE, "software\\Kestrane Demo\\Stage");
    for (const char* name : {"kstagehelper.dll", "kstagenocopy.dll"}) {
      platform::deleteFile(systemFile(name).c_str());
    }
    deleteTree(folder(true).c_str(), 0, true);
    platform::deleteFile((folder(false) + "\\Stage Demo.lnk").c_str());
  }

  void runPass() {
    MessageCollector collector;
    const WorkerNotifyTarget target{collector.window(), MSG_INSTALL_PROGRESS, MSG_INSTALL_DONE,
                                    MSG_INSTALL_ERROR};
    InstallWorker worker;
    worker.setNotifyTarget(&target);
    worker.setOptions(&options_, installTarget());
    worker.start();  // false too when the thread has already ended
    worker.waitUntilEnded();
    const std::vector<PostedMessage> messages = collector.take();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().message, MSG_INSTALL_DONE);
    EXPECT_EQ(messages.back().lParam, 1);
  }

  // Where the next pass goes: the model's folder below the options' parent, with
  // the links of the user alone when the options ask for them.
  const InstallTarget* installTarget() {
    installTarget_ = testTarget(model_);
    installTarget_.parentFolder = options_.ParentFolder;
    if (options_.CurrentUser) std::swap(installTarget_.links, installTarget_.otherLinks);
    return &installTarget_;
  }
  InstallModel model_;
  InstallOptions options_;
  InstallTarget installTarget_;
};

}  // namespace

TEST_F(Stage, RegistersEveryKindOfItem) {
  runPass();
  const std::string app = kLocation + "\\Demo.exe";
  EXPECT_TRUE(isDirectory(kLocation.c_str()));
  EXPECT_NE(platform::getFileAttributes(systemFile("kstagehelper.dll").c_str()),
            INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(platform::getFileAttributes(systemFile("kstagenocopy.dll").c_str()),
            INVALID_FILE_ATTRIBUTES);

  const std::string entry = std::string(kUninstallKey) + "\\" + kProduct;
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, entry, "UninstallString"),
            "\"" + kLocation + "\\Uninstall.exe\"");
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, entry, "DisplayIcon"), "\"" + app + "\"");
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, entry, "Comments"), "Removes the stage demo");

  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, "Applications\\Demo.exe", nullptr), "Stage Demo");
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, kProgId, nullptr), "Stage document");
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, std::string(kProgId) + "\\shellex\\" + kSlot, nullptr),
            kGuid);
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, ".ksd", nullptr), kProgId);
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, ".kso1", nullptr), kProgId);
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, ".kso2", nullptr), "<missing>");
  for (const char* ext : {".ksd", ".kso1", ".kso2"}) {
    EXPECT_EQ(valueNamesOf(HKEY_CLASSES_ROOT, std::string(ext) + "\\OpenWithProgids"),
              (std::vector<std::string>{kProgId}));
  }
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kGuid + "\\InProcServer32", nullptr),
            "\"" + kLocation + "\\StageShell.dll\"");

  LinkFacts facts;
  ASSERT_TRUE(readLink((folder(true) + "\\Stage Demo.lnk").c_str(), facts));
  EXPECT_EQ(facts.target, app);
  ASSERT_TRUE(readLink((folder(false) + "\\Stage Demo.lnk").c_str(), facts));
  EXPECT_EQ(facts.target, app);

  const std::string settings = "software\\Kestrane Demo\\Stage\\Install";
  EXPECT_EQ(dwordOf(HKEY_LOCAL_MACHINE, settings, "CurrentUser"), 1);
  EXPECT_EQ(textOf(HKEY_LOCAL_MACHINE, settings, "ParentFolder"), kParent);
  char shortPath[kPathBufferSize];
  EXPECT_EQ(
      textOf(HKEY_LOCAL_MACHINE, settings, "AppFile"),
      platform::getShortPathName(app.c_str(), shortPath, sizeof shortPath) > 0 ? shortPath : app);
}

TEST_F(Stage, NoLinksWithoutTheirOptions) {
  options_.StartMenuEntry = options_.DesktopIcon = false;
  runPass();
  EXPECT_FALSE(isDirectory(folder(true).c_str()));
  EXPECT_EQ(platform::getFileAttributes((folder(false) + "\\Stage Demo.lnk").c_str()),
            INVALID_FILE_ATTRIBUTES);
  // The settings are saved all the same.
  EXPECT_EQ(dwordOf(HKEY_LOCAL_MACHINE, "software\\Kestrane Demo\\Stage\\Install", "DesktopIcon"),
            0);
}
