#include "app/FolderStatus.h"

#include <cstdint>
#include <cstring>

#include "base/ByteSize.h"
#include "base/Paths.h"
#include "system/DiskSpace.h"
#include "system/InstallScope.h"

namespace {

std::int64_t itemSize(int index, void* context) {
  const InstallItem* item = static_cast<const InstallModel*>(context)->itemAt(index);
  return item != nullptr ? std::int64_t(item->unpackedSize) : 0;
}

}  // namespace

FolderFacts ReadFolderFacts(const InstallModel& model, const SetupString& parentFolder) {
  FolderFacts facts;
  facts.named = std::strchr(parentFolder.text(), '?') == nullptr;
  facts.local = isFixedDrive(parentFolder.text());
  SetupString root = parentFolder;
  driveRoot(root);
  facts.enough = checkDiskSpace(root.text(), facts.available, facts.required, &itemSize,
                                model.itemCount(), const_cast<InstallModel*>(&model));
  SetupString target;
  facts.exists = installLocation(model, parentFolder.text(), target) && isDirectory(target.text());
  return facts;
}

FolderStatus DescribeFolder(const InstallModel& model, const SetupString& parentFolder,
                            const BitmapFont& font, int maxWidth) {
  return DescribeFolder(model, parentFolder, ReadFolderFacts(model, parentFolder), font, maxWidth);
}

FolderStatus DescribeFolder(const InstallModel& model, const SetupString& parentFolder,
                            const FolderFacts& facts, const BitmapFont& font, int maxWidth) {
  FolderStatus status;
  const char* folderState = "";
  const char* diskState = "";
  if (!facts.named) {
    diskState = "Setup cannot use this folder's name";
  } else if (!facts.local) {
    diskState = "Not a local folder";
  } else if (facts.enough) {
    folderState = facts.exists ? "Folder already exists, install will overwrite it"
                               : "Folder does not exist, install will create it";
    diskState = "Disk has enough space available";
  } else {
    diskState = "Not enough space available on disk";
  }

  SetupString name = model.installFolderName, size;
  font.FitWithEllipsis(name, maxWidth);
  formatByteSize(facts.required, size);
  status.folderText.format("Installation Folder:\n   %s\ndisk space required: %s", name.text(),
                           size.text());
  if (*folderState != '\0') {
    status.folderText.append("\n");
    status.folderText.append(folderState);
  }

  SetupString location = parentFolder;
  font.FitWithEllipsis(location, maxWidth);
  formatByteSize(facts.available, size);
  status.locationText.format("Location of installation folder:\n   %s\ndisk space available: %s",
                             location.text(), size.text());
  if (*diskState != '\0') {
    status.locationText.append("\n");
    status.locationText.append(diskState);
  }
  status.ok = facts.named && facts.local && facts.enough;
  return status;
}
