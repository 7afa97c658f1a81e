// <windows.h> must come first: the shell headers build on it.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "platform/Shell.h"
#include "platform/win32/SpecialFolders.h"

namespace platform {
namespace {

// Older shells lack SHGetFolderPathA, so both entry points are looked up when
// first needed rather than imported.
FARPROC shellEntry(const char* name) {
  static const HMODULE shell = LoadLibraryA("shell32.dll");
  return shell != nullptr ? GetProcAddress(shell, name) : nullptr;
}

}  // namespace

namespace win32 {

bool specialFolderPathFrom(GetFolderPathFn getFolderPath, GetSpecialFolderPathFn getSpecial,
                           int csidl, char* path) {
  if (path == nullptr) return false;
  // Some shells have SHGetFolderPathA and still refuse folders that the older
  // call knows, so a failure is not the last word. An empty answer counts as
  // none: the caller would put files relative to wherever it runs.
  if (getFolderPath != nullptr && SUCCEEDED(getFolderPath(nullptr, csidl, nullptr, 0, path)) &&
      path[0] != '\0') {
    return true;
  }
  path[0] = '\0';
  if (getSpecial != nullptr && getSpecial(nullptr, path, csidl, FALSE) != FALSE &&
      path[0] != '\0') {
    return true;
  }
  path[0] = '\0';
  return false;
}

}  // namespace win32

bool getSpecialFolderPath(int csidl, char* path) {
  return win32::specialFolderPathFrom(
      reinterpret_cast<win32::GetFolderPathFn>(
          reinterpret_cast<void*>(shellEntry("SHGetFolderPathA"))),
      reinterpret_cast<win32::GetSpecialFolderPathFn>(
          reinterpret_cast<void*>(shellEntry("SHGetSpecialFolderPathA"))),
      csidl, path);
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
