#include "system/FileOps.h"

#include <utility>

#include "base/Paths.h"
#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "system/FileHandle.h"

HRESULT writeStreamToFile(const ByteStream& stream, const char* path) {
  FileHandle file;
  if (!file.openFile(path, kOpenInstallTarget)) return E_FAIL;
  const bool written = stream.size() == 0 || file.write(stream.bytes(), stream.size());
  const bool closed = file.close();
  return written && closed ? S_OK : E_FAIL;
}

bool createFolder(const char* path) {
  const std::uint32_t attributes = platform::getFileAttributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return platform::createDirectory(path);
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

namespace {

bool isDots(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The listing of `folder`, one entry at a time.
class FolderListing {
 public:
  explicit FolderListing(const SetupString& pattern)
      : search_(platform::findFirstFile(pattern.text(), data_)), pending_(search_ != nullptr) {}
  ~FolderListing() { platform::findClose(search_); }
  FolderListing(const FolderListing&) = delete;
  FolderListing& operator=(const FolderListing&) = delete;

  const platform::FindData* next() {
    if (!pending_) {
      if (search_ == nullptr || !platform::findNextFile(search_, data_)) return nullptr;
    }
    pending_ = false;
    return &data_;
  }

 private:
  platform::FindData data_;
  platform::FindId search_;
  bool pending_;
};

}  // namespace

bool deleteTree(const char* path, int depth, bool removeRoot) {
  if (path == nullptr || *path == '\0') return true;
  SetupString pattern(path);
  if (endsWithBackslash(pattern)) pattern.eraseRange(pattern.length() - 1, 1);
  pattern.append("\\*.*");

  {
    FolderListing folders(pattern);
    while (const platform::FindData* entry = folders.next()) {
      if (!(entry->attributes & FILE_ATTRIBUTE_DIRECTORY) || isDots(entry->name)) continue;
      SetupString child(entry->name);
      if (!moveToFolder(child, path)) return false;
      // A folder link (junction or symbolic link) is removed itself; descending
      // into it would delete whatever it points at, anywhere on the machine.
      const bool removed = (entry->attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                               ? platform::removeDirectory(child.text())
                               : deleteTree(child.text(), depth + 1, removeRoot);
      if (!removed) return false;
    }
  }
  {
    FolderListing files(pattern);
    while (const platform::FindData* entry = files.next()) {
      if (entry->attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (isDots(entry->name)) continue;
        return false;
      }
      SetupString full(entry->name);
      if (!moveToFolder(full, path)) return false;
      platform::setFileAttributes(full.text(), FILE_ATTRIBUTE_NORMAL);
      if (!platform::deleteFile(full.text())) return false;
    }
  }
  if (depth > 0 || removeRoot) return platform::removeDirectory(path);
  return true;
}

std::vector<FolderEntry> listFolder(const char* folder) {
  std::vector<FolderEntry> entries;
  if (folder == nullptr || *folder == '\0') return entries;
  SetupString pattern(folder);
  if (endsWithBackslash(pattern)) pattern.eraseRange(pattern.length() - 1, 1);
  pattern.append("\\*.*");
  FolderListing listing(pattern);
  while (const platform::FindData* entry = listing.next()) {
    if (isDots(entry->name)) continue;
    entries.push_back({SetupString(entry->name), entry->attributes});
  }
  return entries;
}

void setExtension(SetupString& path, const char* extension) {
  PathParts parts;
  splitPath(path.text(), parts);
  SetupString rebuilt = SetupString::concat(parts.drive, parts.folder);
  rebuilt.append(parts.name);
  if (extension != nullptr) {
    if (*extension != '\0' && *extension != '.') rebuilt.append('.');
    rebuilt.append(extension);
  } else if (rebuilt.length() > 0 && rebuilt[rebuilt.length() - 1] == '.') {
    rebuilt.eraseRange(rebuilt.length() - 1, 1);
  }
  path = rebuilt;
}

void copyToSystemFolder(const char* name, const char* folder, const char* systemFolder) {
  if (systemFolder == nullptr || *systemFolder == '\0') return;
  SetupString source(name);
  SetupString destination(name);
  if (!moveToFolder(source, folder) || !moveToFolder(destination, systemFolder)) return;
  copyFileTo(source.text(), destination.text());
}

void copyFileTo(const char* source, const char* destination) {
  platform::setFileAttributes(destination, FILE_ATTRIBUTE_NORMAL);
  platform::copyFile(source, destination, false);
}

namespace {

// A file opened for reading, shared with every other opener, closed on scope exit.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const char* path)
      : file_(path == nullptr
                  ? platform::kInvalidFile
                  : platform::createFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         false, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL)) {}
  ~ReadOnlyFile() {
    if (file_ != platform::kInvalidFile) platform::closeFile(file_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  bool isOpen() const { return file_ != platform::kInvalidFile; }
  // Calls take(bytes, n) for each piece up to the end; false on a read error or
  // when take says stop.
  template <typename Take>
  bool readAll(Take take) {
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
      std::uint32_t n = 0;
      if (!platform::readFile(file_, buffer.data(), std::uint32_t(buffer.size()), &n)) return false;
      if (n == 0) return true;
      if (!take(buffer.data(), n)) return false;
    }
  }

 private:
  platform::FileId file_;
};

}  // namespace

bool fingerprintFile(const char* path, std::uint64_t& size, Sha256Digest& digest) {
  ReadOnlyFile file(path);
  if (!file.isOpen()) return false;
  Sha256 hash;
  std::uint64_t total = 0;
  const bool read = file.readAll([&](const unsigned char* bytes, std::uint32_t n) {
    hash.update(bytes, n);
    total += n;
    return true;
  });
  if (!read) return false;
  size = total;
  digest = hash.finish();
  return true;
}

bool readWholeFile(const char* path, std::uint64_t maxSize, std::vector<unsigned char>& out) {
  ReadOnlyFile file(path);
  if (!file.isOpen()) return false;
  std::vector<unsigned char> bytes;
  const bool read = file.readAll([&](const unsigned char* data, std::uint32_t n) {
    if (n > maxSize - bytes.size()) return false;
    bytes.insert(bytes.end(), data, data + n);
    return true;
  });
  if (read) out = std::move(bytes);
  return read;
}
