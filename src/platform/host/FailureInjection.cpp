#include "platform/host/FailureInjection.h"

#include <unistd.h>

#include <atomic>
#include <mutex>

namespace platform::host {
namespace {

std::mutex gLock;
int gCountdown[int(HostCall::kCount)] = {};  // 0: nothing pending
int gEndCountdown = 0;                       // 0: nothing pending
bool gTracing = false;
std::vector<TracedCall> gTrace;
std::atomic<bool> gHideDiskFreeSpaceEx{false};

}  // namespace

void failNthCall(HostCall kind, int n) {
  std::lock_guard<std::mutex> hold(gLock);
  gCountdown[int(kind)] = n > 0 ? n : 0;
}

void endProcessAtNthCall(int n) {
  std::lock_guard<std::mutex> hold(gLock);
  gEndCountdown = n > 0 ? n : 0;
}

void clearFailures() {
  std::lock_guard<std::mutex> hold(gLock);
  for (int& c : gCountdown) c = 0;
  gEndCountdown = 0;
}

bool injectedFailure(HostCall kind, const char* path) {
  std::lock_guard<std::mutex> hold(gLock);
  if (gTracing) gTrace.push_back({kind, path != nullptr ? path : ""});
  // No destructor, no buffer flushed: what is on the disk now is all there is.
  if (gEndCountdown > 0 && --gEndCountdown == 0) _exit(86);
  int& c = gCountdown[int(kind)];
  return c > 0 && --c == 0;
}

void traceCalls(bool on) {
  std::lock_guard<std::mutex> hold(gLock);
  gTracing = on;
  if (on) gTrace.clear();
}

std::vector<TracedCall> tracedCalls() {
  std::lock_guard<std::mutex> hold(gLock);
  return gTrace;
}

void hideDiskFreeSpaceEx(bool hidden) {
  gHideDiskFreeSpaceEx = hidden;
}
bool diskFreeSpaceExHidden() {
  return gHideDiskFreeSpaceEx;
}

}  // namespace platform::host
