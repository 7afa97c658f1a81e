// Windows will not delete a program's file while it runs, so the uninstaller ends
// its work from a copy of itself in the temporary folder: the copy waits for the
// original to end, deletes it and the install folder, and has the system delete
// the copy itself when it next starts. Nothing else is left behind.
#pragma once

#include <cstdint>

#include "base/SetupString.h"
#include "platform/Files.h"

// The switch that starts the copy: "<copy> --finish <process id> <original file>".
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

// In the original: makes the temporary copy and starts it with this process's id
// and ownFile. False when the copy cannot be made or started; the copy is then
// not left behind.
bool startTemporaryCopy(const char* ownFile);

// In the copy: waits up to a minute for the original process to end, then for its
// file to become deletable, and deletes it. False when it is still there.
bool removeOriginal(std::uint32_t processId, const char* originalFile);

// In the copy: has the system delete the copy's own file, then its folder, when it
// next starts.
bool deleteSelfAtReboot();
