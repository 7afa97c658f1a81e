#include "package/InstallModel.h"

void FileTypeEntry::reset() {
  progId = typeDescription = shellExKey = SetupString();
  iconIndex = handlerItem = 0;
  fixedExtensions.deleteAll();
  optionalExtensions.deleteAll();
}

void InstallItem::reset() {
  fileName = menuShortcutName = desktopShortcutName = SetupString();
  classId = serverName = applicationTitle = uninstallComment = SetupString();
  iconItem = -1;
  flags = 0;
  unpackedSize = 0;
  packedData = ByteView();
  fileTypes.deleteAll();
}

bool InstallItem::isComServer() const {
  return (flags & kItemComServer) != 0 && !classId.isEmpty() && !serverName.isEmpty();
}

void InstallModel::reset() {
  displayName = spareText = companyName = companyUrl = SetupString();
  productUrl = settingsKeyName = installFolderName = SetupString();
  items.deleteAll();
  ownBytes_.clear();
  licenceText.clear();
  selectableItem = selectableType = -1;
  sidePicture.Clear();
  logoPicture.Clear();
  largeSidePicture.Clear();
  largeLogoPicture.Clear();
  extension.reset();
}

const FileTypeEntry* InstallModel::selectableFileType() const {
  if (selectableItem < 0 || selectableItem >= itemCount()) return nullptr;
  const InstallItem* item = itemAt(selectableItem);
  if (selectableType < 0 || selectableType >= item->fileTypes.count()) return nullptr;
  return item->fileTypes.at(selectableType);
}

int InstallModel::optionalExtensionSlot(const char* extension) const {
  const FileTypeEntry* type = selectableFileType();
  if (type == nullptr) return -1;
  const int slot = type->optionalExtensions.findExtension(extension);
  return slot < InstallOptions::kMaxFileTypeChoices ? slot : -1;
}
