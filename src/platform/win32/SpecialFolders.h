// The shell's special folders, through whichever of its two entry points the
// shell has. Kept apart from the lookup of those entry points so that a test can
// hand in stand-ins that fail on purpose.
#pragma once

#include <windows.h>

namespace platform::win32 {

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
using GetSpecialFolderPathFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);

// The path of `csidl` into the MAX_PATH buffer `path`: from SHGetFolderPathA, or
// from SHGetSpecialFolderPathA when the former is missing (null), fails or gives an
// empty path. False, with `path` emptied, when neither gives a path.
bool specialFolderPathFrom(GetFolderPathFn getFolderPath, GetSpecialFolderPathFn getSpecial,
                           int csidl, char* path);

}  // namespace platform::win32
