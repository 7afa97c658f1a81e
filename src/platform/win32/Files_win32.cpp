#include <windows.h>

#include "platform/Files.h"

namespace platform {
namespace {

// The directory queries return the needed size when the buffer is too small.
int fitted(UINT length, int bufferSize) {
  return (length == 0 || length >= UINT(bufferSize)) ? 0 : int(length);
}

}  // namespace

std::uint32_t getFileAttributes(const char* path) {
  return GetFileAttributesA(path);
}

unsigned getDriveType(const char* rootPath) {
  return GetDriveTypeA(rootPath);
}

int getSystemDirectory(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  return fitted(GetSystemDirectoryA(buffer, UINT(bufferSize)), bufferSize);
}

int getWindowsDirectory(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  return fitted(GetWindowsDirectoryA(buffer, UINT(bufferSize)), bufferSize);
}

}  // namespace platform
