// Resources of a program image: data found by type name and numeric id, strings,
// icons, and the system's cursor.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/PlatformTypes.h"

namespace platform {

struct ResourceBytes {
  const unsigned char* data = nullptr;
  std::uint32_t size = 0;
};

// Finds resource `id` of the string type `typeName` (for example "RC_DATA", which is
// a name and not the numeric standard data type) and maps its bytes. The bytes stay
// valid as long as the module is loaded. False when it is missing or cannot be
// loaded; `out` is then left empty.
bool findResource(ModuleHandle module, const char* typeName, int id, ResourceBytes& out);

// Copies string-table entry `id` into `buffer` (at most bufferSize - 1 bytes and a
// terminator) and returns the number of bytes copied. 0 when the entry is missing
// or bufferSize is not positive.
int loadString(ModuleHandle module, int id, char* buffer, int bufferSize);

// Copies string-table entry `id` in `language` (a Windows language id, exactly:
// no other language stands in for it) into `buffer` as loadString does. 0 when
// the table has no such entry in that language, or it is empty.
int loadString(ModuleHandle module, int id, std::uint16_t language, char* buffer, int bufferSize);

// The languages the string table is written in: those the block of string `id`
// (by default 1, the window's name, which every setup has) is there in, each
// once. Empty for a program without it.
std::vector<std::uint16_t> stringLanguages(ModuleHandle module, int id = 1);

// Loads the image of icon group `groupId` nearest to width x height (LoadImageW
// with IMAGE_ICON): of the entries of that size, the one of the highest colour
// depth. On the host an icon group is the whole .ico file, stored under the type
// name "ICO" and the group id; an icon of another size is not scaled. Null when
// the group is missing or cannot be read. Release it with destroyIcon.
IconHandle loadIcon(ModuleHandle module, int groupId, int width, int height);
// Releases an icon from loadIcon (DestroyIcon). False for null.
bool destroyIcon(IconHandle icon);

// The system's arrow cursor (LoadCursorW(nullptr, IDC_ARROW)); shared, never
// released. Null when it cannot be had.
CursorHandle loadArrowCursor();

}  // namespace platform
