#include <windows.h>

#include "platform/Threads.h"

namespace platform {
namespace {

// The start routine is called through this, since ThreadStart is not WINAPI.
struct Launch {
  ThreadStart start;
  void* parameter;
};

DWORD WINAPI threadMain(LPVOID p) {
  const Launch launch = *static_cast<Launch*>(p);
  delete static_cast<Launch*>(p);
  return launch.start(launch.parameter);
}

}  // namespace

ThreadId createThread(ThreadStart start, void* parameter, bool suspended, std::uint32_t* threadId) {
  auto* launch = new Launch{start, parameter};
  DWORD id = 0;
  const HANDLE thread =
      CreateThread(nullptr, 0, threadMain, launch, suspended ? CREATE_SUSPENDED : 0, &id);
  if (thread == nullptr) {
    delete launch;
    return nullptr;
  }
  if (threadId != nullptr) *threadId = id;
  return thread;
}

bool setThreadPriority(ThreadId thread, int priority) {
  return SetThreadPriority(static_cast<HANDLE>(thread), priority) != FALSE;
}

bool resumeThread(ThreadId thread) {
  return ResumeThread(static_cast<HANDLE>(thread)) != DWORD(-1);
}

bool getExitCodeThread(ThreadId thread, std::uint32_t* code) {
  DWORD exitCode = 0;
  if (!GetExitCodeThread(static_cast<HANDLE>(thread), &exitCode)) return false;
  *code = exitCode;
  return true;
}

bool waitForThread(ThreadId thread) {
  return WaitForSingleObject(static_cast<HANDLE>(thread), INFINITE) == WAIT_OBJECT_0;
}

bool closeThread(ThreadId thread) {
  return CloseHandle(static_cast<HANDLE>(thread)) != FALSE;
}

}  // namespace platform
