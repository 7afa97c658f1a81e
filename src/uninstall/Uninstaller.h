// Carrying out an uninstall plan, in the order that undoes the setup's work, and
// the texts the user sees (in the language of `texts`).
#pragma once

#include <string>
#include <vector>

#include "base/SetupString.h"
#include "texts/TextSet.h"
#include "uninstall/UninstallPlan.h"

// Whether the file holds what the setup wrote (size and fingerprint; true for a
// file planned without a fingerprint): only then is it deleted.
bool isUnchanged(const PlannedFile& file);

// The installed files the plan would delete that a program holds open now, so
// that they could not be deleted (the uninstaller's own file aside: its copy
// removes it after it ended). Nothing may be removed while there are any.
std::vector<std::string> filesInUse(const UninstallPlan& plan);

// The question asked while files are in use, offering Retry and Cancel: the
// files and, when the system can tell, the programs holding them.
SetupString filesInUseText(const std::vector<std::string>& files,
                           const std::vector<std::string>& programs, const texts::TextSet& texts);

// Removes what the plan names but the uninstaller's own file, in this order:
//   1. the installed files that are as the setup wrote them (size and fingerprint;
//      a changed file stays), then the install folder if that left it empty;
//   2. the product's Start-menu folders and the desktop links;
//   3. for every extension: released (given back to its owner before the install
//      while that is listed under "OpenWithProgids", else to the first other ProgID
//      listed there, or left without owner), our ProgID taken out of
//      that list and so the owner the install listed there once it owns it again,
//      then the list key when it holds no value; the extension key goes whole when
//      the install made it and no other program owns or lists it, and stays when
//      it was there before (with no record: when it holds only an empty default);
//   4. the ProgIDs and "Applications" entries, the COM servers and their values in
//      the approved shell-extension list;
//   5. the system-folder copies stay;
//   6. the product key with its settings, and the company key when that is empty;
//   7. the uninstall entry.
// Then it tells the shell once that associations changed. Single failures are
// skipped: whatever could not be removed shows in what remains.
void removeInstallation(const UninstallPlan& plan);

// Deletes the uninstaller's own file and, when nothing else is left in it and the
// plan lets it go, the install folder. Returns the names of what remains in that
// folder (the user's files, changed files, anything that could not be deleted),
// sorted; nothing for a folder the plan keeps.
std::vector<SetupString> removeOwnFileAndFolder(const UninstallPlan& plan);

// The names in `folder`, sorted; nothing for a folder that cannot be read.
std::vector<SetupString> namesInFolder(const char* folder);

// The question asked before anything is removed, and the caption of every box.
SetupString confirmationText(const UninstallPlan& plan, const texts::TextSet& texts);
SetupString uninstallCaption(const UninstallPlan& plan, const texts::TextSet& texts);

// The closing message: done, the files kept in the install folder, and the copies
// left in the system folder.
SetupString finalMessage(const UninstallPlan& plan, const std::vector<SetupString>& remaining,
                         const texts::TextSet& texts);
