// InstallTarget: where an install lives on the machine, decided once and handed to
// every writer: the registry roots and view its keys go to, the program-files and
// system folders of that view, the Start-menu and desktop folders of its scope,
// and the install location. No writer picks a root, a view or a folder itself, so
// a 64-bit or a per-user install is a different target, not different writers.
// The setup records the view it chose in its settings (SettingsStore.h), and the
// uninstaller makes its target from there, so it removes from the same places.
#pragma once

#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "system/RegistryHelpers.h"

// Whom the install is for. Every install is for all users today.
enum class InstallScope { AllUsers };

// The registry view and program folders: those of 32-bit programs (on 32-bit
// Windows the only ones), or of 64-bit programs on 64-bit Windows.
enum class RegistryView { Bits32 = 32, Bits64 = 64 };

// The shell folders where one audience's links go; empty where the shell has none.
struct LinkFolders {
  SetupString programsMenu;  // the Start menu's Programs folder
  SetupString desktop;
};

struct InstallTarget {
  InstallScope scope = InstallScope::AllUsers;
  RegistryView view = RegistryView::Bits32;
  RegRoot classes;  // document types and COM classes
  RegRoot machine;  // what lies below "software": settings, uninstall entry, approved extensions
  SetupString programFiles;  // the default parent folder
  SetupString systemFolder;  // where system copies go
  LinkFolders links;         // the scope's
  // The other audience's, where an earlier install may have left links that an
  // install or an uninstall takes away.
  LinkFolders otherLinks;
  SetupString parentFolder;  // the folder that receives the install folder
  SetupString folderName;    // the model's install folder name

  // The install location: folderName below parentFolder. False when the two do not
  // make a path; `out` then holds what was joined.
  bool location(SetupString& out) const;
};

// The target of `model` for scope and view on this machine, with parentFolder its
// program-files folder. False, with `target` for the default (all users, 32-bit
// view), when the machine has no such view: a 64-bit view needs a 64-bit Windows.
bool makeInstallTarget(const InstallModel& model, InstallScope scope, RegistryView view,
                       InstallTarget& target);

// The install location of a candidate parent folder, by the rule location() keeps:
// for showing what a choice of folder would give before the target takes it.
bool installLocation(const InstallModel& model, const char* parentFolder, SetupString& location);

// The keys of the product's settings below the target's machine root:
// "software\<company>" and "software\<company>\<settings key>". False, with `path`
// empty, when a name is not a key name (empty, or holding a backslash).
bool companyKeyPath(const char* company, SetupString& path);
bool settingsKeyPath(const char* company, const char* settingsKey, SetupString& path);
