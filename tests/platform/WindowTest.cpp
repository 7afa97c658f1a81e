// The window layer's contract, run against the host backend (SDL's dummy video
// driver, no display) and under Wine: the same cases hold on both.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/AppMessages.h"
#include "platform/MessageTarget.h"
#include "platform/Messages.h"
#include "platform/Module.h"
#include "platform/Paint.h"
#include "platform/Resources.h"
#include "platform/WinDefs.h"
#include "platform/Window.h"
#include "support/WindowProbe.h"

namespace {

using platform::WindowHandle;

// What the application does: an object waits in a slot while its window is
// created, and the procedure attaches it at the first message.
struct Owner {
  WindowHandle window = nullptr;
  std::vector<unsigned> messages;
  std::intptr_t answerToUser = 0;
  bool paintOnRequest = false;
  std::vector<unsigned char> dib;  // BITMAPINFOHEADER + rows, painted on WM_PAINT
  int dibWidth = 0, dibHeight = 0;
  bool painted = false;
};

Owner* pendingOwner = nullptr;

void paintDib(Owner* owner, WindowHandle window) {
  platform::PaintToken token;
  platform::DeviceContext dc = platform::beginPaint(window, token);
  ASSERT_NE(dc, nullptr);
  platform::DeviceContext memory = platform::createCompatibleDC(dc);
  platform::BitmapHandle bitmap =
      platform::createCompatibleBitmap(dc, owner->dibWidth, owner->dibHeight);
  ASSERT_NE(memory, nullptr);
  ASSERT_NE(bitmap, nullptr);
  void* previous = platform::selectObject(memory, bitmap);
  ASSERT_NE(previous, nullptr);
  EXPECT_TRUE(platform::paintDib(memory, nullptr, owner->dib.data(), owner->dib.data() + 40, 0, 0,
                                 owner->dibWidth, owner->dibHeight));
  EXPECT_TRUE(platform::bitBlt(dc, 0, 0, owner->dibWidth, owner->dibHeight, memory, 0, 0));
  EXPECT_EQ(platform::selectObject(memory, previous), bitmap);
  EXPECT_TRUE(platform::deleteDC(memory));
  EXPECT_TRUE(platform::deleteObject(bitmap));
  platform::endPaint(window, token);
  owner->painted = true;
}

std::intptr_t ownerProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                        std::intptr_t lParam) {
  auto* owner = static_cast<Owner*>(platform::getWindowUserData(window));
  if (owner == nullptr && pendingOwner != nullptr) {
    owner = pendingOwner;
    pendingOwner = nullptr;
    platform::setWindowUserData(window, owner);
    if (owner->window == nullptr) owner->window = window;
  }
  if (owner == nullptr) return platform::defWindowProc(window, message, wParam, lParam);
  owner->messages.push_back(message);
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_PAINT:
      if (owner->paintOnRequest) {
        paintDib(owner, window);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_USER + 50:
      return owner->answerToUser + std::intptr_t(wParam) + lParam;
    default:
      break;
  }
  return platform::defWindowProc(window, message, wParam, lParam);
}

// Takes and dispatches what is waiting, keeping what is ours (WM_USER and up) and
// any WM_QUIT.
std::vector<platform::Message> drain() {
  std::vector<platform::Message> kept;
  platform::Message m;
  for (int i = 0; i < 1000 && platform::peekMessage(m); ++i) {
    if (m.message >= WM_USER || m.message == WM_QUIT) kept.push_back(m);
    if (m.message != WM_QUIT) {
      platform::translateMessage(m);
      platform::dispatchMessage(m);
    }
  }
  return kept;
}

bool contains(const std::vector<unsigned>& list, unsigned message) {
  for (unsigned m : list) {
    if (m == message) return true;
  }
  return false;
}

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!windowsCanBeCreated()) {
      GTEST_SKIP() << "no display to create windows on (the Windows build runs these tests "
                      "under Xvfb as the test 'window')";
    }
  }
  // Classes live as long as the process: each window gets one of its own.
  WindowHandle create(Owner& owner, int width = 120, int height = 80) {
    static int serial = 0;
    className_ = "KestraneTestClass" + std::to_string(++serial);
    EXPECT_TRUE(platform::registerWindowClass(
        className_.c_str(), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, &ownerProc,
        platform::currentModule(), 4, nullptr, platform::loadArrowCursor()));
    pendingOwner = &owner;
    window_ = platform::createWindow(0, className_.c_str(), "Kestrane test", WS_POPUP | WS_SYSMENU,
                                     10, 20, width, height, nullptr, platform::currentModule());
    pendingOwner = nullptr;
    return window_;
  }
  void TearDown() override {
    if (window_ != nullptr) platform::destroyWindow(window_);
    drain();
  }
  // Outlives the window, which TearDown destroys.
  Owner owner;
  std::string className_;
  WindowHandle window_ = nullptr;
};

}  // namespace

TEST_F(Window, CreationMessagesReachThePendingObject) {
  const WindowHandle window = create(owner);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(owner.window, window);
  EXPECT_EQ(platform::getWindowUserData(window), &owner);
  EXPECT_TRUE(contains(owner.messages, WM_CREATE));
  EXPECT_EQ(pendingOwner, nullptr);
}

TEST_F(Window, AClassIsRegisteredOnce) {
  ASSERT_NE(create(owner), nullptr);
  EXPECT_FALSE(platform::registerWindowClass(className_.c_str(), 0, &ownerProc,
                                             platform::currentModule(), 0, nullptr, nullptr));
  EXPECT_EQ(platform::createWindow(0, "KestraneNoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   platform::currentModule()),
            nullptr);

  // A class stays while one of its windows lives; once unregistered it can be
  // registered again.
  EXPECT_FALSE(platform::unregisterWindowClass(className_.c_str(), platform::currentModule()));
  ASSERT_TRUE(platform::destroyWindow(window_));
  window_ = nullptr;
  EXPECT_TRUE(platform::unregisterWindowClass(className_.c_str(), platform::currentModule()));
  EXPECT_FALSE(platform::unregisterWindowClass(className_.c_str(), platform::currentModule()));
  EXPECT_TRUE(platform::registerWindowClass(className_.c_str(), 0, &ownerProc,
                                            platform::currentModule(), 0, nullptr, nullptr));
}

namespace {

unsigned refusedMessage = 0;  // WM_NCCREATE or WM_CREATE
std::vector<unsigned> refusedSeen;

std::intptr_t refusingProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam) {
  refusedSeen.push_back(message);
  if (message == refusedMessage) return message == WM_NCCREATE ? 0 : -1;
  return platform::defWindowProc(window, message, wParam, lParam);
}

}  // namespace

TEST_F(Window, AProcedureCanRefuseCreation) {
  ASSERT_TRUE(platform::registerWindowClass("KestraneRefusingClass", 0, &refusingProc,
                                            platform::currentModule(), 0, nullptr, nullptr));
  for (unsigned refused : {WM_NCCREATE, WM_CREATE}) {
    refusedMessage = refused;
    refusedSeen.clear();
    EXPECT_EQ(platform::createWindow(0, "KestraneRefusingClass", "", WS_POPUP, 0, 0, 10, 10,
                                     nullptr, platform::currentModule()),
              nullptr);
    EXPECT_TRUE(contains(refusedSeen, WM_NCDESTROY)) << refused;
  }
}

TEST_F(Window, UserDataRoundTrip) {
  const WindowHandle window = create(owner);
  int other = 0;
  platform::setWindowUserData(window, &other);
  EXPECT_EQ(platform::getWindowUserData(window), &other);
  platform::setWindowUserData(window, &owner);
  EXPECT_EQ(platform::getWindowUserData(window), &owner);
}

TEST_F(Window, PostedMessagesComeOutInOrder) {
  const WindowHandle window = create(owner);
  drain();
  ASSERT_TRUE(platform::postMessage(window, MSG_NAVIGATE, 2, 0));
  ASSERT_TRUE(platform::postMessage(window, MSG_INSTALL_PROGRESS, 0, 42));
  ASSERT_TRUE(platform::postMessage(window, MSG_LINK, 9, 0));
  const std::vector<platform::Message> kept = drain();
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept[0].message, MSG_NAVIGATE);
  EXPECT_EQ(kept[0].wParam, 2u);
  EXPECT_EQ(kept[0].window, window);
  EXPECT_EQ(kept[1].message, MSG_INSTALL_PROGRESS);
  EXPECT_EQ(kept[1].lParam, 42);
  EXPECT_EQ(kept[2].message, MSG_LINK);
  EXPECT_TRUE(contains(owner.messages, MSG_LINK));  // dispatched to the procedure
}

TEST_F(Window, AnotherThreadPostsInOrder) {
  const WindowHandle window = create(owner);
  drain();
  std::thread worker([window] {
    for (int i = 0; i <= 100; ++i) platform::postMessage(window, MSG_INSTALL_PROGRESS, 0, i);
    platform::postMessage(window, MSG_INSTALL_DONE, 0, 1);
  });
  worker.join();
  const std::vector<platform::Message> kept = drain();
  ASSERT_EQ(kept.size(), 102u);
  for (int i = 0; i <= 100; ++i) EXPECT_EQ(kept[std::size_t(i)].lParam, i);
  EXPECT_EQ(kept.back().message, MSG_INSTALL_DONE);
}

TEST_F(Window, PostingToADestroyedWindowFails) {
  const WindowHandle window = create(owner);
  ASSERT_TRUE(platform::destroyWindow(window));
  window_ = nullptr;
  EXPECT_TRUE(contains(owner.messages, WM_DESTROY));
  EXPECT_FALSE(platform::postMessage(window, MSG_NAVIGATE, 1, 0));
  EXPECT_FALSE(platform::destroyWindow(window));
  EXPECT_EQ(platform::getWindowUserData(window), nullptr);
}

TEST_F(Window, WaitingEndsWhenAMessageIsThere) {
  const WindowHandle window = create(owner);
  drain();
  const auto start = std::chrono::steady_clock::now();
  platform::waitForMessage(30);  // nothing comes: the time passes
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(20));
  std::thread poster([window] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    platform::postMessage(window, MSG_NAVIGATE, 1, 0);
  });
  const auto before = std::chrono::steady_clock::now();
  platform::waitForMessage(20000);
  poster.join();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
  platform::waitForMessage(20000);  // still queued: returns at once
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
  const std::vector<platform::Message> kept = drain();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].message, MSG_NAVIGATE);
}

TEST(MessageQueue, TheProgramHasNoAcceleratorTable) {
  EXPECT_EQ(platform::loadAccelerators(platform::currentModule(), -1), nullptr);
  EXPECT_FALSE(platform::destroyAcceleratorTable(nullptr));
  const platform::Message key = {nullptr, WM_KEYDOWN, VK_RETURN, 1};
  EXPECT_FALSE(platform::translateAccelerator(nullptr, nullptr, key));
}

TEST(Rectangles, OffsetCompareAndHit) {
  platform::Rect r = {10, 20, 30, 40};
  platform::offsetRect(r, -5, 7);
  EXPECT_TRUE(platform::equalRect(r, {5, 27, 25, 47}));
  EXPECT_FALSE(platform::equalRect(r, {5, 27, 25, 48}));
  EXPECT_TRUE(platform::ptInRect(r, 5, 27));
  EXPECT_FALSE(platform::ptInRect(r, 25, 30));  // right edge outside
  EXPECT_FALSE(platform::ptInRect(r, 10, 47));  // bottom edge outside
}

TEST(MessageQueue, QuitComesOutWithItsCode) {
  platform::postQuitMessage(7);
  const std::vector<platform::Message> kept = drain();
  ASSERT_FALSE(kept.empty());
  EXPECT_EQ(kept.back().message, unsigned(WM_QUIT));
  EXPECT_EQ(kept.back().wParam, 7u);
  platform::Message m;
  while (platform::peekMessage(m)) EXPECT_NE(m.message, unsigned(WM_QUIT));
}

TEST_F(Window, CloseReachesTheDefaultAndDestroys) {
  const WindowHandle window = create(owner);
  ASSERT_TRUE(platform::postMessage(window, WM_CLOSE, 0, 0));
  drain();
  window_ = nullptr;
  EXPECT_TRUE(contains(owner.messages, WM_CLOSE));
  EXPECT_TRUE(contains(owner.messages, WM_DESTROY));
  EXPECT_FALSE(platform::postMessage(window, MSG_NAVIGATE, 1, 0));
}

TEST_F(Window, SendMessageCallsTheProcedureAtOnce) {
  owner.answerToUser = 100;
  const WindowHandle window = create(owner);
  EXPECT_EQ(platform::sendMessage(window, WM_USER + 50, 20, 3), 123);
  EXPECT_EQ(owner.messages.back(), WM_USER + 50);
  EXPECT_EQ(platform::defWindowProc(window, WM_MOUSEACTIVATE, 0, 0), MA_ACTIVATE);
}

TEST_F(Window, GeometryRoundTrip) {
  const WindowHandle window = create(owner, 120, 80);
  platform::Rect r = {};
  ASSERT_TRUE(platform::getWindowRect(window, r));
  EXPECT_EQ(r.right - r.left, 120);
  EXPECT_EQ(r.bottom - r.top, 80);
  ASSERT_TRUE(platform::moveWindow(window, 30, 40, 150, 90, true));
  ASSERT_TRUE(platform::getWindowRect(window, r));
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right, 180);
  EXPECT_EQ(r.bottom, 130);
  ASSERT_TRUE(
      platform::setWindowPos(window, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  ASSERT_TRUE(platform::getWindowRect(window, r));
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.right, 200);
  int x = 55, y = 70;
  ASSERT_TRUE(platform::screenToClient(window, x, y));
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 10);
  EXPECT_FALSE(platform::getWindowRect(nullptr, r));
}

TEST_F(Window, ShowAnswersThePreviousVisibility) {
  const WindowHandle window = create(owner);
  EXPECT_FALSE(platform::showWindow(window, SW_SHOWNORMAL));
  EXPECT_TRUE(platform::showWindow(window, SW_HIDE));
  EXPECT_FALSE(platform::showWindow(window, SW_HIDE));
}

TEST(WindowSystem, Metrics) {
  EXPECT_GT(platform::getSystemMetrics(SM_CXSCREEN), 0);
  EXPECT_GT(platform::getSystemMetrics(SM_CYSCREEN), 0);
  EXPECT_EQ(platform::getSystemMetrics(SM_CXICON), 32);
  EXPECT_EQ(platform::getSystemMetrics(SM_CYSMICON), 16);
}

TEST_F(Window, CaptureIsKeptUntilReleased) {
  const WindowHandle window = create(owner);
  platform::showWindow(window, SW_SHOWNORMAL);
  ASSERT_TRUE(platform::setCapture(window));
  EXPECT_EQ(platform::getCapture(), window);
  EXPECT_TRUE(platform::releaseCapture());
  EXPECT_EQ(platform::getCapture(), nullptr);
}

TEST_F(Window, APaintedDibIsShown) {
  // A 24-bit bottom-up DIB of 8 x 6 whose top row is red and the rest blue, with
  // one green pixel at (5, 3) from the top.
  owner.dibWidth = 8;
  owner.dibHeight = 6;
  const int stride = (8 * 3 + 3) & ~3;
  owner.dib.assign(40 + std::size_t(stride) * 6, 0);
  const std::int32_t header[3] = {40, 8, 6};
  std::memcpy(owner.dib.data(), header, sizeof header);
  owner.dib[12] = 1;   // planes
  owner.dib[14] = 24;  // bits per pixel
  for (int y = 0; y < 6; ++y) {
    unsigned char* row = owner.dib.data() + 40 + std::size_t(5 - y) * std::size_t(stride);
    for (int x = 0; x < 8; ++x) {
      unsigned char* px = row + x * 3;  // blue, green, red
      if (y == 0) {
        px[2] = 255;
      } else if (x == 5 && y == 3) {
        px[1] = 255;
      } else {
        px[0] = 255;
      }
    }
  }
  owner.paintOnRequest = true;
  const WindowHandle window = create(owner, 8, 6);
  ASSERT_NE(window, nullptr);
  platform::showWindow(window, SW_SHOWNORMAL);
  ASSERT_TRUE(platform::repaintWindow(window));
  drain();
  std::uint32_t rgb = 0;
  if (!readShownPixel(window, 0, 0, rgb)) GTEST_SKIP() << "no display to read a window from";
  EXPECT_TRUE(owner.painted);
  EXPECT_EQ(rgb, 0xFF0000u);
  ASSERT_TRUE(readShownPixel(window, 5, 3, rgb));
  EXPECT_EQ(rgb, 0x00FF00u);
  ASSERT_TRUE(readShownPixel(window, 7, 5, rgb));
  EXPECT_EQ(rgb, 0x0000FFu);
}

TEST(Painting, MemoryContextsSelectAndRestoreBitmaps) {
  platform::DeviceContext memory = platform::createCompatibleDC(nullptr);
  platform::DeviceContext other = platform::createCompatibleDC(nullptr);
  ASSERT_NE(memory, nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(platform::createCompatibleBitmap(memory, 0, 5), nullptr);
  platform::BitmapHandle bitmap = platform::createCompatibleBitmap(memory, 4, 4);
  ASSERT_NE(bitmap, nullptr);
  void* stock = platform::selectObject(memory, bitmap);
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(platform::selectObject(other, bitmap), nullptr);  // one context at a time
  // (Deleting a bitmap that is still selected fails on Windows and is put off
  // until it is deselected under Wine; the program never does it.)
  EXPECT_EQ(platform::selectObject(memory, stock), bitmap);
  EXPECT_TRUE(platform::deleteObject(bitmap));
  EXPECT_TRUE(platform::deleteDC(memory));
  EXPECT_TRUE(platform::deleteDC(other));
  EXPECT_FALSE(platform::deleteObject(nullptr));
}

TEST(Module, TheProgramItselfHasAHandleAndItsResources) {
  ASSERT_NE(platform::currentModule(), nullptr);
  char text[64];
  EXPECT_EQ(platform::loadString(platform::currentModule(), 1, text, sizeof text), 14);
  EXPECT_STREQ(text, "Kestrane Setup");
  EXPECT_TRUE(platform::restrictDllLoading());
}

TEST(Icons, AnIconGroupLoadsAtEachSize) {
  for (int size : {16, 32, 48}) {
    platform::IconHandle icon = platform::loadIcon(platform::currentModule(), 105, size, size);
    EXPECT_NE(icon, nullptr) << size;
    EXPECT_TRUE(platform::destroyIcon(icon));
  }
  EXPECT_EQ(platform::loadIcon(platform::currentModule(), 106, 32, 32), nullptr);
  EXPECT_NE(platform::loadArrowCursor(), nullptr);
}

TEST(MessageTarget, PostedMessagesAreTakenInOrder) {
  platform::MessageTarget target;
  ASSERT_TRUE(target.valid());
  platform::Message m = {};
  EXPECT_FALSE(target.take(m, 0));
  std::thread worker([&target] {
    for (int i = 0; i < 50; ++i) {
      platform::postMessage(target.handle(), MSG_INSTALL_PROGRESS, 0, i);
    }
    platform::postMessage(target.handle(), MSG_INSTALL_DONE, 0, 1);
  });
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(target.take(m, 5000));
    EXPECT_EQ(m.message, MSG_INSTALL_PROGRESS);
    EXPECT_EQ(m.lParam, i);
    EXPECT_EQ(m.window, target.handle());
  }
  ASSERT_TRUE(target.take(m, 5000));
  EXPECT_EQ(m.message, MSG_INSTALL_DONE);
  worker.join();
  EXPECT_FALSE(target.take(m, 10));
}

TEST(MessageTarget, ADeadTargetTakesNoMore) {
  WindowHandle handle;
  {
    platform::MessageTarget target;
    handle = target.handle();
  }
  EXPECT_FALSE(platform::postMessage(handle, MSG_NAVIGATE, 1, 0));
}
