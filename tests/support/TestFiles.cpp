#include "support/TestFiles.h"

#include "platform/Files.h"
#include "platform/WinDefs.h"

// Open without leave to delete: nobody can delete the file meanwhile (on the
// host, the backend's sharing emulation refuses the delete).
UndeletableFile::UndeletableFile(const char* windowsPath) {
  const platform::FileId file = platform::createFile(
      windowsPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, false, OPEN_EXISTING, 0);
  handle_ = file == platform::kInvalidFile ? nullptr : reinterpret_cast<void*>(file);
}

UndeletableFile::~UndeletableFile() {
  if (handle_ != nullptr) platform::closeFile(reinterpret_cast<platform::FileId>(handle_));
}
