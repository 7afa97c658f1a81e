// What a window handle is on the host: something that takes posted messages. The
// SDL window queues them for its loop; a tool may handle them as they come.
#pragma once

#include <cstdint>

namespace platform::host {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Called on the posting thread; must be safe to call from any thread.
  virtual bool post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace platform::host
