#include "base/Paths.h"

#include <gtest/gtest.h>

#include <string>

TEST(Paths, SplitLikeTheRuntime) {
  const struct {
    const char* path;
    const char* drive;
    const char* folder;
    const char* name;
    const char* extension;
  } cases[] = {
      {"C:\\Program Files\\App\\app.exe", "C:", "\\Program Files\\App\\", "app", ".exe"},
      {"readme", "", "", "readme", ""},
      {"dir.d/file", "", "dir.d/", "file", ""},
      {"archive.tar.gz", "", "", "archive.tar", ".gz"},
      {"\\\\server\\share\\x.txt", "", "\\\\server\\share\\", "x", ".txt"},
      {"D:name.", "D:", "", "name", "."},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    PathParts parts;
    splitPath(c.path, parts);
    EXPECT_EQ(parts.drive, c.drive) << c.path;
    EXPECT_EQ(parts.folder, c.folder) << c.path;
    EXPECT_EQ(parts.name, c.name) << c.path;
    EXPECT_EQ(parts.extension, c.extension) << c.path;
  }
}

TEST(Paths, JoinPutsExactlyOneBackslashBetween) {
  const struct {
    const char* path;
    const char* base;
    const char* joined;
  } cases[] = {
      {"\\App", "C:\\Program Files\\", "C:\\Program Files\\App"},
      {"App", "C:\\Program Files", "C:\\Program Files\\App"},
      {"\\App", "C:\\Program Files", "C:\\Program Files\\App"},
      {"App", "", "\\App"},
      {"", "C:\\", "C:\\"},
  };
  for (const auto& c : cases) {
    SetupString path(c.path);
    EXPECT_TRUE(joinPath(path, c.base));
    EXPECT_EQ(path, c.joined);
  }
  SetupString path("App");
  EXPECT_FALSE(joinPath(path, nullptr));
  const std::string longBase(kPathBufferSize - 4, 'x');
  EXPECT_FALSE(joinPath(path, longBase.c_str()));
  EXPECT_EQ(path, "App");
  const std::string fits(kPathBufferSize - 5, 'x');
  EXPECT_TRUE(joinPath(path, fits.c_str()));
  EXPECT_EQ(path.length(), kPathBufferSize - 1);
}

TEST(Paths, MoveToFolderKeepsOnlyTheFileName) {
  SetupString path("bin\\tools\\deep\\app.exe");
  EXPECT_TRUE(moveToFolder(path, "C:\\Program Files\\App"));
  EXPECT_EQ(path, "C:\\Program Files\\App\\app.exe");
  path = "D:\\x\\readme.txt";
  EXPECT_TRUE(moveToFolder(path, "C:\\Docs\\"));
  EXPECT_EQ(path, "C:\\Docs\\readme.txt");
  EXPECT_TRUE(moveToFolder(path, ""));
  EXPECT_EQ(path, "readme.txt");
  const std::string longFolder(kPathBufferSize, 'f');
  EXPECT_FALSE(moveToFolder(path, longFolder.c_str()));
  EXPECT_EQ(path, "readme.txt");
}

TEST(Paths, DriveRootOnlyForDriveLetters) {
  const struct {
    const char* path;
    const char* root;
  } cases[] = {
      {"C:\\Program Files\\App", "C:\\"},
      {"d:file.txt", "d:\\"},
      {"relative\\path", ""},
      {"\\\\server\\share\\dir", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    SetupString path(c.path);
    driveRoot(path);
    EXPECT_EQ(path, c.root) << c.path;
  }
}

TEST(Paths, GuidStringsNeedTheExactBracedForm) {
  EXPECT_TRUE(isGuidString("{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}"));
  EXPECT_TRUE(isGuidString("{2e8a3b9c-4f10-4d6b-9a77-0c1e5f3d8b21}"));
  EXPECT_FALSE(isGuidString(nullptr));
  EXPECT_FALSE(isGuidString("2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21"));
  EXPECT_FALSE(isGuidString("{2E8A3B9C4-F10-4D6B-9A77-0C1E5F3D8B21}"));
  EXPECT_FALSE(isGuidString("{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8Bg1}"));
  EXPECT_FALSE(isGuidString("{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21"));
  EXPECT_FALSE(isGuidString("{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}}"));
}

TEST(Paths, DrivesAndFoldersOfTheMachine) {
  // Holds on a real Windows machine, under Wine and on the host's emulated one.
  EXPECT_TRUE(isFixedDrive("C:\\Program Files\\Nowhere"));
  EXPECT_FALSE(isFixedDrive("relative\\path"));
  EXPECT_FALSE(isFixedDrive("\\\\server\\share\\x"));
  EXPECT_TRUE(isDirectory("C:\\Windows"));
  EXPECT_TRUE(isDirectory("C:\\"));
  EXPECT_FALSE(isDirectory("C:\\Windows\\no-such-folder-here"));
  EXPECT_FALSE(isDirectory(""));
}
