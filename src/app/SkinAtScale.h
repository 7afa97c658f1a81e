// The skin the wizard draws with on a display of a given scale: the one the
// setup carries for that scale, else the next larger one (the largest, above
// them all) resampled to it.
#pragma once

#include "app/Wizard.h"

// Draws `skin`, loaded from the resources drawn for `fromDpi`, at `toDpi`:
// every picture but the background's (which the wizard resamples to the page
// anyway), every sprite and every font. False when a part cannot be resampled
// or memory is short; the skin is then neither scale's and must be loaded anew.
bool RescaleSkin(SkinLists& skin, int fromDpi, int toDpi);
