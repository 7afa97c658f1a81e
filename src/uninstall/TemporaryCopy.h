// Windows will not delete a program's file while it runs, so the uninstaller ends
// its work from a copy of itself in the temporary folder: the copy waits for the
// original to end, deletes it and the install folder, and has the system delete
// the copy itself when it next starts. Nothing else is left behind.
#pragma once

#include <cstdint>

#include "base/SetupString.h"

// The switch that starts the copy: "<copy> --finish <process id> <original file>".
constexpr char kFinishSwitch[] = "--finish";

// In the original: copies `ownFile` into the temporary folder and starts the copy
// with this process's id and ownFile. False when the copy cannot be made or
// started; the copy is then not left behind.
bool startTemporaryCopy(const char* ownFile);

// In the copy: waits up to a minute for the original process to end, then for its
// file to become deletable, and deletes it. False when it is still there.
bool removeOriginal(std::uint32_t processId, const char* originalFile);

// In the copy: has the system delete the copy's own file when it next starts.
bool deleteSelfAtReboot();
