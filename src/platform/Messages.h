// The message queue of the user-interface thread: posting (the one way the install
// worker talks to the window), taking, translating and dispatching.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace platform {

// One queued message (the part of a MSG the program reads).
struct Message {
  WindowHandle window;
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

// Queues `message` for `window` and returns at once; safe to call from any
// thread. False when it could not be posted (no such window, queue full).
bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                 std::intptr_t lParam);

// Calls the window's procedure with the message and returns its answer
// (SendMessageW); from the window's own thread the call is direct. 0 for a
// missing window.
std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam);

// Takes the next message of this thread's queue, for any window and of any number,
// without waiting (PeekMessageW with PM_REMOVE). Posted messages and input come
// out in the order they arrived; WM_PAINT comes only when nothing else is
// waiting and a window needs painting; WM_QUIT (wParam the exit code, null
// window) only after postQuitMessage and once the queue is otherwise empty.
// False, with `out` unchanged, when nothing is waiting.
bool peekMessage(Message& out);

// Waits until input or a posted message arrives for this thread, or until
// `milliseconds` have passed (MsgWaitForMultipleObjects with QS_ALLINPUT). Returns
// at once when something is already waiting. The message is left in the queue.
void waitForMessage(unsigned milliseconds);

// Loads accelerator table `id` (LoadAcceleratorsW). Null when there is none, as
// for the id -1 the program passes; the host has no accelerator tables at all.
AcceleratorHandle loadAccelerators(ModuleHandle module, int id);
// Releases a table from loadAccelerators (DestroyAcceleratorTable). False for null.
bool destroyAcceleratorTable(AcceleratorHandle table);
// Turns a key message into the command of `table` for `window` and sends it
// (TranslateAcceleratorW). True when the message was used so, and must then be
// neither translated nor dispatched; false for a null table.
bool translateAccelerator(WindowHandle window, AcceleratorHandle table, const Message& message);

// Turns key messages into character messages (TranslateMessage): a WM_KEYDOWN of
// Enter, Escape, Backspace or Tab queues WM_CHAR 13, 27, 8 or 9, to be taken next.
// Printable text arrives as WM_CHAR on its own (ANSI, one byte a message; a
// character Windows-1252 lacks never arrives).
void translateMessage(const Message& message);

// Hands a taken message to its window's procedure (DispatchMessageW) and returns
// its answer. 0 for a message without a live window.
std::intptr_t dispatchMessage(const Message& message);

// Asks the thread's message loop to end: WM_QUIT with `exitCode` as its wParam
// is taken once the queue is otherwise empty.
void postQuitMessage(int exitCode);

}  // namespace platform
