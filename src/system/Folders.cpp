#include "system/Folders.h"

#include "base/Paths.h"
#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/WinDefs.h"

bool specialFolderPath(SetupString& path, int csidl) {
  char* buffer = path.lockBufferWithLength(kPathBufferSize);
  buffer[0] = '\0';
  const bool ok = platform::getSpecialFolderPath(csidl, buffer);
  if (!ok) buffer[0] = '\0';
  path.unlockBuffer(-1);
  return ok;
}

void defaultProgramFiles(SetupString& out) {
  if (specialFolderPath(out, CSIDL_PROGRAM_FILES)) return;
  char windows[kPathBufferSize];
  out = platform::getWindowsDirectory(windows, sizeof windows) > 0 ? windows : "C:\\";
  driveRoot(out);
  out.append("Program Files");
}
