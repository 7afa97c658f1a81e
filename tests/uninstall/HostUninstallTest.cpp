// The uninstaller against the emulated machine, in this process: a small product
// written byte by byte, installed by the setup's own install pass (kpack install)
// and removed again from the knowledge kpack would give its uninstaller.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Paths.h"
#include "base/Sha256.h"
#include "install/InstallPass.h"
#include "install/InstallPrinter.h"
#include "kpack/InstallCommand.h"
#include "package/PackageBytes.h"
#include "package/UninstallKnowledge.h"
#include "platform/Events.h"
#include "platform/Files.h"
#include "platform/Module.h"
#include "platform/Registry.h"
#include "platform/WinDefs.h"
#include "support/HostMachine.h"
#include "support/Targets.h"
#include "support/TestFiles.h"
#include "system/FileOps.h"
#include "system/FileTypes.h"
#include "system/RegistryHelpers.h"
#include "system/RunLog.h"
#include "texts/TextLoading.h"
#include "uninstall/QuietUninstall.h"
#include "uninstall/TemporaryCopy.h"
#include "uninstall/Uninstaller.h"

namespace {

// The header texts the tests vary; everything else of the product is fixed.
struct Names {
  std::string displayName = "Removal Product";
  std::string company = "Removal Company";
  std::string settingsKey = "Removal Product";
  std::string folder = "Removal Product";
  std::string progId = "Removal.Document";
  std::vector<std::string> extensions = {"rdoc"};
};

struct File {
  const char* name;
  std::uint32_t flags;
  const char* content;
};

// App.exe with one document type, a data file, a DLL copied to the system folder
// and the uninstaller.
const File kFiles[] = {
    {"App.exe", kItemMenuShortcut | kItemDesktopShortcut | kItemApplication, "application"},
    {"data.txt", 0, "the product's data"},
    {"helper.dll", kItemSystemCopy, "a helper library"},
    {"Uninstall.exe", kItemUninstaller, "the uninstaller"},
};

// The package (knowledge false) or the uninstaller's knowledge of it: the same
// records, each body replaced by the file's SHA-256, the uninstaller's by nothing.
std::vector<unsigned char> productBytes(const Names& n, bool knowledge) {
  PackageBytes p;
  PackageBytes::Texts texts;
  texts.displayName = n.displayName;
  texts.company = n.company;
  texts.moreUrl = "https://example.com/p";
  texts.settingsKey = n.settingsKey;
  texts.installFolder = n.folder;
  texts.licence = {'L', 0};
  p.header(texts);
  p.u32(std::uint32_t(std::size(kFiles)));
  for (const File& f : kFiles) {
    const std::string content = f.content;
    std::vector<unsigned char> body = PackageBytes::deflated(content);
    if (knowledge) {
      const Sha256Digest digest = sha256(content.data(), content.size());
      body.assign(digest.begin(), digest.end());
      if (f.flags & kItemUninstaller) body.clear();
    }
    p.text(f.name).u32(f.flags).u32(std::uint32_t(content.size())).blob(body);
    if (f.flags & kItemMenuShortcut) p.text("");
    if (f.flags & kItemDesktopShortcut) p.text("");
    if (f.flags & kItemUninstaller) p.u32(0).text("Removes it");
    if (f.flags & kItemApplication) {
      p.text("Removal App").u32(1);
      p.text(n.progId).text("Removal Document").u32(0).text("").u32(0);
      p.list(n.extensions).list({});
    }
  }
  return p.bytes;
}

std::string installFolder(const Names& n) {
  return "C:\\Program Files\\" + n.folder;
}

void install(const Names& n) {
  ByteStream stream;
  const std::vector<unsigned char> bytes = productBytes(n, false);
  stream.appendBytes(std::uint32_t(bytes.size()), bytes.data());
  InstallModel model;
  std::uint32_t position = 0;
  ASSERT_TRUE(model.readPackage(stream, position)) << model.failureReason();
  kpack::InstallArguments arguments;
  arguments.parentFolder = "C:\\Program Files";
  ASSERT_EQ(kpack::installPackage(model, arguments), 0);
}

// The plan the installed Uninstall.exe makes.
void planRemoval(const Names& n, UninstallPlan& plan) {
  const std::vector<unsigned char> bytes = productBytes(n, true);
  InstallModel model;
  EXPECT_TRUE(readUninstallKnowledge(bytes.data(), std::uint32_t(bytes.size()), model))
      << model.failureReason();
  SavedInstallOptions saved;
  readSavedInstallOptions(model, saved);
  const std::string own = installFolder(n) + "\\Uninstall.exe";
  EXPECT_TRUE(makeUninstallPlan(model, saved, own.c_str(), plan));
}

// Runs the uninstaller as it runs from the installed Uninstall.exe; returns what
// it left in the install folder.
std::vector<SetupString> uninstall(const Names& n, UninstallPlan& plan) {
  planRemoval(n, plan);
  removeInstallation(plan);
  return removeOwnFileAndFolder(plan);
}

bool exists(const std::string& windowsPath) {
  return platform::getFileAttributes(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool keyExists(const RegRoot& root, const std::string& key) {
  OpenKey opened;
  return opened.open(root, key.c_str(), KEY_READ) == ERROR_SUCCESS;
}

std::string defaultText(const std::string& key) {
  char text[kPathBufferSize];
  return readRegString(HKEY_CLASSES_ROOT, key.c_str(), nullptr, text, sizeof text) ? text
                                                                                   : "<none>";
}

// The names of the values of a key, in order.
std::string valueNames(platform::RegKey root, const std::string& key) {
  platform::RegKey opened = nullptr;
  if (platform::regOpenKey(root, key.c_str(), KEY_READ, &opened) != ERROR_SUCCESS) return "<none>";
  std::string names;
  char name[kPathBufferSize];
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t length = sizeof name;
    if (platform::regEnumValue(opened, i, name, &length, nullptr) != ERROR_SUCCESS) break;
    names += std::string(name) + ";";
  }
  platform::regCloseKey(opened);
  return names;
}

void writeText(const std::string& windowsPath, const std::string& text) {
  ByteStream s;
  s.appendBytes(std::uint32_t(text.size()), text.data());
  ASSERT_EQ(writeStreamToFile(s, windowsPath.c_str()), S_OK);
}

const char kPrograms[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
const char kPublicDesktop[] = "C:\\Users\\Public\\Desktop";
const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

}  // namespace

// Everything the setup wrote goes; a file the user added and one the user changed
// stay with their folder and are named in the closing message, as is the copy in
// the system folder.
TEST(HostUninstall, RemovesWhatItInstalledAndKeepsTheUsersFiles) {
  const Names n;
  install(n);
  const std::string folder = installFolder(n);
  ASSERT_TRUE(exists(folder + "\\data.txt"));
  ASSERT_TRUE(exists(std::string(kPrograms) + "\\Removal Product\\App.lnk"));
  ASSERT_TRUE(keyExists(HKEY_LOCAL_MACHINE, std::string(kUninstall) + "\\Removal Product"));
  writeText(folder + "\\data.txt", "the product's data, edited");
  writeText(folder + "\\my notes.txt", "mine");

  UninstallPlan plan;
  const std::vector<SetupString> remaining = uninstall(n, plan);

  ASSERT_EQ(remaining.size(), 2u);
  EXPECT_STREQ(remaining[0].text(), "data.txt");
  EXPECT_STREQ(remaining[1].text(), "my notes.txt");
  for (const char* gone : {"App.exe", "helper.dll", "Uninstall.exe"}) {
    EXPECT_FALSE(exists(folder + "\\" + gone)) << gone;
  }
  EXPECT_TRUE(exists("C:\\Windows\\System32\\helper.dll"));
  EXPECT_FALSE(exists(std::string(kPrograms) + "\\Removal Product"));
  EXPECT_FALSE(exists(std::string(kPublicDesktop) + "\\App.lnk"));
  for (const char* key : {"Removal.Document", ".rdoc", "Applications\\App.exe"}) {
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, key)) << key;
  }
  for (const std::string& key :
       {std::string("software\\Removal Company"), std::string(kUninstall) + "\\Removal Product"}) {
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, key)) << key;
  }
  const std::string message = finalMessage(plan, remaining, texts::TextSet()).text();
  for (const char* named : {"data.txt", "my notes.txt", "helper.dll"}) {
    EXPECT_NE(message.find(named), std::string::npos) << named << " in: " << message;
  }
  // In German (the test program's table): its own words where the table has
  // them, ours for the question, whose German format is damaged.
  texts::TextSet german;
  texts::loadTexts(platform::currentModule(), 0x0407, german);
  const std::string done = finalMessage(plan, {}, german).text();
  EXPECT_EQ(done.rfind(std::string(plan.displayName.text()) + " wurde entfernt.", 0), 0u) << done;
  EXPECT_EQ(confirmationText(plan, german), confirmationText(plan, texts::TextSet()));

  deleteTree(folder.c_str(), 0, true);
  platform::deleteFile("C:\\Windows\\System32\\helper.dll");
}

// A program still running from the install folder: the uninstaller names its file
// (and, when the system can tell, the program) before anything is removed, and
// goes on once it is let go.
TEST(HostUninstall, AFileInUseIsFoundBeforeAnythingIsRemoved) {
  const Names n;
  install(n);
  const std::string folder = installFolder(n);
  UninstallPlan plan;
  planRemoval(n, plan);
  const std::string own = folder + "\\Uninstall.exe";
  {
    UndeletableFile running((folder + "\\App.exe").c_str());
    UndeletableFile self(own.c_str());  // the uninstaller's own file never counts
    EXPECT_EQ(filesInUse(plan), std::vector<std::string>{folder + "\\App.exe"});
  }
  EXPECT_TRUE(filesInUse(plan).empty());

  const std::string text =
      filesInUseText({folder + "\\App.exe"}, {"App", "viewer.exe"}, texts::TextSet()).text();
  EXPECT_NE(text.find(folder + "\\App.exe"), std::string::npos) << text;
  EXPECT_NE(text.find("\n\nPrograms using the files: App, viewer.exe\n\n"), std::string::npos)
      << text;
  EXPECT_EQ(
      std::string(filesInUseText({"C:\\a.exe"}, {}, texts::TextSet()).text()).find("Programs"),
      std::string::npos);

  UninstallPlan done;
  uninstall(n, done);
  EXPECT_FALSE(exists(folder + "\\App.exe"));
  deleteTree(folder.c_str(), 0, true);
  platform::deleteFile("C:\\Windows\\System32\\helper.dll");
}

// An extension another program owned before the install is that program's again
// afterwards, listed under "OpenWithProgids" or not, with the list and values it
// had; an extension nobody had before is gone altogether, with what the system
// added to it; an empty one that was there stays.
TEST(HostUninstall, GivesExtensionsBackToTheirEarlierOwners) {
  Names n;
  n.displayName = n.settingsKey = n.folder = "Extension Product";
  n.progId = "Extension.Document";
  n.extensions = {"kuo", "kun", "kul", "kue"};
  for (const std::string& e : n.extensions) deleteKeyTree(HKEY_CLASSES_ROOT, ("." + e).c_str());
  takeExtension(testTarget(), "Other.Kuo", "kuo", 1);
  ASSERT_TRUE(writeRegString(HKEY_CLASSES_ROOT, ".kuo", "Content Type", "text/x-kuo"));
  // Owned by a program listed nowhere, another one listed.
  ASSERT_TRUE(writeRegString(HKEY_CLASSES_ROOT, ".kul", nullptr, "Unlisted.Kul"));
  ASSERT_TRUE(writeRegString(HKEY_CLASSES_ROOT, ".kul", "Content Type", "text/x-kul"));
  ASSERT_TRUE(addOpenWithProgid(testTarget(), "Viewer.Kul", "kul"));
  ASSERT_TRUE(writeRegString(HKEY_CLASSES_ROOT, ".kue", nullptr, ""));

  install(n);
  ASSERT_EQ(defaultText(".kuo"), "Extension.Document");
  ASSERT_EQ(valueNames(HKEY_CLASSES_ROOT, ".kuo\\OpenWithProgids"),
            "Other.Kuo;Extension.Document;");
  ASSERT_EQ(defaultText(".kul"), "Extension.Document");
  ASSERT_TRUE(writeRegString(HKEY_CLASSES_ROOT, ".kun", "PerceivedType", "text"));
  UninstallPlan plan;
  uninstall(n, plan);

  const struct {
    const char* key;
    const char* owner;
    const char* listed;
    const char* type;
  } kept[] = {{".kuo", "Other.Kuo", "Other.Kuo;", "text/x-kuo"},
              {".kul", "Unlisted.Kul", "Viewer.Kul;", "text/x-kul"},
              {".kue", "", "<none>", nullptr}};
  for (const auto& k : kept) {
    EXPECT_EQ(defaultText(k.key), k.owner) << k.key;
    EXPECT_EQ(valueNames(HKEY_CLASSES_ROOT, std::string(k.key) + "\\OpenWithProgids"), k.listed)
        << k.key;
    char type[64];
    if (k.type == nullptr) continue;
    ASSERT_TRUE(readRegString(HKEY_CLASSES_ROOT, k.key, "Content Type", type, sizeof type));
    EXPECT_STREQ(type, k.type);
  }
  EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, ".kun"));
  EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "Extension.Document"));

  for (const char* key : {".kuo", ".kul", ".kue"}) deleteKeyTree(HKEY_CLASSES_ROOT, key);
  platform::deleteFile("C:\\Windows\\System32\\helper.dll");
}

// Names that would point at a parent (an empty display or settings key name, a
// display name ending in a separator) plan nothing there, and the neighbours the
// setup never wrote survive the removal: other programs' entries, the company's
// other product, the Programs folder and what is in it.
TEST(HostUninstall, HostileNamesDeleteNothingOutsideWhatWasInstalled) {
  Names empty;
  empty.displayName = "";
  empty.settingsKey = "";
  empty.folder = "Hostile One";
  Names trailing;
  trailing.displayName = "Hostile\\";
  trailing.folder = "Hostile Two";
  trailing.settingsKey = "Hostile Two";
  for (const Names& n : {empty, trailing}) {
    SCOPED_TRACE("display name \"" + n.displayName + "\", settings key \"" + n.settingsKey + "\"");
    const std::string otherEntry = std::string(kUninstall) + "\\Other Product";
    const std::string otherSettings = "software\\Removal Company\\Other Product\\Install";
    ASSERT_TRUE(writeRegString(HKEY_LOCAL_MACHINE, otherEntry.c_str(), "DisplayName", "Other"));
    ASSERT_TRUE(writeRegDword(HKEY_LOCAL_MACHINE, otherSettings.c_str(), "DesktopIcon", 1));
    ASSERT_TRUE(createFolder((std::string(kPrograms) + "\\Other Folder").c_str()));
    writeText(std::string(kPrograms) + "\\Other Folder\\Other.lnk", "link");

    install(n);
    UninstallPlan plan;
    uninstall(n, plan);
    EXPECT_TRUE(plan.uninstallEntry.isEmpty()) << plan.uninstallEntry.text();
    EXPECT_EQ(plan.productKey.isEmpty(), n.settingsKey.empty()) << plan.productKey.text();

    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, otherEntry));
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, otherSettings));
    EXPECT_TRUE(exists(std::string(kPrograms) + "\\Other Folder\\Other.lnk"));
    EXPECT_TRUE(exists(kPrograms));
    EXPECT_FALSE(exists(std::string(kPrograms) + "\\Hostile"));
    EXPECT_FALSE(exists(installFolder(n)));
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "Removal.Document"));

    deleteKeyTree(HKEY_LOCAL_MACHINE, otherEntry.c_str());
    deleteKeyTree(HKEY_LOCAL_MACHINE, "software\\Removal Company");
    deleteTree((std::string(kPrograms) + "\\Other Folder").c_str(), 0, true);
    platform::deleteFile("C:\\Windows\\System32\\helper.dll");
  }
}

// A slash is an ordinary character of a key name: the settings of "Nordisk A/S"
// are one key below "software", saved by the install and removed again.
TEST(HostUninstall, ACompanyWithASlashInItsNameIsSavedAndRemoved) {
  Names n;
  n.company = "Nordisk A/S";
  install(n);
  const std::string company = "software\\Nordisk A/S";
  ASSERT_TRUE(keyExists(HKEY_LOCAL_MACHINE, company + "\\Removal Product\\Install"));
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, "software\\Nordisk A"));
  UninstallPlan plan;
  uninstall(n, plan);
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, company));
  deleteTree(installFolder(n).c_str(), 0, true);
  platform::deleteFile("C:\\Windows\\System32\\helper.dll");
}

// Run from a folder the setup did not make (copied to another folder, say), the
// uninstaller removes its own file there but never that folder, even empty.
TEST(HostUninstall, KeepsAFolderTheSetupDidNotMake) {
  const Names n;
  const std::vector<unsigned char> bytes = productBytes(n, true);
  InstallModel model;
  ASSERT_TRUE(readUninstallKnowledge(bytes.data(), std::uint32_t(bytes.size()), model));
  const std::string folder = "C:\\kestrane-tests\\Elsewhere";
  createFolder("C:\\kestrane-tests");
  ASSERT_TRUE(createFolder(folder.c_str()));
  writeText(folder + "\\Uninstall.exe", "the uninstaller");

  UninstallPlan plan;
  ASSERT_TRUE(
      makeUninstallPlan(model, SavedInstallOptions(), (folder + "\\Uninstall.exe").c_str(), plan));
  removeInstallation(plan);
  EXPECT_TRUE(removeOwnFileAndFolder(plan).empty());
  EXPECT_FALSE(exists(folder + "\\Uninstall.exe"));
  EXPECT_TRUE(exists(folder));
  deleteTree(folder.c_str(), 0, true);
}

// Each target installs the product into its own view's folders and keys, and the
// uninstaller, reading its target from the saved settings, takes each back from
// there: today's on a 32-bit Windows, then a 64-bit and a 32-bit one on a 64-bit
// Windows. The keys are looked at in the 64-bit view, where they lie.
TEST(HostUninstall, EveryTargetIsRemovedFromItsOwnView) {
  const struct {
    bool x64;
    RegistryView view;
    const char* programFiles;
    const char* system;
    const char* software;  // below HKEY_LOCAL_MACHINE
    const char* otherSoftware;
  } cases[] = {
      {false, RegistryView::Bits32, "C:\\Program Files", "C:\\Windows\\System32", "Software", ""},
      {true, RegistryView::Bits64, "C:\\Program Files", "C:\\Windows\\System32", "Software",
       "Software\\WOW6432Node"},
      {true, RegistryView::Bits32, "C:\\Program Files (x86)", "C:\\Windows\\SysWOW64",
       "Software\\WOW6432Node", "Software"},
  };
  const Names n;
  const RegRoot machine(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY);
  const std::string uninstallKey = std::string(kUninstall).substr(sizeof "Software");
  for (const auto& c : cases) {
    useMachine(c.x64);
    const std::string where = std::string(c.programFiles) + (c.x64 ? " on x64" : "");
    ByteStream stream;
    const std::vector<unsigned char> bytes = productBytes(n, false);
    stream.appendBytes(std::uint32_t(bytes.size()), bytes.data());
    InstallModel model;
    std::uint32_t position = 0;
    ASSERT_TRUE(model.readPackage(stream, position)) << model.failureReason();
    const InstallTarget target = testTarget(model, c.view);
    EXPECT_EQ(target.parentFolder, c.programFiles) << where;
    InstallOptions options;
    defaultInstallOptions(options, model, target);
    InstallPrinter printer(stdout, InstallPrinter::Style());
    ASSERT_TRUE(runInstallPass(options, target, printer)) << where;

    const std::string folder = std::string(c.programFiles) + "\\" + n.folder;
    const std::string entry = std::string(c.software) + "\\" + uninstallKey + "\\" + n.displayName;
    const std::string settings =
        std::string(c.software) + "\\" + n.company + "\\" + n.settingsKey + "\\Install";
    const std::string progId = "Software\\Classes\\" + n.progId;  // Classes are shared
    EXPECT_TRUE(exists(folder + "\\App.exe")) << where;
    EXPECT_TRUE(exists(std::string(c.system) + "\\helper.dll")) << where;
    for (const std::string& key : {entry, settings, progId}) {
      EXPECT_TRUE(keyExists(machine, key)) << where << ": " << key;
    }
    if (*c.otherSoftware != '\0') {
      EXPECT_FALSE(keyExists(
          machine, std::string(c.otherSoftware) + "\\" + uninstallKey + "\\" + n.displayName))
          << where;
    }

    const std::vector<unsigned char> knowledge = productBytes(n, true);
    InstallModel known;
    ASSERT_TRUE(readUninstallKnowledge(knowledge.data(), std::uint32_t(knowledge.size()), known));
    SavedInstallOptions saved;
    readSavedInstallOptions(known, saved);
    EXPECT_TRUE(saved.found) << where;
    EXPECT_EQ(saved.target.view, c.view) << where;
    UninstallPlan plan;
    ASSERT_TRUE(makeUninstallPlan(known, saved, (folder + "\\Uninstall.exe").c_str(), plan));
    removeInstallation(plan);
    removeOwnFileAndFolder(plan);
    EXPECT_FALSE(exists(folder)) << where;
    for (const std::string& key : {entry, settings, progId}) {
      EXPECT_FALSE(keyExists(machine, key)) << where << ": " << key;
    }
    platform::deleteFile((std::string(c.system) + "\\helper.dll").c_str());
  }
  useMachine(false);
}

// The quiet switch in its spellings, the temporary copy's arguments, and what a
// quiet command line refuses; without the switch every argument is ignored, as
// it always was.
TEST(HostUninstall, ReadsTheQuietSwitchAndTheCopysArguments) {
  const char own[] = "C:\\P\\Uninstall.exe";
  const struct {
    std::vector<std::string> arguments;
    bool quiet;
    bool finish;
    const char* refused;
  } cases[] = {
      {{}, false, false, ""},
      {{"/quiet"}, true, false, ""},
      {{"-S"}, true, false, ""},
      {{"/VerySilent"}, true, false, ""},
      {{"/quieter", "x"}, false, false, ""},
      {{"-s", "/bogus"}, true, false, "/bogus"},
      {{"/quiet", "-QUIET"}, true, false, "-QUIET"},
      {{"--finish", "42", own}, false, true, ""},
      {{"--finish", "42", own, "/quiet"}, true, true, ""},
      {{"--finish", "42", own, "/other"}, false, false, ""},
      {{"--finish", "4x", own}, false, false, ""},
      {{"--finish", "99999999999", own}, false, false, ""},
  };
  for (const auto& c : cases) {
    const UninstallCommand command = readUninstallCommand(c.arguments);
    EXPECT_EQ(command.quiet, c.quiet) << c.arguments.size();
    EXPECT_EQ(command.finish, c.finish) << c.arguments.size();
    EXPECT_EQ(command.refused, c.refused);
    EXPECT_EQ(command.original, c.finish ? own : "");
    EXPECT_EQ(command.originalId, c.finish ? 42u : 0u);
  }
  // In the temporary folder, named after the product as a file name can hold it.
  char temp[kPathBufferSize];
  ASSERT_GT(platform::getTempPath(temp, sizeof temp), 0);
  for (const auto& [name, file] :
       {std::pair<const char*, const char*>{"A/B: \"2\"", "A_B_ _2_ "}, {"", ""}}) {
    SetupString path;
    ASSERT_TRUE(uninstallLogPath(name, path));
    EXPECT_STREQ(path.text(), (std::string(temp) + file + "Uninstall.log").c_str());
  }
}

// A quiet run says in its log what the closing message would say: the files kept
// in the folder (not the uninstaller's own, which goes after the answer) and the
// copies in the system folder. A file in use stops it before anything is removed;
// one that cannot be deleted afterwards makes it fail, named in the log.
TEST(HostUninstall, AQuietRunLogsWhatStaysAndFailsOnWhatCouldNotGo) {
  const Names n;
  install(n);
  const std::string folder = installFolder(n);
  writeText(folder + "\\data.txt", "the product's data, edited");
  writeText(folder + "\\my notes.txt", "mine");
  UninstallPlan plan;
  planRemoval(n, plan);
  createFolder("C:\\kestrane-tests");
  const char logPath[] = "C:\\kestrane-tests\\quiet.log";
  const auto logText = [&] {
    std::string text;
    EXPECT_TRUE(readTestFile(logPath, text));
    return text;
  };

  {
    RunLog log;
    ASSERT_TRUE(log.open(logPath));
    UndeletableFile running((folder + "\\App.exe").c_str());
    EXPECT_FALSE(noFileInUse(plan, log));
    EXPECT_TRUE(exists(folder + "\\helper.dll"));
    // Held through the removal: the run fails and names the file.
    EXPECT_EQ(removeAllButOwnFile(plan, log), kExitFailed);
    logResult(log, kExitFailed);
  }
  const std::string failed = logText();
  for (const std::string& line : {"error: in use: " + folder + "\\App.exe\r\n",
                                  "error: not removed: " + folder + "\\App.exe\r\n",
                                  std::string("result: failed, exit code 1603\r\n")}) {
    EXPECT_NE(failed.find(line), std::string::npos) << line << " in:\n" << failed;
  }

  RunLog log;
  ASSERT_TRUE(log.open(logPath));
  EXPECT_TRUE(noFileInUse(plan, log));
  EXPECT_EQ(removeAllButOwnFile(plan, log), kExitRemoved);
  logResult(log, kExitRemoved);
  log.close();
  EXPECT_FALSE(exists(folder + "\\App.exe"));
  EXPECT_TRUE(exists(folder + "\\Uninstall.exe"));
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, std::string(kUninstall) + "\\Removal Product"));
  EXPECT_EQ(logText(), "kept: " + folder + "\\data.txt\r\nkept: " + folder +
                           "\\my notes.txt\r\nkept in the system folder: helper.dll\r\n"
                           "result: removed, exit code 0\r\n");

  deleteTree(folder.c_str(), 0, true);
  deleteTree("C:\\kestrane-tests", 0, true);
  platform::deleteFile("C:\\Windows\\System32\\helper.dll");
}

// The copy answers its original once, through the events the original made; a
// copy that gives up without a word answers "failed", so the original never waits
// for nothing. Nobody to answer is no failure of the copy.
TEST(HostUninstall, TheCopyAnswersItsOriginalOnce) {
  const std::uint32_t original = 4242;
  for (const bool removed : {true, false}) {
    platform::EventId answers[2] = {platform::createEvent(copyAnswerName(original, true).text()),
                                    platform::createEvent(copyAnswerName(original, false).text())};
    ASSERT_NE(answers[0], nullptr);
    ASSERT_NE(answers[1], nullptr);
    {
      CopyReport report(original);
      if (removed) {
        EXPECT_TRUE(report.answer(true));
        EXPECT_FALSE(report.answer(false)) << "answered twice";
      }
    }
    EXPECT_EQ(platform::waitForAnyEvent(answers, 2, 0), removed ? 0 : 1);
    for (platform::EventId answer : answers) platform::closeEvent(answer);
  }
  EXPECT_FALSE(CopyReport(original).answer(true));
}
