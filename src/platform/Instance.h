// One running copy of a product's setup at a time. The first copy claims a name
// made from its product and marks its window with it; a second copy finds the
// name taken, brings the first copy's window to the front and leaves, so that
// two install passes never empty and fill the same folder at once.
#pragma once

#include "platform/PlatformTypes.h"

namespace platform {

// A held claim; null when none.
using InstanceClaim = void*;

// Claims `name` for this process (a named mutex, CreateMutexW in this session's
// namespace; on the host an exclusive lock on a file in the prefix). Null when
// the name is taken already, by another process or by an earlier claim of this
// one: `taken` is then true. Null with `taken` false when the claim could not be
// made at all (the caller then goes on without one).
InstanceClaim claimInstance(const char* name, bool& taken);

// Gives the claim up; the name can be claimed again. Nothing for null.
void releaseInstance(InstanceClaim claim);

// Marks `window` as the window of the claim's holder, for activateInstance. False
// when it cannot be marked.
bool markInstanceWindow(InstanceClaim claim, const char* name, WindowHandle window);

// Brings the window that the holder of `name` marked to the front, restoring it
// when it is minimised. False when there is no such window (the holder has not
// made it yet, or it is gone).
bool activateInstance(const char* name);

}  // namespace platform
