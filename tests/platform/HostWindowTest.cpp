// The host window's own rules, through its test hooks: SDL events become Windows'
// messages, double clicks follow Windows' rule, message boxes can be answered, and
// the browse answer maps host folders onto the drives. SDL's dummy video driver
// stands in for a display.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Display.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "platform/Module.h"
#include "platform/Resources.h"
#include "platform/Shell.h"
#include "platform/WinDefs.h"
#include "platform/Window.h"
#include "platform/host/HostWindowState.h"
#include "platform/host/Prefix.h"

namespace host = platform::host;
using platform::WindowHandle;

namespace {

// SDL key codes of the keys used here: the printable keys are their ASCII codes.
constexpr int kSdlReturn = '\r';
constexpr int kSdlEscape = 27;
constexpr int kSdlA = 'a';

std::vector<platform::Message> seen;
int paints = 0;

// Sets (or, without a value, removes) one environment variable for a scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (had_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

std::intptr_t recordingProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
  if (message == WM_PAINT) ++paints;
  seen.push_back({window, message, wParam, lParam});
  return platform::defWindowProc(window, message, wParam, lParam);
}

class HostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    host::resetWindowState();
    static bool registered = false;
    if (!registered) {
      ASSERT_TRUE(platform::registerWindowClass("KestraneHostTest", CS_DBLCLKS, &recordingProc,
                                                platform::currentModule(), 4, nullptr, nullptr));
      registered = true;
    }
    window_ = platform::createWindow(0, "KestraneHostTest", "Host test", WS_POPUP, 100, 50, 200,
                                     150, nullptr, platform::currentModule());
    ASSERT_NE(window_, nullptr);
    platform::showWindow(window_, SW_SHOWNORMAL);
    take();
  }
  void TearDown() override {
    platform::destroyWindow(window_);
    take();
    host::resetWindowState();
  }
  // Everything waiting, translated and dispatched; the messages of interest.
  std::vector<platform::Message> take() {
    std::vector<platform::Message> out;
    platform::Message m;
    while (platform::peekMessage(m)) {
      if (m.message != WM_PAINT) out.push_back(m);
      platform::translateMessage(m);
      platform::dispatchMessage(m);
    }
    return out;
  }
  WindowHandle window_ = nullptr;
};

}  // namespace

TEST(DoubleClickRule, FollowsWindowsRule) {
  const struct {
    int button, x, y;
    std::uint32_t time;
    bool twice;
  } presses[] = {
      {1, 10, 10, 1000, false},  // first press
      {1, 12, 8, 1400, true},    // 400 ms later, 2 px away: a double click
      {1, 12, 8, 1500, false},   // the third press starts anew
      {1, 12, 8, 2001, false},   // 501 ms after the last: too late
      {1, 15, 8, 2100, false},   // 3 px away: too far
      {3, 15, 8, 2200, false},   // another button
      {1, 15, 8, 2300, false},   // not the button before it
      {1, 15, 8, 2800, true},    // exactly 500 ms
  };
  host::DoubleClickRule rule;
  for (const auto& p : presses) {
    EXPECT_EQ(rule.press(p.button, p.x, p.y, p.time), p.twice) << p.time;
  }
}

TEST_F(HostWindow, MouseEventsBecomeMessagesInClientCoordinates) {
  ASSERT_TRUE(host::pushMouseMotion(window_, 20, 30));
  ASSERT_TRUE(host::pushMouseButton(window_, 1, true, 20, 30));
  ASSERT_TRUE(host::pushMouseButton(window_, 1, false, 20, 30));
  ASSERT_TRUE(host::pushMouseButton(window_, 1, true, 21, 31));
  std::vector<platform::Message> got = take();
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(got[0].message, WM_MOUSEMOVE);
  EXPECT_EQ(got[0].lParam, MAKELPARAM(20, 30));
  EXPECT_EQ(got[1].message, WM_LBUTTONDOWN);
  EXPECT_EQ(got[1].wParam, MK_LBUTTON);
  EXPECT_EQ(got[2].message, WM_LBUTTONUP);
  EXPECT_EQ(got[2].wParam, 0u);
  EXPECT_EQ(got[3].message, WM_LBUTTONDBLCLK);
  EXPECT_EQ(got[3].lParam, MAKELPARAM(21, 31));
  EXPECT_LT(platform::getKeyState(VK_LBUTTON), 0);
  int x = 0, y = 0;
  ASSERT_TRUE(platform::getCursorPos(x, y));
  EXPECT_EQ(x, 121);
  EXPECT_EQ(y, 81);
  EXPECT_EQ(platform::windowFromPoint(121, 81), window_);
  EXPECT_EQ(platform::windowFromPoint(99, 81), nullptr);

  // A press too far from the last is a press again.
  ASSERT_TRUE(host::pushMouseButton(window_, 1, false, 21, 31));
  ASSERT_TRUE(host::pushMouseButton(window_, 1, true, 60, 31));
  got = take();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].message, WM_LBUTTONDOWN);
}

TEST_F(HostWindow, APressOnTheInactiveWindowAsksItFirst) {
  seen.clear();
  ASSERT_TRUE(host::pushMouseButton(window_, 1, true, 5, 6));
  ASSERT_TRUE(host::pushMouseButton(window_, 1, false, 5, 6));
  ASSERT_TRUE(host::pushMouseButton(window_, 1, true, 50, 6));
  take();
  std::vector<unsigned> order;
  for (const platform::Message& m : seen) {
    if (m.message != WM_PAINT) order.push_back(m.message);
  }
  // Activated by the first press, the window is not asked again.
  const std::vector<unsigned> expected = {WM_MOUSEACTIVATE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                          WM_LBUTTONDOWN};
  EXPECT_EQ(order, expected);
  EXPECT_EQ(seen.front().lParam, MAKELPARAM(1, int(WM_LBUTTONDOWN)));  // HTCLIENT
}

TEST_F(HostWindow, TheWheelGivesNotchesAndTheScreenPoint) {
  ASSERT_TRUE(host::pushMouseWheel(window_, -2, 10, 20));
  ASSERT_TRUE(host::pushMouseWheel(window_, 1, 10, 20));
  const std::vector<platform::Message> got = take();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, WM_MOUSEWHEEL);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(got[0].wParam), -2 * WHEEL_DELTA);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(got[1].wParam), WHEEL_DELTA);
  EXPECT_EQ(got[1].lParam, MAKELPARAM(110, 70));  // screen coordinates
}

TEST_F(HostWindow, KeysBecomeKeyAndCharacterMessages) {
  ASSERT_TRUE(host::pushKey(window_, kSdlReturn, true));
  ASSERT_TRUE(host::pushKey(window_, kSdlReturn, false));
  ASSERT_TRUE(host::pushKey(window_, kSdlEscape, true));
  ASSERT_TRUE(host::pushKey(window_, kSdlA, true));
  ASSERT_TRUE(host::pushText(window_, "a\xC3\xA9"));  // a, e acute
  const std::vector<platform::Message> got = take();
  const std::vector<std::pair<unsigned, std::uintptr_t>> expected = {
      {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13},     {WM_KEYUP, VK_RETURN}, {WM_KEYDOWN, VK_ESCAPE},
      {WM_CHAR, 27},           {WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'},        {WM_CHAR, 0xE9}};
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].message, expected[i].first) << i;
    EXPECT_EQ(got[i].wParam, expected[i].second) << i;
  }
  EXPECT_EQ(platform::getKeyState(VK_RETURN), 0);
  EXPECT_LT(platform::getKeyState('A'), 0);
}

TEST_F(HostWindow, RepaintSendsPaintAtOnceAndIsCounted) {
  const int before = paints;
  ASSERT_TRUE(platform::repaintWindow(window_));
  EXPECT_EQ(paints, before + 1);
  EXPECT_EQ(host::repaintCount(), 1);
  // The default processing validated the window: no WM_PAINT is left waiting.
  take();
  EXPECT_EQ(paints, before + 1);
}

TEST_F(HostWindow, MovingWithRepaintQueuesOnePaint) {
  const int before = paints;
  ASSERT_TRUE(platform::moveWindow(window_, 5, 5, 200, 150, true));
  take();
  EXPECT_EQ(paints, before + 1);
}

TEST_F(HostWindow, CaptureSendsMotionOutsideTheWindowToIt) {
  ASSERT_TRUE(platform::setCapture(window_));
  ASSERT_TRUE(host::pushMouseMotion(window_, -30, 400));
  const std::vector<platform::Message> got = take();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].window, window_);
  EXPECT_EQ(GET_X_LPARAM(got[0].lParam), -30);
  EXPECT_EQ(GET_Y_LPARAM(got[0].lParam), 400);
  EXPECT_TRUE(platform::releaseCapture());
}

TEST_F(HostWindow, TheDefaultSetsTheIconsAndAnswersThePreviousOnes) {
  platform::IconHandle big = platform::loadIcon(platform::currentModule(), 105, 32, 32);
  platform::IconHandle small = platform::loadIcon(platform::currentModule(), 105, 16, 16);
  ASSERT_NE(big, nullptr);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(
      platform::sendMessage(window_, WM_SETICON, ICON_BIG, reinterpret_cast<std::intptr_t>(big)),
      0);
  EXPECT_EQ(platform::sendMessage(window_, WM_SETICON, ICON_SMALL,
                                  reinterpret_cast<std::intptr_t>(small)),
            0);
  EXPECT_EQ(platform::sendMessage(window_, WM_SETICON, ICON_BIG, 0),
            reinterpret_cast<std::intptr_t>(big));
  platform::destroyIcon(big);
  platform::destroyIcon(small);
}

TEST(HostMessageBox, QueuedAnswersAreGivenAndTheBoxesRecorded) {
  host::resetWindowState();
  host::queueMessageBoxAnswer(IDYES);
  host::queueMessageBoxAnswer(IDOK);
  EXPECT_EQ(platform::messageBox(nullptr, "Setup is not complete!\nAre you sure you want to exit?",
                                 "Cancel Setup?", MB_YESNO),
            IDYES);
  EXPECT_EQ(platform::messageBox(nullptr, "Failed to: x", "Setup Error!", MB_OK | MB_ICONERROR),
            IDOK);
  const std::vector<host::ShownMessageBox> shown = host::takeShownMessageBoxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].caption, "Cancel Setup?");
  EXPECT_EQ(shown[0].text, "Setup is not complete!\nAre you sure you want to exit?");
  EXPECT_EQ(shown[0].type, MB_YESNO);
  EXPECT_EQ(shown[1].type, MB_OK | MB_ICONERROR);
  // Without answers and without a display no box can be shown, whatever else
  // the machine has installed that could ask.
  const ScopedEnv noX11("DISPLAY", nullptr);
  const ScopedEnv noWayland("WAYLAND_DISPLAY", nullptr);
  EXPECT_EQ(platform::messageBox(nullptr, "text", "caption", MB_OK), 0);
}

TEST(HostBrowse, AHostAnswerIsMappedOntoItsDrive) {
  const std::string root = host::prefixRoot();
  const std::string answer = root + "/browse.answer";
  std::filesystem::create_directories(root + "/drive_c/Apps/Tools");
  std::filesystem::create_directories(root + "/drive_d");
  const struct {
    std::string text;
    bool ok;
    const char* path;
  } cases[] = {
      {root + "/drive_c/Apps/Tools\n", true, "C:\\Apps\\Tools"},
      {root + "/drive_c/Apps/Tools/../Tools/", true, "C:\\Apps\\Tools"},
      {root + "/drive_d", true, "D:\\"},
      {root + "/drive_c", true, "C:\\"},
      {"D:\\Elsewhere", true, "D:\\Elsewhere"},   // a Windows path is kept
      {root, false, nullptr},                     // the prefix is no drive
      {root + "/drive_c/../..", false, nullptr},  // climbs out
      {"/tmp", false, nullptr},
      {root + "/drive_c/no such folder", false, nullptr},
  };
  for (const auto& c : cases) {
    std::ofstream(answer, std::ios::trunc) << c.text;
    char path[MAX_PATH] = "unchanged";
    EXPECT_EQ(platform::browseForFolder(nullptr, "Choose", path), c.ok) << c.text;
    if (c.ok) {
      EXPECT_STREQ(path, c.path) << c.text;
    }
  }
  std::remove(answer.c_str());
}

TEST(HostBrowse, ZenityAsksWhenThereIsADisplay) {
  // A stand-in for zenity on the PATH: it notes its arguments and answers with
  // the folder or the exit status the case wants.
  const std::string root = host::prefixRoot();
  std::remove((root + "/browse.answer").c_str());
  std::filesystem::create_directories(root + "/drive_c/Apps/Tools");
  const std::string bin = root + "/../fake-zenity";
  std::filesystem::create_directories(bin);
  const std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  const ScopedEnv path("PATH", (bin + ":" + oldPath).c_str());
  const ScopedEnv display("DISPLAY", ":99");
  const struct {
    std::string script;
    bool ok;
    const char* path;
  } cases[] = {
      {"echo '" + root + "/drive_c/Apps/Tools'", true, "C:\\Apps\\Tools"},
      {"echo /tmp", false, nullptr},  // outside every drive
      {"exit 1", false, nullptr},     // cancelled
  };
  for (const auto& c : cases) {
    const std::string zenity = bin + "/zenity";
    std::ofstream(zenity, std::ios::trunc) << "#!/bin/sh\necho \"$@\" > '" << bin << "/arguments'\n"
                                           << c.script << "\n";
    std::filesystem::permissions(zenity, std::filesystem::perms::owner_all);
    char path[MAX_PATH] = "unchanged";
    EXPECT_EQ(platform::browseForFolder(nullptr, "Choose", path), c.ok) << c.script;
    if (c.ok) {
      EXPECT_STREQ(path, c.path);
    }
    std::ifstream in(bin + "/arguments");
    std::string arguments;
    std::getline(in, arguments);
    EXPECT_EQ(arguments, "--file-selection --directory --title=Choose");
  }
  std::filesystem::remove_all(bin);
}

// The host takes its scale from KESTRANE_SCALE; anything but a factor from 1 to
// 4 leaves the display's 96 dots an inch.
TEST(HostDisplay, ScaleComesFromTheEnvironment) {
  const struct {
    const char* value;
    int dpi;
  } cases[] = {{nullptr, 96}, {"1", 96}, {"1.25", 120}, {"1.5", 144}, {"2", 192},
               {"4", 384},    {"", 96},  {"0.5", 96},   {"2x", 96},  {"nan", 96}};
  for (const auto& c : cases) {
    ScopedEnv scale("KESTRANE_SCALE", c.value);
    EXPECT_EQ(platform::displayDpi(nullptr), c.dpi) << (c.value ? c.value : "(unset)");
  }
}
