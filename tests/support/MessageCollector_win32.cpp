// A message-only window: posted messages wait in this thread's queue until taken.
#include <windows.h>

#include "support/MessageCollector.h"

struct MessageCollector::State {
  HWND window = nullptr;
};

MessageCollector::MessageCollector() : state_(new State) {
  state_->window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
}

MessageCollector::~MessageCollector() {
  if (state_->window != nullptr) DestroyWindow(state_->window);
}

platform::WindowHandle MessageCollector::window() const {
  return state_->window;
}

std::vector<PostedMessage> MessageCollector::take() {
  std::vector<PostedMessage> out;
  MSG msg;
  while (PeekMessageA(&msg, state_->window, 0, 0, PM_REMOVE)) {
    if (msg.message >= WM_USER) out.push_back({msg.message, msg.lParam});
  }
  return out;
}
