// The host backend's emulated machine: path mapping, drives and the shell log.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/WinDefs.h"
#include "platform/host/Prefix.h"
#include "system/ShellActions.h"

using platform::host::normalizeWindowsPath;
using platform::host::prefixRoot;
using platform::host::toHostPath;

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(HostPrefix, NormalisesAsGetFullPathNameDoes) {
  const struct {
    const char* path;
    const char* normal;
  } cases[] = {
      {"C:\\Program Files\\App", "C:\\Program Files\\App"},
      {"c:/Program Files//App/", "C:\\Program Files\\App"},
      {"C:\\a\\.\\b\\..\\c", "C:\\a\\c"},
      {"C:\\..\\..\\Windows", "C:\\Windows"},
      {"D:..\\..", "D:\\"},
      {"\\Users\\x", "C:\\Users\\x"},
      {"relative\\..\\..\\file", "C:\\file"},
      {"C:", "C:\\"},
  };
  for (const auto& c : cases) {
    std::string out;
    ASSERT_TRUE(normalizeWindowsPath(c.path, out)) << c.path;
    EXPECT_EQ(out, c.normal) << c.path;
  }
  std::string out;
  for (const char* bad : {"", "\\\\server\\share", "//server/share", "\\\\?\\C:\\x", "1:\\x"}) {
    EXPECT_FALSE(normalizeWindowsPath(bad, out)) << bad;
  }
  EXPECT_FALSE(normalizeWindowsPath(nullptr, out));
}

TEST(HostPrefix, NoPathLeavesThePrefix) {
  const std::string root = prefixRoot();
  std::string host;
  ASSERT_TRUE(toHostPath("C:\\..\\..\\..\\etc\\passwd", host));
  EXPECT_EQ(host, root + "/drive_c/etc/passwd");
  ASSERT_TRUE(toHostPath("e:/x/../../../y", host));
  EXPECT_EQ(host, root + "/drive_e/y");
  ASSERT_TRUE(toHostPath("C:\\", host));
  EXPECT_EQ(host, root + "/drive_c");
}

TEST(HostPrefix, HasTheStandardFolders) {
  for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_SYSTEM, CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS,
                    CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY}) {
    char path[MAX_PATH];
    ASSERT_TRUE(platform::getSpecialFolderPath(csidl, path)) << csidl;
    EXPECT_EQ(path[1], ':');
    EXPECT_NE(platform::getFileAttributes(path) & FILE_ATTRIBUTE_DIRECTORY, 0u) << path;
  }
  char path[MAX_PATH];
  EXPECT_FALSE(platform::getSpecialFolderPath(0x7777, path));
  char system[MAX_PATH];
  ASSERT_EQ(platform::getSystemDirectory(system, MAX_PATH), 19);
  EXPECT_STREQ(system, "C:\\Windows\\System32");
  EXPECT_EQ(platform::getSystemDirectory(system, 19), 0);  // no room for the terminator
}

TEST(HostPrefix, DriveTypesFollowThePrefixFolders) {
  const std::string root = prefixRoot();
  EXPECT_EQ(platform::getDriveType("C:\\"), DRIVE_FIXED);
  EXPECT_EQ(platform::getDriveType("c:"), DRIVE_FIXED);
  EXPECT_EQ(platform::getDriveType("C:\\Windows\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(platform::getDriveType("Q:\\"), DRIVE_NO_ROOT_DIR);
  mkdir((root + "/drive_n").c_str(), 0755);
  std::ofstream(root + "/drive_n.remote").put('\n');
  EXPECT_EQ(platform::getDriveType("N:\\"), DRIVE_REMOTE);
}

TEST(HostPrefix, ReadOnlyIsTheOwnerWriteBit) {
  std::string host;
  ASSERT_TRUE(toHostPath("C:\\readonly.txt", host));
  std::ofstream(host).put('x');
  chmod(host.c_str(), 0444);
  EXPECT_EQ(platform::getFileAttributes("C:\\readonly.txt"), FILE_ATTRIBUTE_READONLY);
  chmod(host.c_str(), 0644);
  EXPECT_EQ(platform::getFileAttributes("C:\\readonly.txt"), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(platform::getFileAttributes("C:\\missing.txt"), INVALID_FILE_ATTRIBUTES);
}

// The emulated drives have links, which Windows paths cannot spell: a copy onto
// the same file through one must still be refused before it truncates the source.
TEST(HostPrefix, CopyOntoTheSameFileThroughALinkFails) {
  std::string folder;
  ASSERT_TRUE(toHostPath("C:\\linked", folder));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directory(folder);
  std::ofstream(folder + "/a.txt") << "must survive";
  std::filesystem::create_hard_link(folder + "/a.txt", folder + "/hard.txt");
  std::filesystem::create_symlink("a.txt", folder + "/soft.txt");
  std::filesystem::create_directory_symlink(".", folder + "/here");
  for (const char* destination :
       {"C:\\linked\\hard.txt", "C:\\linked\\soft.txt", "C:\\linked\\here\\a.txt"}) {
    EXPECT_FALSE(platform::copyFile("C:\\linked\\a.txt", destination, false)) << destination;
    EXPECT_EQ(readFile(folder + "/a.txt"), "must survive") << destination;
  }
  std::ofstream(folder + "/other.txt") << "other";
  EXPECT_TRUE(platform::copyFile("C:\\linked\\here\\other.txt", "C:\\linked\\b.txt", true));
  EXPECT_EQ(readFile(folder + "/b.txt"), "other");
  std::filesystem::remove_all(folder);
}

TEST(HostPrefix, ShellRequestsAreLogged) {
  const std::string log = prefixRoot() + "/shell.log";
  std::remove(log.c_str());
  launchProgram(nullptr, "bin\\app.exe", "C:\\Program Files\\App\\");
  launchProgram(nullptr, "tool.exe", "D:\\");
  EXPECT_EQ(readFile(log),
            "ShellExecute\topen\tC:\\Program Files\\App\\app.exe\t\tC:\\Program Files\\App\t1\n"
            "ShellExecute\topen\tD:\\tool.exe\t\tD:\\\t1\n");
}

TEST(HostPrefix, BrowseTakesThePresetAnswer) {
  const std::string answer = prefixRoot() + "/browse.answer";
  SetupString path("C:\\Program Files");
  std::remove(answer.c_str());
  EXPECT_FALSE(browseForFolder("Choose", path, nullptr));
  EXPECT_EQ(path, "C:\\Program Files");
  std::ofstream(answer) << "D:\\Apps\\Tools\r\n";
  EXPECT_TRUE(browseForFolder("Choose", path, nullptr));
  EXPECT_EQ(path, "D:\\Apps\\Tools");
  std::ofstream(answer, std::ios::trunc);
  EXPECT_FALSE(browseForFolder("Choose", path, nullptr));  // an empty answer is a cancel
  EXPECT_EQ(path, "D:\\Apps\\Tools");
  std::remove(answer.c_str());
}
