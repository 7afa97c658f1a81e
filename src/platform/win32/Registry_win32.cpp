#include <windows.h>

#include "platform/Registry.h"

namespace platform {
namespace {

HKEY native(RegKey key) {
  return static_cast<HKEY>(key);
}

}  // namespace

long regCreateKey(RegKey key, const char* subKey, std::uint32_t access, RegKey* result) {
  HKEY opened = nullptr;
  const LONG status = RegCreateKeyExA(native(key), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      access, nullptr, &opened, nullptr);
  *result = status == ERROR_SUCCESS ? opened : nullptr;
  return status;
}

long regOpenKey(RegKey key, const char* subKey, std::uint32_t access, RegKey* result) {
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExA(native(key), subKey, 0, access, &opened);
  *result = status == ERROR_SUCCESS ? opened : nullptr;
  return status;
}

long regCloseKey(RegKey key) {
  return RegCloseKey(native(key));
}

long regSetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  return RegSetValueExA(native(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

long regSetDefaultText(RegKey key, const char* subKey, const char* text, std::uint32_t size) {
  return RegSetValueA(native(key), subKey, REG_SZ, text, size);
}

long regQueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                   std::uint32_t* size) {
  DWORD valueType = 0;
  DWORD bytes = size != nullptr ? *size : 0;
  const LONG status =
      RegQueryValueExA(native(key), name, nullptr, &valueType, static_cast<BYTE*>(data),
                       size != nullptr ? &bytes : nullptr);
  if (type != nullptr) *type = valueType;
  if (size != nullptr) *size = bytes;
  return status;
}

long regQueryDefaultText(RegKey key, const char* subKey, char* text, std::int32_t* size) {
  LONG bytes = size != nullptr ? *size : 0;
  const LONG status = RegQueryValueA(native(key), subKey, text, size != nullptr ? &bytes : nullptr);
  if (size != nullptr) *size = bytes;
  return status;
}

long regEnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  return RegEnumKeyA(native(key), index, name, nameSize);
}

long regEnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                  std::uint32_t* type) {
  DWORD length = *nameSize;
  DWORD valueType = 0;
  const LONG status =
      RegEnumValueA(native(key), index, name, &length, nullptr, &valueType, nullptr, nullptr);
  *nameSize = length;
  if (type != nullptr) *type = valueType;
  return status;
}

long regDeleteValue(RegKey key, const char* name) {
  return RegDeleteValueA(native(key), name);
}

long regDeleteKey(RegKey key, const char* subKey) {
  return RegDeleteKeyA(native(key), subKey);
}

}  // namespace platform
