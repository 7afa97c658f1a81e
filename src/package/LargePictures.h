// Larger originals of the package's side and logo pictures, drawn for displays
// at twice 96 dots an inch, which a setup may carry beside its package:
//
//   RC_DATA 124   u32 count (2), then a blob for the side picture and one for
//                 the logo: u32 length and a JPEG file of that many bytes, or a
//                 length of 0 for none.
//
// A larger picture is taken only when it is exactly twice its package picture
// on each side; in its place, or without the resource, the package's picture is
// resampled to the display's scale.
#pragma once

#include "base/ByteStream.h"
#include "package/InstallModel.h"

constexpr int kLargePicturesResourceId = 124;

// Reads `resource` into the model's largeSidePicture and largeLogoPicture; the
// model's own pictures must be read first. Pictures the resource does not give,
// or gives at the wrong size, are left empty. False, with both empty, for bytes
// that are not such a resource.
bool ReadLargePictures(const ByteStream& resource, InstallModel& model);
