// Every text the setup and its uninstaller show, by string-table id: the id a
// setup's string table carries it under (in each language it speaks), the key a
// manifest names it by (under [texts] for English, [texts.de] for German, ...),
// and our English wording, which a setup shows where its table has no entry.
//
// Ids 1 to 4 are the texts a vendor most often words: the window's name, the
// window class (not shown, never translated), the page header and the first
// text of the Welcome page. The rest start at 16. An id, once given, keeps its
// meaning: built setups and the manifests of vendors hold it.
#pragma once

#include <cstddef>

namespace texts {

enum TextId : int {
  WindowName = 1,
  HeaderTitle = 3,
  WelcomeText = 4,

  // The pages.
  WelcomeGuide = 16,
  WelcomeNext,
  LicenceAgree,
  ChangeLocation,
  RestoreDefaults,
  FolderText,    // %s the folder's name, %s the space required
  LocationText,  // %s the parent folder, %s the space available
  FolderExists,
  FolderNew,
  DiskEnough,
  DiskShort,
  NotLocal,
  FolderNameUnusable,
  FileTypesIntro,
  CheckAll,
  UncheckAll,
  Installing,
  RunAfterSetup,
  FinishedDone,
  FinishedReady,
  FinishedUninstall,

  // The navigation bar.
  Back = 40,
  Next,
  IAgree,
  Cancel,
  Finish,

  // The message boxes and the browse dialog.
  ErrorCaption = 48,
  ErrorText,  // %s the operation that failed
  OperationOverwrite,
  OperationCreate,
  OperationDecompress,
  OperationWrite,
  ProgramsUsing,
  CancelCaption,
  CancelText,
  FatalCaption,
  FatalText,
  BrowseTitle,
  CommandLineBad,   // %s the argument
  CommandLineHelp,  // followed by the switches
  NewerInstalled,   // %s the product, %s the installed version, %s this setup's

  // The uninstaller.
  UninstallCaption = 64,
  UninstallQuestion,  // %s the product
  UninstallThisProgram,
  UninstallDone,  // %s the product
  UninstallTheProgram,
  UninstallKept,  // %s the install folder
  UninstallSystemCopies,
  UninstallInUse,
  UninstallInUseHint,
  UninstallNoKnowledge,
  UninstallNoFolder,
};

struct TextEntry {
  TextId id;
  const char* key;      // the manifest's name of it
  const char* english;  // our wording, Windows-1252
};

// The catalogue, in id order.
const TextEntry* catalog(std::size_t& count);

// The entry of an id or of a manifest key; null when there is none.
const TextEntry* findText(int id);
const TextEntry* findText(const char* key);

// Our English wording of `id` ("" for an id without one).
const char* englishText(int id);

}  // namespace texts
