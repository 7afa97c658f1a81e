// The uninstaller's command line and its run without questions (/quiet), for the
// deployment tools that start it from the entry's "QuietUninstallString" and judge
// it by its exit code. Such a run asks nothing and shows nothing: what the
// closing message would say goes into a log, "%TEMP%\NAME Uninstall.log".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/SetupString.h"
#include "system/RunLog.h"
#include "uninstall/UninstallPlan.h"

// Exit codes of the quiet run; the interactive run keeps its own (0, and -1
// when the uninstaller knows no package).
constexpr int kExitRemoved = 0;
constexpr int kExitFailed = 1603;
constexpr int kExitBadCommandLine = 1639;

// How long the original waits for its temporary copy's answer.
constexpr std::uint32_t kCopyAnswerMs = 5 * 60 * 1000;

struct UninstallCommand {
  bool quiet = false;
  // Started as the temporary copy, to finish the work of process originalId,
  // whose file is `original`.
  bool finish = false;
  std::uint32_t originalId = 0;
  std::string original;
  // The first argument of a quiet command line that is not understood (or a
  // repeated quiet switch); empty when there is none. Without the quiet switch
  // arguments are ignored, as they always were.
  std::string refused;
};

// Reads the arguments after the program's name. The quiet switch is "quiet",
// "verysilent" or "S" after '/' or '-', in any case, given once. The copy's
// arguments are "--finish ID FILE", the quiet switch after them when it was given.
UninstallCommand readUninstallCommand(const std::vector<std::string>& arguments);

// "%TEMP%\NAME Uninstall.log", NAME the display name with every character a
// file name cannot hold replaced by '_' ("Uninstall.log" without one). False
// when the temporary folder is unknown.
bool uninstallLogPath(const char* displayName, SetupString& path);

// The first lines: who runs, for what product, from where.
void logStart(RunLog& log, const UninstallPlan& plan, const char* commandLine);

// The quiet answer to files in use is Cancel: each held file and the programs
// holding them (where the system can tell) are logged. True when none is held.
bool noFileInUse(const UninstallPlan& plan, RunLog& log);

// Removes everything but the uninstaller's own file (removeInstallation), then
// logs what will stay in the install folder (the user's and changed files), the
// copies left in the system folder, each unchanged installed file that could not
// be deleted, and the result. Returns kExitRemoved, or kExitFailed when a file
// that was to go is still there.
int removeAllButOwnFile(const UninstallPlan& plan, RunLog& log);

// The last line: the exit code, and what it means.
void logResult(RunLog& log, int exitCode);
