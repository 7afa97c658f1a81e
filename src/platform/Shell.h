// The shell: special folders, folder browsing and opening documents.
#pragma once

#include "platform/PlatformTypes.h"

namespace platform {

// The path of the special folder `csidl` (a CSIDL_ value) into a MAX_PATH buffer.
// False when the folder is unknown or the shell cannot give it, or when its path
// cannot be named in Windows-1252, not even by its short form.
bool getSpecialFolderPath(int csidl, char* path);

// Shows the folder browser. `path` is a MAX_PATH buffer that receives the chosen
// folder. False when the user cancels or the choice is not a file-system folder;
// `path` may then hold a display name. A folder that Windows-1252 cannot name,
// not even by its short form, is given with '?' for each letter it lacks, as the
// A call gives it: no file name holds '?', so the caller can refuse it. On the host the answer is
// the first line of <prefix>/browse.answer when that file exists (an empty line is a cancel);
// otherwise zenity asks, when there is a display and zenity is installed. A host
// path (from either) is mapped to its drive (<prefix>/drive_c/a -> C:\a); one
// outside every drive folder is refused.
bool browseForFolder(WindowHandle owner, const char* title, char* path);

// Asks the shell to carry out `verb` on `file`. False when the shell refuses.
bool shellExecute(WindowHandle owner, const char* verb, const char* file, const char* parameters,
                  const char* folder, int show);

// True when this program runs elevated, with an administrator's full token
// (TokenElevation). False when it cannot be told, and on the host, where no
// process is elevated.
bool isElevated();

// Asks the desktop shell's own process to carry out "open" on `file` (the
// shell's window objects: IShellWindows, the desktop's IShellView and its
// IShellDispatch2::ShellExecute), so the program starts with the shell's token,
// the user's, whatever token this program holds. False when there is no
// desktop shell that offers this (Wine's does not; the host has none) or it
// refuses; nothing was started then.
bool shellExecuteFromDesktop(const char* file, const char* parameters, const char* folder,
                             int show);

// Tells the shell that file associations changed (SHCNE_ASSOCCHANGED).
void notifyAssociationsChanged();

}  // namespace platform
