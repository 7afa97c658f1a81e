// JPEG pictures decoded into Images.
#pragma once

#include <cstdint>

#include "base/ByteStream.h"
#include "render/Image.h"

// Decodes the JPEG that fills `jpeg` into `target` at full size: a grey image for
// greyscale pictures, 24-bit blue-green-red otherwise. A file cut short decodes as
// far as its data go. 0 for anything the decoder rejects, including an empty
// stream and pictures too large to be real (more than 16384 pixels on a side or
// 64 million in all); the target may then hold a partial picture, which callers
// discard.
int DecodeJpeg(const ByteStream& jpeg, Image& target);

// Reads a length-prefixed blob from `source` at `position` and decodes it.
int DecodeJpeg(const ByteStream& source, std::uint32_t& position, Image& target);
