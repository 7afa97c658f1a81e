#include "uninstall/Uninstaller.h"

#include <algorithm>

#include "base/Paths.h"
#include "base/SortedStringSet.h"
#include "platform/FileMoves.h"
#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/WinDefs.h"
#include "system/ComServer.h"
#include "system/FileOps.h"
#include "system/FileTypes.h"
#include "system/InstallSwap.h"
#include "system/RegistryHelpers.h"

namespace {

// At most this many names are listed in a message box; the rest are counted.
constexpr std::size_t kListedNames = 12;

void removeFiles(const UninstallPlan& plan) {
  for (const PlannedFile& file : plan.files) {
    const std::uint32_t attributes = platform::getFileAttributes(file.path.text());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (!isUnchanged(file)) continue;
    platform::setFileAttributes(file.path.text(), FILE_ATTRIBUTE_NORMAL);
    platform::deleteFile(file.path.text());
  }
  // Fails while anything is left, the uninstaller itself at least.
  if (plan.removeFolder) platform::removeDirectory(plan.location.text());
}

void removeShortcuts(const UninstallPlan& plan) {
  for (const SetupString& folder : plan.menuFolders) {
    if (isDirectory(folder.text())) deleteTree(folder.text(), 0, true);
  }
  for (const SetupString& link : plan.desktopLinks) {
    platform::setFileAttributes(link.text(), FILE_ATTRIBUTE_NORMAL);
    platform::deleteFile(link.text());
  }
}

void releaseExtensions(const UninstallPlan& plan) {
  const InstallTarget& target = plan.target;
  const RegRoot& classes = target.classes;
  for (const PlannedExtension& e : plan.extensions) {
    const char* progId = e.progId.text();
    const char* ext = e.extension.text();
    // The release lists our ProgID again, so it is taken out after it.
    giveBackExtension(target, progId, ext, e.origin);
    removeOpenWithProgid(target, progId, ext);
    // The owner the install listed so that it could be found again: once it owns
    // the extension, the list is as it was before.
    const char* previous = e.origin.previousOwner.text();
    if (e.origin.listedOwner && extensionOwnedBy(target, previous, ext)) {
      removeOpenWithProgid(target, previous, ext);
    }
    const SetupString key = dottedExtension(ext);
    const SetupString list = SetupString::concat(key, SetupString("\\OpenWithProgids"));
    deleteKeyIfEmpty(classes, list.text(), false);
    if (e.origin.known) {
      // A key the install made goes with whatever the system added to it, unless
      // another program has taken or listed the extension since.
      SetupString owner;
      char text[kPathBufferSize];
      const bool owned =
          readRegString(classes, key.text(), nullptr, text, sizeof text) && text[0] != '\0';
      if (e.origin.created && !owned && !firstOtherProgid(target, owner, ext)) {
        deleteKeyTree(classes, key.text());
      }
      continue;
    }
    // Nothing recorded: a released extension keeps an empty default value, so "no
    // values" would never hold for it.
    deleteKeyIfEmpty(classes, key.text(), true);
  }
}

void removeClasses(const UninstallPlan& plan) {
  const InstallTarget& target = plan.target;
  for (const SetupString& key : plan.classKeys) deleteKeyTree(target.classes, key.text());
  for (const SetupString& classId : plan.comServers) {
    unregisterComServer(target, classId.text());
    deleteRegValue(target.machine, kApprovedShellExtensions, classId.text());
  }
}

void removeSettings(const UninstallPlan& plan) {
  const RegRoot& machine = plan.target.machine;
  if (!plan.productKey.isEmpty()) deleteKeyTree(machine, plan.productKey.text());
  if (!plan.companyKey.isEmpty()) deleteKeyIfEmpty(machine, plan.companyKey.text(), false);
}

void appendList(SetupString& text, const std::vector<SetupString>& names) {
  for (std::size_t i = 0; i < names.size() && i < kListedNames; ++i) {
    text.append("\n    ");
    text.append(names[i].text());
  }
  if (names.size() > kListedNames) {
    SetupString more;
    more.format("\n    ... and %u more", unsigned(names.size() - kListedNames));
    text.append(more.text());
  }
}

}  // namespace

bool isUnchanged(const PlannedFile& file) {
  if (!file.hasDigest) return true;
  std::uint64_t size = 0;
  Sha256Digest digest;
  return fingerprintFile(file.path.text(), size, digest) && size == file.size &&
         digest == file.digest;
}

std::vector<std::string> filesInUse(const UninstallPlan& plan) {
  std::vector<std::string> held;
  for (const PlannedFile& file : plan.files) {
    if (compareNoCase(file.path, plan.ownFile) == 0) continue;
    const std::uint32_t attributes = platform::getFileAttributes(file.path.text());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (!platform::canDeleteFile(file.path.text())) held.emplace_back(file.path.text());
  }
  return held;
}

SetupString filesInUseText(const std::vector<std::string>& files,
                           const std::vector<std::string>& programs, const texts::TextSet& texts) {
  SetupString text(texts.text(texts::UninstallInUse));
  std::vector<SetupString> names;
  for (const std::string& f : files) names.emplace_back(f.c_str());
  appendList(text, names);
  const SetupString holders = holdersLine(texts.text(texts::ProgramsUsing), programs);
  if (!holders.isEmpty()) {
    text.append("\n\n");
    text.append(holders);
  }
  text.append("\n\n");
  text.append(texts.text(texts::UninstallInUseHint));
  return text;
}

void removeInstallation(const UninstallPlan& plan) {
  removeFiles(plan);
  removeShortcuts(plan);
  releaseExtensions(plan);
  removeClasses(plan);
  removeSettings(plan);
  if (!plan.uninstallEntry.isEmpty()) {
    deleteKeyTree(plan.target.machine, plan.uninstallEntry.text());
  }
  platform::notifyAssociationsChanged();
}

std::vector<SetupString> removeOwnFileAndFolder(const UninstallPlan& plan) {
  if (!plan.ownFile.isEmpty()) {
    platform::setFileAttributes(plan.ownFile.text(), FILE_ATTRIBUTE_NORMAL);
    platform::deleteFile(plan.ownFile.text());
  }
  if (!plan.removeFolder || platform::removeDirectory(plan.location.text())) return {};
  return namesInFolder(plan.location.text());
}

std::vector<SetupString> namesInFolder(const char* folder) {
  std::vector<SetupString> names;
  SetupString pattern(folder);
  if (!endsWithBackslash(pattern)) pattern.append('\\');
  pattern.append("*.*");
  platform::FindData entry;
  platform::FindId search = platform::findFirstFile(pattern.text(), entry);
  for (bool more = search != nullptr; more; more = platform::findNextFile(search, entry)) {
    const SetupString name(entry.name);
    if (name == SetupString(".") || name == SetupString("..")) continue;
    names.push_back(name);
  }
  platform::findClose(search);
  std::sort(names.begin(), names.end(),
            [](const SetupString& a, const SetupString& b) { return compareNoCase(a, b) < 0; });
  return names;
}

SetupString uninstallCaption(const UninstallPlan& plan, const texts::TextSet& texts) {
  SetupString caption(texts.text(texts::UninstallCaption));
  if (!plan.displayName.isEmpty()) {
    caption.append(' ');
    caption.append(plan.displayName.text());
  }
  return caption;
}

// The formats' conversions are ours (TextSet::set sees to it): one %s each.
SetupString confirmationText(const UninstallPlan& plan, const texts::TextSet& texts) {
  SetupString text;
  text.format(texts.text(texts::UninstallQuestion), plan.displayName.isEmpty()
                                                        ? texts.text(texts::UninstallThisProgram)
                                                        : plan.displayName.text());
  return text;
}

SetupString finalMessage(const UninstallPlan& plan, const std::vector<SetupString>& remaining,
                         const texts::TextSet& texts) {
  SetupString text;
  text.format(texts.text(texts::UninstallDone), plan.displayName.isEmpty()
                                                    ? texts.text(texts::UninstallTheProgram)
                                                    : plan.displayName.text());
  if (!remaining.empty()) {
    SetupString head;
    head.format(texts.text(texts::UninstallKept), plan.location.text());
    text.append("\n\n");
    text.append(head.text());
    appendList(text, remaining);
  }
  if (!plan.systemCopies.empty()) {
    text.append("\n\n");
    text.append(texts.text(texts::UninstallSystemCopies));
    appendList(text, plan.systemCopies);
  }
  return text;
}
