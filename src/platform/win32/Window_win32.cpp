#include <windows.h>

#include "platform/Window.h"

namespace platform {

bool setCapture(WindowHandle window) {
  if (window == nullptr) return false;
  SetCapture(static_cast<HWND>(window));
  return true;
}

bool releaseCapture() {
  return ReleaseCapture() != FALSE;
}

bool getCursorPos(int& x, int& y) {
  POINT p;
  if (!GetCursorPos(&p)) return false;
  x = p.x;
  y = p.y;
  return true;
}

bool screenToClient(WindowHandle window, int& x, int& y) {
  POINT p = {x, y};
  if (window == nullptr || !ScreenToClient(static_cast<HWND>(window), &p)) return false;
  x = p.x;
  y = p.y;
  return true;
}

bool clientToScreen(WindowHandle window, int& x, int& y) {
  POINT p = {x, y};
  if (window == nullptr || !ClientToScreen(static_cast<HWND>(window), &p)) return false;
  x = p.x;
  y = p.y;
  return true;
}

short getKeyState(int virtualKey) {
  return GetKeyState(virtualKey);
}

bool repaintWindow(WindowHandle window) {
  if (window == nullptr) return false;
  HWND hwnd = static_cast<HWND>(window);
  return InvalidateRect(hwnd, nullptr, FALSE) != FALSE && UpdateWindow(hwnd) != FALSE;
}

}  // namespace platform
