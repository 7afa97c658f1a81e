// A window for tests that only collects the messages posted to it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/PlatformTypes.h"

struct PostedMessage {
  unsigned message;
  std::intptr_t lParam;
};

class MessageCollector {
 public:
  MessageCollector();
  ~MessageCollector();
  MessageCollector(const MessageCollector&) = delete;
  MessageCollector& operator=(const MessageCollector&) = delete;

  platform::WindowHandle window() const;
  // Everything posted so far, oldest first; the collector is empty afterwards.
  // Call it on the thread that made the collector.
  std::vector<PostedMessage> take();

 private:
  struct State;
  std::unique_ptr<State> state_;
};
