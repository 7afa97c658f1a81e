#include "system/UninstallEntry.h"

#include <cstdint>
#include <initializer_list>

#include "base/Paths.h"
#include "base/SetupString.h"
#include "system/RegistryHelpers.h"

namespace {

bool isEmpty(const char* text) {
  return text == nullptr || *text == '\0';
}

}  // namespace

bool uninstallEntryKey(const char* displayName, SetupString& key) {
  key = SetupString();
  if (isEmpty(displayName)) return false;
  // A name ending in a separator leaves no entry name, and its values would land on
  // the Uninstall key itself.
  PathParts parts;
  splitPath(displayName, parts);
  if (parts.name.isEmpty() && parts.extension.isEmpty()) return false;
  SetupString path(displayName);
  if (!moveToFolder(path, kUninstallKey)) return false;
  key = path;
  return true;
}

bool registerUninstallEntry(const InstallTarget& target, const char* displayName,
                            const char* publisher, const char* infoAddress,
                            const char* uninstallerPath, const char* iconPath, const char* comments,
                            const char* updateAddress, std::uint32_t estimatedSizeKiB,
                            const char* contact) {
  for (const char* text :
       {displayName, publisher, infoAddress, uninstallerPath, iconPath, comments, updateAddress}) {
    if (isEmpty(text)) return false;
  }
  SetupString key;
  if (!uninstallEntryKey(displayName, key)) return false;

  SetupString uninstaller(uninstallerPath);
  SetupString icon(iconPath);
  quotePath(uninstaller);
  quotePath(icon);

  const char* k = key.text();
  const RegRoot& root = target.machine;
  struct Text {
    const char* name;
    const char* data;
  };
  const Text texts[] = {
      {"DisplayName", displayName},
      {"UninstallString", uninstaller.text()},
      {"DisplayIcon", icon.text()},
      {"Publisher", publisher},
      {"URLInfoAbout", infoAddress},
      {"Comments", comments},
      {"URLUpdateInfo", updateAddress},
      {"HelpLink", updateAddress},
      {"Contact", contact},
  };
  for (const Text& t : texts) {
    // The list of programs shows a Contact as it is: none is better than one that
    // names nobody. An earlier install's goes too.
    if (isEmpty(t.data)) {
      deleteRegValue(root, k, t.name);
      continue;
    }
    if (!writeRegString(root, k, t.name, t.data)) return false;
  }
  struct Flag {
    const char* name;
    std::uint32_t value;
  };
  const Flag flags[] = {{"Language", 0},
                        {"NoModify", 1},
                        {"NoRepair", 1},
                        {"WindowsInstaller", 0},
                        {"EstimatedSize", estimatedSizeKiB}};
  for (const Flag& f : flags) {
    if (!writeRegDword(root, k, f.name, f.value)) return false;
  }
  // Deployment tools remove the product with this command: it asks nothing.
  SetupString quiet(uninstaller);
  quiet.append(" /quiet");
  return writeRegString(root, k, "QuietUninstallString", quiet.text());
}
