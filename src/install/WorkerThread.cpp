#include "install/WorkerThread.h"

#include "platform/Messages.h"
#include "platform/WinDefs.h"

WorkerThread::~WorkerThread() {
  stopAndWait();
}

void WorkerThread::stopAndWait() {
  cancelRequested_ = 1;
  waitUntilEnded();
}

std::uint32_t WorkerThread::threadMain(void* self) {
  return static_cast<WorkerThread*>(self)->run();
}

bool WorkerThread::start() {
  bool started = false;
  if (thread_.load() == nullptr) {
    cancelRequested_ = 0;
    const platform::ThreadId thread = platform::createThread(threadMain, this, true, &threadId_);
    if (thread != nullptr) {
      platform::setThreadPriority(thread, THREAD_PRIORITY_NORMAL);
      thread_ = thread;
      platform::resumeThread(thread);
      started = true;
    }
  }
  tidy();
  // A short pass may be over, and its thread released, by the time tidy runs; it
  // was started all the same.
  return started || thread_.load() != nullptr;
}

void WorkerThread::tidy() {
  // The handle is released here rather than by the thread itself, so that it is
  // closed exactly once and only after the thread has ended.
  const platform::ThreadId thread = thread_.load();
  std::uint32_t code = 0;
  if (thread != nullptr && platform::getExitCodeThread(thread, &code) && code != STILL_ACTIVE) {
    platform::closeThread(thread);
    thread_ = nullptr;
  }
}

void WorkerThread::waitUntilEnded() {
  if (const platform::ThreadId thread = thread_.load()) platform::waitForThread(thread);
  tidy();
}

void WorkerThread::post(Message message, std::intptr_t lParam) const {
  if (notify_ == nullptr || notify_->window == nullptr) return;
  const unsigned number = message == Message::Progress ? notify_->progressMessage
                          : message == Message::Done   ? notify_->doneMessage
                                                       : notify_->errorMessage;
  if (number != 0) platform::postMessage(notify_->window, number, 0, lParam);
}
