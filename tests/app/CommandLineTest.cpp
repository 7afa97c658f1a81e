// The command-line reader as one table: each switch and its aliases, values,
// and what is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/QuietRun.h"

namespace {

struct Case {
  std::vector<std::string> arguments;
  std::string raw;  // empty: the arguments joined by spaces
  RunMode mode;
  std::string folder;
  std::string bad;
};

TEST(CommandLine, ReadsEverySwitchAndRefusesTheRest) {
  const Case cases[] = {
      {{}, "", RunMode::Wizard, "", ""},
      {{"/quiet"}, "", RunMode::Quiet, "", ""},
      {{"-VerySilent"}, "", RunMode::Quiet, "", ""},
      {{"/S"}, "", RunMode::Quiet, "", ""},
      {{"/passive"}, "", RunMode::Passive, "", ""},
      {{"-SILENT"}, "", RunMode::Passive, "", ""},
      // The system's splitting took the quotes away, wherever they stood.
      {{"/quiet", "/dir=C:\\a b"}, "", RunMode::Quiet, "C:\\a b", ""},
      // /D= takes the rest of the raw line, split or not, quotes and all.
      {{"/S", "/D=C:\\Program", "Files\\X"},
       "Setup.exe /S /D=C:\\Program Files\\X ",
       RunMode::Quiet,
       "C:\\Program Files\\X",
       ""},
      {{"/d=\"C:\\x\""}, "Setup.exe /d=\"C:\\x\"", RunMode::Wizard, "\"C:\\x\"", ""},
      // Refused: unknown, twice (aliases too), a value where none belongs and
      // none where one does, and two folders.
      {{"/install"}, "", RunMode::Wizard, "", "/install"},
      {{"quiet"}, "", RunMode::Wizard, "", "quiet"},
      {{"/quiet", "/S"}, "", RunMode::Quiet, "", "/S"},
      {{"/quiet", "/passive"}, "", RunMode::Quiet, "", "/passive"},
      {{"/quiet=1"}, "", RunMode::Wizard, "", "/quiet=1"},
      {{"/dir"}, "", RunMode::Wizard, "", "/dir"},
      {{"/dir="}, "", RunMode::Wizard, "", "/dir="},
      {{"/dir=C:\\a", "/D=C:\\b"}, "", RunMode::Wizard, "C:\\a", "/D=C:\\b"},
      {{"/filetypes=txt,,log"}, "", RunMode::Wizard, "", "/filetypes=txt,,log"},
  };
  for (const Case& c : cases) {
    std::string raw = c.raw;
    if (raw.empty()) {
      raw = "Setup.exe";
      for (const std::string& a : c.arguments) raw += " " + a;
    }
    const CommandLine line = readCommandLine(c.arguments, raw);
    SCOPED_TRACE(raw);
    EXPECT_EQ(line.mode, c.mode);
    EXPECT_EQ(line.folder, c.folder);
    EXPECT_EQ(line.bad, c.bad);
  }
}

TEST(CommandLine, ReadsLogFileTypesAndHelp) {
  CommandLine line = readCommandLine({"/LOG=C:\\t\\s.log", "/filetypes=.txt,LOG", "/?"}, "");
  ASSERT_TRUE(line.ok());
  EXPECT_EQ(line.log, "C:\\t\\s.log");
  EXPECT_EQ(line.fileTypeChoice, FileTypeChoice::Listed);
  EXPECT_EQ(line.fileTypes, (std::vector<std::string>{"txt", "LOG"}));
  EXPECT_TRUE(line.help);
  EXPECT_EQ(readCommandLine({"/filetypes=ALL"}, "").fileTypeChoice, FileTypeChoice::All);
  EXPECT_EQ(readCommandLine({"/filetypes=none"}, "").fileTypeChoice, FileTypeChoice::None);
  EXPECT_EQ(readCommandLine({}, "").fileTypeChoice, FileTypeChoice::Default);
}

}  // namespace

// What /dir= may name: a whole local path, split into the target's parent and
// folder; relative, network and over-long paths and illegal names are refused.
TEST(CommandLine, TakesAWholeLocalFolderOnly) {
  const struct {
    const char* folder;
    const char* parent;  // null: refused
    const char* name;
  } cases[] = {
      {"C:\\Quiet Place\\Demo", "C:\\Quiet Place", "Demo"},
      {"d:\\Demo\\", "d:\\", "Demo"},
      {"Demo", nullptr, nullptr},
      {"C:Demo", nullptr, nullptr},
      {"\\\\server\\share\\Demo", nullptr, nullptr},
      {"C:\\a|b\\Demo", nullptr, nullptr},
      {"C:\\", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    CommandLine line;
    line.folder = c.folder;
    InstallTarget target;
    InstallOptions options;
    RunLog closed;
    EXPECT_EQ(takeCommandLineFolder(line, target, options, closed), c.parent != nullptr)
        << c.folder;
    if (c.parent == nullptr) continue;
    EXPECT_STREQ(target.parentFolder.text(), c.parent) << c.folder;
    EXPECT_STREQ(target.folderName.text(), c.name) << c.folder;
    EXPECT_STREQ(options.ParentFolder.text(), c.parent) << c.folder;
  }
  CommandLine tooLong;
  tooLong.folder = "C:\\" + std::string(250, 'a');
  InstallTarget target;
  InstallOptions options;
  RunLog closed;
  EXPECT_FALSE(takeCommandLineFolder(tooLong, target, options, closed));
}
