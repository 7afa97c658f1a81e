#include <windows.h>

#include "support/WindowProbe.h"

bool readShownPixel(platform::WindowHandle window, int x, int y, std::uint32_t& rgb) {
  const HWND hwnd = static_cast<HWND>(window);
  const HDC dc = GetDC(hwnd);
  if (dc == nullptr) return false;
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  if (c == CLR_INVALID) return false;
  rgb = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  return true;
}

bool windowsCanBeCreated() {
  static const bool can = [] {
    const HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    if (probe != nullptr) DestroyWindow(probe);
    return probe != nullptr;
  }();
  return can;
}
