// What the install-location page says about the chosen place: where the product
// goes, how much room it needs and has, and whether the place will do.
#pragma once

#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "render/BitmapFont.h"

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

// Describes installing `model` into `parentFolder`. Paths wider than maxWidth in
// `font` are shortened from the front. Free space that cannot be read counts as
// none.
FolderStatus DescribeFolder(const InstallModel& model, const SetupString& parentFolder,
                            const BitmapFont& font, int maxWidth);
