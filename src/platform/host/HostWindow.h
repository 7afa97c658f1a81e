// The host backend's windows, shared by its window, message, paint and message-box
// files. Nothing outside src/platform/host includes this.
//
// A window is an SDL window and the record below; its handle is the record's
// MessageSink. Everything here runs on the user-interface thread except post(),
// which any thread may call.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "platform/Messages.h"
#include "platform/Window.h"
#include "platform/host/HostText.h"
#include "platform/host/HostWindowState.h"
#include "platform/host/MessageSink.h"

namespace platform::host {

struct WindowClass {
  std::string name;
  unsigned style = 0;
  WindowProc proc = nullptr;
};

// A window's device context: painting into it goes to the window surface.
struct WindowDC {
  SDL_Window* window = nullptr;
};

class HostWindow : public MessageSink {
 public:
  HostWindow(const WindowClass& windowClass, SDL_Window* sdl);
  ~HostWindow() override;

  // Queues the message for the message loop: an SDL user event marks its place
  // among the input events.
  bool post(WindowHandle self, unsigned message, std::uintptr_t wParam,
            std::intptr_t lParam) override;

  WindowClass windowClass;
  SDL_Window* sdl;
  WindowDC dc;
  void* userData = nullptr;
  // Where the window is on the screen. SDL's own idea of it is not kept while the
  // window is hidden (X11 forgets a move made before the window is mapped), so
  // this is the truth, set by moves and, while shown, by the window system.
  int x = 0, y = 0;
  bool visible = false;
  bool needsPaint = false;
  bool painted = false;  // the surface holds a frame worth showing
  bool active = false;
  bool mouseInside = true;
  bool destroying = false;
  void* bigIcon = nullptr;
  void* smallIcon = nullptr;
  DoubleClickRule clicks;
};

// SDL's video, started on first use with the hints the program needs. False when
// it cannot be started.
bool ensureVideo();
bool videoStarted();

// The live window behind a handle, or null (also for other sinks).
HostWindow* findWindow(WindowHandle window);
// The live window of an SDL window id, or null.
HostWindow* windowFromId(std::uint32_t sdlWindowId);
// Every live window, oldest first.
const std::deque<HostWindow*>& liveWindows();

// Messages posted to windows, in posting order, each marked in SDL's queue by one
// event of markerEventType(); taken by the message loop.
std::uint32_t markerEventType();
bool takePosted(Message& out);
// Forgets what is still queued for a window being destroyed.
void dropPosted(WindowHandle window);

// The input state that events feed and Window.h reads.
void noteCursor(int screenX, int screenY);
void setCaptureWindow(WindowHandle window);

// Message boxes answered from the test queue: true, with the answer, when one was
// queued.
bool answerQueuedMessageBox(const ShownMessageBox& box, int& answer);
void clearMessageBoxAnswers();

// The screen position of a window's client area (borderless: its top-left).
void windowOrigin(HostWindow* window, int& x, int& y);

}  // namespace platform::host
