#include "texts/TextCatalog.h"

#include <cstring>

namespace texts {
namespace {

constexpr TextEntry kCatalog[] = {
    {WindowName, "window-name", "Kestrane Setup"},
    {HeaderTitle, "header", "Kestrane Corp Setup"},
    {WelcomeText, "welcome",
     "Thank you for choosing Kestrane software.\nWe will now Setup and Install:"},

    {WelcomeGuide, "welcome-guide",
     "In the following pages you will be asked to\nselect Setup preferences. Click on the "
     "Next\nbutton to advance to the next page. Click on\nthe Back button to review/change "
     "selections."},
    {WelcomeNext, "welcome-next", "Please click Next to begin..."},
    {LicenceAgree, "licence-agree", "Please click I Agree to proceed..."},
    {ChangeLocation, "change-location", "Click here to change install location"},
    {RestoreDefaults, "restore-defaults", "Click here to restore defaults"},
    {FolderText, "folder", "Installation Folder:\n   %s\ndisk space required: %s"},
    {LocationText, "location", "Location of installation folder:\n   %s\ndisk space available: %s"},
    {FolderExists, "folder-exists", "Folder already exists, install will overwrite it"},
    {FolderNew, "folder-new", "Folder does not exist, install will create it"},
    {DiskEnough, "disk-enough", "Disk has enough space available"},
    {DiskShort, "disk-short", "Not enough space available on disk"},
    {NotLocal, "not-local", "Not a local folder"},
    {FolderNameUnusable, "folder-name-unusable", "Setup cannot use this folder's name"},
    {FileTypesIntro, "file-types",
     "Check the file types you want Windows to\nopen with the software you are installing:"},
    {CheckAll, "check-all", "Check All Types"},
    {UncheckAll, "uncheck-all", "Uncheck All Types"},
    {Installing, "installing", "Install in progress..."},
    {RunAfterSetup, "run-after-setup", "Run software upon exiting Setup?"},
    {FinishedDone, "finished", "The Setup and Install process\nwas successfully completed."},
    {FinishedReady, "finished-ready",
     "This software is now ready to use and\ncan be accessed from the Start Menu, its\nDesktop "
     "Shortcut Icon, or from the install\nfolder. We hope you'll enjoy it!"},
    {FinishedUninstall, "finished-uninstall",
     "To uninstall this software please use Control\nPanel's \"Add or Remove Programs\"."},

    {Back, "back", "Back"},
    {Next, "next", "Next"},
    {IAgree, "i-agree", "I Agree"},
    {Cancel, "cancel", "Cancel"},
    {Finish, "finish", "Finish"},

    {ErrorCaption, "error-caption", "Setup Error!"},
    {ErrorText, "error", "Failed to: %s\n\nPlease close all other applications and retry."},
    {OperationOverwrite, "overwrite-folder", "Overwrite existing folder"},
    {OperationCreate, "create-folder", "Create new folder"},
    {OperationDecompress, "decompress-file", "Decompress file"},
    {OperationWrite, "write-file", "Write file"},
    {ProgramsUsing, "programs-using", "Programs using the files: "},
    {CancelCaption, "cancel-caption", "Cancel Setup?"},
    {CancelText, "cancel-question", "Setup is not complete!\nAre you sure you want to exit?"},
    {FatalCaption, "fatal-caption", "Kestrane Setup - Fatal error"},
    {FatalText, "fatal",
     "\nThis program file is incomplete or damaged.\n\nVisit https://kestrane.example/download "
     "for a digitally signed program file."},
    {BrowseTitle, "browse-title", "Install Folder Location"},
    {CommandLineBad, "command-line-bad", "This setup does not know the argument %s."},
    {CommandLineHelp, "command-line-help", "This setup takes these switches:"},
    {NewerInstalled, "newer-installed",
     "%s %s is installed, which is newer than this setup's version %s. Nothing was changed."},

    {UninstallCaption, "uninstall-caption", "Uninstall"},
    {UninstallQuestion, "uninstall-question",
     "Do you want to remove %s and all of its components from this computer?"},
    {UninstallThisProgram, "uninstall-this-program", "this program"},
    {UninstallDone, "uninstall-done", "%s was removed from this computer."},
    {UninstallTheProgram, "uninstall-the-program", "The program"},
    {UninstallKept, "uninstall-kept",
     "These files were kept in %s: the setup did not install them, they changed since, or they "
     "were in use:"},
    {UninstallSystemCopies, "uninstall-system-copies",
     "These files stay in the system folder, where other programs may use them:"},
    {UninstallInUse, "uninstall-in-use", "These files are in use and cannot be removed now:"},
    {UninstallInUseHint, "uninstall-in-use-hint",
     "Close them and choose Retry, or Cancel to remove nothing."},
    {UninstallNoKnowledge, "uninstall-damaged",
     "This uninstall program does not say what to remove: it was not built by the product's "
     "setup tools."},
    {UninstallNoFolder, "uninstall-no-folder",
     "The uninstall program cannot tell which folder it runs from."},
};

}  // namespace

const TextEntry* catalog(std::size_t& count) {
  count = sizeof kCatalog / sizeof kCatalog[0];
  return kCatalog;
}

const TextEntry* findText(int id) {
  for (const TextEntry& entry : kCatalog) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}

const TextEntry* findText(const char* key) {
  if (key == nullptr) return nullptr;
  for (const TextEntry& entry : kCatalog) {
    if (std::strcmp(entry.key, key) == 0) return &entry;
  }
  return nullptr;
}

const char* englishText(int id) {
  const TextEntry* entry = findText(id);
  return entry != nullptr ? entry->english : "";
}

}  // namespace texts
