#include <windows.h>

#include <cstring>

#include "platform/MemoryCanvas.h"

MemoryCanvas::MemoryCanvas(int width, int height, unsigned char background)
    : width_(width), height_(height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, so row y is simply row y
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) {
    DeleteDC(dc);
    return;
  }
  dc_ = dc;
  bitmap_ = bitmap;
  previous_ = SelectObject(dc, bitmap);
  bits_ = static_cast<unsigned char*>(bits);
  std::memset(bits_, background, std::size_t((width * 3 + 3) / 4 * 4 * height));
}

MemoryCanvas::~MemoryCanvas() {
  if (dc_ == nullptr) return;
  SelectObject(static_cast<HDC>(dc_), static_cast<HGDIOBJ>(previous_));
  DeleteObject(static_cast<HBITMAP>(bitmap_));
  DeleteDC(static_cast<HDC>(dc_));
}

std::uint32_t MemoryCanvas::PixelAt(int x, int y) const {
  GdiFlush();
  const unsigned char* p = bits_ + std::size_t(y * ((width_ * 3 + 3) / 4 * 4) + x * 3);
  return RGB(p[2], p[1], p[0]);
}
