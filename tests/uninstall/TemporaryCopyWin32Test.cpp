// The uninstaller's temporary copy under Wine: no process can write or delete it
// between its copy and its start, its folder's access list admits only
// Administrators and SYSTEM, and it starts by its full path in its own folder.
// (Wine does not enforce access lists, so the list is read back, not tried; a
// Wine that keeps none either, answering from the Unix permissions, is said.)
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/FileMoves.h"
#include "platform/Files.h"
#include "platform/PrivateFolder.h"
#include "platform/WinDefs.h"
#include "support/TestFiles.h"
#include "system/FileOps.h"
#include "uninstall/TemporaryCopy.h"

TEST(TemporaryCopyWin32, CannotBeReplacedBeforeItStartsInItsOwnFolder) {
  char system[MAX_PATH];
  ASSERT_GT(platform::getSystemDirectory(system, sizeof system), 0);
  const std::string program = std::string(system) + "\\cmd.exe";
  SetupString folder;
  {
    TemporaryCopy copy;
    ASSERT_TRUE(copy.make(program.c_str()));
    folder = copy.folder();
    const char* path = copy.path().text();
    const platform::FileId writer = platform::createFile(
        path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, false,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(writer, platform::kInvalidFile) << "the copy could be opened for writing";
    if (writer != platform::kInvalidFile) platform::closeFile(writer);
    EXPECT_FALSE(platform::deleteFile(path));
    EXPECT_FALSE(platform::canDeleteFile(path));
    const std::string list = platform::folderAccessList(folder.text());
    EXPECT_NE(list.find("(A;OICI;FA;;;SY)"), std::string::npos) << list;
    if (list.compare(0, 3, "D:P") == 0) {
      EXPECT_NE(list.find("(A;OICI;FA;;;BA)"), std::string::npos) << list;
      EXPECT_EQ(list.find(";BU)"), std::string::npos) << list;
      EXPECT_EQ(list.find(";WD)"), std::string::npos) << list;
    } else {
      std::printf("TemporaryCopyWin32: skipped: this Wine keeps no access list (%s)\n",
                  list.c_str());
    }

    const std::string line = "\"" + std::string(path) + "\" /c echo ran>ran.txt";
    ASSERT_TRUE(copy.start(line.c_str()));
  }
  // The command wrote into its working folder: the copy's own.
  const std::string ran = std::string(folder.text()) + "\\ran.txt";
  std::string text;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while ((!readTestFile(ran.c_str(), text) || text.empty()) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(text, "ran\r\n");
  while (!deleteTree(folder.text(), 0, true) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

// A copy that is never started leaves nothing behind.
TEST(TemporaryCopyWin32, NotStartedItIsRemovedWithItsFolder) {
  char system[MAX_PATH];
  ASSERT_GT(platform::getSystemDirectory(system, sizeof system), 0);
  SetupString folder;
  {
    TemporaryCopy copy;
    ASSERT_TRUE(copy.make((std::string(system) + "\\cmd.exe").c_str()));
    folder = copy.folder();
  }
  EXPECT_EQ(platform::getFileAttributes(folder.text()), INVALID_FILE_ATTRIBUTES);
}
