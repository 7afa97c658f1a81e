#include "platform/ErrorText.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace platform {

int systemErrorText(unsigned long code, char* text, int size) {
  if (text == nullptr || size <= 0) return 0;
  text[0] = '\0';
  wchar_t wide[512];
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     wide, sizeof wide / sizeof wide[0], nullptr);
  if (length == 0) return 0;
  int written = win32::narrowLossy(wide, text, size);
  if (written < 0) return 0;
  while (written > 0 &&
         (text[written - 1] == '\n' || text[written - 1] == '\r' || text[written - 1] == ' ')) {
    text[--written] = '\0';
  }
  return written;
}

}  // namespace platform
