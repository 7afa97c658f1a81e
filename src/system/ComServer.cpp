#include "system/ComServer.h"

#include "base/SetupString.h"
#include "platform/WinDefs.h"
#include "system/InstallScope.h"
#include "system/RegistryHelpers.h"

namespace {

bool isEmpty(const char* text) {
  return text == nullptr || *text == '\0';
}

}  // namespace

bool registerComServer(const char* classId, const char* serverName, const char* serverPath) {
  if (isEmpty(classId) || isEmpty(serverName) || isEmpty(serverPath)) return false;
  // A re-install never keeps stale subkeys of an older registration.
  unregisterComServer(classId);
  SetupString classKey, serverKey;
  classKey.format("%s%s", "CLSID\\", classId);
  serverKey.format("%s%s%s", "CLSID\\", classId, "\\InProcServer32");
  SetupString quoted(serverPath);
  quotePath(quoted);
  const InstallScope& scope = InstallScope::allUsers();
  return writeRegString(scope.classesRoot, classKey.text(), nullptr, serverName) &&
         writeRegString(scope.classesRoot, serverKey.text(), nullptr, quoted.text()) &&
         writeRegString(scope.classesRoot, serverKey.text(), "ThreadingModel", "Apartment") &&
         writeRegString(scope.machineRoot, kApprovedShellExtensions, classId, serverName);
}

bool unregisterComServer(const char* classId) {
  if (isEmpty(classId)) return false;
  SetupString classKey;
  classKey.format("%s%s", "CLSID\\", classId);
  return deleteKeyTree(InstallScope::allUsers().classesRoot, classKey.text()) == 0;
}
