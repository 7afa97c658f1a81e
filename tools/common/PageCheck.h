// The page check: every page of a setup laid out by the program's own page code
// over a skin and a product, and what on it does not fit. A text that runs past
// the text column (X0 to 490) or off the page, or over another item, and a
// picture that covers a text, are findings; each is traced to what causes it
// (the side picture, the logo, a font of the skin, a text of the product) by
// laying the pages out again with the pictures the layout is made for, and the
// findings of one cause become one warning with a fix.
//
// A picture of any size is allowed, so a size alone is never a finding. Only a
// layout that cannot work at all (a skin the pages cannot be built over, a side
// picture that leaves no text column) is an error.
#pragma once

#include <string>
#include <vector>

#include "app/SetupTexts.h"
#include "app/Wizard.h"
#include "package/InstallModel.h"
#include "render/DisplayScale.h"
#include "render/Geometry.h"

namespace tools {

// The inputs of one run of the check. A check per language or per display scale
// is one run each, with its own inputs: nothing is shared between runs.
struct PageCheckRun {
  SkinLists* skin = nullptr;
  // The product: its pictures and texts. Lent to the check, which shows other
  // pictures in its place for a while and gives them back before it returns.
  InstallModel* model = nullptr;
  // The product is a sample made to fit the pages: what does not fit is the
  // skin's doing, so every text's finding goes to its font.
  bool sampleProduct = false;
  // What the window and the pages say (the setup's texts); ours when left as is.
  SetupTexts texts;
  // The display scale the skin is drawn for; the pages are laid out at it, and
  // what is found is said in its pixels.
  DisplayScale scale;
  // Names the run in what it finds ("German, 150 %: Welcome: ..."); empty for the
  // only run.
  std::string name;
  // The pages checked: the setup's own unless a tool or a test shows others.
  PageListMaker addPages = AddStandardPages;
};

// What makes an item what it is, as far as a vendor can change it.
enum class PageCause {
  SidePicture,     // the product's side picture
  Logo,            // the product's logo, and the header band as tall as it
  Font,            // a font of the skin
  ProductName,     // the product's name on Welcome
  FileTypeLabels,  // the optional extensions offered as check boxes
  Text,            // a text of the setup's own, in words other than ours (a translation)
};

// The folder the pages' folder texts name: a long one, as a user's may be.
constexpr char kSampleParentFolder[] =
    "C:\\Program Files\\Northwind Software Laboratories International\\Professional "
    "Photo Archive Manager Deluxe Edition";

// The size of the product's pictures the pages are laid out for.
constexpr Size kLayoutSidePicture{164, 314};
constexpr Size kLayoutLogo{49, 49};
// The line heights (tmHeight) of the skin's three fonts the pages are laid out
// for, at 96 dots an inch; a skin drawn for another scale may be a pixel off the
// height times the scale, as its fonts are rendered anew.
constexpr int kLayoutFontHeights[3] = {18, 17, 15};

// The name of a run in `language` (a name, or empty for the only one) at the
// scale of `percent`: "German", "German, 150 %", "150 %" or "".
std::string RunName(const std::string& language, int percent);

// One warning: every finding of one cause.
struct PageWarning {
  PageCause cause;
  // The font the cause is (PageCause::Font), else the font of the text most
  // concerned, or -1.
  int font = -1;
  // What is wrong, where on which pages, and how to fix it; the caller puts the
  // place of the cause (a manifest's or skin description's file and line) first.
  std::string message;
  // The manifest's key of the text (PageCause::Text): "welcome-guide", "next".
  std::string key = {};
};

struct PageCheckResult {
  // Not empty when the layout cannot work at all, for `errorCause`; there are no
  // warnings then.
  std::string error;
  PageCause errorCause = PageCause::Font;
  std::vector<PageWarning> warnings;
};

PageCheckResult CheckPages(const PageCheckRun& run);

}  // namespace tools
