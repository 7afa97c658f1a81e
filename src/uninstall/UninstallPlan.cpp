#include "uninstall/UninstallPlan.h"

#include "base/Paths.h"
#include "base/SortedStringSet.h"
#include "package/PackageFormat.h"
#include "package/UninstallKnowledge.h"
#include "platform/Registry.h"
#include "platform/WinDefs.h"
#include "system/ComServer.h"
#include "system/FileOps.h"
#include "system/RegistryHelpers.h"
#include "system/SettingsStore.h"
#include "system/Shortcuts.h"
#include "system/UninstallEntry.h"

namespace {

// The file name and extension of a path: what the setup installs an item as.
SetupString lastComponent(const char* path) {
  PathParts parts;
  splitPath(path, parts);
  return SetupString::concat(parts.name, parts.extension);
}

bool readDword(const RegRoot& root, const char* subKey, const char* name, int& out) {
  OpenKey key;
  if (key.open(root, subKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
  unsigned char bytes[4] = {};
  std::uint32_t type = 0, size = sizeof bytes;
  const bool read =
      platform::regQueryValue(key.get(), name, &type, bytes, &size) == ERROR_SUCCESS &&
      type == REG_DWORD && size == 4;
  if (read) out = int(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | std::uint32_t(bytes[3]) << 24);
  return read;
}

void addOnce(std::vector<SetupString>& list, const SetupString& text) {
  for (const SetupString& had : list) {
    if (compareNoCase(had, text) == 0) return;
  }
  list.push_back(text);
}

void planFiles(const InstallModel& model, UninstallPlan& plan) {
  for (int i = 0; i < model.itemCount(); ++i) {
    const InstallItem& item = *model.itemAt(i);
    if (!isSafeItemFileName(item.fileName.text())) continue;
    PlannedFile file;
    file.path = item.fileName;
    if (!moveToFolder(file.path, plan.location.text())) continue;
    // The uninstaller's own file goes last, by whatever name it runs as.
    if (compareNoCase(file.path, plan.ownFile) == 0) continue;
    file.size = item.unpackedSize;
    file.hasDigest = itemDigest(item, file.digest);
    plan.files.push_back(file);

    if ((item.flags & kItemSystemCopy) && !(item.flags & kItemCancelSystemCopy)) {
      addOnce(plan.systemCopies, lastComponent(item.fileName.text()));
    }
  }
}

void planShortcuts(const InstallModel& model, const SavedInstallOptions& saved,
                   UninstallPlan& plan) {
  // Both audiences': an earlier install may have been for the other one.
  for (const LinkFolders* links : {&plan.target.otherLinks, &plan.target.links}) {
    SetupString folder;
    if (productMenuFolder(folder, links->programsMenu.text(), saved.topMenuEntry,
                          saved.parentMenuEntry.text(), model.displayName.text())) {
      addOnce(plan.menuFolders, folder);
    }
    const SetupString& desktop = links->desktop;
    if (desktop.isEmpty()) continue;
    for (int i = 0; i < model.itemCount(); ++i) {
      const InstallItem& item = *model.itemAt(i);
      if (!(item.flags & kItemDesktopShortcut)) continue;
      const SetupString& title =
          item.desktopShortcutName.isEmpty() ? item.fileName : item.desktopShortcutName;
      SetupString link = linkFileName(title.text());
      if (isFileName(lastComponent(link.text()).text()) && moveToFolder(link, desktop.text())) {
        addOnce(plan.desktopLinks, link);
      }
    }
  }
}

void planClasses(const InstallModel& model, UninstallPlan& plan) {
  for (int i = 0; i < model.itemCount(); ++i) {
    const InstallItem& item = *model.itemAt(i);
    if (item.flags & kItemApplication) {
      const SetupString name = lastComponent(item.fileName.text());
      if (isFileName(name.text())) {
        addOnce(plan.classKeys, SetupString::concat(SetupString("Applications\\"), name));
      }
      for (int t = 0; t < item.fileTypes.count(); ++t) {
        const FileTypeEntry& type = *item.fileTypes.at(t);
        if (!isValidProgId(type.progId.text())) continue;
        addOnce(plan.classKeys, type.progId);
        for (const ExtensionSet* set : {&type.fixedExtensions, &type.optionalExtensions}) {
          for (int k = 0; k < set->count(); ++k) {
            const char* ext = set->at(k)->text();
            if (!isFileName(ext)) continue;
            PlannedExtension planned{type.progId, SetupString(ext), ExtensionOrigin()};
            readExtensionOrigin(plan.target, model, ext, planned.origin);
            plan.extensions.push_back(planned);
          }
        }
      }
    }
    if (item.isComServer() && isGuidString(item.classId.text())) {
      addOnce(plan.comServers, item.classId);
    }
  }
}

void planKeys(const InstallModel& model, UninstallPlan& plan) {
  companyKeyPath(model.companyName.text(), plan.companyKey);
  settingsKeyPath(model.companyName.text(), model.settingsKeyName.text(), plan.productKey);
  // The entry is named as the setup names it: after the display name's last part.
  const SetupString entry = lastComponent(model.displayName.text());
  if (isFileName(entry.text())) plan.uninstallEntry.format("%s\\%s", kUninstallKey, entry.text());
}

}  // namespace

void readSavedInstallOptions(const InstallModel& model, SavedInstallOptions& out) {
  out = SavedInstallOptions();
  makeInstallTarget(model, InstallScope::AllUsers, RegistryView::Bits32, out.target);
  SetupString section;
  if (!settingsKeyPath(model.companyName.text(), model.settingsKeyName.text(), section)) return;
  section.append("\\");
  section.append(kInstallSection);
  for (const RegistryView view : {RegistryView::Bits32, RegistryView::Bits64}) {
    InstallTarget target;
    if (!makeInstallTarget(model, InstallScope::AllUsers, view, target)) continue;
    int top = 1;
    if (!readDword(target.machine, section.text(), "TopMenuEntry", top)) continue;
    int saved = int(RegistryView::Bits32);
    readDword(target.machine, section.text(), kRegistryViewEntry, saved);
    if (saved != int(view)) continue;
    char parent[kPathBufferSize];
    if (!readRegString(target.machine, section.text(), "ParentMenuEntry", parent, sizeof parent)) {
      parent[0] = '\0';
    }
    out.found = true;
    out.topMenuEntry = top;
    out.parentMenuEntry = parent;
    out.target = target;
    return;
  }
}

bool makeUninstallPlan(const InstallModel& model, const SavedInstallOptions& saved,
                       const char* ownFile, UninstallPlan& plan) {
  plan = UninstallPlan();
  if (ownFile == nullptr) return false;
  PathParts parts;
  splitPath(ownFile, parts);
  SetupString location = SetupString::concat(parts.drive, parts.folder);
  if (parts.folder.isEmpty() || parts.name.isEmpty()) return false;
  // "C:\Program Files\Product\" names the folder; the root "C:\" stays as it is.
  if (location.length() > 3 && endsWithBackslash(location)) {
    location.eraseRange(location.length() - 1, 1);
  }
  plan.displayName = model.displayName;
  plan.location = location;
  plan.removeFolder = isSafeInstallFolderName(model.installFolderName.text()) &&
                      compareNoCase(lastComponent(location.text()),
                                    lastComponent(model.installFolderName.text())) == 0;
  plan.ownFile = ownFile;
  plan.target = saved.target;
  planFiles(model, plan);
  planShortcuts(model, saved, plan);
  planClasses(model, plan);
  planKeys(model, plan);
  return true;
}
