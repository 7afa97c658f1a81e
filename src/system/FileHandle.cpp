#include "system/FileHandle.h"

#include "platform/WinDefs.h"

namespace {

std::uint32_t accessFor(std::uint32_t flags) {
  switch (flags & 0x3) {
    case kOpenRead:
      return GENERIC_READ;
    case kOpenWrite:
      return GENERIC_WRITE;
    case kOpenReadWrite:
      return GENERIC_READ | GENERIC_WRITE;
    default:
      return 0;
  }
}

std::uint32_t shareFor(std::uint32_t flags) {
  switch (flags & 0x70) {
    case kOpenShareRead:
      return FILE_SHARE_READ;
    case kOpenShareWrite:
      return FILE_SHARE_WRITE;
    case kOpenShareReadWrite:
      return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
      return 0;
  }
}

std::uint32_t creationFor(std::uint32_t flags) {
  if ((flags & kOpenCreate) == 0) return OPEN_EXISTING;
  return (flags & kOpenKeepExisting) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

}  // namespace

bool FileHandle::openFile(const char* name, std::uint32_t flags) {
  close();
  file_ = platform::createFile(name, accessFor(flags), shareFor(flags),
                               (flags & kOpenNotInherited) == 0, creationFor(flags),
                               FILE_ATTRIBUTE_NORMAL);
  return isOpen();
}

bool FileHandle::write(const void* data, std::uint32_t n) {
  std::uint32_t written = 0;
  return isOpen() && platform::writeFile(file_, data, n, &written) && written == n;
}

bool FileHandle::close() {
  if (!isOpen()) return true;
  const bool ok = platform::closeFile(file_);
  file_ = platform::kInvalidFile;
  return ok;
}
