// What the uninstaller removes, worked out before anything is touched: every path
// and key comes from a package text that is checked first. A text that is empty,
// made only of dots or holds a separator would name a parent (the company key,
// "software", the whole Uninstall key, the Programs folder): the thing it names is
// left out of the plan, never deleted. The keys and links are the install
// target's, which the setup recorded in its settings.
#pragma once

#include <cstdint>
#include <vector>

#include "base/SetupString.h"
#include "base/Sha256.h"
#include "package/InstallModel.h"
#include "system/FileTypes.h"
#include "system/InstallTarget.h"

// The "Install" section the setup saved, as far as the uninstaller needs it, and
// the target it names.
struct SavedInstallOptions {
  bool found = false;  // false: the section could not be read; the defaults stand
  int topMenuEntry = 1;
  SetupString parentMenuEntry;
  InstallTarget target;  // all users, 32-bit view, unless the section says otherwise
};

// An installed file of the package.
struct PlannedFile {
  SetupString path;
  std::uint32_t size = 0;
  bool hasDigest = false;  // false: removed whatever it holds
  Sha256Digest digest = {};
};

// An extension a document type lists, with the type's ProgID and what the install
// found there.
struct PlannedExtension {
  SetupString progId;
  SetupString extension;
  ExtensionOrigin origin;
};

struct UninstallPlan {
  SetupString displayName;
  SetupString location;  // the install folder: where the uninstaller's own file is
  // Whether the folder itself may go once it is empty: only when it has the name
  // the setup gives it, so that an uninstaller copied elsewhere (the desktop)
  // never removes that folder.
  bool removeFolder = false;
  SetupString ownFile;  // the uninstaller's file, removed last
  std::vector<PlannedFile> files;
  std::vector<SetupString> menuFolders;   // the product's Start-menu folder, each audience
  std::vector<SetupString> desktopLinks;  // on both desktops
  std::vector<PlannedExtension> extensions;
  std::vector<SetupString> classKeys;     // below the classes root: ProgIDs, "Applications\..."
  std::vector<SetupString> comServers;    // class ids
  SetupString productKey;                 // below the machine root; empty: left alone
  SetupString companyKey;                 // below the machine root; deleted only when empty
  SetupString uninstallEntry;             // below the machine root; empty: left alone
  std::vector<SetupString> systemCopies;  // names of the copies in the system folder
  InstallTarget target;                   // whose roots the keys are below
};

// The "Install" section under the model's settings key, looked for in each view
// the machine has, the 32-bit one first; the view it names (the 32-bit one when
// it names none, as older setups wrote it) must be the one it was found in. `out`
// keeps its defaults (found false) when the settings key is not a safe one or no
// such section is found.
void readSavedInstallOptions(const InstallModel& model, SavedInstallOptions& out);

// The plan for removing what the setup installed from `model`, with `ownFile` the
// full path of the uninstaller's own file (its folder is the install folder,
// whatever the settings say). False, with nothing planned, when ownFile has no
// folder part.
bool makeUninstallPlan(const InstallModel& model, const SavedInstallOptions& saved,
                       const char* ownFile, UninstallPlan& plan);
