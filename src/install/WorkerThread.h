// WorkerThread: a background thread that reports to a window by posted messages.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/PlatformTypes.h"
#include "platform/Threads.h"

// Where a worker's messages go; a zero message number, or no window, posts nothing.
struct WorkerNotifyTarget {
  platform::WindowHandle window = nullptr;
  unsigned progressMessage = 0;
  unsigned doneMessage = 0;
  unsigned errorMessage = 0;
};

class WorkerThread {
 public:
  WorkerThread() = default;
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  // Asks the thread to stop and waits for it.
  virtual ~WorkerThread();

  // The thread body; its result is the thread's exit code.
  virtual std::uint32_t run() = 0;
  // Asks the running pass to stop at its next chance.
  virtual void requestCancel() { cancelRequested_ = 1; }

  // Starts the thread unless one exists, then tidies. True when a thread was
  // started or is still running.
  bool start();
  // Releases the thread once it has ended; afterwards hasThread() is false.
  void tidy();
  // Blocks until the thread has ended, then tidies.
  void waitUntilEnded();
  bool hasThread() const { return thread_.load() != nullptr; }

  void setNotifyTarget(const WorkerNotifyTarget* target) { notify_ = target; }

 protected:
  enum class Message { Progress, Done, Error };
  void post(Message message, std::intptr_t lParam) const;
  bool cancelRequested() const { return cancelRequested_.load() != 0; }
  // Derived destructors call this first, so the thread never runs on a half-
  // destroyed worker.
  void stopAndWait();

 private:
  static std::uint32_t threadMain(void* self);

  std::atomic<platform::ThreadId> thread_{nullptr};
  std::atomic<int> cancelRequested_{0};
  const WorkerNotifyTarget* notify_ = nullptr;
  std::uint32_t threadId_ = 0;
};
