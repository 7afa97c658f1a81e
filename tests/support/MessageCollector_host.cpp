#include <mutex>

#include "platform/host/MessageSink.h"
#include "support/MessageCollector.h"

struct MessageCollector::State : platform::host::MessageSink {
  bool post(unsigned message, std::uintptr_t, std::intptr_t lParam) override {
    std::lock_guard<std::mutex> hold(lock);
    messages.push_back({message, lParam});
    return true;
  }
  std::mutex lock;
  std::vector<PostedMessage> messages;
};

MessageCollector::MessageCollector() : state_(new State) {}
MessageCollector::~MessageCollector() = default;

platform::WindowHandle MessageCollector::window() const {
  return static_cast<platform::host::MessageSink*>(state_.get());
}

std::vector<PostedMessage> MessageCollector::take() {
  std::lock_guard<std::mutex> hold(state_->lock);
  return std::move(state_->messages);
}
