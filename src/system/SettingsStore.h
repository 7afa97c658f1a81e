// The product's settings under the install scope's software\<company>\<product>, in
// named sections of integer and text entries; and the "Install" section that keeps
// the user's install options.
#pragma once

#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "system/RegistryHelpers.h"

class SettingsStore {
 public:
  SettingsStore(const char* companyKey, const char* productKey)
      : companyKey_(companyKey), productKey_(productKey) {}

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

  SetupString companyKey_;
  SetupString productKey_;
};

// Writes the "Install" section of the model's settings key: CurrentUser,
// StartMenuEntry, TopMenuEntry and DesktopIcon, ParentFolder and ParentMenuEntry
// (emptied first, in the options too, when TopMenuEntry is set), and "AppFile", the
// short path of the installed file of the model's selectable item, when there is
// one. Single failures are skipped.
void saveInstallOptions(InstallOptions& options);
