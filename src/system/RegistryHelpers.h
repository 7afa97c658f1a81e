// The small registry helpers every part of the shell integration writes through.
// Roots are the ones the install target (InstallTarget.h) gives, each with its
// registry view, which every key opened below it carries; every key opened here
// is closed again before the helper returns. Text is ANSI.
#pragma once

#include <cstdint>

#include "base/SetupString.h"
#include "platform/PlatformTypes.h"

// A key with the registry view (0, the program's own, or a KEY_WOW64_ bit) in
// which its subkeys are opened, created and deleted. A bare key is in the
// program's own view.
struct RegRoot {
  RegRoot() = default;
  RegRoot(platform::RegKey k, std::uint32_t v = 0) : key(k), view(v) {}  // NOLINT: a bare key
  platform::RegKey key = nullptr;
  std::uint32_t view = 0;
};

// A key opened or created through the platform, closed when the holder goes, so
// no caller closes a key by hand. Moves, never copies.
class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() { close(); }
  OpenKey(OpenKey&& other) noexcept;
  OpenKey& operator=(OpenKey&& other) noexcept;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  // Creates (or opens) subKey below root, or opens it, with `access`, closing
  // what the holder held first. The platform's status; the holder is empty
  // unless it is ERROR_SUCCESS.
  // The view is the root's, and stays the held key's.
  long create(const RegRoot& root, const char* subKey, std::uint32_t access);
  long open(const RegRoot& root, const char* subKey, std::uint32_t access);
  platform::RegKey get() const { return key_; }
  // The held key as a root for its subkeys, in the same view.
  RegRoot root() const { return RegRoot(key_, view_); }

 private:
  void close();

  platform::RegKey key_ = nullptr;
  std::uint32_t view_ = 0;
};

// Sets a REG_SZ value, creating subKey as needed. A null valueName sets the key's
// default value, handing the text's length (without its terminator) to the
// platform, which stores the text whole; a named value is written with its
// terminator. False for a null subKey or text, or when the platform refuses.
bool writeRegString(const RegRoot& root, const char* subKey, const char* valueName,
                    const char* text);

// Sets a 4-byte REG_DWORD value, creating subKey as needed. False for a null subKey
// or valueName, or when the platform refuses.
bool writeRegDword(const RegRoot& root, const char* subKey, const char* valueName,
                   std::uint32_t value);

// Sets a REG_NONE value without data, creating subKey as needed. False for a null
// subKey or valueName, or when the platform refuses.
bool writeRegEmptyValue(const RegRoot& root, const char* subKey, const char* valueName);

// Reads a value (the key's default value for a null valueName) into buffer of
// `size` bytes, whatever its type, and terminates it. False for a null subKey or
// buffer, a missing key or value, or data that does not fit with a terminator;
// the buffer's content is then undefined.
bool readRegString(const RegRoot& root, const char* subKey, const char* valueName, char* buffer,
                   int size);

// Deletes subKey with every key below it. Returns the platform's status: 0 when it
// is gone, the open error (ERROR_FILE_NOT_FOUND) when it did not exist, and
// otherwise the first error met, with what could not be deleted left in place. An
// empty or null subKey would name the root itself and is refused with
// ERROR_INVALID_PARAMETER.
long deleteKeyTree(const RegRoot& root, const char* subKey);

// Deletes value valueName of subKey. False for a null subKey or valueName, or when
// there was no such value.
bool deleteRegValue(const RegRoot& root, const char* subKey, const char* valueName);

// Deletes subKey when it holds nothing: no subkeys and no values, where an empty
// default value counts as nothing when emptyDefaultIsNothing is set (a released
// extension keeps one). True only when the key was deleted; a key with something in
// it, a missing key or a refused deletion give false.
bool deleteKeyIfEmpty(const RegRoot& root, const char* subKey, bool emptyDefaultIsNothing);

// Puts a double-quote character before and after the text.
void quotePath(SetupString& path);
