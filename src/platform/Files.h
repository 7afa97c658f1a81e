// Files, folders and drives, addressed by Windows paths.
#pragma once

#include <cstdint>

namespace platform {

// The attribute bits of a file or folder; INVALID_FILE_ATTRIBUTES (all bits set)
// when it does not exist or cannot be queried.
std::uint32_t getFileAttributes(const char* path);

// The kind of the drive whose root is `rootPath` ("C:\"): one of the DRIVE_ values,
// DRIVE_NO_ROOT_DIR when the path names no drive root.
unsigned getDriveType(const char* rootPath);

// The system and Windows folders, without a trailing backslash. Return the length
// written, or 0 on failure (including a buffer too small).
int getSystemDirectory(char* buffer, int bufferSize);
int getWindowsDirectory(char* buffer, int bufferSize);

}  // namespace platform
