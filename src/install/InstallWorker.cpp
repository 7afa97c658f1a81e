#include "install/InstallWorker.h"

InstallWorker::~InstallWorker() {
  stopAndWait();
}

std::uint32_t InstallWorker::run() {
  InstallOptions none;
  runInstallPass(options_ != nullptr ? *options_ : none, *this);
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
