// Packages with hostile names, installed with `kpack install` into a machine where
// another program is installed already: whatever a package holds, what it writes
// stays below the places an install writes, and nothing of the other program
// changes. Run as the hostile_packages test; by hand:
//   KESTRANE_HOSTILE_PACKAGES=1 build/host/tests/kestrane_tests
//   --gtest_filter='HostilePackages.*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/WholeFile.h"
#include "support/HostilePackages.h"
#include "support/MachineState.h"
#include "support/RunProcess.h"

namespace fs = std::filesystem;

namespace {

const std::string kDir = KESTRANE_TEST_BINARY_DIR "/hostile";
const std::string kPrefix = kDir + "/prefix";

int install(const std::vector<unsigned char>& bytes, std::string& output) {
  const std::string file = kDir + "/package.bin";
  if (!tools::writeWholeFile(file, bytes, output)) return -1;
  return runBounded(std::string("'") + KPACK_PATH + "' install '" + file + "' --prefix '" +
                        kPrefix + "' --parent 'C:\\Program Files'",
                    output);
}

// Files where hostile names point.
const char* const kSeededFiles[] = {"drive_c/evil",
                                    "drive_c/Windows/evil",
                                    "drive_c/Windows/System32/evil/keep.dll",
                                    "drive_c/Program Files/evil",
                                    "drive_d/evil",
                                    "drive_c/b",
                                    "drive_c/Hostile"};

// The places any install may write: the program-files folder, the system folder,
// the Programs menus and desktops, the shell's log; the classes, the uninstall
// list, the approved shell extensions and the publishers' settings keys.
const std::vector<std::string>& installPlaces() {
  static const std::vector<std::string> places = {
      "file:drive_c/Program Files",
      "file:drive_c/Windows/System32",
      "file:drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs",
      "file:drive_c/Users/Public/Desktop",
      "file:shell.log",
      "reg:HKEY_LOCAL_MACHINE\\Software\\Classes",
      "reg:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
      "reg:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions",
  };
  return places;
}

// The keys of the other program: nothing may be written into them either.
const std::vector<std::string>& otherKeys() {
  static const std::vector<std::string> keys = {
      "reg:HKEY_LOCAL_MACHINE\\Software\\Classes\\.txt",
      "reg:HKEY_LOCAL_MACHINE\\Software\\Classes\\.oth",
      "reg:HKEY_LOCAL_MACHINE\\Software\\Classes\\.oto",
      "reg:HKEY_LOCAL_MACHINE\\Software\\Classes\\Other.Doc",
      "reg:HKEY_LOCAL_MACHINE\\Software\\Classes\\Applications\\Other.exe",
      "reg:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
      "Other Product",
      "reg:HKEY_LOCAL_MACHINE\\Software\\Other Vendor",
  };
  return keys;
}

bool isUserPlace(const std::string& entry) {
  // The user's own Programs menu and desktop, whatever the user is called.
  const std::string users = "file:drive_c/Users/";
  if (entry.compare(0, users.size(), users) != 0) return false;
  const std::size_t slash = entry.find('/', users.size());
  if (slash == std::string::npos) return false;
  const std::string rest = entry.substr(slash + 1);
  return rest.rfind("Desktop", 0) == 0 ||
         rest.rfind("AppData/Roaming/Microsoft/Windows/Start Menu/Programs", 0) == 0;
}

// A publisher's settings: the "Install" section of HKLM\Software\<company>\<product>,
// each one key: values three keys down, and nothing deeper.
bool isSettingsPlace(const std::string& entry) {
  const std::string software = "reg:HKEY_LOCAL_MACHINE\\Software\\";
  if (entry.compare(0, software.size(), software) != 0) return false;
  const std::size_t bar = entry.find('|');
  const std::string key = entry.substr(software.size(), bar - software.size());
  if (key.rfind("Other Vendor", 0) == 0) return false;
  int depth = 1;
  for (char c : key) depth += c == '\\';
  return bar == std::string::npos ? depth <= 3 : depth == 3;
}

}  // namespace

TEST(HostilePackages, WriteOnlyBelowTheirPlaces) {
  // A few hundred runs of kpack: a test of its own, outside the unit run.
  if (std::getenv("KESTRANE_HOSTILE_PACKAGES") == nullptr) {
    GTEST_SKIP() << "the hostile_packages test runs it";
  }
  fs::remove_all(kDir);
  fs::create_directories(kPrefix + "/drive_d");
  for (const char* seeded : kSeededFiles) {
    fs::create_directories((fs::path(kPrefix) / seeded).parent_path());
    std::ofstream(fs::path(kPrefix) / seeded) << "belongs to someone else";
  }
  std::string output;
  ASSERT_EQ(install(otherProgramPackage(), output), 0) << output;
  const MachineState seeded = readMachineState(kPrefix);

  int installed = 0, refused = 0, failed = 0;
  MachineState previous = seeded;
  for (const HostilePackage& package : hostilePackages()) {
    const int status = install(package.bytes, output);
    // 0 after done 1, 1 after an error, 2 when the package does not read.
    installed += status == 0;
    failed += status == 1;
    if (status == 1) std::printf("%s: %s", package.name.c_str(), output.c_str());
    refused += status == 2;
    EXPECT_TRUE(status >= 0 && status <= 2) << package.name << ": " << output;
    const MachineState now = readMachineState(kPrefix);
    for (const std::string& entry : changedEntries(previous, now)) {
      EXPECT_TRUE(isBelowAnyRoot(entry, installPlaces()) || isUserPlace(entry) ||
                  isSettingsPlace(entry))
          << package.name << " wrote " << entry;
      EXPECT_FALSE(isBelowAnyRoot(entry, otherKeys()) && seeded.count(entry) == 0)
          << package.name << " wrote into another program's key: " << entry;
    }
    for (const auto& [entry, content] : seeded) {
      if (entry == "file:shell.log" || entry.compare(0, 4, "raw:") == 0) continue;
      const auto it = now.find(entry);
      EXPECT_TRUE(it != now.end() && it->second == content)
          << package.name << " changed or removed " << entry;
    }
    previous = now;
  }
  std::printf("hostile packages: %d installed, %d refused, %d failed with an error\n", installed,
              refused, failed);
  EXPECT_GT(installed, 0);
}
