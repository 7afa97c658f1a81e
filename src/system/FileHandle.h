// FileHandle: one open file, opened by a flags word in the style of the C runtime.
#pragma once

#include <cstdint>

#include "platform/Files.h"

// Bits of the open-flags word.
constexpr std::uint32_t kOpenRead = 0x0;
constexpr std::uint32_t kOpenWrite = 0x1;
constexpr std::uint32_t kOpenReadWrite = 0x2;
constexpr std::uint32_t kOpenNoAccess = 0x3;
constexpr std::uint32_t kOpenShareRead = 0x20;
constexpr std::uint32_t kOpenShareWrite = 0x30;
constexpr std::uint32_t kOpenShareReadWrite = 0x40;
constexpr std::uint32_t kOpenNotInherited = 0x80;
constexpr std::uint32_t kOpenCreate = 0x1000;        // CREATE_ALWAYS
constexpr std::uint32_t kOpenKeepExisting = 0x2000;  // with kOpenCreate: OPEN_ALWAYS
constexpr std::uint32_t kOpenBinary = 0x8000;        // no effect; kept for the word's sake

// What the installer writes with: read and write, shared, created anew.
constexpr std::uint32_t kOpenInstallTarget =
    kOpenReadWrite | kOpenShareReadWrite | kOpenCreate | kOpenBinary;  // 0x9042

class FileHandle {
 public:
  FileHandle() = default;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { close(); }

  // Opens `name` as the flags word says, closing any file held before. Files are
  // created with normal attributes.
  bool openFile(const char* name, std::uint32_t flags);
  // Writes all n bytes; false for a failed or short write.
  bool write(const void* data, std::uint32_t n);
  // Closes the file if one is open. False when closing failed.
  bool close();
  bool isOpen() const { return file_ != platform::kInvalidFile; }

 private:
  platform::FileId file_ = platform::kInvalidFile;
};
