#include <fstream>
#include <sstream>

#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "platform/host/Prefix.h"
#include "support/TestFiles.h"

bool readTestFile(const char* windowsPath, std::string& content) {
  std::string host;
  if (!platform::host::toHostPath(windowsPath, host)) return false;
  std::ifstream in(host, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  content = s.str();
  return true;
}

// Held open as on Windows, without leave to delete: the backend's sharing
// emulation refuses the delete with the file still there.
UndeletableFile::UndeletableFile(const char* windowsPath) {
  const platform::FileId file = platform::createFile(
      windowsPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, false, OPEN_EXISTING, 0);
  handle_ = file == platform::kInvalidFile ? nullptr : reinterpret_cast<void*>(file);
}

UndeletableFile::~UndeletableFile() {
  if (handle_ != nullptr) platform::closeFile(reinterpret_cast<platform::FileId>(handle_));
}
