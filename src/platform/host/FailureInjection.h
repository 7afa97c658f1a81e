// Failures on request, so tests reach the error paths that a real machine reaches
// through full disks, locked files and denied access.
#pragma once

#include <string>
#include <vector>

namespace platform::host {

enum class HostCall {
  CreateFile,
  WriteFile,
  CreateFolder,
  DeleteFile,
  RemoveFolder,
  RegistryWrite,  // setting or deleting a value, deleting a key
  SetAttributes,
  Rename,    // the registry file put in place after a change
  LinkSave,  // a shell link saved through its persist-file interface
  Move,      // a file or folder renamed
  kCount
};

// Makes the n-th call (1 = the next one) of `kind` from now on fail, once.
void failNthCall(HostCall kind, int n);
// Ends the process, as a power loss would, at the n-th counted call of any kind
// from now on (1 = the next one), before that call does anything.
void endProcessAtNthCall(int n);
// Forgets every pending failure.
void clearFailures();
// Counts one call of `kind`, on `path` where it has one; true when it is the one
// that must fail.
bool injectedFailure(HostCall kind, const char* path = nullptr);

// One call that could have been made to fail, in the order they were made.
struct TracedCall {
  HostCall kind;
  std::string path;  // empty for writes, which know only their handle
};
// While on, every call counted by injectedFailure is also recorded, so a test can
// walk the failure of each one. Turning it on starts an empty record.
void traceCalls(bool on);
std::vector<TracedCall> tracedCalls();

// Makes GetDiskFreeSpaceExA look missing, as on the oldest systems, so the
// cluster-based fallback can be tested.
void hideDiskFreeSpaceEx(bool hidden);
bool diskFreeSpaceExHidden();

}  // namespace platform::host
