// The host message queue: SDL's event queue, whose events become the WM_ messages
// Windows would send, with messages posted to windows queued in between.
#include <cstring>
#include <deque>
#include <mutex>

#include "platform/Messages.h"
#include "platform/WinDefs.h"
#include "platform/host/HostWindow.h"

namespace platform {

namespace {

// Messages posted to windows; each has one marker event in SDL's queue, so both
// come out in the order they arrived.
struct Posted {
  std::mutex lock;
  std::deque<Message> messages;
};

Posted& posted() {
  static Posted p;
  return p;
}

// What the user-interface thread has taken from SDL but not yet handed out, and
// the characters translateMessage made.
std::deque<Message>& ready() {
  static std::deque<Message> list;
  return list;
}

bool quitPending = false;
int quitCode = 0;
std::uintptr_t mouseButtons = 0;  // MK_ flags of the buttons held

struct KeyName {
  SDL_Keycode key;
  int vk;
};

constexpr KeyName kKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},  {SDLK_TAB, VK_TAB},       {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},    {SDLK_PAGEDOWN, VK_NEXT}, {SDLK_END, VK_END},
    {SDLK_HOME, VK_HOME},       {SDLK_LEFT, VK_LEFT},     {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},     {SDLK_DOWN, VK_DOWN},     {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},   {SDLK_LSHIFT, VK_SHIFT},  {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},   {SDLK_RCTRL, VK_CONTROL}, {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},
};

int virtualKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  for (const KeyName& k : kKeys) {
    if (k.key == key) return k.vk;
  }
  return 0;
}

std::uintptr_t buttonFlag(int button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return MK_LBUTTON;
    case SDL_BUTTON_RIGHT:
      return MK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
      return MK_MBUTTON;
    default:
      return 0;
  }
}

std::uintptr_t mouseKeys() {
  std::uintptr_t flags = mouseButtons;
  if (getKeyState(VK_SHIFT) < 0) flags |= MK_SHIFT;
  if (getKeyState(VK_CONTROL) < 0) flags |= MK_CONTROL;
  return flags;
}

void queue(host::HostWindow* w, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  ready().push_back({w->handle(), message, wParam, lParam});
}

// The window that gets a mouse event of `w` at client (x, y): the capture, with
// the point in its own coordinates, or `w`.
host::HostWindow* mouseTarget(host::HostWindow* w, int& x, int& y) {
  host::HostWindow* captured = host::findWindow(getCapture());
  if (captured == nullptr || captured == w) return w;
  clientToScreen(w->handle(), x, y);
  screenToClient(captured->handle(), x, y);
  return captured;
}

void mouseMoved(host::HostWindow* w, int x, int y) {
  w->mouseInside = true;
  int sx = x, sy = y;
  clientToScreen(w->handle(), sx, sy);
  host::noteCursor(sx, sy);
}

void mouseButton(host::HostWindow* w, const SDL_MouseButtonEvent& e) {
  static constexpr unsigned kDown[] = {0, WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
  static constexpr unsigned kUp[] = {0, WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
  static constexpr int kKey[] = {0, VK_LBUTTON, VK_MBUTTON, VK_RBUTTON};
  if (e.button < 1 || e.button > 3) return;
  int x = e.x, y = e.y;
  mouseMoved(w, x, y);
  const bool down = e.type == SDL_MOUSEBUTTONDOWN;
  host::setKeyDown(kKey[e.button], down);
  if (down) {
    mouseButtons |= buttonFlag(e.button);
  } else {
    mouseButtons &= ~buttonFlag(e.button);
  }
  host::HostWindow* target = mouseTarget(w, x, y);
  if (!down) {
    queue(target, kUp[e.button], mouseKeys(), MAKELPARAM(x, y));
    return;
  }
  if (!target->active) {
    // A press on an inactive window asks it first, as Windows does; the default
    // answer activates it and lets the press through.
    const std::intptr_t answer =
        sendMessage(target->handle(), WM_MOUSEACTIVATE, std::uintptr_t(target->handle()),
                    MAKELPARAM(1 /* HTCLIENT */, int(kDown[e.button])));
    if (host::findWindow(target->handle()) == nullptr) return;
    if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) target->active = true;
    if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return;
  }
  unsigned message = kDown[e.button];
  if ((target->windowClass.style & CS_DBLCLKS) != 0 &&
      target->clicks.press(e.button, x, y, e.timestamp)) {
    message += 2;  // WM_xBUTTONDBLCLK follows WM_xBUTTONUP
  } else if ((target->windowClass.style & CS_DBLCLKS) == 0) {
    target->clicks = host::DoubleClickRule();
  }
  queue(target, message, mouseKeys(), MAKELPARAM(x, y));
}

void key(host::HostWindow* w, const SDL_KeyboardEvent& e) {
  const int vk = virtualKey(e.keysym.sym);
  if (vk == 0) return;
  const bool down = e.type == SDL_KEYDOWN;
  host::setKeyDown(vk, down);
  // Repeat count 1, the scan code, bit 30 the key's previous state, bit 31 up.
  std::intptr_t lParam = 1 | std::intptr_t(e.keysym.scancode & 0xFF) << 16;
  if (!down || e.repeat != 0) lParam |= std::intptr_t(1) << 30;
  if (!down) lParam |= std::intptr_t(1) << 31;
  queue(w, down ? WM_KEYDOWN : WM_KEYUP, std::uintptr_t(vk), lParam);
}

void windowEvent(host::HostWindow* w, const SDL_WindowEvent& e) {
  switch (e.event) {
    case SDL_WINDOWEVENT_EXPOSED:
      if (w->visible) w->needsPaint = true;
      break;
    case SDL_WINDOWEVENT_MOVED:
      if (w->visible) {
        w->x = e.data1;
        w->y = e.data2;
      }
      break;
    case SDL_WINDOWEVENT_CLOSE:
      queue(w, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      w->active = true;
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      w->active = false;
      break;
    case SDL_WINDOWEVENT_ENTER:
      w->mouseInside = true;
      break;
    case SDL_WINDOWEVENT_LEAVE:
      // Under the capture the mouse still belongs to the window.
      if (getCapture() != w->handle()) w->mouseInside = false;
      break;
    default:
      break;
  }
}

// Turns one SDL event into the messages it means, queued in ready().
void translateEvent(const SDL_Event& e) {
  if (e.type == host::markerEventType()) {
    Message m;
    if (host::takePosted(m)) ready().push_back(m);
    return;
  }
  if (e.type == SDL_QUIT) {
    for (host::HostWindow* w : host::liveWindows()) queue(w, WM_CLOSE, 0, 0);
    return;
  }
  switch (e.type) {
    case SDL_WINDOWEVENT:
      if (host::HostWindow* w = host::windowFromId(e.window.windowID)) windowEvent(w, e.window);
      break;
    case SDL_MOUSEMOTION:
      if (host::HostWindow* w = host::windowFromId(e.motion.windowID)) {
        int x = e.motion.x, y = e.motion.y;
        mouseMoved(w, x, y);
        host::HostWindow* target = mouseTarget(w, x, y);
        queue(target, WM_MOUSEMOVE, mouseKeys(), MAKELPARAM(x, y));
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (host::HostWindow* w = host::windowFromId(e.button.windowID)) mouseButton(w, e.button);
      break;
    case SDL_MOUSEWHEEL:
      if (host::HostWindow* w = host::windowFromId(e.wheel.windowID)) {
        int notches = e.wheel.y;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
        if (notches == 0) break;
        int x = e.wheel.mouseX, y = e.wheel.mouseY;
        clientToScreen(w->handle(), x, y);
        const std::uintptr_t delta = std::uint16_t(notches * WHEEL_DELTA);
        queue(w, WM_MOUSEWHEEL, (delta << 16) | mouseKeys(), MAKELPARAM(x, y));
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (host::HostWindow* w = host::windowFromId(e.key.windowID)) key(w, e.key);
      break;
    case SDL_TEXTINPUT:
      if (host::HostWindow* w = host::windowFromId(e.text.windowID)) {
        for (unsigned char c : host::utf8ToAnsi(e.text.text)) queue(w, WM_CHAR, c, 1);
      }
      break;
    default:
      break;
  }
}

}  // namespace

namespace host {

bool HostWindow::post(WindowHandle self, unsigned message, std::uintptr_t wParam,
                      std::intptr_t lParam) {
  std::lock_guard<std::mutex> hold(posted().lock);
  posted().messages.push_back({self, message, wParam, lParam});
  SDL_Event marker = {};
  marker.type = markerEventType();
  if (SDL_PushEvent(&marker) != 1) {
    posted().messages.pop_back();
    return false;
  }
  return true;
}

std::uint32_t markerEventType() {
  static const std::uint32_t type = SDL_RegisterEvents(1);
  return type;
}

bool takePosted(Message& out) {
  std::lock_guard<std::mutex> hold(posted().lock);
  if (posted().messages.empty()) return false;
  const Message m = posted().messages.front();
  posted().messages.pop_front();
  if (m.window == nullptr) return false;  // its window was destroyed
  out = m;
  return true;
}

void dropPosted(WindowHandle window) {
  {
    std::lock_guard<std::mutex> hold(posted().lock);
    for (Message& m : posted().messages) {
      if (m.window == window) m.window = nullptr;
    }
  }
  for (auto it = ready().begin(); it != ready().end();) {
    it = it->window == window ? ready().erase(it) : it + 1;
  }
}

bool pushMouseButton(WindowHandle window, int button, bool down, int x, int y) {
  HostWindow* w = findWindow(window);
  if (w == nullptr) return false;
  SDL_Event e = {};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = SDL_GetWindowID(w->sdl);
  e.button.button = std::uint8_t(button);
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  e.button.x = x;
  e.button.y = y;
  return SDL_PushEvent(&e) == 1;
}

bool pushMouseMotion(WindowHandle window, int x, int y) {
  HostWindow* w = findWindow(window);
  if (w == nullptr) return false;
  SDL_Event e = {};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = SDL_GetWindowID(w->sdl);
  e.motion.x = x;
  e.motion.y = y;
  return SDL_PushEvent(&e) == 1;
}

bool pushMouseWheel(WindowHandle window, int notches, int x, int y) {
  HostWindow* w = findWindow(window);
  if (w == nullptr) return false;
  SDL_Event e = {};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = SDL_GetWindowID(w->sdl);
  e.wheel.y = notches;
  e.wheel.preciseY = float(notches);
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  e.wheel.mouseX = x;
  e.wheel.mouseY = y;
  return SDL_PushEvent(&e) == 1;
}

bool pushKey(WindowHandle window, int sdlKeyCode, bool down) {
  HostWindow* w = findWindow(window);
  if (w == nullptr) return false;
  SDL_Event e = {};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.windowID = SDL_GetWindowID(w->sdl);
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = sdlKeyCode;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(sdlKeyCode);
  return SDL_PushEvent(&e) == 1;
}

bool pushText(WindowHandle window, const char* utf8) {
  HostWindow* w = findWindow(window);
  if (w == nullptr || utf8 == nullptr || std::strlen(utf8) >= SDL_TEXTINPUTEVENT_TEXT_SIZE) {
    return false;
  }
  SDL_Event e = {};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = SDL_GetWindowID(w->sdl);
  std::memcpy(e.text.text, utf8, std::strlen(utf8) + 1);
  return SDL_PushEvent(&e) == 1;
}

}  // namespace host

bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                 std::intptr_t lParam) {
  return host::postToSink(window, message, wParam, lParam);
}

std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
  host::HostWindow* w = host::findWindow(window);
  if (w == nullptr) return 0;
  return w->windowClass.proc(window, message, wParam, lParam);
}

bool peekMessage(Message& out) {
  if (ready().empty() && host::videoStarted()) {
    SDL_Event e;
    while (ready().empty() && SDL_PollEvent(&e) == 1) translateEvent(e);
  }
  if (!ready().empty()) {
    out = ready().front();
    ready().pop_front();
    return true;
  }
  if (quitPending) {
    quitPending = false;
    out = {nullptr, WM_QUIT, std::uintptr_t(quitCode), 0};
    return true;
  }
  for (host::HostWindow* w : host::liveWindows()) {
    if (w->visible && w->needsPaint) {
      out = {w->handle(), WM_PAINT, 0, 0};
      return true;
    }
  }
  return false;
}

void waitForMessage(unsigned milliseconds) {
  if (!ready().empty() || quitPending) return;
  for (host::HostWindow* w : host::liveWindows()) {
    if (w->visible && w->needsPaint) return;
  }
  if (host::videoStarted()) {
    SDL_WaitEventTimeout(nullptr, int(milliseconds));
  } else {
    SDL_Delay(milliseconds);
  }
}

AcceleratorHandle loadAccelerators(ModuleHandle, int) {
  return nullptr;
}

bool destroyAcceleratorTable(AcceleratorHandle) {
  return false;
}

bool translateAccelerator(WindowHandle, AcceleratorHandle, const Message&) {
  return false;
}

void translateMessage(const Message& message) {
  if (message.message != WM_KEYDOWN) return;
  switch (message.wParam) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_BACK:
    case VK_TAB:
      // The character comes next, before anything queued after the key.
      ready().push_front({message.window, WM_CHAR, message.wParam, message.lParam});
      break;
    default:
      break;
  }
}

std::intptr_t dispatchMessage(const Message& message) {
  return sendMessage(message.window, message.message, message.wParam, message.lParam);
}

void postQuitMessage(int exitCode) {
  quitPending = true;
  quitCode = exitCode;
}

}  // namespace platform
