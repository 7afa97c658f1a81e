// What the widgets ask of the window besides posting messages: mouse capture,
// the cursor, the state of keys and mouse buttons, and repainting.
#pragma once

#include "platform/PlatformTypes.h"

namespace platform {

// Sends the mouse to `window` until releaseCapture. False when it failed.
bool setCapture(WindowHandle window);
bool releaseCapture();

// The cursor's position in screen coordinates. False when it is not known.
bool getCursorPos(int& x, int& y);

// Turns a screen point into the window's client coordinates, in place. False,
// with the point unchanged, for a missing window.
bool screenToClient(WindowHandle window, int& x, int& y);

// The reverse: a client point of the window into screen coordinates.
bool clientToScreen(WindowHandle window, int& x, int& y);

// The GetKeyState answer for a virtual key: negative (bit 15 set) while it is
// held down.
short getKeyState(int virtualKey);

// Marks the whole client area for repainting, without erasing, and paints it at
// once. False for a missing window.
bool repaintWindow(WindowHandle window);

}  // namespace platform
