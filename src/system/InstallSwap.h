// Putting a new install in the place of an old one so that, whatever happens,
// one of them is complete at the install location.
//
// Beside the location L, on the same volume, a pass uses two hidden folders:
//
//   L.ks-new   the staging folder: the new version is written here, file by file.
//              Until every file is written nothing else changes; a failed or
//              cancelled pass deletes it.
//   L.ks-old   the backup folder: the old install, moved aside in one rename once
//              the new version is complete. Its presence is the marker that a
//              swap is under way.
//
// The swap: L -> L.ks-old, L.ks-new -> L, then the user's files are carried from
// L.ks-old into L and L.ks-old is deleted; what cannot be deleted now (a program
// still running from it) is marked for deletion when Windows next starts.
//
// After a kill or a power loss, the next pass (and the uninstaller) first puts
// things right with recoverInterruptedSwap: a backup folder without L is moved
// back (the old install returns whole); a backup folder beside L is finished as
// the swap would have; a staging folder left over is deleted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/SetupString.h"
#include "base/Sha256.h"

// The staging and backup folders of `location`.
SetupString stagingFolder(const char* location);
SetupString backupFolder(const char* location);

// A file the previous install put in the location, as its uninstaller records it.
struct PreviousFile {
  SetupString name;  // file name, without a folder
  std::uint64_t size = 0;
  bool hasDigest = false;  // false: it is removed whatever it holds
  Sha256Digest digest = {};
};

// Puts right a swap that a kill or a power loss interrupted (see above). Does
// nothing when neither folder is there.
void recoverInterruptedSwap(const char* location);

// The files below `folder` that something holds open so that they could not be
// deleted, nor the folder moved. Folder links are not entered.
std::vector<std::string> heldFiles(const char* folder);

// The line a message about files in use ends with: `lead` ("Programs using the
// files: " in the user's language) and the programs holding them, separated by
// commas; "" when none are known.
SetupString holdersLine(const char* lead, const std::vector<std::string>& programs);

// After the new install was put at `location`: every entry of `backup` that the
// previous install did not put there moves into the location, unless the new
// version has one of that name. Without a record (`previous` null) every entry
// the new version does not replace moves. A recorded file the new version does
// not ship is removed unless it changed since (its fingerprint differs); then it
// moves as the user's. Last the backup folder is deleted, or marked for deletion
// at the next start of Windows as far as it cannot be.
void finishSwap(const char* location, const char* backup,
                const std::vector<PreviousFile>* previous);
