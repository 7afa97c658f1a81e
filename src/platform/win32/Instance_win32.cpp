#include <windows.h>

#include <string>

#include "platform/Instance.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

// The window is marked with a property named after the claim; properties named
// by text live in the global atom table, so another process can ask for them.
win32::Wide propertyName(const char* name) {
  return win32::Wide((std::string("KestraneSetupInstance.") + name).c_str());
}

struct Search {
  const wchar_t* property;
  HWND found;
};

BOOL CALLBACK findMarked(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (GetPropW(window, search->property) == nullptr) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

InstanceClaim claimInstance(const char* name, bool& taken) {
  taken = false;
  if (name == nullptr) return nullptr;
  // Local\: one claim per logged-on session, which is where a second copy
  // would show its window.
  const std::string full = std::string("Local\\KestraneSetup.") + name;
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, win32::Wide(full.c_str()).get());
  if (mutex == nullptr) {
    // Another kind of object of that name, or no rights to it: someone holds it.
    taken = GetLastError() == ERROR_INVALID_HANDLE || GetLastError() == ERROR_ACCESS_DENIED;
    return nullptr;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    taken = true;
    return nullptr;
  }
  return mutex;
}

void releaseInstance(InstanceClaim claim) {
  if (claim != nullptr) CloseHandle(static_cast<HANDLE>(claim));
}

bool markInstanceWindow(InstanceClaim claim, const char* name, WindowHandle window) {
  if (claim == nullptr || name == nullptr || window == nullptr) return false;
  return SetPropW(static_cast<HWND>(window), propertyName(name).get(),
                  reinterpret_cast<HANDLE>(1)) != FALSE;
}

bool activateInstance(const char* name) {
  if (name == nullptr) return false;
  const win32::Wide property = propertyName(name);
  Search search{property.get(), nullptr};
  EnumWindows(findMarked, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return false;
  if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
  // On top of the others first: the system may refuse this process the
  // keyboard focus for another's window, never the order of the windows.
  SetWindowPos(search.found, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(search.found);
  return true;
}

}  // namespace platform
