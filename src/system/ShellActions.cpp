#include "system/ShellActions.h"

#include "base/Paths.h"
#include "platform/Shell.h"
#include "platform/WinDefs.h"

bool browseForFolder(const char* title, SetupString& path, platform::WindowHandle owner) {
  SetupString chosen = path;
  char* buffer = chosen.lockBufferWithLength(kPathBufferSize);
  const bool ok = platform::browseForFolder(owner, title, buffer);
  chosen.unlockBuffer(-1);
  if (ok) path = chosen;
  return ok;
}

namespace {

// The program's full name and its working folder: `folder` without a trailing
// '\', except that a root keeps it ("C:" alone would mean the drive's current
// folder). False when the name does not fit.
bool launchPaths(const char* fileName, const char* folder, SetupString& fullName,
                 SetupString& workingFolder) {
  fullName = fileName;
  if (!moveToFolder(fullName, folder)) return false;
  workingFolder = folder;
  const bool isRoot = workingFolder.length() == 3 && workingFolder[1] == ':';
  if (endsWithBackslash(workingFolder) && !isRoot) {
    workingFolder.eraseRange(workingFolder.length() - 1, 1);
  }
  return true;
}

}  // namespace

void launchProgram(platform::WindowHandle owner, const char* fileName, const char* folder) {
  SetupString fullName, workingFolder;
  if (!launchPaths(fileName, folder, fullName, workingFolder)) return;
  platform::shellExecute(owner, "open", fullName.text(), "", workingFolder.text(), SW_SHOWNORMAL);
}

LaunchRoute launchProgramAsUser(platform::WindowHandle owner, const char* fileName,
                                const char* folder) {
  SetupString fullName, workingFolder;
  if (!launchPaths(fileName, folder, fullName, workingFolder)) return LaunchRoute::Direct;
  if (platform::isElevated() &&
      platform::shellExecuteFromDesktop(fullName.text(), "", workingFolder.text(), SW_SHOWNORMAL)) {
    return LaunchRoute::DesktopShell;
  }
  platform::shellExecute(owner, "open", fullName.text(), "", workingFolder.text(), SW_SHOWNORMAL);
  return LaunchRoute::Direct;
}
