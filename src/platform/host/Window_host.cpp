// The host window: an SDL window without border or caption, behind the Window.h
// calls, and the input state that its events feed.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/WinDefs.h"
#include "platform/Window.h"
#include "platform/host/HostWindow.h"
#include "platform/host/HostWindowState.h"

namespace platform {

namespace {

constexpr int kVideoTries = 3;

struct State {
  std::mutex mutex;
  bool keys[256] = {};
  int cursorX = 0, cursorY = 0;
  int originX = 0, originY = 0;
  WindowHandle capture = nullptr;
  int repaints = 0;
  int cursorQueries = 0;
};

State& state() {
  static State s;
  return s;
}

std::vector<host::WindowClass>& classes() {
  static std::vector<host::WindowClass> list;
  return list;
}

std::deque<host::HostWindow*>& windows() {
  static std::deque<host::HostWindow*> list;
  return list;
}

bool videoUp = false;

std::intptr_t send(host::HostWindow* w, unsigned message, std::uintptr_t wParam,
                   std::intptr_t lParam) {
  return w->windowClass.proc(w->handle(), message, wParam, lParam);
}

// The SDL video drivers that have no real screen and mouse behind them.
bool headlessVideo() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver == nullptr || std::strcmp(driver, "dummy") == 0 ||
         std::strcmp(driver, "offscreen") == 0;
}

// The end of every window: WM_NCDESTROY, then the handle dies.
void discard(host::HostWindow* w) {
  w->destroying = true;
  const WindowHandle window = w->handle();
  if (getCapture() == window) releaseCapture();
  send(w, WM_NCDESTROY, 0, 0);
  w->retire();
  host::dropPosted(window);
  windows().erase(std::find(windows().begin(), windows().end(), w));
  SDL_DestroyWindow(w->sdl);
  delete w;
}

}  // namespace

namespace host {

HostWindow::HostWindow(const WindowClass& c, SDL_Window* window) : windowClass(c), sdl(window) {
  dc.window = window;
}

HostWindow::~HostWindow() {
  retire();
}

bool ensureVideo() {
  if (videoUp) return true;
  // Ctrl+C and kill end the program as they would any other; the close request
  // of the window is its WM_CLOSE, and a click on the inactive window is still a
  // click (the buttons act on the press).
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // A loaded X server now and then turns a connection away; a second and third
  // try come before the program gives up. The fatal box then says only that the
  // program cannot start; the cause goes to the terminal for whoever runs it.
  for (int tries = 1; SDL_InitSubSystem(SDL_INIT_VIDEO) != 0; ++tries) {
    if (tries == kVideoTries) {
      std::fprintf(stderr, "no video: %s\n", SDL_GetError());
      return false;
    }
    SDL_Delay(200);
  }
  videoUp = true;
  markerEventType();
  return true;
}

bool videoStarted() {
  return videoUp;
}

HostWindow* findWindow(WindowHandle window) {
  if (window == nullptr) return nullptr;
  for (HostWindow* w : windows()) {
    if (w->handle() == window) return w;
  }
  return nullptr;
}

HostWindow* windowFromId(std::uint32_t sdlWindowId) {
  SDL_Window* sdl = SDL_GetWindowFromID(sdlWindowId);
  if (sdl == nullptr) return nullptr;
  for (HostWindow* w : windows()) {
    if (w->sdl == sdl) return w;
  }
  return nullptr;
}

const std::deque<HostWindow*>& liveWindows() {
  return windows();
}

void noteCursor(int screenX, int screenY) {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().cursorX = screenX;
  state().cursorY = screenY;
}

void setCaptureWindow(WindowHandle window) {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().capture = window;
}

void windowOrigin(HostWindow* window, int& x, int& y) {
  x = window->x;
  y = window->y;
}

bool DoubleClickRule::press(int button, int x, int y, std::uint32_t timeMs) {
  const int halfWidth = getSystemMetrics(SM_CXDOUBLECLK) / 2;
  const int halfHeight = getSystemMetrics(SM_CYDOUBLECLK) / 2;
  const bool twice = armed_ && button == button_ && timeMs - time_ <= 500 &&
                     std::abs(x - x_) <= halfWidth && std::abs(y - y_) <= halfHeight;
  armed_ = !twice;
  button_ = button;
  x_ = x;
  y_ = y;
  time_ = timeMs;
  return twice;
}

}  // namespace host

bool registerWindowClass(const char* className, unsigned classStyle, WindowProc proc, ModuleHandle,
                         int extraBytes, IconHandle, CursorHandle) {
  if (className == nullptr || proc == nullptr || extraBytes < 0) return false;
  for (const host::WindowClass& c : classes()) {
    if (c.name == className) return false;
  }
  classes().push_back({className, classStyle, proc});
  return true;
}

bool unregisterWindowClass(const char* className, ModuleHandle) {
  if (className == nullptr) return false;
  const auto c = std::find_if(classes().begin(), classes().end(),
                              [&](const host::WindowClass& k) { return k.name == className; });
  if (c == classes().end()) return false;
  for (const host::HostWindow* w : windows()) {
    if (w->windowClass.name == className) return false;
  }
  classes().erase(c);
  return true;
}

WindowHandle createWindow(unsigned, const char* className, const char* title, unsigned style, int x,
                          int y, int width, int height, WindowHandle, ModuleHandle) {
  if (className == nullptr || width <= 0 || height <= 0) return nullptr;
  const auto c = std::find_if(classes().begin(), classes().end(),
                              [&](const host::WindowClass& k) { return k.name == className; });
  if (c == classes().end() || !host::ensureVideo()) return nullptr;
  SDL_Window* sdl = SDL_CreateWindow(host::ansiToUtf8(title != nullptr ? title : "").c_str(), x, y,
                                     width, height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
  if (sdl == nullptr) {
    std::fprintf(stderr, "no window: %s\n", SDL_GetError());
    return nullptr;
  }
  auto* w = new host::HostWindow(*c, sdl);
  w->x = x;
  w->y = y;
  windows().push_back(w);
  const WindowHandle handle = w->handle();

  // The creation messages, in Windows' order.
  MinMaxInfo limits = {};
  limits.ptMaxSize = {getSystemMetrics(SM_CXSCREEN), getSystemMetrics(SM_CYSCREEN)};
  limits.ptMaxTrackSize = limits.ptMaxSize;
  send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<std::intptr_t>(&limits));
  if (host::findWindow(handle) == nullptr) return nullptr;
  if (send(w, WM_NCCREATE, 0, 0) == 0) {
    if (host::findWindow(handle) != nullptr) discard(w);
    return nullptr;
  }
  if (host::findWindow(handle) == nullptr) return nullptr;
  if (send(w, WM_CREATE, 0, 0) == -1) {
    if (host::findWindow(handle) != nullptr) discard(w);
    return nullptr;
  }
  if (host::findWindow(handle) == nullptr) return nullptr;
  if ((style & WS_VISIBLE) != 0) showWindow(handle, SW_SHOWNORMAL);
  return handle;
}

bool destroyWindow(WindowHandle window) {
  host::HostWindow* w = host::findWindow(window);
  if (w == nullptr || w->destroying) return false;
  w->destroying = true;
  send(w, WM_DESTROY, 0, 0);
  discard(w);
  return true;
}

std::intptr_t defWindowProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
  host::HostWindow* w = host::findWindow(window);
  if (w == nullptr) return 0;
  switch (message) {
    case WM_SETICON: {
      // SDL shows one icon; the big one is the one a window list shows.
      void*& slot = wParam == ICON_BIG ? w->bigIcon : w->smallIcon;
      void* previous = slot;
      slot = reinterpret_cast<void*>(lParam);
      if (wParam == ICON_BIG && slot != nullptr) {
        SDL_SetWindowIcon(w->sdl, static_cast<SDL_Surface*>(slot));
      }
      return reinterpret_cast<std::intptr_t>(previous);
    }
    case WM_CLOSE:
      destroyWindow(window);
      return 0;
    case WM_NCCREATE:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_ACTIVATE;
    case WM_PAINT:
      w->needsPaint = false;
      return 0;
    default:
      return 0;
  }
}

void setWindowUserData(WindowHandle window, void* data) {
  if (host::HostWindow* w = host::findWindow(window)) w->userData = data;
}

void* getWindowUserData(WindowHandle window) {
  host::HostWindow* w = host::findWindow(window);
  return w != nullptr ? w->userData : nullptr;
}

bool getWindowRect(WindowHandle window, Rect& out) {
  host::HostWindow* w = host::findWindow(window);
  if (w == nullptr) return false;
  int width, height;
  SDL_GetWindowSize(w->sdl, &width, &height);
  out = {w->x, w->y, w->x + width, w->y + height};
  return true;
}

bool setWindowPos(WindowHandle window, int x, int y, int width, int height, unsigned flags) {
  host::HostWindow* w = host::findWindow(window);
  if (w == nullptr) return false;
  if ((flags & SWP_NOMOVE) == 0) {
    w->x = x;
    w->y = y;
    SDL_SetWindowPosition(w->sdl, x, y);
  }
  if ((flags & SWP_NOSIZE) == 0 && width > 0 && height > 0) {
    int oldWidth, oldHeight;
    SDL_GetWindowSize(w->sdl, &oldWidth, &oldHeight);
    if (width != oldWidth || height != oldHeight) {
      SDL_SetWindowSize(w->sdl, width, height);
      w->painted = false;  // a new surface, empty until painted
      send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    }
  }
  return true;
}

bool moveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) {
  if (!setWindowPos(window, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE)) return false;
  host::HostWindow* w = host::findWindow(window);
  if (w != nullptr && repaint && w->visible) w->needsPaint = true;
  return true;
}

bool showWindow(WindowHandle window, int command) {
  host::HostWindow* w = host::findWindow(window);
  if (w == nullptr) return false;
  const bool wasVisible = w->visible;
  switch (command) {
    case SW_HIDE:
      SDL_HideWindow(w->sdl);
      w->visible = false;
      break;
    case SW_MINIMIZE:
      SDL_MinimizeWindow(w->sdl);
      break;
    case SW_RESTORE:
      SDL_RestoreWindow(w->sdl);
      [[fallthrough]];
    default:
      if (!wasVisible) {
        // X11 may put a window that was moved while hidden back where it was
        // made: the place it was given is given again once it is mapped.
        SDL_ShowWindow(w->sdl);
        SDL_SetWindowPosition(w->sdl, w->x, w->y);
        w->visible = true;
        w->needsPaint = true;
        // A frame painted while hidden is shown at once, so the window never
        // appears black before its first WM_PAINT.
        if (w->painted) SDL_UpdateWindowSurface(w->sdl);
      }
      break;
  }
  return wasVisible;
}

int getSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
      SDL_DisplayMode mode;
      if (!host::ensureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
      return index == SM_CXSCREEN ? mode.w : mode.h;
    }
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    default:
      return 0;
  }
}

WindowHandle windowFromPoint(int x, int y) {
  // SDL knows no stacking order: the newest window under the point that the
  // mouse has not left.
  const auto& list = windows();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    host::HostWindow* w = *it;
    Rect r;
    if (!w->visible || !w->mouseInside || !getWindowRect(w->handle(), r)) continue;
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return w->handle();
  }
  return nullptr;
}

bool setCapture(WindowHandle window) {
  if (window == nullptr) return false;
  // Only a real display can follow the mouse outside the window; the capture is
  // kept all the same, so messages go to the window.
  if (host::findWindow(window) != nullptr && host::videoStarted()) SDL_CaptureMouse(SDL_TRUE);
  host::setCaptureWindow(window);
  return true;
}

bool releaseCapture() {
  if (host::videoStarted()) SDL_CaptureMouse(SDL_FALSE);
  host::setCaptureWindow(nullptr);
  return true;
}

WindowHandle getCapture() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().capture;
}

bool getCursorPos(int& x, int& y) {
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    ++state().cursorQueries;
  }
  // With a real display the pointer's position is asked for, as GetCursorPos
  // asks the window system: during a drag the window moves under it.
  if (host::videoStarted() && !headlessVideo()) {
    SDL_GetGlobalMouseState(&x, &y);
    return true;
  }
  std::lock_guard<std::mutex> lock(state().mutex);
  x = state().cursorX;
  y = state().cursorY;
  return true;
}

bool screenToClient(WindowHandle window, int& x, int& y) {
  if (window == nullptr) return false;
  int originX, originY;
  if (host::HostWindow* w = host::findWindow(window)) {
    host::windowOrigin(w, originX, originY);
  } else {
    std::lock_guard<std::mutex> lock(state().mutex);
    originX = state().originX;
    originY = state().originY;
  }
  x -= originX;
  y -= originY;
  return true;
}

bool clientToScreen(WindowHandle window, int& x, int& y) {
  if (window == nullptr) return false;
  int originX, originY;
  if (host::HostWindow* w = host::findWindow(window)) {
    host::windowOrigin(w, originX, originY);
  } else {
    std::lock_guard<std::mutex> lock(state().mutex);
    originX = state().originX;
    originY = state().originY;
  }
  x += originX;
  y += originY;
  return true;
}

short getKeyState(int virtualKey) {
  std::lock_guard<std::mutex> lock(state().mutex);
  const bool down = virtualKey >= 0 && virtualKey < 256 && state().keys[virtualKey];
  return down ? short(-128) : short(0);
}

bool repaintWindow(WindowHandle window) {
  if (window == nullptr) return false;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    ++state().repaints;
  }
  // Handles that are not host windows belong to tests of widgets without a window.
  host::HostWindow* w = host::findWindow(window);
  if (w == nullptr) return true;
  w->needsPaint = true;
  send(w, WM_PAINT, 0, 0);
  return true;
}

namespace host {

void setKeyDown(int virtualKey, bool down) {
  std::lock_guard<std::mutex> lock(state().mutex);
  if (virtualKey >= 0 && virtualKey < 256) state().keys[virtualKey] = down;
}

void setCursorPos(int x, int y) {
  noteCursor(x, y);
}

void setClientOrigin(int x, int y) {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().originX = x;
  state().originY = y;
}

WindowHandle captureWindow() {
  return getCapture();
}

int repaintCount() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().repaints;
}

int cursorQueryCount() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().cursorQueries;
}

void resetWindowState() {
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    for (bool& key : state().keys) key = false;
    state().cursorX = state().cursorY = 0;
    state().originX = state().originY = 0;
    state().capture = nullptr;
    state().repaints = 0;
    state().cursorQueries = 0;
  }
  clearMessageBoxAnswers();
}

}  // namespace host

}  // namespace platform
