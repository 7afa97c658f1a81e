#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "platform/host/Prefix.h"

namespace platform {
namespace {

int copyOut(const std::string& text, char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0 || text.size() >= std::size_t(bufferSize)) return 0;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return int(text.size());
}

}  // namespace

std::uint32_t getFileAttributes(const char* path) {
  std::string host;
  struct stat st;
  if (!host::toHostPath(path, host) || lstat(host.c_str(), &st) != 0) {
    return INVALID_FILE_ATTRIBUTES;
  }
  std::uint32_t attributes = 0;
  if (S_ISLNK(st.st_mode)) {
    // A symbolic link is what Windows calls a reparse point; it is a folder link
    // when it points at a folder.
    attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    struct stat target;
    if (stat(host.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) {
      attributes |= FILE_ATTRIBUTE_DIRECTORY;
    }
  } else if (S_ISDIR(st.st_mode)) {
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  }
  if ((st.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}

unsigned getDriveType(const char* rootPath) {
  if (rootPath == nullptr) rootPath = "C:\\";
  char letter = rootPath[0];
  if (letter >= 'a' && letter <= 'z') letter = char(letter - 'a' + 'A');
  const bool isRoot = letter >= 'A' && letter <= 'Z' && rootPath[1] == ':' &&
                      (rootPath[2] == '\0' || (rootPath[2] == '\\' && rootPath[3] == '\0'));
  if (!isRoot) return DRIVE_NO_ROOT_DIR;

  const std::string drive = host::prefixRoot() + "/drive_" + char(letter - 'A' + 'a');
  struct stat st;
  if (stat(drive.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return DRIVE_NO_ROOT_DIR;
  return access((drive + ".remote").c_str(), F_OK) == 0 ? DRIVE_REMOTE : DRIVE_FIXED;
}

int getSystemDirectory(char* buffer, int bufferSize) {
  return copyOut(host::specialFolder(CSIDL_SYSTEM), buffer, bufferSize);
}

int getWindowsDirectory(char* buffer, int bufferSize) {
  return copyOut(host::specialFolder(CSIDL_WINDOWS), buffer, bufferSize);
}

}  // namespace platform
