#include <windows.h>

#include "platform/Events.h"
#include "platform/win32/WideText.h"

namespace platform {

EventId createEvent(const char* name) {
  if (name == nullptr) return nullptr;
  const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, win32::Wide(name).get());
  if (event != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(event);
    return nullptr;
  }
  return event;
}

EventId openEvent(const char* name) {
  if (name == nullptr) return nullptr;
  return OpenEventW(EVENT_MODIFY_STATE, FALSE, win32::Wide(name).get());
}

bool setEvent(EventId event) {
  return event != nullptr && SetEvent(static_cast<HANDLE>(event)) != FALSE;
}

int waitForAnyEvent(const EventId* events, int count, std::uint32_t milliseconds) {
  if (events == nullptr || count <= 0 || count > MAXIMUM_WAIT_OBJECTS) return -1;
  HANDLE handles[MAXIMUM_WAIT_OBJECTS];
  for (int i = 0; i < count; ++i) {
    if (events[i] == nullptr) return -1;
    handles[i] = static_cast<HANDLE>(events[i]);
  }
  const DWORD result = WaitForMultipleObjects(DWORD(count), handles, FALSE, milliseconds);
  if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + DWORD(count)) {
    return int(result - WAIT_OBJECT_0);
  }
  return -1;
}

void closeEvent(EventId event) {
  if (event != nullptr) CloseHandle(static_cast<HANDLE>(event));
}

}  // namespace platform
