// What the install-location page says about the chosen place: where the product
// goes, how much room it needs and has, and whether the place will do.
#pragma once

#include <cstdint>

#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "render/BitmapFont.h"
#include "texts/TextSet.h"

struct FolderStatus {
  // "Installation Folder:" with the folder's name, the space required, and
  // whether the folder exists (only for a usable location).
  SetupString folderText;
  // "Location of installation folder:" with the parent folder, the space
  // available, and what is wrong with the location, if anything.
  SetupString locationText;
  // A local fixed disk with more free space than the items need.
  bool ok = false;
};

// What the machine says about installing into a place.
struct FolderFacts {
  bool local = false;   // on a local fixed disk
  bool exists = false;  // the install folder is already there
  bool enough = false;  // the items fit with room to spare
  // The path names a folder: a folder the system could not name in the
  // program's code page comes back from the browser with '?' for the letters
  // it lacks, which no file name holds.
  bool named = true;
  std::int64_t available = 0;
  std::int64_t required = 0;
};

// Asks the machine about installing `model` into `parentFolder`. Free space that
// cannot be read counts as none.
FolderFacts ReadFolderFacts(const InstallModel& model, const SetupString& parentFolder);

// Describes installing `model` into `parentFolder` as `facts` tell it, in the
// words of `texts`. Paths wider than maxWidth in `font` are shortened from the
// front.
FolderStatus DescribeFolder(const InstallModel& model, const SetupString& parentFolder,
                            const FolderFacts& facts, const BitmapFont& font, int maxWidth,
                            const texts::TextSet& texts);
// The same with the facts read from the machine.
FolderStatus DescribeFolder(const InstallModel& model, const SetupString& parentFolder,
                            const BitmapFont& font, int maxWidth, const texts::TextSet& texts);
