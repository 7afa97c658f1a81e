// Failures on request, so tests reach the error paths that a real machine reaches
// through full disks, locked files and denied access.
#pragma once

namespace platform::host {

enum class HostCall {
  CreateFile,
  WriteFile,
  CreateFolder,
  DeleteFile,
  RemoveFolder,
  RegistryWrite,  // setting or deleting a value, deleting a key
  kCount
};

// Makes the n-th call (1 = the next one) of `kind` from now on fail, once.
void failNthCall(HostCall kind, int n);
// Forgets every pending failure.
void clearFailures();
// Counts one call of `kind`; true when it is the one that must fail.
bool injectedFailure(HostCall kind);

// Makes GetDiskFreeSpaceExA look missing, as on the oldest systems, so the
// cluster-based fallback can be tested.
void hideDiskFreeSpaceEx(bool hidden);
bool diskFreeSpaceExHidden();

}  // namespace platform::host
