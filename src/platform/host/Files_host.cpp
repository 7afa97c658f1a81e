// Files on the emulated machine. The rules that Windows enforces and a root user
// on Linux would not meet are enforced here: a read-only file can be neither
// opened for writing nor deleted, and a folder is never deleted as a file.
//
// Sharing is emulated with flock, which other processes see: an open file holds
// an exclusive lock when it shares nothing, a shared one otherwise (unless it
// lets others delete it), and a file that anyone holds so cannot be opened
// against that lock or deleted, as Windows refuses with a sharing violation. An
// open without sharing from any Linux program (`flock FILE COMMAND`) holds a file
// the same way.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/FileMoves.h"
#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "platform/host/FailureInjection.h"
#include "platform/host/Prefix.h"

namespace platform {
namespace {

using host::HostCall;
using host::injectedFailure;

int copyOut(const std::string& text, char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0 || text.size() >= std::size_t(bufferSize)) return 0;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return int(text.size());
}

std::uint32_t attributesOf(const std::string& hostPath) {
  struct stat st;
  if (lstat(hostPath.c_str(), &st) != 0) return INVALID_FILE_ATTRIBUTES;
  std::uint32_t attributes = 0;
  if (S_ISLNK(st.st_mode)) {
    // A symbolic link is what Windows calls a reparse point; it is a folder link
    // when it points at a folder.
    attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    struct stat target;
    if (stat(hostPath.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) {
      attributes |= FILE_ATTRIBUTE_DIRECTORY;
    }
  } else if (S_ISDIR(st.st_mode)) {
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  } else if ((st.st_mode & S_IWUSR) == 0) {
    attributes |= FILE_ATTRIBUTE_READONLY;
  }
  return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}

bool isReadOnlyFile(const std::string& hostPath) {
  struct stat st;
  return lstat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

// True when another open file holds a lock on the file: it was opened without
// letting others delete it.
bool isHeldOpen(const std::string& hostPath) {
  const int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);
  return held;
}

// True when a file below the folder `hostPath` is held open so that Windows would
// refuse to move the folder. A folder link is not entered.
bool holdsHeldFile(const std::string& hostPath) {
  DIR* dir = opendir(hostPath.c_str());
  if (dir == nullptr) return false;
  bool held = false;
  while (dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    const std::string child = hostPath + "/" + entry->d_name;
    struct stat st;
    if (lstat(child.c_str(), &st) != 0) continue;
    held = S_ISDIR(st.st_mode) ? holdsHeldFile(child) : S_ISREG(st.st_mode) && isHeldOpen(child);
    if (held) break;
  }
  closedir(dir);
  return held;
}

// The folder of the drive that holds a Windows path ("<prefix>/drive_c").
bool driveFolder(const char* path, std::string& out) {
  std::string normal;
  if (!host::normalizeWindowsPath(path, normal)) return false;
  out = host::prefixRoot() + "/drive_" + char(normal[0] - 'A' + 'a');
  return true;
}

bool freeBytes(const char* root, std::uint64_t& bytes) {
  std::string drive;
  struct stat st;
  if (!driveFolder(root, drive) || stat(drive.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return false;
  }
  // A test can give a drive any free space it likes.
  std::ifstream preset(drive + ".free");
  if (preset >> bytes) return true;
  struct statvfs vfs;
  if (statvfs(drive.c_str(), &vfs) != 0) return false;
  bytes = std::uint64_t(vfs.f_bavail) * vfs.f_frsize;
  return true;
}

struct Search {
  DIR* dir;
  std::string hostFolder;
};

bool nextEntry(Search& search, FindData& data) {
  while (dirent* entry = readdir(search.dir)) {
    const std::size_t n = std::strlen(entry->d_name);
    if (n >= sizeof data.name) continue;  // no Windows name is that long
    std::memcpy(data.name, entry->d_name, n + 1);
    data.attributes = attributesOf(search.hostFolder + "/" + entry->d_name);
    if (data.attributes == INVALID_FILE_ATTRIBUTES) continue;  // gone meanwhile
    return true;
  }
  return false;
}

}  // namespace

std::uint32_t getFileAttributes(const char* path) {
  std::string host;
  if (!host::toHostPath(path, host)) return INVALID_FILE_ATTRIBUTES;
  return attributesOf(host);
}

bool setFileAttributes(const char* path, std::uint32_t attributes) {
  std::string host;
  struct stat st;
  if (!host::toHostPath(path, host) || injectedFailure(HostCall::SetAttributes, path) ||
      lstat(host.c_str(), &st) != 0) {
    return false;
  }
  // Only a file's read-only bit is kept; hidden and system have no place here, and
  // a folder's read-only bit does not protect its contents on Windows either.
  if (!S_ISREG(st.st_mode)) return true;
  const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (st.st_mode & ~mode_t(0222))
                                                             : (st.st_mode | S_IWUSR);
  return chmod(host.c_str(), mode & 07777) == 0;
}

FileId createFile(const char* path, std::uint32_t access, std::uint32_t share, bool inheritable,
                  std::uint32_t creation, std::uint32_t attributes) {
  std::string host;
  if (!host::toHostPath(path, host) || injectedFailure(HostCall::CreateFile, path)) {
    return kInvalidFile;
  }
  const bool write = (access & GENERIC_WRITE) != 0;
  struct stat st;
  const bool exists = stat(host.c_str(), &st) == 0;
  if (exists && (S_ISDIR(st.st_mode) || (write && isReadOnlyFile(host)))) return kInvalidFile;

  int flags = inheritable ? 0 : O_CLOEXEC;
  flags |= write ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
  switch (creation) {
    case CREATE_ALWAYS:
      flags |= O_CREAT;  // truncated once the sharing check has passed
      break;
    case OPEN_ALWAYS:
      flags |= O_CREAT;
      break;
    case CREATE_NEW:
      flags |= O_CREAT | O_EXCL;
      break;
    case OPEN_EXISTING:
      break;
    default:
      return kInvalidFile;
  }
  const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0644;
  const int fd = open(host.c_str(), flags, mode);
  if (fd < 0) return kInvalidFile;
  const int lock = share == 0 ? LOCK_EX : LOCK_SH;
  if (((share & FILE_SHARE_DELETE) == 0 && flock(fd, lock | LOCK_NB) != 0) ||
      (creation == CREATE_ALWAYS && ftruncate(fd, 0) != 0)) {
    close(fd);
    return kInvalidFile;
  }
  return FileId(fd);
}

bool writeFile(FileId file, const void* data, std::uint32_t size, std::uint32_t* written) {
  if (written != nullptr) *written = 0;
  if (file == kInvalidFile || injectedFailure(HostCall::WriteFile)) return false;
  const auto* p = static_cast<const char*>(data);
  std::uint32_t done = 0;
  while (done < size) {
    const ssize_t n = write(int(file), p + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += std::uint32_t(n);
    if (written != nullptr) *written = done;
  }
  return true;
}

bool readFile(FileId file, void* data, std::uint32_t size, std::uint32_t* read) {
  if (read != nullptr) *read = 0;
  if (file == kInvalidFile) return false;
  ssize_t n;
  do {
    n = ::read(int(file), data, size);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return false;
  if (read != nullptr) *read = std::uint32_t(n);
  return true;
}

bool closeFile(FileId file) {
  return file != kInvalidFile && close(int(file)) == 0;
}

bool deleteFile(const char* path) {
  std::string host;
  struct stat st;
  if (!host::toHostPath(path, host) || injectedFailure(HostCall::DeleteFile, path)) return false;
  if (lstat(host.c_str(), &st) != 0 || S_ISDIR(st.st_mode) || isReadOnlyFile(host)) return false;
  if (S_ISREG(st.st_mode) && isHeldOpen(host)) return false;
  return unlink(host.c_str()) == 0;
}

bool createDirectory(const char* path) {
  std::string host;
  if (!host::toHostPath(path, host) || injectedFailure(HostCall::CreateFolder, path)) return false;
  return mkdir(host.c_str(), 0755) == 0;
}

bool removeDirectory(const char* path) {
  std::string host;
  struct stat st;
  if (!host::toHostPath(path, host) || injectedFailure(HostCall::RemoveFolder, path)) return false;
  if (lstat(host.c_str(), &st) != 0) return false;
  // A folder link goes itself, never what it points at.
  if (S_ISLNK(st.st_mode)) {
    return (attributesOf(host) & FILE_ATTRIBUTE_DIRECTORY) != 0 && unlink(host.c_str()) == 0;
  }
  return rmdir(host.c_str()) == 0;
}

bool moveFile(const char* from, const char* to) {
  std::string source, destination;
  struct stat st, there;
  if (!host::toHostPath(from, source) || !host::toHostPath(to, destination) ||
      injectedFailure(HostCall::Move, from) || lstat(source.c_str(), &st) != 0 ||
      lstat(destination.c_str(), &there) == 0) {
    return false;
  }
  if (S_ISDIR(st.st_mode) && holdsHeldFile(source)) return false;
  return rename(source.c_str(), destination.c_str()) == 0;
}

bool canDeleteFile(const char* path) {
  std::string host;
  return host::toHostPath(path, host) && !isHeldOpen(host);
}

bool copyFile(const char* source, const char* destination, bool failIfExists) {
  std::string from, to;
  struct stat st;
  if (!host::toHostPath(source, from) || !host::toHostPath(destination, to) ||
      stat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    return false;
  }
  // Onto itself, by whatever route (another spelling of the path, a link), the
  // copy would truncate its own source before reading it. CopyFileA refuses.
  struct stat existing;
  if (stat(to.c_str(), &existing) == 0 &&
      ((existing.st_dev == st.st_dev && existing.st_ino == st.st_ino) || failIfExists ||
       isReadOnlyFile(to))) {
    return false;
  }
  const FileId out = createFile(destination, GENERIC_WRITE, 0, false, CREATE_ALWAYS, 0);
  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  bool ok = out != kInvalidFile && in >= 0;
  char buffer[65536];
  while (ok) {
    const ssize_t n = read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = writeFile(out, buffer, std::uint32_t(n), nullptr);
  }
  if (in >= 0) close(in);
  if (out != kInvalidFile) ok = closeFile(out) && ok;
  // CopyFileA leaves no half-copied destination behind when it fails.
  if (!ok && out != kInvalidFile) unlink(to.c_str());
  return ok;
}

FindId findFirstFile(const char* pattern, FindData& data) {
  if (pattern == nullptr) return nullptr;
  const char* slash = nullptr;
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') slash = p;
  }
  // Listing a whole folder is all the logic asks for.
  const char* mask = slash != nullptr ? slash + 1 : pattern;
  if (std::strcmp(mask, "*.*") != 0 && std::strcmp(mask, "*") != 0) return nullptr;
  const std::string folder = slash != nullptr ? std::string(pattern, slash) : std::string(".");
  std::string host;
  if (!host::toHostPath(folder.empty() ? "\\" : folder.c_str(), host)) return nullptr;
  DIR* dir = opendir(host.c_str());
  if (dir == nullptr) return nullptr;
  auto* search = new Search{dir, host};
  if (!nextEntry(*search, data)) {
    findClose(search);
    return nullptr;
  }
  return search;
}

bool findNextFile(FindId search, FindData& data) {
  return search != nullptr && nextEntry(*static_cast<Search*>(search), data);
}

void findClose(FindId search) {
  if (search == nullptr) return;
  auto* s = static_cast<Search*>(search);
  closedir(s->dir);
  delete s;
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

bool hasDiskFreeSpaceEx() {
  return !host::diskFreeSpaceExHidden();
}

bool getDiskFreeSpaceEx(const char* root, std::uint64_t* availableToCaller) {
  std::uint64_t bytes = 0;
  if (!hasDiskFreeSpaceEx() || !freeBytes(root, bytes)) return false;
  if (availableToCaller != nullptr) *availableToCaller = bytes;
  return true;
}

bool getDiskFreeSpace(const char* root, std::uint32_t* sectorsPerCluster,
                      std::uint32_t* bytesPerSector, std::uint32_t* freeClusters,
                      std::uint32_t* totalClusters) {
  // The emulated drives have 4 KiB clusters of eight 512-byte sectors.
  std::uint64_t bytes = 0;
  if (!freeBytes(root, bytes)) return false;
  const std::uint64_t clusters = std::min<std::uint64_t>(bytes / 4096, 0xFFFFFFFFu);
  if (sectorsPerCluster != nullptr) *sectorsPerCluster = 8;
  if (bytesPerSector != nullptr) *bytesPerSector = 512;
  if (freeClusters != nullptr) *freeClusters = std::uint32_t(clusters);
  if (totalClusters != nullptr) *totalClusters = std::uint32_t(clusters);
  return true;
}

// The emulated drives have no short names, as a volume with them turned off.
int getShortPathName(const char*, char*, int) {
  return 0;
}

int getTempPath(char* buffer, int bufferSize) {
  const std::string windows = host::specialFolder(CSIDL_WINDOWS);
  if (windows.empty()) return 0;
  // Windows always has its temporary folder; a fresh prefix makes it on first use.
  createDirectory((windows + "\\Temp").c_str());
  return copyOut(windows + "\\Temp\\", buffer, bufferSize);
}

// The emulated machine never starts again; there is nothing to mark.
bool deleteFileAtReboot(const char*) {
  return false;
}

int getSystemDirectory(char* buffer, int bufferSize) {
  return copyOut(host::specialFolder(CSIDL_SYSTEM), buffer, bufferSize);
}

int getWindowsDirectory(char* buffer, int bufferSize) {
  return copyOut(host::specialFolder(CSIDL_WINDOWS), buffer, bufferSize);
}

bool isWow64Machine() {
  return host::machineIs64Bit();
}

int getProgramFiles64Directory(char* buffer, int bufferSize) {
  return copyOut(host::programFiles64Folder(), buffer, bufferSize);
}

int getSystem64Directory(char* buffer, int bufferSize) {
  return copyOut(host::system64Folder(), buffer, bufferSize);
}

int getSystemWow64Directory(char* buffer, int bufferSize) {
  return copyOut(host::systemWow64Folder(), buffer, bufferSize);
}

}  // namespace platform
