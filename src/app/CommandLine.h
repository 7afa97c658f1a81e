// CommandLine: what the setup was asked to do when it was started, read from its
// arguments in one place. Every switch the setup knows is read here, and the
// rest of the program asks the result, never the arguments.
//
// Switches are case-insensitive, begin with '/' or '-', and each may be given
// once; any other argument makes the command line bad. A setup started without
// arguments runs its wizard.
//
//   /quiet  /verysilent  /S     no window and no message box at all
//   /passive  /silent           the window, straight to Installing, closing itself
//   /dir=PATH                   the whole install folder
//   /D=PATH                     the same, taking the rest of the command line as it
//                               stands, quotes and all, so it comes last
//   /log=FILE                   a log of the run, in UTF-8
//   /filetypes=EXT,EXT|all|none which optional file types to take
//   /help  /?                   the list of switches
#pragma once

#include <string>
#include <vector>

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

// How the setup runs.
enum class RunMode {
  Wizard,   // a person answers the pages
  Passive,  // the window shows progress only; nobody is asked anything
  Quiet,    // no window at all
};

// Which optional file types a run without questions takes.
enum class FileTypeChoice {
  Default,  // as the wizard ticks them
  All,
  None,
  Listed,  // those in CommandLine::fileTypes
};

struct CommandLine {
  RunMode mode = RunMode::Wizard;
  bool help = false;
  // Empty unless given.
  std::string folder;
  std::string log;
  FileTypeChoice fileTypeChoice = FileTypeChoice::Default;
  std::vector<std::string> fileTypes;  // without dots, as given
  // The first argument that could not be read, as given; empty when all were
  // read. The other fields then hold what was read before it.
  std::string bad;

  bool ok() const { return bad.empty(); }
  bool asksNothing() const { return mode != RunMode::Wizard; }
};

// Reads the arguments that follow the program's name, split as the system
// splits a command line. `raw` is the command line as it was given (with or
// without the program's name), for /D=, which takes the rest of it unsplit.
CommandLine readCommandLine(const std::vector<std::string>& arguments, const std::string& raw);

// The switches, one to a line, for the help box and the box that refuses a bad
// command line.
const char* commandLineUsage();
