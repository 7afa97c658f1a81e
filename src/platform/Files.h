// Files, folders and drives, addressed by Windows paths. Each call is one Windows
// file call; failures are returned, never hidden.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace platform {

// An open file; kInvalidFile when none.
using FileId = std::intptr_t;
constexpr FileId kInvalidFile = -1;

// The attribute bits of a file or folder; INVALID_FILE_ATTRIBUTES (all bits set)
// when it does not exist or cannot be queried.
std::uint32_t getFileAttributes(const char* path);
bool setFileAttributes(const char* path, std::uint32_t attributes);

// CreateFileW: `access` GENERIC_READ/GENERIC_WRITE bits, `share` FILE_SHARE_ bits,
// `creation` CREATE_ALWAYS, OPEN_ALWAYS, OPEN_EXISTING or CREATE_NEW. While it is
// open, a file opened without FILE_SHARE_DELETE cannot be deleted, and one opened
// without any sharing cannot be opened again, by this process or any other.
FileId createFile(const char* path, std::uint32_t access, std::uint32_t share, bool inheritable,
                  std::uint32_t creation, std::uint32_t attributes);
// Writes size bytes; `written` receives how many were. False when the call failed
// or wrote fewer bytes than asked (a full disk).
bool writeFile(FileId file, const void* data, std::uint32_t size, std::uint32_t* written);
// Reads up to size bytes; `read` receives how many were, 0 at the end of the file.
// False when the call failed.
bool readFile(FileId file, void* data, std::uint32_t size, std::uint32_t* read);
bool closeFile(FileId file);

bool deleteFile(const char* path);
// Creates one folder; its parent must exist.
bool createDirectory(const char* path);
// Removes an empty folder, or a folder link itself.
bool removeDirectory(const char* path);
bool copyFile(const char* source, const char* destination, bool failIfExists);

// One entry of a folder listing.
struct FindData {
  std::uint32_t attributes = 0;
  // A name Windows-1252 cannot hold is given by the file's short name; without
  // one, with '?' for what is missing, as the A call gives it.
  char name[260] = {};
};
using FindId = void*;  // null when the search failed or found nothing

// Lists the entries matching `pattern` ("C:\folder\*.*"), "." and ".." included
// as Windows lists them.
FindId findFirstFile(const char* pattern, FindData& data);
bool findNextFile(FindId search, FindData& data);
void findClose(FindId search);

// The kind of the drive whose root is `rootPath` ("C:\"): one of the DRIVE_ values,
// DRIVE_NO_ROOT_DIR when the path names no drive root.
unsigned getDriveType(const char* rootPath);

// Free space of the drive holding `root`. GetDiskFreeSpaceExW is not on every
// system: hasDiskFreeSpaceEx tells whether it can be called.
bool hasDiskFreeSpaceEx();
bool getDiskFreeSpaceEx(const char* root, std::uint64_t* availableToCaller);
bool getDiskFreeSpace(const char* root, std::uint32_t* sectorsPerCluster,
                      std::uint32_t* bytesPerSector, std::uint32_t* freeClusters,
                      std::uint32_t* totalClusters);

// GetShortPathNameW: the 8.3 form of an existing path into `buffer`. Returns the
// length written, or 0 on failure (including a buffer too small, volumes without
// short names, and a short form Windows-1252 cannot hold); callers then keep the
// long path.
int getShortPathName(const char* longPath, char* buffer, int bufferSize);

// The folder for temporary files (GetTempPathW), with its trailing backslash.
// Returns the length written, or 0 on failure. This and the folders below, as
// every path the system gives, are named in Windows-1252, by their short form
// where the long one cannot be; 0 when neither can.
int getTempPath(char* buffer, int bufferSize);

// Marks a file to be deleted when the system next starts (MoveFileExW with
// MOVEFILE_DELAY_UNTIL_REBOOT and no new name). False when the system refuses.
bool deleteFileAtReboot(const char* path);

// The system and Windows folders, without a trailing backslash. Return the length
// written, or 0 on failure (including a buffer too small).
int getSystemDirectory(char* buffer, int bufferSize);
int getWindowsDirectory(char* buffer, int bufferSize);

// True on 64-bit Windows, where this 32-bit program runs under WOW64
// (IsWow64Process, looked up at run time).
bool isWow64Machine();

// The folders of 64-bit programs as this 32-bit program reaches them on 64-bit
// Windows, and the system folder of 32-bit programs there; the length written,
// or 0 on 32-bit Windows and on failure. Program Files is the environment's
// ProgramW6432; the system folder is "<Windows>\Sysnative", the name under which
// WOW64 does not send System32 to SysWOW64; the 32-bit one is
// GetSystemWow64DirectoryW, looked up at run time.
int getProgramFiles64Directory(char* buffer, int bufferSize);
int getSystem64Directory(char* buffer, int bufferSize);
int getSystemWow64Directory(char* buffer, int bufferSize);

}  // namespace platform
