// A memory device context over a 24-bit DIB section, for tests that paint and read
// back what arrived. Windows only; this header keeps <windows.h> out of the tests.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

class MemoryCanvas {
 public:
  // Every byte of the canvas starts as `background`.
  MemoryCanvas(int width, int height, unsigned char background);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  // Null when the canvas could not be made.
  platform::DeviceContext Dc() const { return dc_; }

  // Pixel (x, y), y from the top, as 0x00BBGGRR, once all drawing has arrived.
  std::uint32_t PixelAt(int x, int y) const;

 private:
  int width_;
  int height_;
  platform::DeviceContext dc_ = nullptr;
  void* bitmap_ = nullptr;
  void* previous_ = nullptr;
  unsigned char* bits_ = nullptr;
};
