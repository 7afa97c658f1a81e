// The window: its class, creation and destruction, the window procedure and its
// default, placement, mouse capture, the cursor, key state and repainting.
//
// The numbers (messages, styles, SW_, SM_, SWP_ values) are those of WinDefs.h.
// On the host the window is an SDL window without border or caption whose events
// arrive as the same WM_ messages with the parameters Windows gives them.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace platform {

// A window procedure, called for every message sent or dispatched to a window of
// its class, with Windows' parameters.
using WindowProc = std::intptr_t (*)(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam);

// A rectangle, right and bottom exclusive (a RECT).
struct Rect {
  int left, top, right, bottom;
};

// The rectangle arithmetic of user32, the same on every system: OffsetRect,
// EqualRect and PtInRect (left and top inside, right and bottom outside).
inline void offsetRect(Rect& r, int dx, int dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
}
inline bool equalRect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool ptInRect(const Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Registers a window class for createWindow (RegisterClassExW): class style (CS_
// values), procedure, `extraBytes` window bytes, icon and cursor (either may be
// null), no background brush and no menu. False when it fails, also when the
// class is already registered or proc or className is missing.
bool registerWindowClass(const char* className, unsigned classStyle, WindowProc proc,
                         ModuleHandle module, int extraBytes, IconHandle icon, CursorHandle cursor);

// Removes a class registered by registerWindowClass (UnregisterClassW), so it can
// be registered again. False when the class is unknown or a window of it still
// exists.
bool unregisterWindowClass(const char* className, ModuleHandle module);

// Creates a window of a registered class (CreateWindowExW, no menu, no creation
// parameter). The procedure receives the creation messages before this returns,
// as on Windows: WM_GETMINMAXINFO, WM_NCCREATE and WM_CREATE (on the host their
// lParam is 0, never a CREATESTRUCT), so the caller can attach its object from a
// slot it filled before the call. A window without WS_VISIBLE stays hidden until
// showWindow. Null when it fails: unknown class, or the procedure answered
// WM_NCCREATE with 0 or WM_CREATE with -1 (it then sees WM_NCDESTROY, as under
// Wine; the window never lived, so there is no WM_DESTROY).
WindowHandle createWindow(unsigned exStyle, const char* className, const char* title,
                          unsigned style, int x, int y, int width, int height, WindowHandle parent,
                          ModuleHandle module);

// Destroys the window: its procedure receives WM_DESTROY, then WM_NCDESTROY, and
// the handle is dead afterwards; messages still queued for it are dropped. False
// for a null or dead handle.
bool destroyWindow(WindowHandle window);

// The default processing of a message (DefWindowProcW). WM_CLOSE destroys the
// window; WM_MOUSEACTIVATE answers MA_ACTIVATE; WM_PAINT validates the window;
// WM_SETICON sets the icon and answers the previous one of that size; WM_NCCREATE
// answers 1; everything else answers 0.
std::intptr_t defWindowProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam);

// The pointer kept with the window for its owner (GWL_USERDATA); null until set,
// and null for a missing window.
void setWindowUserData(WindowHandle window, void* data);
void* getWindowUserData(WindowHandle window);

// The window's rectangle on the screen (GetWindowRect). False, with `out`
// unchanged, for a missing window.
bool getWindowRect(WindowHandle window, Rect& out);

// Moves and sizes the window (MoveWindow). With `repaint` the window is
// invalidated, so a WM_PAINT follows from the queue. False for a missing window.
bool moveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint);

// Places the window (SetWindowPos without an insert-after window): `flags` are
// SWP_ values; SWP_NOMOVE and SWP_NOSIZE keep the position or the size. False for
// a missing window.
bool setWindowPos(WindowHandle window, int x, int y, int width, int height, unsigned flags);

// Shows, hides, minimises or restores the window (`command` an SW_ value). As
// ShowWindow, the answer is whether the window was visible before, not success.
bool showWindow(WindowHandle window, int command);

// A system measure (`index` an SM_ value): the screen size, the icon sizes, the
// double-click rectangle. 0 for an unknown index or when it cannot be had.
int getSystemMetrics(int index);

// The program's window at a screen point, or null when the point is on none of
// them (another program's window, the desktop, outside every screen).
WindowHandle windowFromPoint(int x, int y);

// Sends the mouse to `window` until releaseCapture: mouse messages reach it even
// while the cursor is outside. False when it failed.
bool setCapture(WindowHandle window);
bool releaseCapture();
// The window holding the capture, or null.
WindowHandle getCapture();

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
// once: the window procedure receives WM_PAINT before this returns (InvalidateRect
// and UpdateWindow). Windows paints a hidden window only once it is shown; the
// host paints it at once. False for a missing window.
bool repaintWindow(WindowHandle window);

}  // namespace platform
