// SetupTexts: what the pages and the window say in the vendor's own words.
//
// A setup carries them in its string table (the manifest's [texts] section,
// written by kpack setup or kestrane_add_setup); an entry that is missing or
// empty leaves our own text in its place, so a setup made without them shows
// exactly our pages.
//
//   string 1  the window's name, in the title bar, the taskbar and painted in
//             the caption bar
//   string 2  the window class's name (ours alone)
//   string 3  the header title above every page
//   string 4  the first text of the Welcome page
#pragma once

#include "base/SetupString.h"
#include "platform/PlatformTypes.h"

constexpr int kWindowNameString = 1;
constexpr int kClassNameString = 2;
constexpr int kHeaderTitleString = 3;
constexpr int kWelcomeTextString = 4;

inline constexpr char kDefaultWindowName[] = "Kestrane Setup";
inline constexpr char kDefaultHeaderTitle[] = "Kestrane Corp Setup";
inline constexpr char kDefaultWelcomeText[] =
    "Thank you for choosing Kestrane software.\nWe will now Setup and Install:";

struct SetupTexts {
  SetupString windowName{kDefaultWindowName};
  SetupString headerTitle{kDefaultHeaderTitle};
  SetupString welcomeText{kDefaultWelcomeText};

  // Reads the three from the string table of `module` (entries windowId,
  // headerId, welcomeId), keeping the default of each entry that is missing or
  // empty. False when the window's name is missing: every setup has one.
  bool Load(platform::ModuleHandle module, int windowId = kWindowNameString,
            int headerId = kHeaderTitleString, int welcomeId = kWelcomeTextString);

  // A window name of the vendor's: the caption bar then paints it from the
  // skin's caption font instead of showing the skin's picture of ours.
  bool OwnWindowName() const { return !(windowName == kDefaultWindowName); }
};
