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

void launchProgram(platform::WindowHandle owner, const char* fileName, const char* folder) {
  SetupString fullName(fileName);
  if (!moveToFolder(fullName, folder)) return;
  SetupString workingFolder(folder);
  // "C:" alone would mean the drive's current folder, so a root keeps its '\'.
  const bool isRoot = workingFolder.length() == 3 && workingFolder[1] == ':';
  if (endsWithBackslash(workingFolder) && !isRoot) {
    workingFolder.eraseRange(workingFolder.length() - 1, 1);
  }
  platform::shellExecute(owner, "open", fullName.text(), "", workingFolder.text(), SW_SHOWNORMAL);
}
