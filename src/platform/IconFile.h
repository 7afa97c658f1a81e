// The .ico file: what an icon group resource is on the host (stored whole under
// the type name "ICO"), read here into one picture of a chosen size.
//
// Layout (all little-endian):
//
//   ICONDIR        u16 reserved (0), u16 type (1 = icon), u16 count
//   ICONDIRENTRY   count x 16 bytes: u8 width (0 = 256), u8 height (0 = 256),
//                  u8 colour count, u8 reserved, u16 planes, u16 bit count,
//                  u32 byte size of the image, u32 offset of the image in the file
//   image          a BITMAPINFOHEADER (40 bytes; biHeight is twice the icon's
//                  height: colour rows, then mask rows), the colour table of a
//                  1, 4 or 8-bit image (biClrUsed entries, or 2^bits when 0, of
//                  blue, green, red, 0), the colour rows (bottom-up, each padded
//                  to 4 bytes), then the 1-bit AND mask rows (bottom-up, padded to
//                  4 bytes; 1 = transparent). A 32-bit image carries its own alpha;
//                  when every alpha is 0 the mask decides. Images stored as PNG
//                  are not read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

struct IconPicture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> argb;  // top-down rows of 0xAARRGGBB
};

// Reads from the .ico bytes the image of width x height with the highest bit count;
// when there is none of that size, the one nearest to it (then the highest bit
// count). False, with `out` empty, when the file is damaged or holds no image it
// can read.
bool readIconPicture(const unsigned char* data, std::size_t size, int width, int height,
                     IconPicture& out);

}  // namespace platform
