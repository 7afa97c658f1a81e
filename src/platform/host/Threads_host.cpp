// Windows threads over POSIX threads: a start gate for creating suspended, and a
// shared record that keeps the exit code for as long as a handle refers to it.
#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "platform/Threads.h"
#include "platform/WinDefs.h"

namespace platform {
namespace {

struct HostThread {
  ThreadStart start;
  void* parameter;
  std::mutex lock;
  std::condition_variable changed;
  bool resumed = false;
  bool done = false;
  std::uint32_t exitCode = STILL_ACTIVE;
  std::atomic<int> references{2};  // the handle and the running thread
};

void release(HostThread* t) {
  if (t->references.fetch_sub(1) == 1) delete t;
}

void* threadMain(void* p) {
  auto* t = static_cast<HostThread*>(p);
  {
    std::unique_lock<std::mutex> hold(t->lock);
    t->changed.wait(hold, [t] { return t->resumed; });
  }
  const std::uint32_t code = t->start(t->parameter);
  {
    std::lock_guard<std::mutex> hold(t->lock);
    t->exitCode = code;
    t->done = true;
  }
  t->changed.notify_all();
  release(t);
  return nullptr;
}

}  // namespace

ThreadId createThread(ThreadStart start, void* parameter, bool suspended, std::uint32_t* threadId) {
  auto* t = new HostThread;
  t->start = start;
  t->parameter = parameter;
  t->resumed = !suspended;
  pthread_t thread;
  if (pthread_create(&thread, nullptr, threadMain, t) != 0) {
    delete t;
    return nullptr;
  }
  pthread_detach(thread);
  static std::atomic<std::uint32_t> nextId{1};
  if (threadId != nullptr) *threadId = nextId++;
  return t;
}

bool setThreadPriority(ThreadId thread, int) {
  return thread != nullptr;
}

bool resumeThread(ThreadId thread) {
  if (thread == nullptr) return false;
  auto* t = static_cast<HostThread*>(thread);
  {
    std::lock_guard<std::mutex> hold(t->lock);
    t->resumed = true;
  }
  t->changed.notify_all();
  return true;
}

bool getExitCodeThread(ThreadId thread, std::uint32_t* code) {
  if (thread == nullptr || code == nullptr) return false;
  auto* t = static_cast<HostThread*>(thread);
  std::lock_guard<std::mutex> hold(t->lock);
  *code = t->exitCode;
  return true;
}

bool waitForThread(ThreadId thread) {
  if (thread == nullptr) return false;
  auto* t = static_cast<HostThread*>(thread);
  std::unique_lock<std::mutex> hold(t->lock);
  t->changed.wait(hold, [t] { return t->done; });
  return true;
}

bool closeThread(ThreadId thread) {
  if (thread == nullptr) return false;
  release(static_cast<HostThread*>(thread));
  return true;
}

}  // namespace platform
