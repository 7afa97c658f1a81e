// InstallWorker: the install pass on its own thread. It empties or creates the
// install folder, inflates every item into it and runs the registration stage,
// reporting by messages: done(0) first, progress percentages while inflating, then
// either one error (with the FailureRecord's address) or done(1).
#pragma once

#include <cstdint>

#include "base/SetupString.h"
#include "install/WorkerThread.h"
#include "package/InstallModel.h"
#include "platform/WinDefs.h"

// MSG_INSTALL_PROGRESS, MSG_INSTALL_DONE and MSG_INSTALL_ERROR are the program's
// private messages of WinDefs.h.

enum InstallError : std::int32_t {
  FailOverwriteFolder = 0,
  FailCreateFolder = 1,
  FailDecompress = 2,
  FailWriteFile = 3,
};

// The operation the error box names for each code.
const char* installErrorText(std::int32_t code);

struct FailureRecord {
  std::int32_t code = 0;
  SetupString path;  // the install location, the item's stored name or the target
};

class InstallWorker : public WorkerThread {
 public:
  InstallWorker() = default;
  ~InstallWorker() override;

  // The choices and model of the next pass; read while the thread runs, and
  // written by its last step only (the saved settings empty ParentMenuEntry when
  // TopMenuEntry is set).
  void setOptions(InstallOptions* options) { options_ = options; }
  // The last failure; written before the error message is posted.
  const FailureRecord& failure() const { return failure_; }

  std::uint32_t run() override;

 private:
  bool runInstall();
  // Copies, registrations, shortcuts and settings after the files are written;
  // nothing in it can fail the pass.
  void runRegistrationStage(const SetupString& location);
  bool fail(InstallError code, const SetupString& path);
  static int reportProgress(void* self, std::uint32_t consumed, std::uint32_t total);

  FailureRecord failure_;
  InstallOptions* options_ = nullptr;
  const OwningList<InstallItem>* items_ = nullptr;
  std::uint32_t itemCount_ = 0;
  std::uint32_t totalBytes_ = 1;
  std::uint32_t doneBytes_ = 0;
};
