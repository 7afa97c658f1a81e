#include "app/MainWindow.h"

#include "platform/Messages.h"
#include "platform/Resources.h"
#include "platform/WinDefs.h"

namespace {

// The window whose creation is under way: its procedure sees messages before
// createWindow has returned the handle, and takes the object from here.
MainWindow* pendingWindow = nullptr;

constexpr unsigned kClassStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
constexpr unsigned kWindowStyle = WS_POPUP | WS_SYSMENU;

}  // namespace

bool MainWindow::HoverState::operator==(const HoverState& o) const {
  return caption == o.caption && navigation == o.navigation && content == o.content &&
         captionItem == o.captionItem && navigationItem == o.navigationItem &&
         contentItem == o.contentItem;
}

void MainWindow::Release() {
  if (handle_ != nullptr) platform::destroyWindow(handle_);
  handle_ = nullptr;
  if (!className_.empty()) platform::unregisterWindowClass(className_.c_str(), module_);
  className_.clear();
  if (screenBitmap_ != nullptr) platform::deleteObject(screenBitmap_);
  screenBitmap_ = nullptr;
  screenWidth_ = screenHeight_ = 0;
  if (smallIcon_ != nullptr) platform::destroyIcon(smallIcon_);
  if (largeIcon_ != nullptr) platform::destroyIcon(largeIcon_);
  smallIcon_ = largeIcon_ = nullptr;
}

void MainWindow::SetCallbacks(Scene* scene, Client* client, FocusList* widgets) {
  scene_ = scene;
  client_ = client;
  widgets_ = widgets;
}

bool MainWindow::Create(const Setup& setup) {
  module_ = setup.module;
  drawDib_ = setup.drawDib;
  if (!platform::registerWindowClass(setup.className, kClassStyle, &MainWindow::WindowProc,
                                     setup.module, 4, nullptr, platform::loadArrowCursor())) {
    return false;
  }
  className_ = setup.className;
  pendingWindow = this;
  platform::WindowHandle window =
      platform::createWindow(0, setup.className, setup.title, kWindowStyle, 0, 0, setup.width,
                             setup.height, nullptr, setup.module);
  pendingWindow = nullptr;
  if (window == nullptr) return false;
  if (handle_ == nullptr) handle_ = window;

  smallIcon_ =
      platform::loadIcon(setup.module, setup.iconId, platform::getSystemMetrics(SM_CXSMICON),
                         platform::getSystemMetrics(SM_CYSMICON));
  largeIcon_ = platform::loadIcon(setup.module, setup.iconId, platform::getSystemMetrics(SM_CXICON),
                                  platform::getSystemMetrics(SM_CYICON));
  platform::sendMessage(handle_, WM_SETICON, ICON_BIG, std::intptr_t(largeIcon_));
  platform::sendMessage(handle_, WM_SETICON, ICON_SMALL, std::intptr_t(smallIcon_));

  const int x = (platform::getSystemMetrics(SM_CXSCREEN) - setup.width) / 2;
  const int y = (platform::getSystemMetrics(SM_CYSCREEN) - setup.height) / 2;
  platform::setWindowPos(handle_, x, y, setup.width, setup.height, SWP_NOZORDER | SWP_NOACTIVATE);
  Repaint();
  platform::showWindow(handle_, SW_SHOWNORMAL);
  return true;
}

std::intptr_t MainWindow::WindowProc(platform::WindowHandle window, unsigned message,
                                     std::uintptr_t wParam, std::intptr_t lParam) {
  auto* self = static_cast<MainWindow*>(platform::getWindowUserData(window));
  if (self == nullptr && pendingWindow != nullptr) {
    self = pendingWindow;
    platform::setWindowUserData(window, self);
    if (self->handle_ == nullptr) self->handle_ = window;
    pendingWindow = nullptr;
  }
  if (self == nullptr) return platform::defWindowProc(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

std::intptr_t MainWindow::HandleMessage(unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
  std::intptr_t result = 0;
  if (HandleOwn(message, lParam, &result)) return result;

  if (widgets_ != nullptr && scene_ != nullptr) {
    const Point origin = scene_->ContentOrigin();
    int widgetResult = 0, repaint = 0;
    if (widgets_->HandleMessage(origin.x, origin.y, handle_, message, wParam, lParam, &widgetResult,
                                &repaint)) {
      if (repaint) Repaint();
      return widgetResult;
    }
  }
  if (client_ != nullptr && client_->HandleWindowMessage(message, wParam, lParam, &result)) {
    return result;
  }
  const platform::WindowHandle window = handle_;
  if (message == WM_NCDESTROY) handle_ = nullptr;
  return platform::defWindowProc(window, message, wParam, lParam);
}

bool MainWindow::HandleOwn(unsigned message, std::intptr_t lParam, std::intptr_t* result) {
  switch (message) {
    case WM_DESTROY:
      platform::postQuitMessage(0);
      return false;
    case WM_PAINT: {
      platform::PaintToken token;
      platform::DeviceContext dc = platform::beginPaint(handle_, token);
      if (dc != nullptr) {
        Paint(dc);
        platform::endPaint(handle_, token);
      }
      *result = 0;
      return true;
    }
    case WM_ERASEBKGND:
      // The back buffer covers every pixel; erasing first would only flicker.
      *result = 1;
      return true;
    case WM_MOUSEACTIVATE: {
      int x = -1, y = -1;
      if (platform::getCursorPos(x, y)) platform::screenToClient(handle_, x, y);
      HitTestClient(x, y);
      *result = MA_ACTIVATE;
      return true;
    }
    case WM_MOUSEMOVE:
      IdleHoverPoll();
      if (dragging_) {
        if (platform::getCapture() == handle_) {
          DragMove();
        } else {
          StopDragging();
        }
      }
      return false;
    case WM_LBUTTONDOWN:
      if (ButtonPress(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
        *result = 0;
        return true;
      }
      return false;
    case WM_LBUTTONUP:
      StopDragging();
      return false;
    case WM_LBUTTONDBLCLK: {
      // The caption bar does not maximise; elsewhere a double click outside the
      // page is a second press.
      const int code = HitTestClient(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if ((code & kHitCaptionBar) != 0) {
        platform::postMessage(handle_, WM_SIZE, SIZE_MAXIMIZED, 0);
      } else if ((code & kHitContent) == 0) {
        ButtonPress(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      }
      return false;
    }
    default:
      return false;
  }
}

bool MainWindow::WindowSize(int& width, int& height) const {
  platform::Rect rect{};
  if (!platform::getWindowRect(handle_, rect)) return false;
  width = rect.right - rect.left;
  height = rect.bottom - rect.top;
  return true;
}

int MainWindow::HitTestClient(int x, int y) {
  if (scene_ == nullptr) return kHitNothing;
  int width = 0, height = 0;
  WindowSize(width, height);
  int captionItem = -1, navigationItem = -1, contentItem = -1;
  return scene_->HitTest(width, height, x, y, &captionItem, &navigationItem, &contentItem);
}

bool MainWindow::ButtonPress(int x, int y) {
  IdleHoverPoll();
  if (scene_ == nullptr) return false;
  // The hit test leaves the items under the point in the scene's hover fields.
  switch (HitTestClient(x, y)) {
    case kHitCaptionBar:
    case kHitNavigationBar:
      dragging_ = true;
      platform::setCapture(handle_);
      platform::getCursorPos(dragCursorX_, dragCursorY_);
      platform::getWindowRect(handle_, dragRect_);
      return true;
    case kHitContent:
      return false;
    case kHitCaptionItem:
      if (scene_->caption != nullptr) scene_->caption->items.PostItem(scene_->captionItem, handle_);
      return true;
    case kHitNavigationItem:
      if (scene_->navigation != nullptr) {
        scene_->navigation->items.PostItem(scene_->navigationItem, handle_);
      }
      return true;
    case kHitContentItem:
      if (scene_->content != nullptr) scene_->content->PostItem(scene_->contentItem, handle_);
      return true;
    default:
      return true;
  }
}

void MainWindow::DragMove() {
  int x = 0, y = 0;
  if (!platform::getCursorPos(x, y)) return;
  platform::Rect target = dragRect_;
  const int dx = x - dragCursorX_, dy = y - dragCursorY_;
  target.left += dx;
  target.right += dx;
  target.top += dy;
  target.bottom += dy;
  platform::Rect now{};
  platform::getWindowRect(handle_, now);
  if (target.left == now.left && target.top == now.top && target.right == now.right &&
      target.bottom == now.bottom) {
    return;
  }
  platform::moveWindow(handle_, target.left, target.top, target.right - target.left,
                       target.bottom - target.top, true);
}

void MainWindow::StopDragging() {
  dragging_ = false;
  platform::releaseCapture();
}

void MainWindow::IdleHoverPoll() {
  if (handle_ == nullptr || scene_ == nullptr) return;
  int x = -1, y = -1;
  if (!platform::getCursorPos(x, y) || platform::windowFromPoint(x, y) != handle_) {
    x = -1;
    y = -1;
  } else {
    platform::screenToClient(handle_, x, y);
  }
  HoverState now;
  const int code = HitTestClient(x, y);
  now.caption = code & kHitCaptionBar;
  now.navigation = code & kHitNavigationBar;
  now.content = code & kHitContent;
  now.captionItem = scene_->captionItem;
  now.navigationItem = scene_->navigationItem;
  now.contentItem = scene_->contentItem;
  if (now == hover_) return;
  hover_ = now;
  Repaint();
}

void MainWindow::Repaint() {
  if (handle_ != nullptr) platform::repaintWindow(handle_);
}

void MainWindow::Paint(platform::DeviceContext dc) {
  int width = 0, height = 0;
  if (!WindowSize(width, height) || width <= 0 || height <= 0) return;
  // Both buffers are kept while they are large enough, and grow only with the
  // window: a frame allocates nothing.
  if (backBuffer_.Width() < width || backBuffer_.Height() < height ||
      backBuffer_.BitsPerPixel() != 24) {
    if (!backBuffer_.Create(width, height, 24)) return;
  }
  if (screenBitmap_ == nullptr || screenWidth_ < width || screenHeight_ < height) {
    if (screenBitmap_ != nullptr) platform::deleteObject(screenBitmap_);
    screenBitmap_ = platform::createCompatibleBitmap(dc, width, height);
    screenWidth_ = screenBitmap_ != nullptr ? width : 0;
    screenHeight_ = screenBitmap_ != nullptr ? height : 0;
    if (screenBitmap_ == nullptr) return;
  }
  platform::DeviceContext memory = platform::createCompatibleDC(dc);
  if (memory == nullptr) return;
  void* previous = platform::selectObject(memory, screenBitmap_);

  if (client_ != nullptr) client_->PaintBackground(&backBuffer_);
  if (scene_ != nullptr) scene_->Draw(&backBuffer_, width, height);
  backBuffer_.Paint(memory, 0, 0, drawDib_);
  platform::bitBlt(dc, 0, 0, width, height, memory, 0, 0);

  platform::selectObject(memory, previous);
  platform::deleteDC(memory);
}
