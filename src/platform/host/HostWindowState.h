// The host backend's window-system state that tests reach into.
//
// The cursor, the keys held and the capture are fed by the SDL windows' events;
// tests may also set them directly, and widget tests that have no window use a
// client origin of their own. Message boxes can be answered from a queue, and the
// pixels shown in a window read back, so that no test needs a display (SDL's
// dummy video driver, SDL_VIDEODRIVER=dummy).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PlatformTypes.h"

namespace platform::host {

void setKeyDown(int virtualKey, bool down);
void setCursorPos(int x, int y);
// Where the client area's top-left corner is on the screen, for handles that are
// not host windows (a live host window's own position is used for it).
void setClientOrigin(int x, int y);
// The window holding the capture, or null.
WindowHandle captureWindow();
// How often repaintWindow was asked for, so tests can see a repaint request.
int repaintCount();
// How often the cursor's position was asked for (getCursorPos).
int cursorQueryCount();
// Forgets every key, the capture, the counts and the queued message-box answers;
// the cursor and the client origin return to (0, 0).
void resetWindowState();

// Message boxes: while answers are queued, messageBox records the box and returns
// the next answer instead of showing anything.
struct ShownMessageBox {
  WindowHandle owner;
  std::string text;
  std::string caption;
  unsigned type;
};
void queueMessageBoxAnswer(int answer);
// The boxes answered from the queue so far, oldest first; forgets them.
std::vector<ShownMessageBox> takeShownMessageBoxes();

// The colour shown at client point (x, y) of a window, as 0x00RRGGBB. False for a
// missing window or a point outside it.
bool readWindowPixel(WindowHandle window, int x, int y, std::uint32_t& rgb);

// Puts a mouse button press or release (button 1 left, 2 middle, 3 right) or a
// motion at client point (x, y) of the window into the SDL event queue, as SDL
// would from the window system; peekMessage turns it into messages.
bool pushMouseButton(WindowHandle window, int button, bool down, int x, int y);
bool pushMouseMotion(WindowHandle window, int x, int y);
// A turn of the wheel by `notches` (positive: away from the user) with the cursor
// at client point (x, y).
bool pushMouseWheel(WindowHandle window, int notches, int x, int y);
// Puts a key press or release (an SDL key code) or typed UTF-8 text into the SDL
// event queue.
bool pushKey(WindowHandle window, int sdlKeyCode, bool down);
bool pushText(WindowHandle window, const char* utf8);

// Windows' double-click rule, kept per window: a press of the same button within
// `intervalMs` of the last one and within the double-click rectangle around it
// (at most half of SM_CXDOUBLECLK / SM_CYDOUBLECLK away on each axis) is a double
// click; the press after a double click starts anew.
class DoubleClickRule {
 public:
  // True when this press (time in milliseconds) completes a double click.
  bool press(int button, int x, int y, std::uint32_t timeMs);

 private:
  bool armed_ = false;
  int button_ = 0;
  int x_ = 0, y_ = 0;
  std::uint32_t time_ = 0;
};

}  // namespace platform::host
