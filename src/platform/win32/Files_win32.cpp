#include <windows.h>

#include "platform/Files.h"

namespace platform {
namespace {

// The directory queries return the needed size when the buffer is too small.
int fitted(UINT length, int bufferSize) {
  return (length == 0 || length >= UINT(bufferSize)) ? 0 : int(length);
}

void toFindData(const WIN32_FIND_DATAA& found, FindData& data) {
  data.attributes = found.dwFileAttributes;
  lstrcpynA(data.name, found.cFileName, sizeof data.name);
}

using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                           PULARGE_INTEGER);

// Looked up rather than imported: the oldest systems lack it.
GetDiskFreeSpaceExFn diskFreeSpaceEx() {
  static const auto fn = reinterpret_cast<GetDiskFreeSpaceExFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
  return fn;
}

}  // namespace

std::uint32_t getFileAttributes(const char* path) {
  return GetFileAttributesA(path);
}

bool setFileAttributes(const char* path, std::uint32_t attributes) {
  return SetFileAttributesA(path, attributes) != FALSE;
}

FileId createFile(const char* path, std::uint32_t access, std::uint32_t share, bool inheritable,
                  std::uint32_t creation, std::uint32_t attributes) {
  SECURITY_ATTRIBUTES security = {sizeof security, nullptr, inheritable ? TRUE : FALSE};
  const HANDLE file = CreateFileA(path, access, share, &security, creation, attributes, nullptr);
  return file == INVALID_HANDLE_VALUE ? kInvalidFile : reinterpret_cast<FileId>(file);
}

bool writeFile(FileId file, const void* data, std::uint32_t size, std::uint32_t* written) {
  DWORD done = 0;
  const BOOL ok = WriteFile(reinterpret_cast<HANDLE>(file), data, size, &done, nullptr);
  if (written != nullptr) *written = done;
  // Wine reports a full disk as a successful write of fewer bytes.
  return ok != FALSE && done == size;
}

bool readFile(FileId file, void* data, std::uint32_t size, std::uint32_t* read) {
  DWORD done = 0;
  const BOOL ok = ReadFile(reinterpret_cast<HANDLE>(file), data, size, &done, nullptr);
  if (read != nullptr) *read = done;
  return ok != FALSE;
}

bool closeFile(FileId file) {
  return CloseHandle(reinterpret_cast<HANDLE>(file)) != FALSE;
}

bool deleteFile(const char* path) {
  return DeleteFileA(path) != FALSE;
}

bool createDirectory(const char* path) {
  return CreateDirectoryA(path, nullptr) != FALSE;
}

bool removeDirectory(const char* path) {
  return RemoveDirectoryA(path) != FALSE;
}

bool copyFile(const char* source, const char* destination, bool failIfExists) {
  return CopyFileA(source, destination, failIfExists ? TRUE : FALSE) != FALSE;
}

FindId findFirstFile(const char* pattern, FindData& data) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return nullptr;
  toFindData(found, data);
  return search;
}

bool findNextFile(FindId search, FindData& data) {
  WIN32_FIND_DATAA found;
  if (!FindNextFileA(static_cast<HANDLE>(search), &found)) return false;
  toFindData(found, data);
  return true;
}

void findClose(FindId search) {
  if (search != nullptr) FindClose(static_cast<HANDLE>(search));
}

unsigned getDriveType(const char* rootPath) {
  return GetDriveTypeA(rootPath);
}

bool hasDiskFreeSpaceEx() {
  return diskFreeSpaceEx() != nullptr;
}

bool getDiskFreeSpaceEx(const char* root, std::uint64_t* availableToCaller) {
  ULARGE_INTEGER available, total, free;
  const GetDiskFreeSpaceExFn fn = diskFreeSpaceEx();
  if (fn == nullptr || !fn(root, &available, &total, &free)) return false;
  if (availableToCaller != nullptr) *availableToCaller = available.QuadPart;
  return true;
}

bool getDiskFreeSpace(const char* root, std::uint32_t* sectorsPerCluster,
                      std::uint32_t* bytesPerSector, std::uint32_t* freeClusters,
                      std::uint32_t* totalClusters) {
  DWORD spc = 0, bps = 0, fc = 0, tc = 0;
  if (!GetDiskFreeSpaceA(root, &spc, &bps, &fc, &tc)) return false;
  if (sectorsPerCluster != nullptr) *sectorsPerCluster = spc;
  if (bytesPerSector != nullptr) *bytesPerSector = bps;
  if (freeClusters != nullptr) *freeClusters = fc;
  if (totalClusters != nullptr) *totalClusters = tc;
  return true;
}

int getShortPathName(const char* longPath, char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  return fitted(GetShortPathNameA(longPath, buffer, DWORD(bufferSize)), bufferSize);
}

int getTempPath(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  return fitted(GetTempPathA(DWORD(bufferSize), buffer), bufferSize);
}

bool deleteFileAtReboot(const char* path) {
  return MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
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
