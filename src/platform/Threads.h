// Threads: created suspended, given a priority, resumed, and asked for their exit
// code, as the Windows thread calls do.
#pragma once

#include <cstdint>

namespace platform {

using ThreadId = void*;  // null when there is no thread
using ThreadStart = std::uint32_t (*)(void* parameter);

// Creates a thread running start(parameter), suspended until resumeThread.
ThreadId createThread(ThreadStart start, void* parameter, bool suspended, std::uint32_t* threadId);
bool setThreadPriority(ThreadId thread, int priority);
bool resumeThread(ThreadId thread);
// The thread's exit code, or STILL_ACTIVE while it runs.
bool getExitCodeThread(ThreadId thread, std::uint32_t* code);
// Blocks until the thread has ended.
bool waitForThread(ThreadId thread);
// Releases the handle; a running thread goes on.
bool closeThread(ThreadId thread);

}  // namespace platform
