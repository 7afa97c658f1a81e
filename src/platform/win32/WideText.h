// The Windows backend calls the W functions: the program's text (Windows-1252,
// platform/Text.h) is widened on the way in, and what the system gives back is
// narrowed again, so the system's own ANSI code page never touches a name.
#pragma once

#include <windows.h>

#include <string>

namespace platform::win32 {

// A Windows-1252 text as the UTF-16 a W call takes. A null text stays null, so
// the optional arguments of a call keep their meaning.
class Wide {
 public:
  explicit Wide(const char* text);
  const wchar_t* get() const { return null_ ? nullptr : text_.c_str(); }

 private:
  bool null_;
  std::wstring text_;
};

// UTF-16 to Windows-1252 into `out` of `capacity` bytes, terminated. Returns the
// length without the terminator, or -1 when a character has no byte in the code
// page or the text does not fit (`out` then holds "").
int narrowExact(const wchar_t* text, char* out, int capacity);

// As narrowExact, but a character without a byte becomes '?', as the A calls
// give it. For names that are only shown or compared, never used as a path.
int narrowLossy(const wchar_t* text, char* out, int capacity);

// The short (8.3) form of a path (GetShortPathNameW's shape), for a test's stand-in.
using ShortPathFn = DWORD(WINAPI*)(LPCWSTR longPath, LPWSTR shortPath, DWORD size);

// A path the system gave, in Windows-1252 into `out` of `capacity` bytes: as it
// is when the code page holds it. Otherwise its longest existing leading part
// is taken in its short form, which names the same folder with other letters,
// and the rest follows as it is; that works when the code page holds both, the
// short form and the rest. Returns the length, or -1 when nothing the code page
// holds names the path (a volume without short names): `out` then holds "", and
// the caller fails as when the system had given no path.
int narrowPath(const wchar_t* path, char* out, int capacity,
               ShortPathFn shortPath = GetShortPathNameW);

}  // namespace platform::win32
