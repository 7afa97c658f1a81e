#include "system/InstallTarget.h"

#include "base/Paths.h"
#include "package/PackageFormat.h"
#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "system/Folders.h"
#include "system/Shortcuts.h"

namespace {

// A folder the system gives by one of the platform's folder queries.
template <typename Query>
bool systemGiven(SetupString& out, Query query) {
  char folder[kPathBufferSize];
  if (query(folder, int(sizeof folder)) <= 0) return false;
  out = folder;
  return true;
}

void readLinkFolders(LinkFolders& out, int currentUser) {
  programsMenuFolder(out.programsMenu, currentUser);
  desktopFolder(out.desktop, currentUser);
}

}  // namespace

bool InstallTarget::location(SetupString& out) const {
  out = folderName;
  return joinPath(out, parentFolder.text());
}

bool makeInstallTarget(const InstallModel& model, InstallScope scope, RegistryView view,
                       InstallTarget& target) {
  target = InstallTarget();
  const bool wideMachine = platform::isWow64Machine();
  const bool possible = view == RegistryView::Bits32 || wideMachine;
  if (!possible) view = RegistryView::Bits32;
  target.scope = scope;
  target.view = view;
  // Today's 32-bit view is the program's own: its keys are opened without a view
  // bit, exactly as before there were views.
  const std::uint32_t viewBit = view == RegistryView::Bits64 ? KEY_WOW64_64KEY : 0;
  target.classes = RegRoot(HKEY_CLASSES_ROOT, viewBit);
  target.machine = RegRoot(HKEY_LOCAL_MACHINE, viewBit);

  // A 32-bit program on 64-bit Windows is told the x86 Program Files, and its
  // System32 is redirected to SysWOW64; the target names the folders outright.
  if (view == RegistryView::Bits64) {
    if (!systemGiven(target.programFiles, platform::getProgramFiles64Directory)) {
      SetupString windows;
      if (!systemGiven(windows, platform::getWindowsDirectory)) windows = "C:\\";
      driveRoot(windows);
      target.programFiles = SetupString::concat(windows, SetupString("Program Files"));
    }
    systemGiven(target.systemFolder, platform::getSystem64Directory);
  } else {
    defaultProgramFiles(target.programFiles);
    if (!wideMachine || !systemGiven(target.systemFolder, platform::getSystemWow64Directory)) {
      systemGiven(target.systemFolder, platform::getSystemDirectory);
    }
  }
  const int currentUser = scope == InstallScope::AllUsers ? 0 : 1;
  readLinkFolders(target.links, currentUser);
  readLinkFolders(target.otherLinks, !currentUser);
  target.parentFolder = target.programFiles;
  target.folderName = model.installFolderName;
  return possible;
}

bool installLocation(const InstallModel& model, const char* parentFolder, SetupString& location) {
  InstallTarget target;
  target.parentFolder = parentFolder;
  target.folderName = model.installFolderName;
  return target.location(location);
}

bool companyKeyPath(const char* company, SetupString& path) {
  path = SetupString();
  if (!isKeyName(company)) return false;
  path.format("software\\%s", company);
  return true;
}

bool settingsKeyPath(const char* company, const char* settingsKey, SetupString& path) {
  if (!companyKeyPath(company, path)) return false;
  if (!isKeyName(settingsKey)) {
    path = SetupString();
    return false;
  }
  path.format("software\\%s\\%s", company, settingsKey);
  return true;
}
