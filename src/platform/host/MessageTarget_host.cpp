// A queue behind a handle: the worker posts, the creating thread takes.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/MessageTarget.h"
#include "platform/host/MessageSink.h"

namespace platform {

struct MessageTarget::State : host::MessageSink {
  explicit State(Handler h) : handler(std::move(h)) {}
  ~State() override { retire(); }

  bool post(WindowHandle self, unsigned message, std::uintptr_t wParam,
            std::intptr_t lParam) override {
    const Message m{self, message, wParam, lParam};
    if (handler) {
      handler(m);
      return true;
    }
    {
      std::lock_guard<std::mutex> hold(lock);
      messages.push_back(m);
    }
    arrived.notify_one();
    return true;
  }

  Handler handler;
  std::mutex lock;
  std::condition_variable arrived;
  std::deque<Message> messages;
};

MessageTarget::MessageTarget() : state_(new State(nullptr)) {}

MessageTarget::MessageTarget(Handler handler) : state_(new State(std::move(handler))) {}

MessageTarget::~MessageTarget() = default;

bool MessageTarget::valid() const {
  return true;
}

WindowHandle MessageTarget::handle() const {
  return state_->handle();
}

bool MessageTarget::take(Message& out, unsigned timeoutMs) {
  if (state_->handler) return false;
  std::unique_lock<std::mutex> hold(state_->lock);
  if (!state_->arrived.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                [&] { return !state_->messages.empty(); })) {
    return false;
  }
  out = state_->messages.front();
  state_->messages.pop_front();
  return true;
}

}  // namespace platform
