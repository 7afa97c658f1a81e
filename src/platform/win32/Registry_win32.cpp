#include <windows.h>

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

using win32::Wide;

HKEY native(RegKey key) {
  return static_cast<HKEY>(key);
}

bool isStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Windows-1252 bytes of a string value, as the UTF-16 the registry keeps:
// byte for unit, so a size that leaves out the terminator still stores none.
std::wstring widenBytes(const void* data, std::uint32_t size) {
  std::wstring wide;
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::uint32_t i = 0; bytes != nullptr && i < size; ++i) {
    wide += wchar_t(ansiCharToWide(bytes[i]));
  }
  return wide;
}

// The UTF-16 units of a string value into `out`, one byte each ('?' for what the
// code page lacks, as the A calls give it), with the sizing of the A calls:
// a null `out` asks for the size, a short one is ERROR_MORE_DATA. `size` holds
// the buffer's size and receives the bytes the text takes.
LONG narrowInto(const std::vector<wchar_t>& wide, DWORD units, void* out, DWORD& size) {
  const DWORD capacity = size;
  size = units;
  if (out == nullptr) return ERROR_SUCCESS;
  if (capacity < units) return ERROR_MORE_DATA;
  auto* bytes = static_cast<char*>(out);
  for (DWORD i = 0; i < units; ++i) {
    const int byte = wideCharToAnsi(char16_t(wide[i]));
    bytes[i] = byte >= 0 ? char(byte) : '?';
  }
  return ERROR_SUCCESS;
}

// A name the registry lists, into `name` of `capacity` bytes.
LONG listedName(const wchar_t* wide, char* name, DWORD capacity) {
  return win32::narrowLossy(wide, name, int(capacity)) >= 0 ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

}  // namespace

long regCreateKey(RegKey key, const char* subKey, std::uint32_t access, RegKey* result) {
  HKEY opened = nullptr;
  const LONG status = RegCreateKeyExW(native(key), Wide(subKey).get(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr);
  *result = status == ERROR_SUCCESS ? opened : nullptr;
  return status;
}

long regOpenKey(RegKey key, const char* subKey, std::uint32_t access, RegKey* result) {
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExW(native(key), Wide(subKey).get(), 0, access, &opened);
  *result = status == ERROR_SUCCESS ? opened : nullptr;
  return status;
}

long regCloseKey(RegKey key) {
  return RegCloseKey(native(key));
}

long regSetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  if (!isStringType(type)) {
    return RegSetValueExW(native(key), Wide(name).get(), 0, type, static_cast<const BYTE*>(data),
                          size);
  }
  const std::wstring wide = widenBytes(data, size);
  return RegSetValueExW(native(key), Wide(name).get(), 0, type,
                        reinterpret_cast<const BYTE*>(wide.c_str()),
                        DWORD(wide.size() * sizeof(wchar_t)));
}

long regSetDefaultText(RegKey key, const char* subKey, const char* text, std::uint32_t) {
  const Wide wide(text);
  const DWORD bytes = text != nullptr ? DWORD((lstrlenW(wide.get()) + 1) * sizeof(wchar_t)) : 0;
  return RegSetValueW(native(key), Wide(subKey).get(), REG_SZ, wide.get(), bytes);
}

long regQueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                   std::uint32_t* size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  const Wide wideName(name);
  DWORD valueType = 0;
  DWORD bytes = 0;
  LONG status = RegQueryValueExW(native(key), wideName.get(), nullptr, &valueType, nullptr, &bytes);
  if (status == ERROR_SUCCESS && !isStringType(valueType)) {
    bytes = size != nullptr ? *size : 0;
    status = RegQueryValueExW(native(key), wideName.get(), nullptr, &valueType,
                              static_cast<BYTE*>(data), size != nullptr ? &bytes : nullptr);
  } else if (status == ERROR_SUCCESS) {
    // Read whole as UTF-16, then handed over a byte a unit.
    std::vector<wchar_t> wide(bytes / sizeof(wchar_t) + 1);
    DWORD read = DWORD(wide.size() * sizeof(wchar_t));
    status = RegQueryValueExW(native(key), wideName.get(), nullptr, &valueType,
                              reinterpret_cast<BYTE*>(wide.data()), &read);
    bytes = size != nullptr ? *size : 0;
    if (status == ERROR_SUCCESS) {
      status = narrowInto(wide, read / sizeof(wchar_t), data, bytes);
    }
  }
  if (type != nullptr) *type = valueType;
  if (size != nullptr) *size = bytes;
  return status;
}

long regQueryDefaultText(RegKey key, const char* subKey, char* text, std::int32_t* size) {
  if (text != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  const Wide wideSubKey(subKey);
  LONG bytes = 0;
  LONG status = RegQueryValueW(native(key), wideSubKey.get(), nullptr, &bytes);
  DWORD answer = size != nullptr ? DWORD(*size) : 0;
  if (status == ERROR_SUCCESS) {
    std::vector<wchar_t> wide(std::size_t(bytes) / sizeof(wchar_t) + 1);
    LONG read = LONG(wide.size() * sizeof(wchar_t));
    status = RegQueryValueW(native(key), wideSubKey.get(), wide.data(), &read);
    if (status == ERROR_SUCCESS) {
      status = narrowInto(wide, DWORD(read) / sizeof(wchar_t), text, answer);
    }
  }
  if (size != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) {
    *size = std::int32_t(answer);
  }
  return status;
}

long regEnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  // A key's name is at most 255 characters.
  wchar_t wide[256];
  const LONG status = RegEnumKeyW(native(key), index, wide, 256);
  return status == ERROR_SUCCESS ? listedName(wide, name, nameSize) : status;
}

long regEnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                  std::uint32_t* type) {
  // A value's name is at most 16383 characters.
  std::vector<wchar_t> wide(16384);
  DWORD length = DWORD(wide.size());
  DWORD valueType = 0;
  LONG status = RegEnumValueW(native(key), index, wide.data(), &length, nullptr, &valueType,
                              nullptr, nullptr);
  if (status == ERROR_SUCCESS) status = listedName(wide.data(), name, *nameSize);
  if (status == ERROR_SUCCESS) *nameSize = length;
  if (type != nullptr) *type = valueType;
  return status;
}

long regDeleteValue(RegKey key, const char* name) {
  return RegDeleteValueW(native(key), Wide(name).get());
}

long regDeleteKey(RegKey key, const char* subKey, std::uint32_t view) {
  // A Windows without RegDeleteKeyExW (32-bit XP) has one view only.
  using DeleteKeyEx = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
  static const auto deleteKeyEx =
      win32::entry<DeleteKeyEx>(GetModuleHandleW(L"advapi32.dll"), "RegDeleteKeyExW");
  if (view == 0 || deleteKeyEx == nullptr) return RegDeleteKeyW(native(key), Wide(subKey).get());
  return deleteKeyEx(native(key), Wide(subKey).get(), view, 0);
}

}  // namespace platform
