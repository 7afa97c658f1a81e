// The whole cycle on the emulated machine, with the programs a vendor and a user
// run: kpack installs another vendor's program, then the demo product; the host twin of
// Uninstall.exe, started from the demo's uninstall entry, removes the demo again.
// The machine is then as it was before the demo came, but for a file the user
// added and the copy left in the system folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/WholeFile.h"
#include "support/HostilePackages.h"
#include "support/RegExport.h"
#include "support/RunProcess.h"

namespace fs = std::filesystem;

namespace {

// Every value of the registry as (key, "\"NAME\"=TYPE:DATA"); keys without
// values do not count, as the uninstaller may leave the empty keys above what
// it removed.
using RegistryValues = std::set<std::pair<std::string, std::string>>;

RegistryValues registryValues(const fs::path& prefix) {
  RegistryValues values;
  for (const std::string& entry : regExportEntries((prefix / "registry.reg").string())) {
    const std::size_t bar = entry.find('|');
    if (bar != std::string::npos) values.insert({entry.substr(0, bar), entry.substr(bar + 1)});
  }
  return values;
}

// Every folder (ending in '/') and file, with its bytes, under the drive.
std::set<std::pair<std::string, std::string>> driveContents(const fs::path& prefix) {
  std::set<std::pair<std::string, std::string>> contents;
  const fs::path drive = prefix / "drive_c";
  for (const auto& entry : fs::recursive_directory_iterator(drive)) {
    const std::string name = entry.path().lexically_relative(drive).generic_string();
    if (entry.is_directory()) {
      contents.insert({name + "/", ""});
    } else {
      std::ifstream in(entry.path(), std::ios::binary);
      contents.insert({name, std::string((std::istreambuf_iterator<char>(in)), {})});
    }
  }
  return contents;
}

template <typename Set>
std::string difference(const Set& a, const Set& b) {
  std::string out;
  for (const auto& item : a) {
    if (!b.count(item)) out += "  " + item.first + " " + item.second.substr(0, 80) + "\n";
  }
  return out;
}

std::string quoted(const fs::path& path) {
  return "'" + path.string() + "'";
}

}  // namespace

TEST(UninstallCycle, DemoProductLeavesTheMachineAsItWas) {
  const fs::path prefix = fs::path(KESTRANE_TEST_BINARY_DIR) / "uninstall-cycle-prefix";
  fs::remove_all(prefix);
  std::string output;
  // The other program owns .txt, and lists itself under its OpenWithProgids,
  // before the demo takes it.
  const fs::path other = fs::path(KESTRANE_TEST_BINARY_DIR) / "uninstall-cycle-other.bin";
  ASSERT_TRUE(tools::writeWholeFile(other.string(), otherProgramPackage(), output)) << output;
  ASSERT_EQ(runBounded(std::string(KPACK_PATH) + " install " + quoted(other) + " --prefix " +
                           quoted(prefix),
                       output, 120),
            0)
      << output;
  const RegistryValues registryBefore = registryValues(prefix);
  const auto filesBefore = driveContents(prefix);

  ASSERT_EQ(runBounded(std::string(KPACK_PATH) + " install " + quoted(KESTRANE_DEMO_PACKAGE) +
                           " --prefix " + quoted(prefix),
                       output, 120),
            0)
      << output;
  const std::string reg = regExportText((prefix / "registry.reg").string());
  const std::string entry = regExportKey(
      reg,
      "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo Product");
  const std::string uninstallString =
      "\"UninstallString\"=\"\\\"C:\\\\Program Files\\\\Demo Product\\\\Uninstall.exe\\\"\"";
  ASSERT_NE(entry.find(uninstallString), std::string::npos) << entry;
  EXPECT_NE(registryValues(prefix), registryBefore);
  const fs::path folder = prefix / "drive_c/Program Files/Demo Product";
  std::ofstream(folder / "my notes.txt") << "mine";

  // The entry's command, quotes and all.
  ASSERT_EQ(runBounded(std::string(UNINSTALL_PATH) +
                           " '\"C:\\Program Files\\Demo Product\\Uninstall.exe\"' --yes --prefix " +
                           quoted(prefix),
                       output, 120),
            0)
      << output;
  EXPECT_NE(output.find("my notes.txt"), std::string::npos) << output;
  EXPECT_NE(output.find("demohelper.dll"), std::string::npos) << output;

  const RegistryValues registryAfter = registryValues(prefix);
  EXPECT_EQ(registryAfter, registryBefore) << "left behind:\n"
                                           << difference(registryAfter, registryBefore) << "lost:\n"
                                           << difference(registryBefore, registryAfter);
  auto filesExpected = filesBefore;
  filesExpected.insert({"Program Files/Demo Product/", ""});
  filesExpected.insert({"Program Files/Demo Product/my notes.txt", "mine"});
  std::ifstream helper(fs::path(KESTRANE_DEMO_PRODUCT) / "bin/demohelper.dll", std::ios::binary);
  filesExpected.insert({"Windows/System32/demohelper.dll",
                        std::string((std::istreambuf_iterator<char>(helper)), {})});
  const auto filesAfter = driveContents(prefix);
  EXPECT_TRUE(filesAfter == filesExpected) << "left behind:\n"
                                           << difference(filesAfter, filesExpected) << "lost:\n"
                                           << difference(filesExpected, filesAfter);
}
