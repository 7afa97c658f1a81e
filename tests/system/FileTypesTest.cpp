#include "system/FileTypes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/Paths.h"
#include "package/PackageBytes.h"
#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "support/RegistryProbe.h"
#include "support/Targets.h"
#include "system/FileOps.h"
#include "system/RegistryHelpers.h"

namespace {

const char* kProgId = "KestraneTest.Doc";
const char* kOther = "Another.Doc";
const char* kFolder = "C:\\kestrane-tests\\file types";
const char* kApp = "C:\\kestrane-tests\\file types\\Demo App.exe";

std::string extKey(const char* ext) {
  return std::string(".") + ext;
}

std::vector<std::string> openWith(const char* ext) {
  return valueNamesOf(HKEY_CLASSES_ROOT, extKey(ext) + "\\OpenWithProgids");
}

bool listed(const char* ext, const char* progId) {
  for (const std::string& name : openWith(ext)) {
    if (name == progId) return true;
  }
  return false;
}

std::string owner(const char* ext) {
  return textOf(HKEY_CLASSES_ROOT, extKey(ext), nullptr);
}

// What the commands name: the short form when there is one, quoted if it holds a
// blank.
std::string programText() {
  char shortPath[kPathBufferSize];
  std::string path =
      platform::getShortPathName(kApp, shortPath, sizeof shortPath) > 0 ? shortPath : kApp;
  return path.find(' ') != std::string::npos ? "\"" + path + "\"" : path;
}

class FileTypes : public ::testing::Test {
 protected:
  void SetUp() override {
    createFolder("C:\\kestrane-tests");
    createFolder(kFolder);
    ByteStream exe;
    exe.appendBytes(3, "exe");
    ASSERT_EQ(writeStreamToFile(exe, kApp), S_OK);
    clean();
  }
  void TearDown() override {
    clean();
    deleteTree(kFolder, 0, true);
  }
  static void clean() {
    for (const char* key : {kProgId, "Applications\\Demo App.exe", ".kst1", ".kst2", ".kst3"}) {
      deleteKeyTree(HKEY_CLASSES_ROOT, key);
    }
    deleteKeyTree(HKEY_LOCAL_MACHINE, "software\\Kestrane Demo");
    char ext[16];
    for (int k = 0; k <= 100; ++k) {
      std::snprintf(ext, sizeof ext, ".k%03d", k);
      deleteKeyTree(HKEY_CLASSES_ROOT, ext);
    }
  }
};

}  // namespace

TEST(DottedExtension, PutsOneDotInFront) {
  for (const auto& c : {std::pair<const char*, const char*>{"txt", ".txt"},
                        {".txt", ".txt"},
                        {"", "."},
                        {"..x", "..x"}}) {
    EXPECT_EQ(dottedExtension(c.first), c.second);
  }
}

TEST_F(FileTypes, ProgIdIsWrittenAfreshWithTheShortPath) {
  writeRegString(HKEY_CLASSES_ROOT, (std::string(kProgId) + "\\shell\\print\\command").c_str(),
                 nullptr, "old verb");
  ASSERT_TRUE(registerProgId(testTarget(), false, kProgId, "Test document", kApp, 3,
                             "{BB2E617C-0920-11D1-9A0B-00C04FC2D6C1}",
                             "{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}"));
  const std::string k = kProgId;
  const std::string program = programText();
  char shortPath[kPathBufferSize];
  const std::string iconPath =
      platform::getShortPathName(kApp, shortPath, sizeof shortPath) > 0 ? shortPath : kApp;
  const struct {
    std::string key;
    std::string text;
  } rows[] = {
      {k, "Test document"},
      {k + "\\DefaultIcon", iconPath + ",3"},
      {k + "\\shell\\open\\command", program + " \"%1\""},
      {k + "\\shell\\edit\\command", program + " \"%1\""},
      {k + "\\shell\\open\\ddeexec", "[open(\"%1\")]"},
      {k + "\\shell\\edit\\ddeexec", "[edit(\"%1\")]"},
      {k + "\\shellex\\{BB2E617C-0920-11D1-9A0B-00C04FC2D6C1}",
       "{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}"},
  };
  for (const auto& row : rows) EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, row.key, nullptr), row.text);
  // The old verb went with the old key.
  EXPECT_EQ(subkeysOf(HKEY_CLASSES_ROOT, k + "\\shell"),
            (std::vector<std::string>{"edit", "open"}));

  // An application's own entry, without a handler slot unless both parts are given.
  ASSERT_TRUE(
      registerProgId(testTarget(), true, "Demo App.exe", "Demo App", kApp, 0, "{slot}", nullptr));
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, "Applications\\Demo App.exe", nullptr), "Demo App");
  EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "Applications\\Demo App.exe\\shellex"));

  // Without DDE the same commands, and no DDE message left from before.
  ASSERT_TRUE(registerProgId(testTarget(), false, kProgId, "Test document", kApp, 3, nullptr,
                             nullptr, false));
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, k + "\\shell\\open\\command", nullptr), program + " \"%1\"");
  for (const char* verb : {"open", "edit"}) {
    EXPECT_EQ(subkeysOf(HKEY_CLASSES_ROOT, k + "\\shell\\" + verb),
              (std::vector<std::string>{"command"}))
        << verb;
  }

  EXPECT_FALSE(registerProgId(testTarget(), false, kProgId, "", kApp, 0, nullptr, nullptr));
  EXPECT_FALSE(
      registerProgId(testTarget(), false, kProgId, "Test document", nullptr, 0, nullptr, nullptr));
  EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, k + "\\shell\\open"));  // refused before deleting
}

TEST_F(FileTypes, UncheckedExtensionsGoBackToTheirOwners) {
  // Owned by another program: it stays with it, and lists us.
  takeExtension(testTarget(), kOther, "kst1", 1);
  EXPECT_FALSE(releaseExtension(testTarget(), kProgId, "kst1"));
  EXPECT_TRUE(addOpenWithProgid(testTarget(), kProgId, "kst1"));
  EXPECT_EQ(owner("kst1"), kOther);
  EXPECT_TRUE(listed("kst1", kOther) && listed("kst1", kProgId));

  // Ours from an earlier install: back to the first other ProgID listed.
  addOpenWithProgid(testTarget(), kOther, ".kst2");
  takeExtension(testTarget(), kProgId, ".kst2", 1);
  EXPECT_EQ(owner("kst2"), kProgId);
  SetupString first;
  ASSERT_TRUE(firstOtherProgid(testTarget(), first, "kst2"));
  EXPECT_EQ(first, kOther);  // listed first
  EXPECT_TRUE(releaseExtension(testTarget(), kProgId, "kst2"));
  EXPECT_EQ(owner("kst2"), kOther);
  EXPECT_TRUE(listed("kst2", kProgId));

  // Ours, in another letter case, and nobody else listed: no owner afterwards.
  takeExtension(testTarget(), "KESTRANETEST.doc", "kst3", 1);
  EXPECT_TRUE(extensionOwnedBy(testTarget(), kProgId, "kst3"));
  EXPECT_TRUE(releaseExtension(testTarget(), kProgId, "kst3"));
  EXPECT_EQ(owner("kst3"), "");
  EXPECT_EQ(openWith("kst3"), (std::vector<std::string>{kProgId}));
  EXPECT_FALSE(firstOtherProgid(testTarget(), first, "kst-missing"));
  EXPECT_FALSE(removeOpenWithProgid(testTarget(), kOther, "kst3"));
}

TEST_F(FileTypes, OptionalExtensionsFromPosition100AreUnchecked) {
  std::vector<std::string> optional;
  char ext[16];
  for (int k = 0; k <= 100; ++k) {
    std::snprintf(ext, sizeof ext, "k%03d", k);
    optional.push_back(ext);
  }
  PackageBytes p;
  p.header().u32(1).item("bin\\Demo App.exe", 0x40).text("Demo App").u32(1);
  p.text(kProgId).text("Test document").u32(0).text("").u32(0).list({"kst1"}).list(optional);
  ByteStream s;
  p.copyTo(s);
  InstallModel model;
  std::uint32_t position = 0;
  ASSERT_TRUE(model.readPackage(s, position)) << model.failureReason();
  InstallOptions options;
  options.model = &model;
  for (bool& choice : options.fileTypeChoices) choice = true;
  options.fileTypeChoices[1] = false;
  takeExtension(testTarget(), kOther, "k001", 1);
  ASSERT_TRUE(writeRegString(HKEY_CLASSES_ROOT, ".k002", nullptr, kOther));
  // Owned by one program, another listed ahead of it.
  ASSERT_TRUE(writeRegString(HKEY_CLASSES_ROOT, ".k003", nullptr, kOther));
  ASSERT_TRUE(addOpenWithProgid(testTarget(), "Viewer.Doc", "k003"));

  registerDocumentTypes(testTarget(), options, 0, kApp);
  EXPECT_EQ(textOf(HKEY_CLASSES_ROOT, "Applications\\Demo App.exe", nullptr), "Demo App");
  EXPECT_EQ(owner("kst1"), kProgId);
  EXPECT_EQ(owner("k000"), kProgId);
  EXPECT_EQ(owner("k001"), kOther);
  EXPECT_EQ(owner("k099"), kProgId);
  EXPECT_EQ(owner("k100"), "<missing>");
  for (const char* e : {"kst1", "k000", "k001", "k099", "k100"})
    EXPECT_TRUE(listed(e, kProgId)) << e;

  // What the install found, for the uninstall: a key it made, an owner it had to
  // list; the second install keeps the first one's record.
  const auto origins = [&model] {
    std::string text;
    for (const char* e : {"kst1", "k001", "k002", "k100", "kst9"}) {
      ExtensionOrigin o;
      text += !readExtensionOrigin(testTarget(), model, e, o) ? "?"
              : o.created
                  ? "new"
                  : "had " + std::string(o.previousOwner.text()) + (o.listedOwner ? " listed" : "");
      text += ";";
    }
    return text;
  };
  const std::string recorded = "new;had Another.Doc;had Another.Doc listed;new;?;";
  EXPECT_EQ(origins(), recorded);
  // The owner that listed itself nowhere is listed ahead of us, so a release finds it.
  EXPECT_EQ(openWith("k002"), (std::vector<std::string>{kOther, kProgId}));

  // The same type not selected: every optional extension is released, to its
  // owner before us where it had one.
  model.selectableItem = -1;
  registerDocumentTypes(testTarget(), options, 0, kApp);
  EXPECT_EQ(owner("k000"), "");
  EXPECT_EQ(owner("k001"), kOther);
  EXPECT_EQ(owner("k002"), kOther);
  EXPECT_EQ(owner("k003"), kOther);
  EXPECT_EQ(owner("kst1"), kProgId);
  EXPECT_EQ(origins(), recorded);
}
