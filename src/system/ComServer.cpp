#include "system/ComServer.h"

#include "base/SetupString.h"
#include "platform/WinDefs.h"
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
  return writeRegString(HKEY_CLASSES_ROOT, classKey.text(), nullptr, serverName) &&
         writeRegString(HKEY_CLASSES_ROOT, serverKey.text(), nullptr, quoted.text()) &&
         writeRegString(HKEY_CLASSES_ROOT, serverKey.text(), "ThreadingModel", "Apartment") &&
         writeRegString(HKEY_LOCAL_MACHINE, kApprovedShellExtensions, classId, serverName);
}

bool unregisterComServer(const char* classId) {
  if (isEmpty(classId)) return false;
  SetupString classKey;
  classKey.format("%s%s", "CLSID\\", classId);
  return deleteKeyTree(HKEY_CLASSES_ROOT, classKey.text()) == 0;
}
