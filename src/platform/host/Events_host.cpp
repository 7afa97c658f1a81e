// Events live in this process only: a table of names, each event counted by the
// ids open on it, as the system counts handles, so the name is free again after
// the last close. Names compare exactly, as the system's do.
#include <map>
#include <mutex>
#include <string>

#include "platform/Events.h"

namespace platform {
namespace {

struct HostEvent {
  std::string name;
  bool set = false;
  int opened = 0;
};

std::mutex& tableLock() {
  static std::mutex lock;
  return lock;
}

std::map<std::string, HostEvent*>& table() {
  static std::map<std::string, HostEvent*> events;
  return events;
}

}  // namespace

EventId createEvent(const char* name) {
  if (name == nullptr) return nullptr;
  const std::lock_guard<std::mutex> hold(tableLock());
  HostEvent*& slot = table()[name];
  if (slot != nullptr) return nullptr;
  slot = new HostEvent{name, false, 1};
  return slot;
}

EventId openEvent(const char* name) {
  if (name == nullptr) return nullptr;
  const std::lock_guard<std::mutex> hold(tableLock());
  const auto found = table().find(name);
  if (found == table().end()) return nullptr;
  ++found->second->opened;
  return found->second;
}

bool setEvent(EventId event) {
  if (event == nullptr) return false;
  const std::lock_guard<std::mutex> hold(tableLock());
  static_cast<HostEvent*>(event)->set = true;
  return true;
}

int waitForAnyEvent(const EventId* events, int count, std::uint32_t) {
  if (events == nullptr || count <= 0) return -1;
  const std::lock_guard<std::mutex> hold(tableLock());
  for (int i = 0; i < count; ++i) {
    if (events[i] == nullptr) return -1;
  }
  for (int i = 0; i < count; ++i) {
    if (static_cast<HostEvent*>(events[i])->set) return i;
  }
  return -1;
}

void closeEvent(EventId event) {
  if (event == nullptr) return;
  const std::lock_guard<std::mutex> hold(tableLock());
  auto* e = static_cast<HostEvent*>(event);
  if (--e->opened > 0) return;
  table().erase(e->name);
  delete e;
}

}  // namespace platform
