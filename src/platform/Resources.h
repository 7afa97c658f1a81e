// Resources of a program image: found by type name and numeric id.
#pragma once

#include <cstdint>

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

}  // namespace platform
