// The registry: keys below the predefined roots (HKEY_ values of WinDefs.h) and
// their values. Each call is one advapi32 call with its semantics, and returns its
// status code: ERROR_SUCCESS (0) or the Windows error. Names and text are ANSI
// (Windows-1252, platform/Text.h): the Windows backend calls the W functions and
// answers as the A calls named here would on a system of that code page, sizes
// of string data counted in its bytes.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace platform {

// On 64-bit Windows a 32-bit program sees the keys that Windows redirects in the
// 32-bit view unless `access` carries KEY_WOW64_64KEY (KEY_WOW64_32KEY names the
// 32-bit view outright). The view is chosen by each call that names a subkey; on
// 32-bit Windows both bits are ignored.
//
// RegCreateKeyExA: opens subKey below `key`, creating every missing level, with
// `access` (KEY_ bits). *result is null unless the call succeeded. An empty subKey
// opens `key` itself again.
long regCreateKey(RegKey key, const char* subKey, std::uint32_t access, RegKey* result);

// RegOpenKeyExA: opens an existing key; ERROR_FILE_NOT_FOUND when it is missing.
long regOpenKey(RegKey key, const char* subKey, std::uint32_t access, RegKey* result);

// RegCloseKey. Closing a predefined root does nothing.
long regCloseKey(RegKey key);

// RegSetValueExA: sets value `name` (null or "" is the key's default value) to
// `size` bytes of `data` with type `type` (REG_ values). The bytes of a string type
// are stored as given: a size that leaves out the terminator stores none.
long regSetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                 std::uint32_t size);

// RegSetValueA: creates subKey as needed and sets its default value to `text` as
// REG_SZ. Windows measures the text itself, terminator included; `size` is passed
// on as the caller gives it and does not change what is stored.
long regSetDefaultText(RegKey key, const char* subKey, const char* text, std::uint32_t size);

// RegQueryValueExA: the type and data of value `name`. `size` holds the buffer's
// size in bytes and receives the data's size; ERROR_MORE_DATA when the buffer is too
// small (its content is then undefined). A null `data` asks for the size only.
// The data is what was stored: a string stored without its terminator may come
// back without one.
long regQueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                   std::uint32_t* size);

// RegQueryValueA: the default value of subKey (of `key` itself when subKey is null or
// ""), into `text` of *size bytes; *size receives the bytes of the text with its
// terminator. An existing key without a default value reads as "".
long regQueryDefaultText(RegKey key, const char* subKey, char* text, std::int32_t* size);

// RegEnumKeyA: the name of subkey `index` (0-based) into `name` of nameSize bytes;
// ERROR_NO_MORE_ITEMS past the last one.
long regEnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize);

// RegEnumValueA without the data: the name of value `index` into `name`, whose
// size in bytes *nameSize gives and which receives the name's length without the
// terminator; the default value has the empty name. ERROR_MORE_DATA when the name
// does not fit, ERROR_NO_MORE_ITEMS past the last value.
long regEnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                  std::uint32_t* type);

// RegDeleteValueA: ERROR_FILE_NOT_FOUND when there is no such value.
long regDeleteValue(RegKey key, const char* name);

// RegDeleteKeyA: deletes subKey, which must have no subkeys of its own. A `view`
// (KEY_WOW64_64KEY or KEY_WOW64_32KEY) deletes it in that view, as RegDeleteKeyExA
// does; 0 is the program's own view.
long regDeleteKey(RegKey key, const char* subKey, std::uint32_t view);

}  // namespace platform
