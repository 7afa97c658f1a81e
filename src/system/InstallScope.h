// InstallScope: where an install lives on the machine, worked out in one place:
// the registry roots its keys go under, its install location and the keys of its
// settings. The writers (file types, COM servers, uninstall entry, settings) and
// the uninstaller's plan take their roots from here. Every install is for all
// users today; a per-user install would be a second scope with the user's roots.
#pragma once

#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "platform/PlatformTypes.h"

struct InstallScope {
  // Document types and COM classes.
  platform::RegKey classesRoot = nullptr;
  // What lies below "software": the settings, the uninstall entry, the approved
  // shell extensions.
  platform::RegKey machineRoot = nullptr;

  // HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE.
  static const InstallScope& allUsers();
};

// The install location: the model's install folder name below `parentFolder`.
// False when the two do not make a path; `location` then holds what was joined.
bool installLocation(const InstallModel& model, const char* parentFolder, SetupString& location);

// The keys of the product's settings below machineRoot: "software\<company>" and
// "software\<company>\<settings key>". False, with `path` empty, when a name is
// not a key name (empty, or holding a backslash).
bool companyKeyPath(const char* company, SetupString& path);
bool settingsKeyPath(const char* company, const char* settingsKey, SetupString& path);
