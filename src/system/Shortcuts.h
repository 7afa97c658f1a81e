// Shortcuts: the product's folder in the Programs part of the Start menu and the
// desktop links, for the current user or for all users. Links are made through the
// shell's link object, so COM must be initialised on the calling thread.
#pragma once

#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "system/InstallTarget.h"

// The Programs folder of the Start menu: the current user's (CSIDL 2) or all
// users' (CSIDL 23, or the current user's when the shell has none). False, with
// `out` empty, when neither can be found. For the install target to choose from.
bool programsMenuFolder(SetupString& out, int currentUser);

// The desktop folder of the current user (CSIDL 16) or of all users (CSIDL 25).
// False, with `out` empty, when the shell cannot give it.
bool desktopFolder(SetupString& out, int currentUser);

// The product's Start-menu folder: programsFolder, then parentMenuEntry unless
// topMenuEntry is set, then displayName. The folder is deleted and made anew on
// every install, so it must lie strictly below the Programs folder: false, with
// `out` empty, when programsFolder is empty, or when displayName or a used
// parentMenuEntry is absolute, names a drive or has a part made only of dots, or
// displayName is empty. Subfolder parts ("Company\Product") are fine.
bool productMenuFolder(SetupString& out, const char* programsFolder, int topMenuEntry,
                       const char* parentMenuEntry, const char* displayName);

// The link file name of a title: its extension replaced by ".lnk", so a title with
// a dot ("Demo 1.5") loses what follows its last dot ("Demo 1.lnk").
SetupString linkFileName(const char* title);

// Writes a link at linkPath to targetPath (its short 8.3 form when the file system
// has one), with the description when one is given. False when a path is null,
// the link object cannot be made, or the link cannot be saved.
bool createShortcut(const char* targetPath, const char* linkPath, const char* description);

// The install steps, with `location` the install folder and the link folders the
// target's. Start menu: the product folder replaced by a new one holding a link
// for each item with a Start-menu shortcut; skipped when productMenuFolder gives
// none. Desktop: for each item with a desktop shortcut, the link left on the other
// audience's desktop by an earlier install is deleted and the link made on the
// target's one. Failures are skipped.
void createMenuShortcuts(const InstallOptions& options, const InstallTarget& target,
                         const char* location);
void createDesktopShortcuts(const InstallOptions& options, const InstallTarget& target,
                            const char* location);
