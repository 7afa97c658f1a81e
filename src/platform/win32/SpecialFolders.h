// The shell's special folders, through whichever of its two entry points the
// shell has. Kept apart from the lookup of those entry points so that a test can
// hand in stand-ins that fail on purpose.
#pragma once

#include <windows.h>

#include "platform/win32/WideText.h"

namespace platform::win32 {

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
using GetSpecialFolderPathFn = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);

// The path of `csidl` into the MAX_PATH buffer `path`, in Windows-1252
// (narrowPath, with `shortPath`): from SHGetFolderPathW, or from
// SHGetSpecialFolderPathW when the former is missing (null), fails or gives an
// empty path. False, with `path` emptied, when neither gives a path, or the
// path given cannot be named in the code page.
bool specialFolderPathFrom(GetFolderPathFn getFolderPath, GetSpecialFolderPathFn getSpecial,
                           int csidl, char* path, ShortPathFn shortPath = GetShortPathNameW);

}  // namespace platform::win32
