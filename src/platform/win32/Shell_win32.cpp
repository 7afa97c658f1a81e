// <windows.h> must come first: the shell headers build on it.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "platform/Shell.h"

namespace platform {
namespace {

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
using GetSpecialFolderPathFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);

// Older shells lack SHGetFolderPathA, so both entry points are looked up when
// first needed rather than imported.
FARPROC shellEntry(const char* name) {
  static const HMODULE shell = LoadLibraryA("shell32.dll");
  return shell != nullptr ? GetProcAddress(shell, name) : nullptr;
}

}  // namespace

bool getSpecialFolderPath(int csidl, char* path) {
  if (path == nullptr) return false;
  if (auto getFolderPath = reinterpret_cast<GetFolderPathFn>(
          reinterpret_cast<void*>(shellEntry("SHGetFolderPathA")))) {
    return SUCCEEDED(getFolderPath(nullptr, csidl, nullptr, 0, path));
  }
  if (auto getSpecial = reinterpret_cast<GetSpecialFolderPathFn>(
          reinterpret_cast<void*>(shellEntry("SHGetSpecialFolderPathA")))) {
    return getSpecial(nullptr, path, csidl, FALSE) != FALSE;
  }
  return false;
}

bool browseForFolder(WindowHandle owner, const char* title, char* path) {
  if (path == nullptr) return false;
  BROWSEINFOA info = {};
  info.hwndOwner = static_cast<HWND>(owner);
  info.pszDisplayName = path;
  info.lpszTitle = title;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_EDITBOX | BIF_VALIDATE |
                 BIF_NEWDIALOGSTYLE;
  LPITEMIDLIST item = SHBrowseForFolderA(&info);
  if (item == nullptr) return false;
  const bool ok = SHGetPathFromIDListA(item, path) != FALSE;
  CoTaskMemFree(item);
  return ok;
}

bool shellExecute(WindowHandle owner, const char* verb, const char* file, const char* parameters,
                  const char* folder, int show) {
  const HINSTANCE result =
      ShellExecuteA(static_cast<HWND>(owner), verb, file, parameters, folder, show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

void notifyAssociationsChanged() {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace platform
