// Small images for the rendering tests, and their pixels read back as colours.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/WinDefs.h"
#include "render/Image.h"

namespace testimages {

// A 24-bit image with every pixel `colour`.
inline void solid(Image& image, int w, int h, COLORREF colour) {
  image.Create(w, h, 24);
  image.Fill(colour);
}

// A grey image with every pixel `value`.
inline void greySolid(Image& image, int w, int h, std::uint8_t value) {
  image.CreateGrey(w, h);
  std::memset(image.Bits(), value, image.PixelBytes());
}

// A grey image from values listed row by row from the top.
inline void greyRows(Image& image, int w, int h, const std::vector<int>& values) {
  image.CreateGrey(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) image.PixelAt(x, y)[0] = std::uint8_t(values[y * w + x]);
  }
}

inline void setColour(Image& image, int x, int y, COLORREF colour) {
  unsigned char* p = image.PixelAt(x, y);
  p[0] = std::uint8_t(colour >> 16);
  p[1] = std::uint8_t(colour >> 8);
  p[2] = std::uint8_t(colour);
}

// The pixel of a 24-bit image as a COLORREF.
inline COLORREF colourAt(const Image& image, int x, int y) {
  const unsigned char* p = image.PixelAt(x, y);
  return COLORREF(p[2]) | COLORREF(p[1]) << 8 | COLORREF(p[0]) << 16;
}

inline int greyAt(const Image& image, int x, int y) {
  return image.PixelAt(x, y)[0];
}

// The pixel bytes of an 8- or 24-bit image, row padding left out (it is never
// initialised), to tell whether a call changed anything.
inline std::vector<unsigned char> bytesOf(const Image& image) {
  std::vector<unsigned char> out;
  const int rowBytes = image.Width() * image.BitsPerPixel() / 8;
  for (int y = 0; y < image.Height(); ++y) {
    out.insert(out.end(), image.PixelAt(0, y), image.PixelAt(0, y) + rowBytes);
  }
  return out;
}

}  // namespace testimages
