// The version of the product that is installed already, as its uninstall entry
// says it, and what a setup of another version does about it: an older setup
// never replaces a newer product, the same version is a repair, a newer one an
// upgrade. A product or an install without a version compares as none, and
// every setup installs over it as setups always did.
#pragma once

#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "package/ProductVersion.h"
#include "system/InstallTarget.h"

// What the install that is there is, beside the setup's own product.
enum class VersionMeeting {
  NoneInstalled,  // no entry, or no version on one side: install as always
  Older,          // the installed one is older: an upgrade
  Same,           // a repair
  Newer,          // the installed one is newer: refused
};

// Reads DisplayVersion from the product's uninstall entry below the target's
// machine root. False, with both empty, when there is no entry or no version
// in it that reads as one.
bool readInstalledVersion(const InstallTarget& target, const InstallModel& model, SetupString& text,
                          ProductVersion& version);

// How `ours` (unset for a setup without a version) meets what the target holds;
// `installedText` receives the installed version as its entry writes it.
VersionMeeting meetInstalledVersion(const InstallTarget& target, const InstallModel& model,
                                    const ProductVersion& ours, SetupString& installedText);

// Writes the product's version into its uninstall entry below the target's
// machine root: DisplayVersion, the text as written, and VersionMajor and
// VersionMinor. Nothing for a product without a version. False when a write
// fails.
bool writeInstalledVersion(const InstallTarget& target, const InstallModel& model);
