// The registration stage of the install pass, run on the worker thread once every
// file is written, with COM initialised: copies into the system folder, the
// uninstall entry, document types and COM servers item by item, then the Start-menu
// and desktop shortcuts and the saved install options. Nothing in it can fail the
// pass: each step's result is ignored and the next step runs.
#pragma once

#include "package/InstallModel.h"
#include "system/InstallTarget.h"

// `location` is the install folder the items were written to, and every key,
// link and copy goes where `target` says. The options' model must be set;
// ParentMenuEntry is emptied when TopMenuEntry is set (see saveInstallOptions).
void runRegistrationStage(InstallOptions& options, const InstallTarget& target,
                          const char* location);
