// The host backend's stand-in for the window system's input state.
//
// There is no host window yet, so the cursor, the keys held, the client area's
// place on the screen and the capture are kept here; tests (and later the host
// window, from its events) set them, and the Window.h functions read them.
#pragma once

#include "platform/PlatformTypes.h"

namespace platform::host {

void setKeyDown(int virtualKey, bool down);
void setCursorPos(int x, int y);
// Where the client area's top-left corner is on the screen.
void setClientOrigin(int x, int y);
// The window holding the capture, or null.
WindowHandle captureWindow();
// How often repaintWindow was asked for, so tests can see a repaint request.
int repaintCount();
// Forgets every key, the capture and the counts; the cursor and the client
// origin return to (0, 0).
void resetWindowState();

}  // namespace platform::host
