// MainWindow: the program's one window, a borderless pop-up whose every pixel is
// painted from an off-screen picture.
//
// It carries no system caption: the scene's caption and navigation bars are its
// own, and dragging either moves the window. Every message goes first to the
// page widgets, then to the window's client (SetupApp), then to the default
// procedure. While the queue is idle the window polls the mouse, so the hover
// look follows it, and repaints only when what is under the mouse changed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Paint.h"
#include "platform/PlatformTypes.h"
#include "platform/Window.h"
#include "render/Image.h"
#include "widgets/FocusList.h"
#include "widgets/Scene.h"

class MainWindow {
 public:
  // What the window asks of its owner.
  class Client {
   public:
    virtual ~Client() = default;
    // Non-zero when the message was taken; *result is then the answer.
    virtual int HandleWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                    std::intptr_t* result) = 0;
    // Paints what lies under the scene's layers into the whole back buffer.
    virtual void PaintBackground(Image* backBuffer) = 0;
  };

  // Where the window shows its content, and who answers for it.
  struct Setup {
    const char* className = nullptr;
    const char* title = nullptr;
    platform::ModuleHandle module = nullptr;
    platform::DrawDibHandle drawDib = nullptr;
    int iconId = 0;
    int width = 0;
    int height = 0;
  };

  MainWindow() = default;
  ~MainWindow() { Release(); }
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Gives the window its scene, its owner and the widgets that see messages
  // first. Before Create.
  void SetCallbacks(Scene* scene, Client* client, FocusList* widgets);

  // Registers the class, creates the window at the given size, gives it its
  // icons, centres it on the screen, paints it and shows it. False when the class
  // or the window could not be made.
  bool Create(const Setup& setup);

  // Destroys the window if it is still there, unregisters its class and
  // releases the screen bitmap and the icons. Done before the program returns from its entry point:
  // the platform's own bookkeeping may be gone by the time static objects go.
  void Release();

  // The idle step of the message loop: what is under the mouse now, and a
  // repaint when that changed.
  void IdleHoverPoll();

  // Invalidates the whole window and paints it at once.
  void Repaint();

  platform::WindowHandle Handle() const { return handle_; }

  // The hover state of the last poll: over the caption bar (1), over the
  // navigation bar (2), inside the page (4), and the caption, navigation and
  // content item under the mouse (-1 for none).
  struct HoverState {
    int caption = 0;
    int navigation = 0;
    int content = 0;
    int captionItem = -1;
    int navigationItem = -1;
    int contentItem = -1;
    bool operator==(const HoverState& o) const;
  };
  const HoverState& Hover() const { return hover_; }

 private:
  static std::intptr_t WindowProc(platform::WindowHandle window, unsigned message,
                                  std::uintptr_t wParam, std::intptr_t lParam);
  std::intptr_t HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  // Runs the window's own reaction to a message; true when the message is
  // answered with *result and goes no further.
  bool HandleOwn(unsigned message, std::intptr_t lParam, std::intptr_t* result);
  bool ButtonPress(int x, int y);
  void DragMove();
  void StopDragging();
  void Paint(platform::DeviceContext dc);
  bool WindowSize(int& width, int& height) const;
  int HitTestClient(int x, int y);

  platform::WindowHandle handle_ = nullptr;
  platform::ModuleHandle module_ = nullptr;
  std::string className_;  // registered while not empty
  platform::DrawDibHandle drawDib_ = nullptr;
  platform::IconHandle smallIcon_ = nullptr;
  platform::IconHandle largeIcon_ = nullptr;
  Scene* scene_ = nullptr;
  Client* client_ = nullptr;
  FocusList* widgets_ = nullptr;

  bool dragging_ = false;
  int dragCursorX_ = 0, dragCursorY_ = 0;
  platform::Rect dragRect_{};

  platform::BitmapHandle screenBitmap_ = nullptr;
  int screenWidth_ = 0, screenHeight_ = 0;
  Image backBuffer_;
  HoverState hover_;
};
