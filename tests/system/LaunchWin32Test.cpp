// Starting the installed program after setup, under Wine: its desktop shell has
// no folder view to ask, so the program is started directly, and it must still
// start, in its own folder.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/WinDefs.h"
#include "support/TestFiles.h"
#include "system/FileOps.h"
#include "system/ShellActions.h"

TEST(LaunchWin32, WithoutADesktopShellToAskTheProgramStartsDirectly) {
  const char folder[] = "C:\\kestrane-tests\\launch\\";
  createFolder("C:\\kestrane-tests");
  deleteTree(folder, 0, true);
  ASSERT_TRUE(createFolder(folder));
  const std::string script = "@echo ran>ran.txt\r\n";
  const platform::FileId file = platform::createFile("C:\\kestrane-tests\\launch\\mark.cmd",
                                                     GENERIC_WRITE, 0, false, CREATE_ALWAYS, 0);
  ASSERT_NE(file, platform::kInvalidFile);
  ASSERT_TRUE(platform::writeFile(file, script.data(), std::uint32_t(script.size()), nullptr));
  ASSERT_TRUE(platform::closeFile(file));

  // Wine gives programs an administrator's elevated token, so the desktop shell
  // is asked first, and says no.
  EXPECT_TRUE(platform::isElevated());
  EXPECT_FALSE(platform::shellExecuteFromDesktop("C:\\kestrane-tests\\launch\\mark.cmd", "",
                                                 "C:\\kestrane-tests\\launch", SW_SHOWNORMAL));
  // A folder part of the item's name is dropped, as for every installed file.
  EXPECT_EQ(launchProgramAsUser(nullptr, "bin\\mark.cmd", folder), LaunchRoute::Direct);

  std::string ran;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  // The file may be there a moment before its text.
  while ((!readTestFile("C:\\kestrane-tests\\launch\\ran.txt", ran) || ran.empty()) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(ran, "ran\r\n");
  deleteTree(folder, 0, true);
}
