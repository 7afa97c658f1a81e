#include "platform/host/MessageSink.h"

#include <mutex>
#include <set>

namespace platform::host {
namespace {

// One lock for registering and posting: a sink cannot retire while a post to it
// runs, so a worker never posts into a destroyed object.
struct Sinks {
  std::recursive_mutex lock;
  std::set<const void*> live;
};

Sinks& sinks() {
  static Sinks s;
  return s;
}

}  // namespace

MessageSink::MessageSink() {
  std::lock_guard<std::recursive_mutex> hold(sinks().lock);
  sinks().live.insert(handle());
}

MessageSink::~MessageSink() {
  retire();
}

void MessageSink::retire() {
  std::lock_guard<std::recursive_mutex> hold(sinks().lock);
  sinks().live.erase(handle());
}

bool postToSink(WindowHandle window, unsigned message, std::uintptr_t wParam,
                std::intptr_t lParam) {
  if (window == nullptr) return false;
  std::lock_guard<std::recursive_mutex> hold(sinks().lock);
  if (sinks().live.count(window) == 0) return false;
  return static_cast<MessageSink*>(window)->post(window, message, wParam, lParam);
}

}  // namespace platform::host
