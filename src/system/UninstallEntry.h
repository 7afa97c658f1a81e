// The product's entry in the system's list of installed programs, under
// Software\Microsoft\Windows\CurrentVersion\Uninstall of the target's machine root.
#pragma once

// The uninstall key of every installed program.
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

#include <cstdint>

#include "base/SetupString.h"
#include "system/InstallTarget.h"

// The entry's key below the machine root, named after the last path component
// of displayName. False, with `key` empty, when that leaves no name.
bool uninstallEntryKey(const char* displayName, SetupString& key);

// Writes the entry named after the last path component of displayName: its
// DisplayName, UninstallString (the quoted uninstaller path), DisplayIcon (the
// quoted icon path), Publisher, URLInfoAbout, Comments, URLUpdateInfo, HelpLink
// (the same address), Contact (only when `contact` is given and not empty; else an
// earlier one is deleted), the four REG_DWORD flags and EstimatedSize (the
// installed files' size in KiB, which the list of programs shows) and QuietUninstallString
// (UninstallString and " /quiet"), in that order. Nothing
// is written, and the result is false, when any other text is null or empty or the entry
// name would be empty; a write that fails ends the call with false and leaves the
// values before it in place.
bool registerUninstallEntry(const InstallTarget& target, const char* displayName,
                            const char* publisher, const char* infoAddress,
                            const char* uninstallerPath, const char* iconPath, const char* comments,
                            const char* updateAddress, std::uint32_t estimatedSizeKiB,
                            const char* contact);
