#include <windows.h>

#include "platform/Files.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

using win32::Wide;

// A folder the system names into `buffer`: the length, or 0 when the query
// failed, the buffer is too small, or Windows-1252 cannot name the folder.
int folderAnswer(UINT length, const wchar_t* wide, char* buffer, int bufferSize) {
  if (length == 0 || length >= MAX_PATH) return 0;
  const int n = win32::narrowPath(wide, buffer, bufferSize);
  return n > 0 ? n : 0;
}

// A listed name the code page cannot hold is given in its short form, which
// names the same file; without one, as the A calls give it ('?' for what is
// missing), and a call made with that name fails as it would have.
void toFindData(const WIN32_FIND_DATAW& found, FindData& data) {
  data.attributes = found.dwFileAttributes;
  if (win32::narrowExact(found.cFileName, data.name, sizeof data.name) >= 0) return;
  if (found.cAlternateFileName[0] != L'\0' &&
      win32::narrowExact(found.cAlternateFileName, data.name, sizeof data.name) >= 0) {
    return;
  }
  win32::narrowLossy(found.cFileName, data.name, sizeof data.name);
}

using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                           PULARGE_INTEGER);

// Looked up rather than imported: the oldest systems lack it.
GetDiskFreeSpaceExFn diskFreeSpaceEx() {
  static const auto fn = reinterpret_cast<GetDiskFreeSpaceExFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetDiskFreeSpaceExW")));
  return fn;
}

}  // namespace

std::uint32_t getFileAttributes(const char* path) {
  return GetFileAttributesW(Wide(path).get());
}

bool setFileAttributes(const char* path, std::uint32_t attributes) {
  return SetFileAttributesW(Wide(path).get(), attributes) != FALSE;
}

FileId createFile(const char* path, std::uint32_t access, std::uint32_t share, bool inheritable,
                  std::uint32_t creation, std::uint32_t attributes) {
  SECURITY_ATTRIBUTES security = {sizeof security, nullptr, inheritable ? TRUE : FALSE};
  const HANDLE file =
      CreateFileW(Wide(path).get(), access, share, &security, creation, attributes, nullptr);
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
  return DeleteFileW(Wide(path).get()) != FALSE;
}

bool createDirectory(const char* path) {
  return CreateDirectoryW(Wide(path).get(), nullptr) != FALSE;
}

bool removeDirectory(const char* path) {
  return RemoveDirectoryW(Wide(path).get()) != FALSE;
}

bool copyFile(const char* source, const char* destination, bool failIfExists) {
  return CopyFileW(Wide(source).get(), Wide(destination).get(), failIfExists ? TRUE : FALSE) !=
         FALSE;
}

FindId findFirstFile(const char* pattern, FindData& data) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(Wide(pattern).get(), &found);
  if (search == INVALID_HANDLE_VALUE) return nullptr;
  toFindData(found, data);
  return search;
}

bool findNextFile(FindId search, FindData& data) {
  WIN32_FIND_DATAW found;
  if (!FindNextFileW(static_cast<HANDLE>(search), &found)) return false;
  toFindData(found, data);
  return true;
}

void findClose(FindId search) {
  if (search != nullptr) FindClose(static_cast<HANDLE>(search));
}

unsigned getDriveType(const char* rootPath) {
  return GetDriveTypeW(Wide(rootPath).get());
}

bool hasDiskFreeSpaceEx() {
  return diskFreeSpaceEx() != nullptr;
}

bool getDiskFreeSpaceEx(const char* root, std::uint64_t* availableToCaller) {
  ULARGE_INTEGER available, total, free;
  const GetDiskFreeSpaceExFn fn = diskFreeSpaceEx();
  if (fn == nullptr || !fn(Wide(root).get(), &available, &total, &free)) return false;
  if (availableToCaller != nullptr) *availableToCaller = available.QuadPart;
  return true;
}

bool getDiskFreeSpace(const char* root, std::uint32_t* sectorsPerCluster,
                      std::uint32_t* bytesPerSector, std::uint32_t* freeClusters,
                      std::uint32_t* totalClusters) {
  DWORD spc = 0, bps = 0, fc = 0, tc = 0;
  if (!GetDiskFreeSpaceW(Wide(root).get(), &spc, &bps, &fc, &tc)) return false;
  if (sectorsPerCluster != nullptr) *sectorsPerCluster = spc;
  if (bytesPerSector != nullptr) *bytesPerSector = bps;
  if (freeClusters != nullptr) *freeClusters = fc;
  if (totalClusters != nullptr) *totalClusters = tc;
  return true;
}

int getShortPathName(const char* longPath, char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  wchar_t wide[MAX_PATH];
  const DWORD length = GetShortPathNameW(Wide(longPath).get(), wide, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  const int n = win32::narrowExact(wide, buffer, bufferSize);
  return n > 0 ? n : 0;
}

int getTempPath(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  wchar_t wide[MAX_PATH + 1];
  return folderAnswer(GetTempPathW(MAX_PATH + 1, wide), wide, buffer, bufferSize);
}

bool deleteFileAtReboot(const char* path) {
  return MoveFileExW(Wide(path).get(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

int getSystemDirectory(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  wchar_t wide[MAX_PATH];
  return folderAnswer(GetSystemDirectoryW(wide, MAX_PATH), wide, buffer, bufferSize);
}

int getWindowsDirectory(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  wchar_t wide[MAX_PATH];
  return folderAnswer(GetWindowsDirectoryW(wide, MAX_PATH), wide, buffer, bufferSize);
}

bool isWow64Machine() {
  using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto isWow64 = win32::entry<IsWow64>(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process");
  BOOL wow64 = FALSE;
  return isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

int getProgramFiles64Directory(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0 || !isWow64Machine()) return 0;
  wchar_t wide[MAX_PATH];
  return folderAnswer(GetEnvironmentVariableW(L"ProgramW6432", wide, MAX_PATH), wide, buffer,
                      bufferSize);
}

int getSystem64Directory(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0 || !isWow64Machine()) return 0;
  wchar_t wide[MAX_PATH];
  const UINT length = GetWindowsDirectoryW(wide, MAX_PATH);
  const wchar_t alias[] = L"\\Sysnative";
  if (length == 0 || length + sizeof alias / sizeof alias[0] > MAX_PATH) return 0;
  lstrcpyW(wide + (length > 0 && wide[length - 1] == L'\\' ? length - 1 : length), alias);
  return folderAnswer(UINT(lstrlenW(wide)), wide, buffer, bufferSize);
}

int getSystemWow64Directory(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  using Wow64Directory = UINT(WINAPI*)(LPWSTR, UINT);
  const auto wow64Directory =
      win32::entry<Wow64Directory>(GetModuleHandleW(L"kernel32.dll"), "GetSystemWow64DirectoryW");
  if (wow64Directory == nullptr) return 0;
  wchar_t wide[MAX_PATH];
  return folderAnswer(wow64Directory(wide, MAX_PATH), wide, buffer, bufferSize);
}

}  // namespace platform
