// Pictures to and from files: JPEG encoding for the skin, PNG for previews.
#pragma once

#include <string>

#include "kskin/SkinWriter.h"
#include "render/Image.h"

namespace kskin {

// A baseline JPEG of a 24-bit picture at `quality` (1..100). Throws SkinError.
Bytes EncodeJpeg(const Image& picture, int quality);

// A PNG (8-bit RGB, no interlace) of a 24-bit picture. Throws SkinError.
Bytes EncodePng(const Image& picture);

Bytes ReadFile(const std::string& path);
// Writes through a temporary file renamed into place, so a failed run never
// leaves half a file behind. Throws SkinError.
void WriteFile(const std::string& path, const Bytes& bytes);

}  // namespace kskin
