// InstallWorker: the install pass (InstallPass.h) on its own thread, reporting
// to a window by messages: done(0) first, progress percentages while inflating,
// then either one error (with the FailureRecord's address) or done(1).
#pragma once

#include <cstdint>

#include "install/InstallPass.h"
#include "install/WorkerThread.h"
#include "package/InstallModel.h"

class InstallWorker : public WorkerThread, private InstallListener {
 public:
  InstallWorker() = default;
  ~InstallWorker() override;

  // The choices and model of the next pass, and where it goes; read while the
  // thread runs, the options written by its last step only (the saved settings
  // empty ParentMenuEntry when TopMenuEntry is set).
  void setOptions(InstallOptions* options, const InstallTarget* target) {
    options_ = options;
    target_ = target;
  }
  // The last failure; written before the error message is posted.
  const FailureRecord& failure() const { return failure_; }

  std::uint32_t run() override;

 private:
  void onDone(int state) override;
  bool onProgress(int percent) override;
  void onError(const FailureRecord& failure) override;

  FailureRecord failure_;
  InstallOptions* options_ = nullptr;
  const InstallTarget* target_ = nullptr;
};
