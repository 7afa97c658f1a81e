#include "system/RegistryHelpers.h"

#include <cstring>

#include "base/Paths.h"
#include "platform/Registry.h"
#include "platform/WinDefs.h"

OpenKey::OpenKey(OpenKey&& other) noexcept : key_(other.key_), view_(other.view_) {
  other.key_ = nullptr;
}

OpenKey& OpenKey::operator=(OpenKey&& other) noexcept {
  if (this != &other) {
    close();
    key_ = other.key_;
    view_ = other.view_;
    other.key_ = nullptr;
  }
  return *this;
}

long OpenKey::create(const RegRoot& root, const char* subKey, std::uint32_t access) {
  close();
  view_ = root.view;
  return platform::regCreateKey(root.key, subKey, access | root.view, &key_);
}

long OpenKey::open(const RegRoot& root, const char* subKey, std::uint32_t access) {
  close();
  view_ = root.view;
  return platform::regOpenKey(root.key, subKey, access | root.view, &key_);
}

void OpenKey::close() {
  if (key_ != nullptr) platform::regCloseKey(key_);
  key_ = nullptr;
}

namespace {

bool setValue(const RegRoot& root, const char* subKey, const char* valueName, std::uint32_t type,
              const void* data, std::uint32_t size) {
  OpenKey key;
  return key.create(root, subKey, KEY_WRITE) == ERROR_SUCCESS &&
         platform::regSetValue(key.get(), valueName, type, data, size) == ERROR_SUCCESS;
}

}  // namespace

bool writeRegString(const RegRoot& root, const char* subKey, const char* valueName,
                    const char* text) {
  if (subKey == nullptr || text == nullptr) return false;
  const std::uint32_t length = std::uint32_t(std::strlen(text));
  if (valueName == nullptr) {
    // Through a key opened in the root's view: the call that names a subkey
    // itself has no view to give.
    OpenKey key;
    return key.create(root, subKey, KEY_SET_VALUE) == ERROR_SUCCESS &&
           platform::regSetDefaultText(key.get(), "", text, length) == ERROR_SUCCESS;
  }
  return setValue(root, subKey, valueName, REG_SZ, text, length + 1);
}

bool writeRegDword(const RegRoot& root, const char* subKey, const char* valueName,
                   std::uint32_t value) {
  if (subKey == nullptr || valueName == nullptr) return false;
  const unsigned char bytes[4] = {(unsigned char)value, (unsigned char)(value >> 8),
                                  (unsigned char)(value >> 16), (unsigned char)(value >> 24)};
  return setValue(root, subKey, valueName, REG_DWORD, bytes, sizeof bytes);
}

bool writeRegEmptyValue(const RegRoot& root, const char* subKey, const char* valueName) {
  if (subKey == nullptr || valueName == nullptr) return false;
  return setValue(root, subKey, valueName, REG_NONE, nullptr, 0);
}

bool readRegString(const RegRoot& root, const char* subKey, const char* valueName, char* buffer,
                   int size) {
  if (subKey == nullptr || buffer == nullptr || size <= 0) return false;
  std::uint32_t read = 0;
  if (valueName == nullptr) {
    std::int32_t bytes = size;
    OpenKey key;
    if (key.open(root, subKey, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        platform::regQueryDefaultText(key.get(), "", buffer, &bytes) != ERROR_SUCCESS) {
      return false;
    }
    read = std::uint32_t(bytes);
  } else {
    OpenKey key;
    read = std::uint32_t(size);
    if (key.open(root, subKey, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        platform::regQueryValue(key.get(), valueName, nullptr, buffer, &read) != ERROR_SUCCESS) {
      return false;
    }
  }
  // The registry hands back what was stored, which need not end in a terminator.
  if (read > std::uint32_t(size)) return false;
  if (read == std::uint32_t(size)) return buffer[size - 1] == '\0';
  buffer[read] = '\0';
  return true;
}

long deleteKeyTree(const RegRoot& root, const char* subKey) {
  if (subKey == nullptr || *subKey == '\0') return ERROR_INVALID_PARAMETER;
  long status = ERROR_SUCCESS;
  {
    OpenKey key;
    status = key.open(root, subKey, KEY_READ);
    if (status != ERROR_SUCCESS) return status;
    // On the heap: the recursion is as deep as the tree.
    SetupString name;
    char* buffer = name.lockBuffer(kPathBufferSize);
    do {
      status = platform::regEnumKey(key.get(), 0, buffer, kPathBufferSize);
      if (status == ERROR_SUCCESS) status = deleteKeyTree(key.root(), buffer);
    } while (status == ERROR_SUCCESS);
    name.unlockBuffer(0);
  }
  if (status == ERROR_NO_MORE_ITEMS || status == ERROR_BADKEY) {
    status = platform::regDeleteKey(root.key, subKey, root.view);
  }
  return status;
}

bool deleteRegValue(const RegRoot& root, const char* subKey, const char* valueName) {
  if (subKey == nullptr || valueName == nullptr) return false;
  OpenKey key;
  return key.open(root, subKey, KEY_SET_VALUE) == ERROR_SUCCESS &&
         platform::regDeleteValue(key.get(), valueName) == ERROR_SUCCESS;
}

namespace {

// True when `key` has neither subkeys nor values, but for an empty default value
// when that counts as nothing.
bool holdsNothing(platform::RegKey key, bool emptyDefaultIsNothing) {
  char name[kPathBufferSize];
  if (platform::regEnumKey(key, 0, name, sizeof name) != ERROR_NO_MORE_ITEMS) return false;
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t length = sizeof name;
    const long status = platform::regEnumValue(key, index, name, &length, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return true;
    if (status != ERROR_SUCCESS || length > 0 || !emptyDefaultIsNothing) return false;
    // The default value: nothing when it holds no text.
    char data[2] = {};
    std::uint32_t size = sizeof data;
    if (platform::regQueryValue(key, "", nullptr, data, &size) != ERROR_SUCCESS) return false;
    if (size > 1 || (size == 1 && data[0] != '\0')) return false;
  }
}

}  // namespace

bool deleteKeyIfEmpty(const RegRoot& root, const char* subKey, bool emptyDefaultIsNothing) {
  if (subKey == nullptr || *subKey == '\0') return false;
  bool empty = false;
  {
    OpenKey key;
    if (key.open(root, subKey, KEY_READ) != ERROR_SUCCESS) return false;
    empty = holdsNothing(key.get(), emptyDefaultIsNothing);
  }
  return empty && platform::regDeleteKey(root.key, subKey, root.view) == ERROR_SUCCESS;
}

void quotePath(SetupString& path) {
  path.insertText(0, "\"");
  path.append('"');
}
