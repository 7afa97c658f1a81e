#include "system/InstallSwap.h"

#include "base/Paths.h"
#include "platform/FileMoves.h"
#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "system/FileOps.h"

namespace {

SetupString withSuffix(const char* location, const char* suffix) {
  SetupString folder(location);
  if (endsWithBackslash(folder)) folder.eraseRange(folder.length() - 1, 1);
  folder.append(suffix);
  return folder;
}

bool exists(const char* path) {
  return platform::getFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

SetupString childOf(const char* folder, const SetupString& name) {
  SetupString path(name);
  return moveToFolder(path, folder) ? path : SetupString();
}

void collectHeld(const char* folder, std::vector<std::string>& held) {
  for (const FolderEntry& entry : listFolder(folder)) {
    const SetupString path = childOf(folder, entry.name);
    if (path.isEmpty() || (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      collectHeld(path.text(), held);
    } else if (!platform::canDeleteFile(path.text())) {
      held.emplace_back(path.text());
    }
  }
}

// What deleteTree left of `folder`, deleted when Windows next starts: the files
// first, then each folder once it is empty.
void deleteAtNextStart(const char* folder) {
  for (const FolderEntry& entry : listFolder(folder)) {
    const SetupString path = childOf(folder, entry.name);
    if (path.isEmpty()) continue;
    const bool tree = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                      !(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (tree) {
      deleteAtNextStart(path.text());
    } else {
      platform::deleteFileAtReboot(path.text());
    }
  }
  platform::deleteFileAtReboot(folder);
}

bool isUnchanged(const char* path, const PreviousFile& file) {
  if (!file.hasDigest) return true;
  std::uint64_t size = 0;
  Sha256Digest digest;
  return fingerprintFile(path, size, digest) && size == file.size && digest == file.digest;
}

}  // namespace

SetupString stagingFolder(const char* location) {
  return withSuffix(location, ".ks-new");
}

SetupString backupFolder(const char* location) {
  return withSuffix(location, ".ks-old");
}

void recoverInterruptedSwap(const char* location) {
  const SetupString backup = backupFolder(location);
  if (isDirectory(backup.text())) {
    if (!exists(location)) {
      platform::moveFile(backup.text(), location);
    } else {
      finishSwap(location, backup.text(), nullptr);
    }
  }
  const SetupString staging = stagingFolder(location);
  if (isDirectory(staging.text())) deleteTree(staging.text(), 0, true);
}

std::vector<std::string> heldFiles(const char* folder) {
  std::vector<std::string> held;
  collectHeld(folder, held);
  return held;
}

SetupString holdersLine(const char* lead, const std::vector<std::string>& programs) {
  SetupString line;
  for (std::size_t i = 0; i < programs.size(); ++i) {
    const std::string& name = programs[i];
    line.append(i == 0 ? lead : ", ");
    line.append(name.c_str());
  }
  return line;
}

void finishSwap(const char* location, const char* backup,
                const std::vector<PreviousFile>* previous) {
  // The old version's own files go first, so that an interrupted finish leaves
  // in the backup only what is the user's or what the new version replaces.
  if (previous != nullptr) {
    for (const PreviousFile& file : *previous) {
      const SetupString old = childOf(backup, file.name);
      const SetupString now = childOf(location, file.name);
      if (old.isEmpty() || now.isEmpty() || exists(now.text())) continue;
      const std::uint32_t attributes = platform::getFileAttributes(old.text());
      if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        continue;
      if (!isUnchanged(old.text(), file)) continue;
      platform::setFileAttributes(old.text(), FILE_ATTRIBUTE_NORMAL);
      platform::deleteFile(old.text());
    }
  }
  for (const FolderEntry& entry : listFolder(backup)) {
    const SetupString old = childOf(backup, entry.name);
    const SetupString now = childOf(location, entry.name);
    if (old.isEmpty() || now.isEmpty() || exists(now.text())) continue;
    platform::moveFile(old.text(), now.text());
  }
  if (!deleteTree(backup, 0, true)) deleteAtNextStart(backup);
}
