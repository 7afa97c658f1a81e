#include "platform/Messages.h"
#include "platform/host/MessageSink.h"

namespace platform {

bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                 std::intptr_t lParam) {
  if (window == nullptr) return false;
  return static_cast<host::MessageSink*>(window)->post(message, wParam, lParam);
}

}  // namespace platform
