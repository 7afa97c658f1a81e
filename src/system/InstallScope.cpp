#include "system/InstallScope.h"

#include "base/Paths.h"
#include "package/PackageFormat.h"
#include "platform/WinDefs.h"

const InstallScope& InstallScope::allUsers() {
  static const InstallScope scope{HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE};
  return scope;
}

bool installLocation(const InstallModel& model, const char* parentFolder, SetupString& location) {
  location = model.installFolderName;
  return joinPath(location, parentFolder);
}

bool companyKeyPath(const char* company, SetupString& path) {
  path = SetupString();
  if (!isKeyName(company)) return false;
  path.format("software\\%s", company);
  return true;
}

bool settingsKeyPath(const char* company, const char* settingsKey, SetupString& path) {
  if (!companyKeyPath(company, path)) return false;
  if (!isKeyName(settingsKey)) {
    path = SetupString();
    return false;
  }
  path.format("software\\%s\\%s", company, settingsKey);
  return true;
}
