// Larger originals of the package's side and logo pictures (the manifest's
// pictures.side-2x and pictures.logo-2x), carried by a setup as RC_DATA 124 for
// displays at more than 96 dots per inch.
#pragma once

#include <vector>

#include "kpack/Manifest.h"
#include "package/LargePictures.h"

namespace kpack {

// The resource (package/LargePictures.h); empty when the manifest gives
// neither. Each must be a JPEG the setup decodes, exactly twice as wide and as
// high as its picture; throws ManifestError otherwise.
std::vector<unsigned char> largePictures(const Manifest& manifest);

}  // namespace kpack
