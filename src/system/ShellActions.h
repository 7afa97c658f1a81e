// The two things the wizard asks of the shell: choose a folder, open a program.
#pragma once

#include "base/SetupString.h"
#include "platform/PlatformTypes.h"

// Lets the user choose a file-system folder. True with the folder in `path`;
// false when the user cancels or the choice has no path, with `path` unchanged.
bool browseForFolder(const char* title, SetupString& path, platform::WindowHandle owner);

// Opens fileName (any folder part of it is dropped) from `folder`, which also
// becomes the working folder. Failures are not reported.
void launchProgram(platform::WindowHandle owner, const char* fileName, const char* folder);

// How launchProgramAsUser started a program.
enum class LaunchRoute {
  DesktopShell,  // the desktop shell started it, with the user's token
  Direct,        // launchProgram started it, with this program's token
};

// As launchProgram, but a program started by an elevated setup would run
// elevated too, with the administrators owning what it makes: when this program
// is elevated, the desktop shell is asked to start it, as the user. Where no
// desktop shell offers that, or this program is not elevated, launchProgram
// does it.
LaunchRoute launchProgramAsUser(platform::WindowHandle owner, const char* fileName,
                                const char* folder);
