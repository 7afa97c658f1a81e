#include <windows.h>

#include "platform/Window.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

using win32::Wide;

HWND hwnd(WindowHandle window) {
  return static_cast<HWND>(window);
}

}  // namespace

bool registerWindowClass(const char* className, unsigned classStyle, WindowProc proc,
                         ModuleHandle module, int extraBytes, IconHandle icon,
                         CursorHandle cursor) {
  if (className == nullptr || proc == nullptr) return false;
  // A Unicode class: the window's text is then kept as UTF-16, and neither
  // setting it nor the title bar reads it through the system's code page.
  const Wide name(className);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = classStyle;
  // WindowProc is WNDPROC with the parameter types spelled portably; on both
  // Windows targets they are the same integer types.
  wc.lpfnWndProc = reinterpret_cast<WNDPROC>(proc);
  wc.cbWndExtra = extraBytes;
  wc.hInstance = static_cast<HINSTANCE>(module);
  wc.hIcon = static_cast<HICON>(icon);
  wc.hCursor = static_cast<HCURSOR>(cursor);
  wc.lpszClassName = name.get();
  return RegisterClassExW(&wc) != 0;
}

bool unregisterWindowClass(const char* className, ModuleHandle module) {
  if (className == nullptr) return false;
  return UnregisterClassW(Wide(className).get(), static_cast<HINSTANCE>(module)) != FALSE;
}

WindowHandle createWindow(unsigned exStyle, const char* className, const char* title,
                          unsigned style, int x, int y, int width, int height, WindowHandle parent,
                          ModuleHandle module) {
  return CreateWindowExW(exStyle, Wide(className).get(), Wide(title).get(), style, x, y, width,
                         height, hwnd(parent), nullptr, static_cast<HINSTANCE>(module), nullptr);
}

bool destroyWindow(WindowHandle window) {
  return window != nullptr && DestroyWindow(hwnd(window)) != FALSE;
}

std::intptr_t defWindowProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
  return DefWindowProcW(hwnd(window), message, wParam, lParam);
}

void setWindowUserData(WindowHandle window, void* data) {
  if (window != nullptr) SetWindowLongPtrW(hwnd(window), GWLP_USERDATA, LONG_PTR(data));
}

void* getWindowUserData(WindowHandle window) {
  if (window == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetWindowLongPtrW(hwnd(window), GWLP_USERDATA));
}

bool getWindowRect(WindowHandle window, Rect& out) {
  RECT r;
  if (window == nullptr || !GetWindowRect(hwnd(window), &r)) return false;
  out = {int(r.left), int(r.top), int(r.right), int(r.bottom)};
  return true;
}

bool moveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) {
  return window != nullptr && MoveWindow(hwnd(window), x, y, width, height, repaint) != FALSE;
}

bool setWindowPos(WindowHandle window, int x, int y, int width, int height, unsigned flags) {
  return window != nullptr &&
         SetWindowPos(hwnd(window), nullptr, x, y, width, height, flags) != FALSE;
}

bool showWindow(WindowHandle window, int command) {
  return ShowWindow(hwnd(window), command) != FALSE;
}

int getSystemMetrics(int index) {
  return GetSystemMetrics(index);
}

WindowHandle windowFromPoint(int x, int y) {
  POINT p = {x, y};
  return WindowFromPoint(p);
}

bool setCapture(WindowHandle window) {
  if (window == nullptr) return false;
  SetCapture(hwnd(window));
  return true;
}

bool releaseCapture() {
  return ReleaseCapture() != FALSE;
}

WindowHandle getCapture() {
  return GetCapture();
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
  if (window == nullptr || !ScreenToClient(hwnd(window), &p)) return false;
  x = p.x;
  y = p.y;
  return true;
}

bool clientToScreen(WindowHandle window, int& x, int& y) {
  POINT p = {x, y};
  if (window == nullptr || !ClientToScreen(hwnd(window), &p)) return false;
  x = p.x;
  y = p.y;
  return true;
}

short getKeyState(int virtualKey) {
  return GetKeyState(virtualKey);
}

bool repaintWindow(WindowHandle window) {
  if (window == nullptr) return false;
  return InvalidateRect(hwnd(window), nullptr, FALSE) != FALSE &&
         UpdateWindow(hwnd(window)) != FALSE;
}

}  // namespace platform
