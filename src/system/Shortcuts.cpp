#include "system/Shortcuts.h"

#include "base/Paths.h"
#include "package/PackageFormat.h"
#include "platform/Files.h"
#include "platform/ShellLink.h"
#include "platform/Text.h"
#include "platform/WinDefs.h"
#include "system/FileOps.h"
#include "system/Folders.h"

namespace {

// The title of an item's link: its own name for it, or its file name.
const SetupString& titleOf(const InstallItem& item, const SetupString& shortcutName) {
  return shortcutName.isEmpty() ? item.fileName : shortcutName;
}

// The item's installed path: its file name in the install folder.
bool installedPath(const InstallItem& item, const char* location, SetupString& out) {
  out = item.fileName;
  return moveToFolder(out, location);
}

}  // namespace

bool programsMenuFolder(SetupString& out, int currentUser) {
  if (currentUser == 0 && specialFolderPath(out, CSIDL_COMMON_PROGRAMS)) return true;
  return specialFolderPath(out, CSIDL_PROGRAMS);
}

bool desktopFolder(SetupString& out, int currentUser) {
  return specialFolderPath(
      out, currentUser != 0 ? CSIDL_DESKTOPDIRECTORY : CSIDL_COMMON_DESKTOPDIRECTORY);
}

bool productMenuFolder(SetupString& out, const char* programsFolder, int topMenuEntry,
                       const char* parentMenuEntry, const char* displayName) {
  out = SetupString();
  // The same rule as for the install folder, which is replaced on install too.
  const bool useParent =
      topMenuEntry == 0 && parentMenuEntry != nullptr && *parentMenuEntry != '\0';
  if (!isSafeInstallFolderName(displayName) ||
      (useParent && !isSafeInstallFolderName(parentMenuEntry))) {
    return false;
  }
  SetupString folder(programsFolder);
  if (folder.isEmpty()) return false;
  if (topMenuEntry == 0) {
    SetupString parent(parentMenuEntry);
    if (!joinPath(parent, folder.text())) return false;
    folder = parent;
  }
  SetupString product(displayName);
  if (!joinPath(product, folder.text())) return false;
  out = product;
  return true;
}

SetupString linkFileName(const char* title) {
  SetupString name(title);
  setExtension(name, ".lnk");
  return name;
}

bool createShortcut(const char* targetPath, const char* linkPath, const char* description) {
  if (targetPath == nullptr || linkPath == nullptr) return false;
  platform::ShellLink link;
  if (!link.create()) return false;

  char shortPath[kPathBufferSize];
  link.setPath(platform::getShortPathName(targetPath, shortPath, sizeof shortPath) > 0
                   ? shortPath
                   : targetPath);
  if (description != nullptr) link.setDescription(description);

  char16_t widePath[kPathBufferSize];
  if (platform::ansiToWide(linkPath, -1, widePath, kPathBufferSize) == 0) return false;
  return link.save(widePath, true);
}

void createMenuShortcuts(const InstallOptions& options, const InstallTarget& target,
                         const char* location) {
  const InstallModel* model = options.model;
  if (model == nullptr) return;
  SetupString folder;
  if (!productMenuFolder(folder, target.links.programsMenu.text(), options.TopMenuEntry,
                         options.ParentMenuEntry.text(), model->displayName.text())) {
    return;
  }
  // Links of items no longer marked go with the old folder.
  if (isDirectory(folder.text())) deleteTree(folder.text(), 0, true);
  createFolder(folder.text());
  for (int i = 0; i < model->itemCount(); ++i) {
    const InstallItem& item = *model->itemAt(i);
    if (!(item.flags & kItemMenuShortcut)) continue;
    SetupString target;
    SetupString link = linkFileName(titleOf(item, item.menuShortcutName).text());
    if (installedPath(item, location, target) && moveToFolder(link, folder.text())) {
      createShortcut(target.text(), link.text(), nullptr);
    }
  }
}

void createDesktopShortcuts(const InstallOptions& options, const InstallTarget& target,
                            const char* location) {
  const InstallModel* model = options.model;
  if (model == nullptr) return;
  // A desktop the shell cannot give is left alone: an empty folder would put the
  // link, or delete one, in the current folder.
  const SetupString& chosen = target.links.desktop;
  const SetupString& other = target.otherLinks.desktop;
  const bool haveChosen = !chosen.isEmpty();
  const bool haveOther = !other.isEmpty();
  for (int i = 0; i < model->itemCount(); ++i) {
    const InstallItem& item = *model->itemAt(i);
    if (!(item.flags & kItemDesktopShortcut)) continue;
    const SetupString name = linkFileName(titleOf(item, item.desktopShortcutName).text());
    SetupString stale(name);
    if (haveOther && moveToFolder(stale, other.text())) {
      platform::setFileAttributes(stale.text(), FILE_ATTRIBUTE_NORMAL);
      platform::deleteFile(stale.text());
    }
    SetupString target, link(name);
    if (haveChosen && installedPath(item, location, target) && moveToFolder(link, chosen.text())) {
      createShortcut(target.text(), link.text(), nullptr);
    }
  }
}
