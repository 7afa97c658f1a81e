// Small operations on Windows paths: backslash-separated, drive-letter based, ANSI.
#pragma once

#include "base/SetupString.h"

// Every path edited in place must fit this buffer, terminator included.
constexpr int kPathBufferSize = 2080;

// A path split as the C runtime's _splitpath splits it: "C:", "\dir\", "name",
// ".ext". Separators found inside double-byte characters do not count.
struct PathParts {
  SetupString drive;
  SetupString folder;
  SetupString name;
  SetupString extension;
};
void splitPath(const char* path, PathParts& parts);

// True when the text's last character is a backslash (not a trail byte that
// happens to have its value).
bool endsWithBackslash(const SetupString& text);

// path becomes baseFolder + '\' + path, with exactly one backslash between them
// (an empty base folder gives "\" + path). False, with path unchanged, for a null
// base folder or a result that would not fit the path buffer.
bool joinPath(SetupString& path, const char* baseFolder);

// path becomes folder + '\' + the old path's file name and extension; an empty
// folder leaves the bare file name. False, with path unchanged, when the result
// would not fit the path buffer.
bool moveToFolder(SetupString& path, const char* folder);

// path becomes its drive root ("C:\"), or empty for relative and network paths.
void driveRoot(SetupString& path);

// True when the path lies on a local fixed disk.
bool isFixedDrive(const char* path);

// True when the path exists and is a folder.
bool isDirectory(const char* path);

// True for the braced 38-character GUID form {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}.
bool isGuidString(const char* text);
