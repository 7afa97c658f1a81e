#include <windows.h>

#include "platform/Display.h"
#include "platform/win32/SystemLibrary.h"

namespace platform {
namespace {

using SetProcessDpiAwarenessContextFn = BOOL(WINAPI*)(HANDLE);
using SetProcessDpiAwarenessFn = HRESULT(WINAPI*)(int);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE, and
// PROCESS_PER_MONITOR_DPI_AWARE and MDT_EFFECTIVE_DPI, which older headers lack.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
constexpr int kProcessPerMonitorAware = 2;
constexpr int kEffectiveDpi = 0;

HMODULE user32() {
  return GetModuleHandleW(L"user32.dll");
}

HMODULE shcore() {
  static const HMODULE module = win32::loadSystemLibrary(L"shcore.dll");
  return module;
}

int deviceDpi() {
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) return kDefaultDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

bool declareScaleAware() {
  using win32::entry;
  if (const auto setContext = entry<SetProcessDpiAwarenessContextFn>(
          user32(), "SetProcessDpiAwarenessContext")) {
    if (setContext(kPerMonitorAwareV2) || setContext(kPerMonitorAware)) return true;
  }
  if (const auto setAwareness = entry<SetProcessDpiAwarenessFn>(shcore(), "SetProcessDpiAwareness")) {
    if (SUCCEEDED(setAwareness(kProcessPerMonitorAware))) return true;
  }
  return SetProcessDPIAware() != FALSE;
}

int displayDpi(WindowHandle window) {
  using win32::entry;
  const HWND hwnd = static_cast<HWND>(window);
  if (hwnd != nullptr) {
    if (const auto forWindow = entry<GetDpiForWindowFn>(user32(), "GetDpiForWindow")) {
      if (const UINT dpi = forWindow(hwnd)) return int(dpi);
    }
    if (const auto forMonitor = entry<GetDpiForMonitorFn>(shcore(), "GetDpiForMonitor")) {
      UINT x = 0, y = 0;
      const HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
      if (SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0) return int(x);
    }
  }
  return deviceDpi();
}

}  // namespace platform
