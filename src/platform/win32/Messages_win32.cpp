#include <windows.h>

#include "platform/Messages.h"

namespace platform {

bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                 std::intptr_t lParam) {
  return PostMessageA(static_cast<HWND>(window), message, wParam, lParam) != FALSE;
}

}  // namespace platform
