#include "install/PreviousInstall.h"

#include <string>

#include "base/Paths.h"
#include "base/SortedStringSet.h"
#include "package/UninstallKnowledge.h"
#include "platform/ProgramResources.h"
#include "system/FileOps.h"
#include "system/RegistryHelpers.h"
#include "system/UninstallEntry.h"

namespace {

// An uninstaller is a small program; anything far larger is not one of ours.
constexpr std::uint64_t kLargestUninstaller = 64u << 20;

// The uninstaller's path from the entry's value, without its quotes, when it
// names a file directly in `location`.
bool uninstallerIn(const char* value, const char* location, SetupString& path) {
  SetupString text(value);
  if (text.length() >= 2 && text[0] == '"' && text[text.length() - 1] == '"') {
    text = SetupString(text.text() + 1);
    text.eraseRange(text.length() - 1, 1);
  }
  PathParts parts;
  splitPath(text.text(), parts);
  SetupString folder = SetupString::concat(parts.drive, parts.folder);
  if (endsWithBackslash(folder)) folder.eraseRange(folder.length() - 1, 1);
  SetupString place(location);
  if (endsWithBackslash(place)) place.eraseRange(place.length() - 1, 1);
  if (parts.name.isEmpty() || compareNoCase(folder, place) != 0) return false;
  path = text;
  return true;
}

}  // namespace

bool readPreviousInstall(const InstallModel& model, const InstallTarget& target,
                         const char* location, std::vector<PreviousFile>& files) {
  files.clear();
  SetupString key;
  char value[kPathBufferSize] = {};
  SetupString uninstaller;
  if (!uninstallEntryKey(model.displayName.text(), key) ||
      !readRegString(target.machine, key.text(), "UninstallString", value, sizeof value - 1) ||
      !uninstallerIn(value, location, uninstaller)) {
    return false;
  }
  std::vector<unsigned char> image;
  std::vector<unsigned char> resource;
  std::string error;
  InstallModel record;
  if (!readWholeFile(uninstaller.text(), kLargestUninstaller, image) ||
      !platform::findProgramResource(image, kUninstallResourceId, resource, error) ||
      !readUninstallKnowledge(resource.data(), std::uint32_t(resource.size()), record)) {
    return false;
  }
  for (int i = 0; i < record.itemCount(); ++i) {
    const InstallItem& item = *record.items.at(i);
    PreviousFile file;
    PathParts parts;
    splitPath(item.fileName.text(), parts);
    file.name = SetupString::concat(parts.name, parts.extension);
    file.size = item.unpackedSize;
    file.hasDigest = itemDigest(item, file.digest);
    if (!file.name.isEmpty()) files.push_back(file);
  }
  return true;
}
