// A product made in code for previews: a skin is seen on the real pages without
// a package at hand.
#pragma once

#include "package/InstallModel.h"

namespace kskin {

// Fills an empty `model` with "Sample Product - Edition 1": a licence of a few
// paragraphs, a side picture and a logo of the usual sizes drawn as gradients, an
// application whose one file type offers five optional extensions, and a
// document. Throws SkinError when memory is short.
void MakeSampleProduct(InstallModel& model);

}  // namespace kskin
