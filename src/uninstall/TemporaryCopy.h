// Windows will not delete a program's file while it runs, so the uninstaller ends
// its work from a copy of itself in the temporary folder: the copy waits for the
// original to end, deletes it and the install folder, and has the system delete
// the copy itself when it next starts. Nothing else is left behind.
#pragma once

#include <cstdint>

#include "base/SetupString.h"
#include "platform/Files.h"

// The switch that starts the copy:
//   "<copy> --finish <process id> <original file>" and, for a run without
//   questions, the quiet switch after it.
constexpr char kFinishSwitch[] = "--finish";

// The copy of an elevated uninstaller, made so that no process that is not
// elevated can replace it between its writing and its start: in a new folder of
// the temporary folder that only Administrators and SYSTEM may write, and held
// open for reading, without write or delete sharing, until it has started.
class TemporaryCopy {
 public:
  TemporaryCopy() = default;
  TemporaryCopy(const TemporaryCopy&) = delete;
  TemporaryCopy& operator=(const TemporaryCopy&) = delete;
  // Lets the copy go; one that was never started is deleted with its folder.
  ~TemporaryCopy();

  // Makes the folder and the copy of `ownFile` and holds it. False, with nothing
  // left behind, when any step fails.
  bool make(const char* ownFile);
  // Starts the copy by its full path with `commandLine`, its folder as the
  // working folder, then lets it go. False when it could not be started.
  bool start(const char* commandLine);

  const SetupString& folder() const { return folder_; }
  const SetupString& path() const { return path_; }

 private:
  SetupString folder_;
  SetupString path_;
  platform::FileId hold_ = platform::kInvalidFile;
  bool started_ = false;
};

// How the copy answered the original (handOverToTemporaryCopy).
enum class CopyAnswer {
  NotStarted,  // no copy runs: the original does the work itself
  Removed,     // the copy removed everything but the original
  Failed,      // the copy ran but could not remove everything
  NoAnswer,    // started, but no answer in the time given
};

// The events by which the copy answers original process `originalId`: named in
// the session's space after that id, which no other running process has.
SetupString copyAnswerName(std::uint32_t originalId, bool removed);

// In the original: makes the events by which the copy answers (named after this
// process's id), makes the temporary copy and starts it with this process's id,
// ownFile and, when `quiet`, the quiet switch, then waits up to `milliseconds`
// for its answer. A tool that waits for the original thus sees the removal done.
// NotStarted, with no copy left behind, when the events or the copy cannot be
// made or it cannot be started; events another process made under our names are
// never trusted. On the host the copy's start only writes a line and the wait
// does not wait: the answer is NoAnswer at once.
CopyAnswer handOverToTemporaryCopy(const char* ownFile, bool quiet, std::uint32_t milliseconds);

// In the copy: the answer to the original process `originalId`, given once. When
// the original is gone (or the copy was started by hand) there is no one to
// answer and nothing happens. One destroyed without an answer answers Failed, so
// that a copy that gives up early never leaves the original waiting.
class CopyReport {
 public:
  explicit CopyReport(std::uint32_t originalId);
  CopyReport(const CopyReport&) = delete;
  CopyReport& operator=(const CopyReport&) = delete;
  ~CopyReport();

  // False when there was no one to tell, or the answer was given already.
  bool answer(bool removed);

 private:
  std::uint32_t originalId_;
  bool answered_ = false;
};

// In the copy: waits up to a minute for the original process to end, then for its
// file to become deletable, and deletes it. False when it is still there.
bool removeOriginal(std::uint32_t processId, const char* originalFile);

// In the copy: has the system delete the copy's own file, then its folder, when it
// next starts.
bool deleteSelfAtReboot();
