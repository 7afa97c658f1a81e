#include <windows.h>

#include "platform/MessageBox.h"
#include "platform/win32/WideText.h"

namespace platform {

int messageBox(WindowHandle owner, const char* text, const char* caption, unsigned type) {
  return MessageBoxW(static_cast<HWND>(owner), win32::Wide(text).get(), win32::Wide(caption).get(),
                     type);
}

}  // namespace platform
