// The file and folder work of the install pass: writing files, making and removing
// folders, copies into the system folder.
#pragma once

#include <cstdint>
#include <vector>

#include "base/ByteStream.h"
#include "base/SetupString.h"
#include "base/Sha256.h"

// Creates or truncates `path` and writes every byte of the stream. S_OK or
// E_FAIL; an existing read-only file is not overwritten.
HRESULT writeStreamToFile(const ByteStream& stream, const char* path);

// True when `path` is a folder afterwards. Creates only the last component: a
// missing parent, or a file in the way, gives false.
bool createFolder(const char* path);

// Deletes everything in `path`, and `path` itself when removeRoot is set (callers
// pass depth 0). Read-only files are made writable first. A folder link is removed
// as a link: its target is never entered. False at the first thing that cannot be
// deleted; what was deleted before stays deleted.
bool deleteTree(const char* path, int depth, bool removeRoot);

// One entry of a folder, "." and ".." left out.
struct FolderEntry {
  SetupString name;
  std::uint32_t attributes = 0;
};
// The entries of `folder`; empty when it cannot be listed.
std::vector<FolderEntry> listFolder(const char* folder);

// Replaces the extension of the path's last component with `extension` (a dot is
// added when it has none); null removes the extension and one trailing dot.
void setExtension(SetupString& path, const char* extension);

// Copies folder\name's file into systemFolder (the install target's) under the
// same name. Failures, and an empty systemFolder, are not reported.
void copyToSystemFolder(const char* name, const char* folder, const char* systemFolder);

// Copies source over destination, even a read-only one. Failures are not reported.
void copyFileTo(const char* source, const char* destination);

// The size and SHA-256 of the file at `path`. False when it cannot be opened or
// read to its end.
bool fingerprintFile(const char* path, std::uint64_t& size, Sha256Digest& digest);

// The whole file at `path`, when it holds at most maxSize bytes. False when it
// cannot be read, or is larger.
bool readWholeFile(const char* path, std::uint64_t maxSize, std::vector<unsigned char>& out);
