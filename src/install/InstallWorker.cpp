#include "install/InstallWorker.h"

InstallWorker::~InstallWorker() {
  stopAndWait();
}

std::uint32_t InstallWorker::run() {
  // Without both there is nothing to install; the pass only reports its start
  // and end.
  InstallOptions none;
  const InstallTarget nowhere;
  const bool ready = options_ != nullptr && target_ != nullptr;
  runInstallPass(ready ? *options_ : none, ready ? *target_ : nowhere, *this);
  return 0;
}

void InstallWorker::onDone(int state) {
  post(Message::Done, state);
}

bool InstallWorker::onProgress(int percent) {
  if (cancelRequested()) return false;
  post(Message::Progress, percent);
  return true;
}

void InstallWorker::onError(const FailureRecord& failure) {
  failure_ = failure;
  post(Message::Error, reinterpret_cast<std::intptr_t>(&failure_));
}
