#include "system/InstalledVersion.h"

#include "system/RegistryHelpers.h"
#include "system/UninstallEntry.h"

bool readInstalledVersion(const InstallTarget& target, const InstallModel& model, SetupString& text,
                          ProductVersion& version) {
  text = SetupString();
  version = ProductVersion();
  SetupString key;
  char value[64];
  if (!uninstallEntryKey(model.displayName.text(), key) ||
      !readRegString(target.machine, key.text(), "DisplayVersion", value, sizeof value) ||
      !parseProductVersion(value, version)) {
    return false;
  }
  text = value;
  return true;
}

VersionMeeting meetInstalledVersion(const InstallTarget& target, const InstallModel& model,
                                    const ProductVersion& ours, SetupString& installedText) {
  ProductVersion installed;
  if (!ours.isSet() || !readInstalledVersion(target, model, installedText, installed)) {
    return VersionMeeting::NoneInstalled;
  }
  const int order = compareProductVersions(installed, ours);
  return order < 0    ? VersionMeeting::Older
         : order == 0 ? VersionMeeting::Same
                      : VersionMeeting::Newer;
}

bool writeInstalledVersion(const InstallTarget& target, const InstallModel& model) {
  SetupString text, key;
  ProductVersion version;
  if (!productVersion(model.extension, text, version)) return true;
  return uninstallEntryKey(model.displayName.text(), key) &&
         writeRegString(target.machine, key.text(), "DisplayVersion", text.text()) &&
         writeRegDword(target.machine, key.text(), "VersionMajor", version.parts[0]) &&
         writeRegDword(target.machine, key.text(), "VersionMinor", version.parts[1]);
}
