#include "platform/host/FailureInjection.h"

#include <atomic>
#include <mutex>

namespace platform::host {
namespace {

std::mutex gLock;
int gCountdown[int(HostCall::kCount)] = {};  // 0: nothing pending
std::atomic<bool> gHideDiskFreeSpaceEx{false};

}  // namespace

void failNthCall(HostCall kind, int n) {
  std::lock_guard<std::mutex> hold(gLock);
  gCountdown[int(kind)] = n > 0 ? n : 0;
}

void clearFailures() {
  std::lock_guard<std::mutex> hold(gLock);
  for (int& c : gCountdown) c = 0;
}

bool injectedFailure(HostCall kind) {
  std::lock_guard<std::mutex> hold(gLock);
  int& c = gCountdown[int(kind)];
  return c > 0 && --c == 0;
}

void hideDiskFreeSpaceEx(bool hidden) {
  gHideDiskFreeSpaceEx = hidden;
}
bool diskFreeSpaceExHidden() {
  return gHideDiskFreeSpaceEx;
}

}  // namespace platform::host
