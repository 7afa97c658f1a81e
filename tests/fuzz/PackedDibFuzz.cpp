// Any bytes at all as a packed DIB, and a few operations on what loads.
#include <cstddef>
#include <cstdint>

#include "render/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Image image;
  if (!image.LoadPackedDib(data, std::uint32_t(size))) {
    if (image.HasPixels()) __builtin_trap();  // a failed load leaves the image empty
    return 0;
  }
  if (image.PixelBytes() != std::uint32_t(image.Stride()) * std::uint32_t(image.Height())) {
    __builtin_trap();
  }
  image.NonZeroBounds();
  image.Crop(Rect{1, 1, image.Width() - 1, image.Height() - 1});
  return 0;
}
