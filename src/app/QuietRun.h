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
#include "install/InstallPass.h"
#include "package/InstallModel.h"
#include "system/InstallTarget.h"
#include "system/RunLog.h"

// Opens the log `line` names, or "NAME Setup.log" in the folder for temporary
// files (`name`: the product's, or the program's when the package could not be
// read). False when it cannot be written.
bool openRunLog(const CommandLine& line, const char* name, RunLog& log);

// Writes the run's opening lines: the setup, the product, the switches.
void logRunStart(RunLog& log, const InstallModel* model, const char* commandLine);

// What a failed pass says in the log: the step, the path and the programs
// holding files, where the system can tell.
void logInstallFailure(RunLog& log, const FailureRecord& failure);
// The closing lines of a pass that ended well: each file it wrote below
// `location`.
void logInstalledFiles(RunLog& log, const InstallModel& model, const char* location);

// Takes the whole folder /dir gives, if any, into `target` (its parent and its
// name) and options.ParentFolder. False, with a log line, when it is not a whole
// local path: relative, UNC and over-long paths make the command line bad.
bool takeCommandLineFolder(const CommandLine& line, InstallTarget& target, InstallOptions& options,
                           RunLog& log);

// Takes the optional file types `line` asks for into options.fileTypeChoices. An
// extension the setup does not offer is written to the log and passed over.
void chooseFileTypes(const CommandLine& line, const InstallModel& model, InstallOptions& options,
                     RunLog& log);

// Makes the folders above the target's location that are not there yet (a
// folder given whole may lie below some). False, with a log line, when one
// cannot be made.
bool makeParentFolders(const InstallTarget& target, RunLog& log);

// Whether the product is installed already in a newer version than this
// setup's, which a setup never replaces; the log says which versions met (an
// upgrade, a repair, or the refusal).
bool newerInstalled(const InstallModel& model, const InstallTarget& target, RunLog& log);

// Whether the target's folder will do, as the folder page judges it: on a local
// fixed disk with room for the files. False, with the reason in the log.
bool folderUsable(const InstallModel& model, const InstallTarget& target, RunLog& log);

// Installs `model` into `target` with `options`, without a window, writing what
// happens to the log. Returns the exit code: 0 or 1603.
int installQuietly(const InstallModel& model, InstallOptions& options, const InstallTarget& target,
                   RunLog& log);
