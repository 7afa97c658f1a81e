// Windows icon files (.ico), written entry by entry at exactly the depth asked
// for, whatever the number of colours the art happens to use.
//
// All numbers are little-endian.
//
//   ICONDIR        u16 reserved 0, u16 type 1 (icon), u16 count of entries
//   ICONDIRENTRY   per entry: u8 width, u8 height (0 stands for 256), u8 colours
//                  in the palette (16 at 4 bits; 0 at 8 bits and above), u8 0,
//                  u16 planes 1, u16 bits per pixel, u32 bytes of the image,
//                  u32 offset of the image from the start of the file
//   image          BITMAPINFOHEADER (40 bytes; biHeight twice the icon's, the
//                  XOR bitmap standing on the AND mask), at 4 and 8 bits the
//                  colour table (2^bits RGBQUADs: blue, green, red, 0), the XOR
//                  pixels, then the AND mask at 1 bit per pixel (1: transparent).
//                  Both bitmaps run bottom-up with rows padded to 4 bytes.
//
// Where the mask is transparent the XOR pixel is black (palette entry 0 at 4 and
// 8 bits), so that the screen shows through unchanged. 32-bit entries carry
// BGRA with the art's own alpha, and a mask as well for the systems that still
// read it.
#pragma once

#include <vector>

#include "kskin/SkinWriter.h"

namespace kskin {

// One size of the art: size x size pixels, top row first, 4 bytes each (blue,
// green, red, alpha), the alpha straight rather than premultiplied.
struct IconArt {
  int size = 0;
  std::vector<unsigned char> bgra;
};

struct Rgb {
  unsigned char red = 0;
  unsigned char green = 0;
  unsigned char blue = 0;
  bool operator==(const Rgb& o) const { return red == o.red && green == o.green && blue == o.blue; }
};

// A palette of at most `colours` entries for the pixels, by median cut: the box
// of colours whose widest spread along one channel, times its count of pixels,
// is the largest is split at its median until there are `colours` boxes; each entry is its box's
// mean. Pixels of no more distinct colours than that come back exactly. Empty for no pixels.
std::vector<Rgb> MedianCutPalette(std::vector<Rgb> pixels, int colours);

// The palette entry nearest to `colour` (squared distance), the first on a tie.
int NearestEntry(const std::vector<Rgb>& palette, const Rgb& colour);

// An icon holding every art at every depth (each of 4, 8 or 32), art by art.
// Throws SkinError for sizes outside 1..256, art of the wrong length or another
// depth.
Bytes WriteIcon(const std::vector<IconArt>& arts, const std::vector<int>& depths);

}  // namespace kskin
