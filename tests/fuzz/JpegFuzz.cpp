// Any bytes at all as a JPEG: the decoder must decode them or fail, and neither
// crash nor allocate more than a real picture needs.
#include <cstddef>
#include <cstdint>

#include "base/ByteStream.h"
#include "render/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteStream stream;
  if (stream.appendBytes(std::uint32_t(size), data) != S_OK) return 0;
  Image image;
  if (DecodeJpeg(stream, image) &&
      image.PixelBytes() != std::uint32_t(image.Stride()) * std::uint32_t(image.Height())) {
    __builtin_trap();
  }
  return 0;
}
