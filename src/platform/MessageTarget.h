// A window handle that only receives posted messages, for runs without a user
// interface (the kpack install command, tests of the worker): what the worker
// posts to the program's window, it can post to a MessageTarget's handle instead.
//
// Windows: a message-only window (HWND_MESSAGE) of the creating thread, whose
// messages are taken from that thread's queue. Host: a thread-safe queue behind
// the handle.
#pragma once

#include <functional>
#include <memory>

#include "platform/Messages.h"

namespace platform {

class MessageTarget {
 public:
  // Called on the posting thread, inside postMessage, for each message in turn.
  using Handler = std::function<void(const Message&)>;

  // Posted messages wait, in order, until take() on the creating thread.
  MessageTarget();
  // Posted messages are not queued but handed to `handler` at once, on the posting
  // thread, so the poster continues only after it returned. Only the host can do
  // that (the Windows message queue is always asynchronous): on Windows the target
  // is not valid.
  explicit MessageTarget(Handler handler);
  ~MessageTarget();
  MessageTarget(const MessageTarget&) = delete;
  MessageTarget& operator=(const MessageTarget&) = delete;

  // False when the target could not be made; handle() is then null and every
  // postMessage to it fails.
  bool valid() const;
  // The handle to post to; dead once the target is destroyed.
  WindowHandle handle() const;

  // Takes the oldest message posted to this target, waiting up to `timeoutMs` for
  // one (0: only what is already there). Call it on the creating thread. False,
  // with `out` unchanged, when none came in time, and always for a handler target.
  bool take(Message& out, unsigned timeoutMs);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
