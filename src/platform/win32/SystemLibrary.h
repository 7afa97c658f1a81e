// Libraries the backend loads at run time, and their functions looked up by name.
#pragma once

#include <windows.h>

namespace platform::win32 {

// Loads `name` ("msvfw32.dll") by its full path in the system folder, so that a
// copy planted beside the program is never taken for it: the backend imports
// only the libraries Windows always takes from the system folder. The library
// stays loaded. Null when it cannot be loaded.
HMODULE loadSystemLibrary(const wchar_t* name);

// Function `name` of `module` as a pointer of type Fn; null when either is missing.
template <typename Fn>
Fn entry(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace platform::win32
