// Looking at the registry in tests, through the platform's own calls.
#pragma once

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/WinDefs.h"

struct RegValue {
  std::uint32_t type = 0;
  std::string data;  // raw bytes as the ANSI calls return them
};

// The value, or false when the key or value is missing.
inline bool readValue(platform::RegKey root, const std::string& key, const char* name,
                      RegValue& out) {
  platform::RegKey k = nullptr;
  if (platform::regOpenKey(root, key.c_str(), KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
  std::uint32_t size = 0;
  bool ok = platform::regQueryValue(k, name, &out.type, nullptr, &size) == ERROR_SUCCESS;
  out.data.assign(size, '\0');
  ok = ok && platform::regQueryValue(k, name, &out.type, size > 0 ? &out.data[0] : nullptr,
                                     &size) == ERROR_SUCCESS;
  platform::regCloseKey(k);
  return ok;
}

// A REG_SZ's text without its terminator; "<missing>" or "<type N>" otherwise.
inline std::string textOf(platform::RegKey root, const std::string& key, const char* name) {
  RegValue v;
  if (!readValue(root, key, name, v)) return "<missing>";
  if (v.type != REG_SZ) return "<type " + std::to_string(v.type) + ">";
  if (!v.data.empty() && v.data.back() == '\0') v.data.pop_back();
  return v.data;
}

// A REG_DWORD's number, or -1.
inline long long dwordOf(platform::RegKey root, const std::string& key, const char* name) {
  RegValue v;
  if (!readValue(root, key, name, v) || v.type != REG_DWORD || v.data.size() != 4) return -1;
  std::uint32_t n = 0;
  for (int i = 3; i >= 0; --i) n = (n << 8) | (unsigned char)v.data[std::size_t(i)];
  return n;
}

inline bool keyExists(platform::RegKey root, const std::string& key) {
  platform::RegKey k = nullptr;
  if (platform::regOpenKey(root, key.c_str(), KEY_READ, &k) != ERROR_SUCCESS) return false;
  platform::regCloseKey(k);
  return true;
}

// The names of the key's subkeys or values, in enumeration order.
inline std::vector<std::string> subkeysOf(platform::RegKey root, const std::string& key) {
  std::vector<std::string> names;
  platform::RegKey k = nullptr;
  if (platform::regOpenKey(root, key.c_str(), KEY_READ, &k) != ERROR_SUCCESS) return names;
  char name[512];
  for (std::uint32_t i = 0; platform::regEnumKey(k, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
    names.push_back(name);
  }
  platform::regCloseKey(k);
  return names;
}

inline std::vector<std::string> valueNamesOf(platform::RegKey root, const std::string& key) {
  std::vector<std::string> names;
  platform::RegKey k = nullptr;
  if (platform::regOpenKey(root, key.c_str(), KEY_READ, &k) != ERROR_SUCCESS) return names;
  char name[512];
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t size = sizeof name;
    if (platform::regEnumValue(k, i, name, &size, nullptr) != ERROR_SUCCESS) break;
    names.push_back(name);
  }
  platform::regCloseKey(k);
  return names;
}
