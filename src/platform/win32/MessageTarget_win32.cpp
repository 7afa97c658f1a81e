#include <windows.h>

#include "platform/MessageTarget.h"

namespace platform {

struct MessageTarget::State {
  HWND window = nullptr;
};

MessageTarget::MessageTarget() : state_(new State) {
  // A message-only window of a system class: it is never shown, takes no
  // broadcasts, and its posted messages wait in this thread's queue.
  state_->window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
}

MessageTarget::MessageTarget(Handler) : state_(new State) {}

MessageTarget::~MessageTarget() {
  if (state_->window != nullptr) DestroyWindow(state_->window);
}

bool MessageTarget::valid() const {
  return state_->window != nullptr;
}

WindowHandle MessageTarget::handle() const {
  return state_->window;
}

bool MessageTarget::take(Message& out, unsigned timeoutMs) {
  if (state_->window == nullptr) return false;
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    if (PeekMessageW(&msg, state_->window, 0, 0, PM_REMOVE)) {
      out = {msg.hwnd, msg.message, msg.wParam, msg.lParam};
      return true;
    }
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeoutMs) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs - waited, QS_POSTMESSAGE,
                                MWMO_INPUTAVAILABLE);
  }
}

}  // namespace platform
