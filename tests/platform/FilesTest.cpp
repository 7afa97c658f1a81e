// The file calls as Windows answers them; under Wine these run against Wine's real
// CopyFileA, which holds the host backend to the same answers.
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/Paths.h"
#include "platform/WinDefs.h"
#include "support/TestFiles.h"
#include "system/FileOps.h"

namespace {

const char* kBase = "C:\\kestrane-tests\\files";

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    createFolder("C:\\kestrane-tests");
    ASSERT_TRUE(deleteTree(kBase, 0, true) || !isDirectory(kBase));
    ASSERT_TRUE(createFolder(kBase));
    ASSERT_TRUE(createFolder(at("sub").c_str()));
  }
  void TearDown() override { deleteTree(kBase, 0, true); }

  static std::string at(const char* relative) { return std::string(kBase) + "\\" + relative; }

  static void write(const std::string& path, const std::string& text) {
    const platform::FileId file =
        platform::createFile(path.c_str(), GENERIC_WRITE, 0, false, CREATE_ALWAYS, 0);
    ASSERT_NE(file, platform::kInvalidFile) << path;
    EXPECT_TRUE(platform::writeFile(file, text.data(), std::uint32_t(text.size()), nullptr));
    EXPECT_TRUE(platform::closeFile(file));
  }
  static std::string read(const std::string& path) {
    std::string content = "(unreadable)";
    readTestFile(path.c_str(), content);
    return content;
  }
};

}  // namespace

TEST_F(Files, CopyCreatesOrReplacesAsAsked) {
  write(at("a.txt"), "source text");
  EXPECT_TRUE(platform::copyFile(at("a.txt").c_str(), at("b.txt").c_str(), true));
  EXPECT_EQ(read(at("b.txt")), "source text");

  write(at("b.txt"), "older, longer destination");
  EXPECT_FALSE(platform::copyFile(at("a.txt").c_str(), at("b.txt").c_str(), true));
  EXPECT_EQ(read(at("b.txt")), "older, longer destination");
  EXPECT_TRUE(platform::copyFile(at("a.txt").c_str(), at("b.txt").c_str(), false));
  EXPECT_EQ(read(at("b.txt")), "source text");

  EXPECT_FALSE(platform::copyFile(at("absent.txt").c_str(), at("c.txt").c_str(), false));
  EXPECT_FALSE(platform::copyFile(at("a.txt").c_str(), at("no-folder\\c.txt").c_str(), false));
  EXPECT_EQ(platform::getFileAttributes(at("c.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The system copy of a file whose folder is the system folder is such a copy.
TEST_F(Files, CopyOntoItselfFailsAndKeepsTheFile) {
  write(at("a.txt"), "must survive");
  const std::string spellings[] = {
      at("a.txt"),
      at("sub\\..\\a.txt"),
      at(".\\a.txt"),
      "c:/kestrane-tests/files//a.txt",
  };
  for (const std::string& destination : spellings) {
    for (bool failIfExists : {false, true}) {
      EXPECT_FALSE(platform::copyFile(at("a.txt").c_str(), destination.c_str(), failIfExists))
          << destination << " " << failIfExists;
      EXPECT_EQ(read(at("a.txt")), "must survive") << destination << " " << failIfExists;
    }
  }
}

// A file held open as another program holds it: what it shares decides what
// others may do meanwhile, and nothing of it is lost to a refused open.
TEST_F(Files, AFileHeldOpenRefusesWhatItsSharingForbids) {
  write(at("held.txt"), "in use");
  write(at("sub\\other.txt"), "deletable");
  const platform::FileId exclusive =
      platform::createFile(at("held.txt").c_str(), GENERIC_READ, 0, false, OPEN_EXISTING, 0);
  ASSERT_NE(exclusive, platform::kInvalidFile);
  EXPECT_EQ(platform::createFile(at("held.txt").c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, false, CREATE_ALWAYS, 0),
            platform::kInvalidFile);
  EXPECT_FALSE(platform::deleteFile(at("held.txt").c_str()));
  // The install pass empties a folder this way: what could go, went.
  EXPECT_FALSE(deleteTree(kBase, 0, true));
  EXPECT_EQ(platform::getFileAttributes(at("sub\\other.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(platform::closeFile(exclusive));
  EXPECT_EQ(read(at("held.txt")), "in use");

  // Shared for reading and writing but not for deleting, as the installer
  // writes: a second such open works, a delete still does not.
  const std::uint32_t readWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
  const platform::FileId shared = platform::createFile(
      at("held.txt").c_str(), GENERIC_READ | GENERIC_WRITE, readWrite, false, OPEN_EXISTING, 0);
  ASSERT_NE(shared, platform::kInvalidFile);
  const platform::FileId second = platform::createFile(at("held.txt").c_str(), GENERIC_READ,
                                                       readWrite, false, OPEN_EXISTING, 0);
  EXPECT_NE(second, platform::kInvalidFile);
  EXPECT_FALSE(platform::deleteFile(at("held.txt").c_str()));
  EXPECT_TRUE(platform::closeFile(second));
  EXPECT_TRUE(platform::closeFile(shared));

  EXPECT_TRUE(platform::deleteFile(at("held.txt").c_str()));
  EXPECT_TRUE(deleteTree(kBase, 0, true));
}

TEST_F(Files, AccentedNamesAreMadeFoundAndRemoved) {
  // Windows-1252 names, whatever code page the system itself runs in.
  const std::string folder = at("Caf\xE9 M\xFCller"), file = folder + "\\Soci\xE9t\xE9 \x80.txt";
  ASSERT_TRUE(platform::createDirectory(folder.c_str()));
  write(file, "na\xEFve");
  EXPECT_EQ(read(file), "na\xEFve");
  EXPECT_TRUE(platform::copyFile(file.c_str(), (folder + "\\\xC6sop.txt").c_str(), true));

  std::vector<std::string> names;
  platform::FindData found;
  platform::FindId search = platform::findFirstFile((folder + "\\*").c_str(), found);
  ASSERT_NE(search, nullptr);
  do {
    if (found.name[0] != '.') names.push_back(found.name);
  } while (platform::findNextFile(search, found));
  platform::findClose(search);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Soci\xE9t\xE9 \x80.txt", "\xC6sop.txt"}));

  EXPECT_TRUE(platform::deleteFile(file.c_str()));
  EXPECT_TRUE(platform::deleteFile((folder + "\\\xC6sop.txt").c_str()));
  EXPECT_TRUE(platform::removeDirectory(folder.c_str()));
  EXPECT_EQ(platform::getFileAttributes(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}
