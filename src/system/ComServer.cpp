#include "system/ComServer.h"

#include "base/SetupString.h"
#include "system/RegistryHelpers.h"

namespace {

bool isEmpty(const char* text) {
  return text == nullptr || *text == '\0';
}

}  // namespace

bool registerComServer(const InstallTarget& target, const char* classId, const char* serverName,
                       const char* serverPath) {
  if (isEmpty(classId) || isEmpty(serverName) || isEmpty(serverPath)) return false;
  // A re-install never keeps stale subkeys of an older registration.
  unregisterComServer(target, classId);
  SetupString classKey, serverKey;
  classKey.format("%s%s", "CLSID\\", classId);
  serverKey.format("%s%s%s", "CLSID\\", classId, "\\InProcServer32");
  SetupString quoted(serverPath);
  quotePath(quoted);
  return writeRegString(target.classes, classKey.text(), nullptr, serverName) &&
         writeRegString(target.classes, serverKey.text(), nullptr, quoted.text()) &&
         writeRegString(target.classes, serverKey.text(), "ThreadingModel", "Apartment") &&
         writeRegString(target.machine, kApprovedShellExtensions, classId, serverName);
}

bool unregisterComServer(const InstallTarget& target, const char* classId) {
  if (isEmpty(classId)) return false;
  SetupString classKey;
  classKey.format("%s%s", "CLSID\\", classId);
  return deleteKeyTree(target.classes, classKey.text()) == 0;
}
