// The demo product (examples/demo) installed headless by kpack into a fresh
// prefix: every file with its exact bytes, the system-folder copy, the links,
// and every key the manifest asks for.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "package/UninstallKnowledge.h"
#include "platform/ProgramResources.h"
#include "support/LinkProbe.h"
#include "support/RegExport.h"
#include "support/RunProcess.h"

namespace fs = std::filesystem;

namespace {

// The uninstall entry's EstimatedSize line: the installed files' size, from the files
// themselves, in KiB rounded up.
std::string estimatedSizeLine(const fs::path& folder) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) bytes += entry.file_size();
  }
  char line[64];
  std::snprintf(line, sizeof line, "\"EstimatedSize\"=dword:%08x\r\n",
                unsigned((bytes + 1023) / 1024));
  return line;
}

std::string fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(DemoProduct, InstallsEverythingItsManifestNames) {
  const fs::path product = KESTRANE_DEMO_PRODUCT;
  const fs::path prefix = fs::path(KESTRANE_TEST_BINARY_DIR) / "demo-prefix";
  fs::remove_all(prefix);
  std::string output;
  // csv and log stay unchecked, named as the manifest names them.
  const int status = runBounded(std::string(KPACK_PATH) + " install '" + KESTRANE_DEMO_PACKAGE +
                                    "'" + " --prefix '" + prefix.string() + "' --uncheck csv,.LOG",
                                output, 120);
  ASSERT_EQ(status, 0) << output;
  ASSERT_GE(output.size(), 14u);
  EXPECT_EQ(output.substr(0, 7), "done 0\n");
  EXPECT_EQ(output.substr(output.size() - 7), "done 1\n");

  const fs::path drive = prefix / "drive_c";
  const fs::path installed = drive / "Program Files/Demo Product";
  const struct {
    fs::path copy;
    const char* source;
  } files[] = {
      {installed / "DemoApp.exe", "bin/DemoApp.exe"},
      {installed / "DemoHelp.html", "DemoHelp.html"},
      {installed / "sample.demo", "data/sample.demo"},
      {installed / "DemoShell.dll", "bin/DemoShell.dll"},
      {installed / "demohelper.dll", "bin/demohelper.dll"},
      {drive / "Windows/System32/demohelper.dll", "bin/demohelper.dll"},
  };
  for (const auto& f : files) {
    const std::string source = fileBytes(product / f.source);
    ASSERT_FALSE(source.empty()) << f.source;
    EXPECT_TRUE(fileBytes(f.copy) == source) << f.copy;  // not printed: programs are large
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(installed), fs::directory_iterator()), 6);

  // The uninstaller carries what it needs to remove the product: the package
  // without bodies, with each file's fingerprint.
  std::vector<unsigned char> uninstaller, knowledge;
  const std::string program = fileBytes(installed / "Uninstall.exe");
  uninstaller.assign(program.begin(), program.end());
  std::string error;
  ASSERT_TRUE(platform::findProgramResource(uninstaller, kUninstallResourceId, knowledge, error))
      << error;
  InstallModel model;
  ASSERT_TRUE(readUninstallKnowledge(knowledge.data(), std::uint32_t(knowledge.size()), model))
      << model.failureReason();
  ASSERT_EQ(model.itemCount(), 6);
  Sha256Digest digest;
  const std::string viewer = fileBytes(product / "bin/DemoApp.exe");
  ASSERT_TRUE(itemDigest(*model.itemAt(0), digest));
  EXPECT_TRUE(digest == sha256(viewer.data(), viewer.size()));
  EXPECT_FALSE(itemDigest(*model.itemAt(4), digest));  // the uninstaller itself

  const fs::path menu = drive / "ProgramData/Microsoft/Windows/Start Menu/Programs/Demo Product";
  const struct {
    fs::path link;
    const char* target;
  } links[] = {
      {menu / "Demo Product.lnk", "C:\\Program Files\\Demo Product\\DemoApp.exe"},
      {menu / "Demo Help.lnk", "C:\\Program Files\\Demo Product\\DemoHelp.html"},
      {drive / "Users/Public/Desktop/Demo Product.lnk",
       "C:\\Program Files\\Demo Product\\DemoApp.exe"},
  };
  for (const auto& l : links) {
    LinkFacts facts;
    ASSERT_TRUE(readLinkFile(l.link.string(), facts)) << l.link;
    EXPECT_EQ(facts.target, l.target) << l.link;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(menu), fs::directory_iterator()), 2);

  const std::string reg = regExportText((prefix / "registry.reg").string());
  const std::string app = "C:\\\\Program Files\\\\Demo Product\\\\";
  const std::string open = "@=\"\\\"" + app + "DemoApp.exe\\\" \\\"%1\\\"\"\r\n";
  const std::string classes = "HKEY_LOCAL_MACHINE\\Software\\Classes\\";
  const std::string server = "{6F1D2C84-3B5A-4E07-9C2D-8A41E0B7F356}";
  const struct {
    std::string key;
    std::string lines;
  } keys[] = {
      {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo Product",
       "\"DisplayName\"=\"Demo Product\"\r\n"
       "\"UninstallString\"=\"\\\"" +
           app +
           "Uninstall.exe\\\"\"\r\n"
           "\"DisplayIcon\"=\"\\\"" +
           app +
           "DemoApp.exe\\\"\"\r\n"
           "\"Publisher\"=\"Kestrane Demo Company\"\r\n"
           "\"URLInfoAbout\"=\"https://kestrane.example\"\r\n"
           "\"Comments\"=\"Removes Demo Product\"\r\n"
           "\"URLUpdateInfo\"=\"https://kestrane.example/demo\"\r\n"
           "\"HelpLink\"=\"https://kestrane.example/demo\"\r\n"
           "\"Contact\"=\"Customer Support\"\r\n"
           "\"Language\"=dword:00000000\r\n\"NoModify\"=dword:00000001\r\n"
           "\"NoRepair\"=dword:00000001\r\n\"WindowsInstaller\"=dword:00000000\r\n" +
           estimatedSizeLine(installed) + "\"QuietUninstallString\"=\"\\\"" + app +
           "Uninstall.exe\\\" /quiet\"\r\n"},
      {classes + "Applications\\DemoApp.exe", "@=\"Demo Product Viewer\"\r\n"},
      // The ProgIDs, each with its icon inside the viewer.
      {classes + "KestraneDemo.Document", "@=\"Demo Document\"\r\n"},
      {classes + "KestraneDemo.Document\\DefaultIcon", "@=\"" + app + "DemoApp.exe,1\"\r\n"},
      {classes + "KestraneDemo.Document\\shell\\open\\command", open},
      {classes + "KestraneDemo.Note", "@=\"Demo Note\"\r\n"},
      {classes + "KestraneDemo.Note\\DefaultIcon", "@=\"" + app + "DemoApp.exe,2\"\r\n"},
      {classes + "KestraneDemo.Note\\shell\\open\\command", open},
      {classes + "KestraneDemo.Picture", "@=\"Demo Picture\"\r\n"},
      {classes + "KestraneDemo.Picture\\DefaultIcon", "@=\"" + app + "DemoApp.exe,3\"\r\n"},
      {classes + "KestraneDemo.Picture\\shell\\open\\command", open},
      {classes + "KestraneDemo.Picture\\shellex\\{BB2E617C-0920-11D1-9A0B-00C04FC2D6C1}",
       "@=\"" + server + "\"\r\n"},
      // The fixed extensions, and of the optional ones those left checked.
      {classes + ".demo", "@=\"KestraneDemo.Document\"\r\n"},
      {classes + ".dmo", "@=\"KestraneDemo.Document\"\r\n"},
      {classes + ".dnote", "@=\"KestraneDemo.Note\"\r\n"},
      {classes + ".dpic", "@=\"KestraneDemo.Picture\"\r\n"},
      {classes + ".txt", "@=\"KestraneDemo.Note\"\r\n"},
      {classes + ".txt\\OpenWithProgids", "\"KestraneDemo.Note\"=hex(0):\r\n"},
      {classes + ".ini", "@=\"KestraneDemo.Note\"\r\n"},
      {classes + ".md", "@=\"KestraneDemo.Note\"\r\n"},
      {classes + ".nfo", "@=\"KestraneDemo.Note\"\r\n"},
      // An unchecked one stays with its present owner and only offers the viewer
      // under "Open with".
      {classes + ".csv", ""},
      {classes + ".csv\\OpenWithProgids", "\"KestraneDemo.Note\"=hex(0):\r\n"},
      {classes + ".log", ""},
      // The COM server and its approval as a shell extension.
      {classes + "CLSID\\" + server, "@=\"Demo Picture Shell Extension\"\r\n"},
      {classes + "CLSID\\" + server + "\\InProcServer32",
       "@=\"\\\"" + app + "DemoShell.dll\\\"\"\r\n\"ThreadingModel\"=\"Apartment\"\r\n"},
      {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Shell "
       "Extensions\\Approved",
       "\"" + server + "\"=\"Demo Picture Shell Extension\"\r\n"},
      // The settings a later setup or the uninstaller reads.
      {"HKEY_LOCAL_MACHINE\\Software\\Kestrane Demo Company\\Demo Product\\Install",
       "\"CurrentUser\"=dword:00000000\r\n\"StartMenuEntry\"=dword:00000001\r\n"
       "\"TopMenuEntry\"=dword:00000001\r\n\"DesktopIcon\"=dword:00000001\r\n"
       "\"ParentFolder\"=\"C:\\\\Program Files\"\r\n\"ParentMenuEntry\"=\"\"\r\n"
       "\"AppFile\"=\"" +
           app + "DemoApp.exe\"\r\n"},
  };
  for (const auto& k : keys) EXPECT_EQ(regExportKey(reg, k.key), k.lines) << k.key;
}
