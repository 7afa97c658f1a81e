#include "app/FolderStatus.h"

#include <cstdint>
#include <cstring>

#include "base/ByteSize.h"
#include "base/Paths.h"
#include "platform/Languages.h"
#include "system/DiskSpace.h"
#include "system/InstallTarget.h"

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
                            const BitmapFont& font, int maxWidth, const texts::TextSet& texts) {
  return DescribeFolder(model, parentFolder, ReadFolderFacts(model, parentFolder), font, maxWidth,
                        texts);
}

FolderStatus DescribeFolder(const InstallModel& model, const SetupString& parentFolder,
                            const FolderFacts& facts, const BitmapFont& font, int maxWidth,
                            const texts::TextSet& texts) {
  FolderStatus status;
  int folderState = 0;  // no text
  int diskState = 0;
  if (!facts.named) {
    diskState = texts::FolderNameUnusable;
  } else if (!facts.local) {
    diskState = texts::NotLocal;
  } else if (facts.enough) {
    folderState = facts.exists ? texts::FolderExists : texts::FolderNew;
    diskState = texts::DiskEnough;
  } else {
    diskState = texts::DiskShort;
  }

  SetupString name = model.installFolderName, size;
  font.FitWithEllipsis(name, maxWidth);
  const char separator = platform::numberMarks(texts.language).group;
  formatByteSize(facts.required, size, separator);
  // Both formats' conversions are ours (TextSet::set sees to it): two %s each.
  status.folderText.format(texts.text(texts::FolderText), name.text(), size.text());
  if (folderState != 0) {
    status.folderText.append("\n");
    status.folderText.append(texts.text(folderState));
  }

  SetupString location = parentFolder;
  font.FitWithEllipsis(location, maxWidth);
  formatByteSize(facts.available, size, separator);
  status.locationText.format(texts.text(texts::LocationText), location.text(), size.text());
  if (diskState != 0) {
    status.locationText.append("\n");
    status.locationText.append(texts.text(diskState));
  }
  status.ok = facts.named && facts.local && facts.enough;
  return status;
}
