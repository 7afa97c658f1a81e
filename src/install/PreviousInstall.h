// What the install at a location was, as far as its own uninstaller knows: the
// files it put there and their fingerprints (package/UninstallKnowledge.h). An
// upgrade uses it to tell the user's files from the old version's.
#pragma once

#include <vector>

#include "package/InstallModel.h"
#include "system/InstallSwap.h"
#include "system/InstallTarget.h"

// The files the previous install of `model`'s product put at `location`. The
// uninstaller is the one the product's uninstall entry (in the target's view)
// names, and only when it
// lies directly in the location; its resource is read from the file. False,
// with `files` empty, when there is no such record.
bool readPreviousInstall(const InstallModel& model, const InstallTarget& target,
                         const char* location, std::vector<PreviousFile>& files);
