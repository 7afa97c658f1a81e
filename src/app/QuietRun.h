// The install without a window (/quiet): every question takes the answer a
// careful administrator would give, and the run says how it ended in its exit
// code and its log, never in a message box.
//
//   the folder exists            install into it, as an upgrade from the wizard
//   not a local drive, no room   1603, nothing written
//   files in use                 1603, the log names the programs holding them
//   the log cannot be written    1603, nothing installed
#pragma once

#include "app/CommandLine.h"
#include "package/InstallModel.h"
#include "system/RunLog.h"

// The exit codes of the runs started with switches: the numbers deployment
// tools know. The wizard keeps its own (0 once its window closes, -1 after the
// fatal start-up error).
enum RunExitCode : int {
  kExitSuccess = 0,
  kExitCancelled = 1602,
  kExitFailed = 1603,
  kExitAnotherCopy = 1618,
  kExitUnsupportedPlatform = 1633,
  kExitNewerInstalled = 1638,
  kExitBadCommandLine = 1639,
};

// Opens the log `line` names, or "NAME Setup.log" in the folder for temporary
// files (`name`: the product's, or the program's when the package could not be
// read). False when it cannot be written.
bool openRunLog(const CommandLine& line, const char* name, RunLog& log);

// Writes the run's opening lines: the setup, the product, the switches.
void logRunStart(RunLog& log, const InstallModel* model, const char* commandLine);

// Takes the optional file types `line` asks for into options.fileTypeChoices. An
// extension the setup does not offer is written to the log and passed over.
void chooseFileTypes(const CommandLine& line, const InstallModel& model, InstallOptions& options,
                     RunLog& log);

// Installs `model` as `line` asks, without a window, into the log. Returns the
// exit code.
int installQuietly(const CommandLine& line, const InstallModel& model, InstallOptions& options,
                   RunLog& log);
