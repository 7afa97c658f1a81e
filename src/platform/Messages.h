// Posting window messages, the one way the install worker talks to the window.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace platform {

// Queues `message` for `window` and returns at once. False when it could not be
// posted.
bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                 std::intptr_t lParam);

}  // namespace platform
