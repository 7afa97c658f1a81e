#include "install/RegistrationStage.h"

#include <cstdint>

#include "base/Paths.h"
#include "system/ComServer.h"
#include "system/FileOps.h"
#include "system/FileTypes.h"
#include "system/InstalledVersion.h"
#include "system/SettingsStore.h"
#include "system/Shortcuts.h"
#include "system/UninstallEntry.h"

namespace {

// What the installed files take, in KiB rounded up, as the list of programs shows
// it: the files as the package states their sizes.
std::uint32_t installedKiB(const InstallModel& model) {
  std::uint64_t bytes = 0;
  for (int i = 0; i < model.itemCount(); ++i) bytes += model.itemAt(i)->unpackedSize;
  const std::uint64_t kib = (bytes + 1023) / 1024;
  return kib > UINT32_MAX ? UINT32_MAX : std::uint32_t(kib);
}

void registerItem(InstallOptions& options, const InstallTarget& target, int index,
                  const char* location) {
  const InstallModel& model = *options.model;
  const InstallItem& item = *model.itemAt(index);
  SetupString path(item.fileName);
  if (!moveToFolder(path, location)) return;

  if ((item.flags & kItemSystemCopy) && !(item.flags & kItemCancelSystemCopy)) {
    copyToSystemFolder(item.fileName.text(), location, target.systemFolder.text());
  }
  if (item.flags & kItemUninstaller) {
    const InstallItem* iconItem = item.iconItem >= 0 && item.iconItem < model.itemCount()
                                      ? model.itemAt(item.iconItem)
                                      : nullptr;
    SetupString icon(iconItem != nullptr ? iconItem->fileName : SetupString());
    if (iconItem != nullptr && moveToFolder(icon, location)) {
      if (registerUninstallEntry(target, model.displayName.text(), model.companyName.text(),
                                 model.companyUrl.text(), path.text(), icon.text(),
                                 item.uninstallComment.text(), model.productUrl.text(),
                                 installedKiB(model), model.spareText.text())) {
        writeInstalledVersion(target, model);
      }
    }
  }
  if (item.flags & kItemApplication) registerDocumentTypes(target, options, index, path.text());
  if (item.flags & kItemComServer) {
    registerComServer(target, item.classId.text(), item.serverName.text(), path.text());
  }
}

}  // namespace

void runRegistrationStage(InstallOptions& options, const InstallTarget& target,
                          const char* location) {
  if (options.model == nullptr || location == nullptr) return;
  for (int i = 0; i < options.model->itemCount(); ++i) registerItem(options, target, i, location);
  if (options.StartMenuEntry) createMenuShortcuts(options, target, location);
  if (options.DesktopIcon) createDesktopShortcuts(options, target, location);
  saveInstallOptions(options, target);
}
