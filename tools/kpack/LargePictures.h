// Larger originals of the package's side and logo pictures (the manifest's
// pictures.side-2x and pictures.logo-2x), carried by a setup as RC_DATA 124 for
// displays at more than 96 dots per inch.
#pragma once

#include <vector>

#include "kpack/Manifest.h"

namespace kpack {

constexpr int kLargePicturesResourceId = 124;

// The resource: u32 count (2), then a blob (u32 length, the JPEG file) for the
// side picture and one for the logo, a length of 0 for one not given. Empty when
// the manifest gives neither. Each must be a JPEG the setup decodes, exactly
// twice as wide and as high as its picture; throws ManifestError otherwise.
std::vector<unsigned char> largePictures(const Manifest& manifest);

}  // namespace kpack
