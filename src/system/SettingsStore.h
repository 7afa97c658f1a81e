// The product's settings under the install target's software\<company>\<product>,
// in named sections of integer and text entries; and the "Install" section that
// keeps the user's install options and the target's choices.
#pragma once

#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "system/InstallTarget.h"
#include "system/RegistryHelpers.h"

// The section of the install options, and its entry that names the registry view
// (32 or 64) the install went to; a section without it is from a setup that knew
// the 32-bit view only.
constexpr char kInstallSection[] = "Install";
constexpr char kRegistryViewEntry[] = "RegistryView";

class SettingsStore {
 public:
  SettingsStore(const InstallTarget& target, const char* companyKey, const char* productKey)
      : root_(target.machine), companyKey_(companyKey), productKey_(productKey) {}

  // Each opens the section key for writing (creating the company, product and
  // section keys as needed) and sets one entry: a 4-byte REG_DWORD, or a REG_SZ with
  // its terminator. False when the key cannot be opened or the value not set, and
  // when the company or product name is empty or holds a backslash (it must name
  // one key).
  bool putInt(const char* section, const char* entry, int value) const;
  bool putText(const char* section, const char* entry, const char* text) const;

 private:
  // The writable section key; empty on failure.
  OpenKey openSection(const char* section) const;

  RegRoot root_;
  SetupString companyKey_;
  SetupString productKey_;
};

// Writes the "Install" section of the model's settings key below the target's
// machine root: CurrentUser, StartMenuEntry, TopMenuEntry and DesktopIcon,
// ParentFolder (the target's) and ParentMenuEntry (emptied first, in the options
// too, when TopMenuEntry is set), "AppFile", the short path of the installed file
// of the model's selectable item, when there is one, and RegistryView unless it is
// the 32-bit view. Single failures are skipped.
void saveInstallOptions(InstallOptions& options, const InstallTarget& target);
