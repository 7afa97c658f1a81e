// The preview sheet: the wizard's pages as the program composes them over a
// skin and a product, then the skin's own parts (pictures, sprites and captions,
// the fonts' character sets) for the skin's author.
#pragma once

#include <vector>

#include "app/SetupTexts.h"
#include "app/Wizard.h"
#include "kskin/Report.h"
#include "package/InstallModel.h"
#include "render/Geometry.h"
#include "render/Image.h"

namespace kskin {

struct PreviewSheet {
  Image image;
  // The size of each page's window, and where each one starts on the sheet, in
  // the wizard's page order.
  Size window{};
  std::vector<Point> pages;
};

// Shows `page` as the sheet pictures it: as the program first shows it, except
// that Installing is part of the way through. The folder page describes a fixed
// roomy local drive rather than this machine's.
void StagePage(Wizard& wizard, const InstallModel& model, int pageId);

// Draws the sheet of the pages `addPages` makes (the standard ones unless
// said), saying `texts`, laid out at `scale` (the skin must be drawn for it).
// Throws SkinError when the pages cannot be built over `skin` and `model` (a
// skin without the parts the pages need), when the window is too large to show,
// or when memory is short.
void RenderPreview(LoadedSkin& skin, InstallModel& model, PreviewSheet& sheet,
                   const SetupTexts& texts = SetupTexts(), DisplayScale scale = DisplayScale(),
                   PageListMaker addPages = AddStandardPages);

}  // namespace kskin
