// <windows.h> must come first: the shell headers build on it.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "platform/Shell.h"
#include "platform/win32/SpecialFolders.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

// Older shells lack SHGetFolderPathW, so both entry points are looked up when
// first needed rather than imported.
FARPROC shellEntry(const char* name) {
  static const HMODULE shell = LoadLibraryW(L"shell32.dll");
  return shell != nullptr ? GetProcAddress(shell, name) : nullptr;
}

}  // namespace

namespace win32 {

bool specialFolderPathFrom(GetFolderPathFn getFolderPath, GetSpecialFolderPathFn getSpecial,
                           int csidl, char* path, ShortPathFn shortPath) {
  if (path == nullptr) return false;
  // Some shells have SHGetFolderPathW and still refuse folders that the older
  // call knows, so a failure is not the last word. An empty answer counts as
  // none: the caller would put files relative to wherever it runs. So does one
  // that Windows-1252 cannot name even in its short form: a garbled path would
  // put the files somewhere else.
  wchar_t wide[MAX_PATH];
  wide[0] = L'\0';
  if (getFolderPath != nullptr && SUCCEEDED(getFolderPath(nullptr, csidl, nullptr, 0, wide)) &&
      wide[0] != L'\0') {
    return win32::narrowPath(wide, path, MAX_PATH, shortPath) > 0;
  }
  wide[0] = L'\0';
  if (getSpecial != nullptr && getSpecial(nullptr, wide, csidl, FALSE) != FALSE &&
      wide[0] != L'\0') {
    return win32::narrowPath(wide, path, MAX_PATH, shortPath) > 0;
  }
  path[0] = '\0';
  return false;
}

}  // namespace win32

bool getSpecialFolderPath(int csidl, char* path) {
  return win32::specialFolderPathFrom(
      reinterpret_cast<win32::GetFolderPathFn>(
          reinterpret_cast<void*>(shellEntry("SHGetFolderPathW"))),
      reinterpret_cast<win32::GetSpecialFolderPathFn>(
          reinterpret_cast<void*>(shellEntry("SHGetSpecialFolderPathW"))),
      csidl, path);
}

bool browseForFolder(WindowHandle owner, const char* title, char* path) {
  if (path == nullptr) return false;
  path[0] = '\0';
  const win32::Wide wideTitle(title);
  wchar_t wide[MAX_PATH];
  BROWSEINFOW info = {};
  info.hwndOwner = static_cast<HWND>(owner);
  info.pszDisplayName = wide;
  info.lpszTitle = wideTitle.get();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_EDITBOX | BIF_VALIDATE |
                 BIF_NEWDIALOGSTYLE;
  LPITEMIDLIST item = SHBrowseForFolderW(&info);
  if (item == nullptr) return false;
  const bool ok = SHGetPathFromIDListW(item, wide) != FALSE;
  CoTaskMemFree(item);
  if (!ok) return false;
  // A folder the code page cannot name even in its short form comes back as the
  // A call gave it, with '?' for each letter it lacks: no file name holds '?',
  // so the caller can tell it and refuse the choice.
  return win32::narrowPath(wide, path, MAX_PATH) > 0 ||
         win32::narrowLossy(wide, path, MAX_PATH) > 0;
}

bool shellExecute(WindowHandle owner, const char* verb, const char* file, const char* parameters,
                  const char* folder, int show) {
  const HINSTANCE result =
      ShellExecuteW(static_cast<HWND>(owner), win32::Wide(verb).get(), win32::Wide(file).get(),
                    win32::Wide(parameters).get(), win32::Wide(folder).get(), show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

void notifyAssociationsChanged() {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace platform
