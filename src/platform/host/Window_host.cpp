#include <mutex>

#include "platform/Window.h"
#include "platform/host/HostWindowState.h"

namespace platform {

namespace {

struct State {
  std::mutex mutex;
  bool keys[256] = {};
  int cursorX = 0, cursorY = 0;
  int originX = 0, originY = 0;
  WindowHandle capture = nullptr;
  int repaints = 0;
};

State& state() {
  static State s;
  return s;
}

}  // namespace

bool setCapture(WindowHandle window) {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().capture = window;
  return window != nullptr;
}

bool releaseCapture() {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().capture = nullptr;
  return true;
}

bool getCursorPos(int& x, int& y) {
  std::lock_guard<std::mutex> lock(state().mutex);
  x = state().cursorX;
  y = state().cursorY;
  return true;
}

bool screenToClient(WindowHandle window, int& x, int& y) {
  if (window == nullptr) return false;
  std::lock_guard<std::mutex> lock(state().mutex);
  x -= state().originX;
  y -= state().originY;
  return true;
}

bool clientToScreen(WindowHandle window, int& x, int& y) {
  if (window == nullptr) return false;
  std::lock_guard<std::mutex> lock(state().mutex);
  x += state().originX;
  y += state().originY;
  return true;
}

short getKeyState(int virtualKey) {
  std::lock_guard<std::mutex> lock(state().mutex);
  const bool down = virtualKey >= 0 && virtualKey < 256 && state().keys[virtualKey];
  return down ? short(-128) : short(0);
}

bool repaintWindow(WindowHandle window) {
  if (window == nullptr) return false;
  std::lock_guard<std::mutex> lock(state().mutex);
  ++state().repaints;
  return true;
}

namespace host {

void setKeyDown(int virtualKey, bool down) {
  std::lock_guard<std::mutex> lock(state().mutex);
  if (virtualKey >= 0 && virtualKey < 256) state().keys[virtualKey] = down;
}

void setCursorPos(int x, int y) {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().cursorX = x;
  state().cursorY = y;
}

void setClientOrigin(int x, int y) {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().originX = x;
  state().originY = y;
}

WindowHandle captureWindow() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().capture;
}

int repaintCount() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().repaints;
}

void resetWindowState() {
  std::lock_guard<std::mutex> lock(state().mutex);
  for (bool& key : state().keys) key = false;
  state().cursorX = state().cursorY = 0;
  state().originX = state().originY = 0;
  state().capture = nullptr;
  state().repaints = 0;
}

}  // namespace host

}  // namespace platform
