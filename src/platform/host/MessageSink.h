// What a window handle is on the host: something that takes posted messages (an
// SDL window, which queues them for the message loop, or a MessageTarget). Only
// handles of live sinks are posted to; a dead or foreign handle fails, as
// PostMessageA to a destroyed window does.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace platform::host {

class MessageSink {
 public:
  MessageSink();
  virtual ~MessageSink();
  MessageSink(const MessageSink&) = delete;
  MessageSink& operator=(const MessageSink&) = delete;

  WindowHandle handle() { return static_cast<MessageSink*>(this); }

  // Called on the posting thread, with no sink being destroyed meanwhile; must be
  // safe to call from any thread.
  virtual bool post(WindowHandle self, unsigned message, std::uintptr_t wParam,
                    std::intptr_t lParam) = 0;

  // Ends posting to this sink; call it first in the destructor of a derived class
  // whose post() uses its members. Idempotent.
  void retire();
};

// Posts to the live sink behind `window`; false for anything else.
bool postToSink(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace platform::host
