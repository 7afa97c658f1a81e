#include <windows.h>

#include "platform/MessageBox.h"

namespace platform {

int messageBox(WindowHandle owner, const char* text, const char* caption, unsigned type) {
  return MessageBoxA(static_cast<HWND>(owner), text, caption, type);
}

}  // namespace platform
