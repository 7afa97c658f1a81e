// Where things go: the shell's special folders and the default install location.
#pragma once

#include "base/SetupString.h"

// The path of the shell folder `csidl` (a CSIDL_ value). False, with `path`
// emptied, when the shell cannot give it.
bool specialFolderPath(SetupString& path, int csidl);

// The program-files folder; when the shell cannot say, "Program Files" on the drive
// of the Windows folder.
void defaultProgramFiles(SetupString& out);
