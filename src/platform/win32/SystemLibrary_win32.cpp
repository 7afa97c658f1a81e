#include "platform/win32/SystemLibrary.h"

namespace platform::win32 {

HMODULE loadSystemLibrary(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  const size_t length = wcslen(name);
  if (folder == 0 || folder + 1 + length + 1 > MAX_PATH) return nullptr;
  path[folder] = L'\\';
  CopyMemory(path + folder + 1, name, (length + 1) * sizeof(wchar_t));
  return LoadLibraryW(path);
}

}  // namespace platform::win32
