// The collector is a MessageTarget whose queue is emptied on demand.
#include "support/MessageCollector.h"

#include "platform/MessageTarget.h"
#include "platform/WinDefs.h"

struct MessageCollector::State {
  platform::MessageTarget target;
};

MessageCollector::MessageCollector() : state_(new State) {}
MessageCollector::~MessageCollector() = default;

platform::WindowHandle MessageCollector::window() const {
  return state_->target.handle();
}

std::vector<PostedMessage> MessageCollector::take() {
  std::vector<PostedMessage> out;
  platform::Message m;
  while (state_->target.take(m, 0)) {
    if (m.message >= WM_USER) out.push_back({m.message, m.lParam});
  }
  return out;
}
