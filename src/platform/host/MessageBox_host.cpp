// Host message boxes: SDL's, with the same caption, text and buttons; answered
// from a queue instead when a test has queued answers.
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/WinDefs.h"
#include "platform/host/HostWindow.h"

namespace platform {
namespace {

constexpr int kMessageBoxTries = 3;

struct Answers {
  std::mutex lock;
  std::deque<int> queued;
  std::vector<host::ShownMessageBox> shown;
};

Answers& answers() {
  static Answers a;
  return a;
}

}  // namespace

namespace host {

void queueMessageBoxAnswer(int answer) {
  std::lock_guard<std::mutex> hold(answers().lock);
  answers().queued.push_back(answer);
}

std::vector<ShownMessageBox> takeShownMessageBoxes() {
  std::lock_guard<std::mutex> hold(answers().lock);
  return std::move(answers().shown);
}

bool answerQueuedMessageBox(const ShownMessageBox& box, int& answer) {
  std::lock_guard<std::mutex> hold(answers().lock);
  if (answers().queued.empty()) return false;
  answer = answers().queued.front();
  answers().queued.pop_front();
  answers().shown.push_back(box);
  return true;
}

void clearMessageBoxAnswers() {
  std::lock_guard<std::mutex> hold(answers().lock);
  answers().queued.clear();
  answers().shown.clear();
}

}  // namespace host

int messageBox(WindowHandle owner, const char* text, const char* caption, unsigned type) {
  const host::ShownMessageBox box{owner, text != nullptr ? text : "",
                                  caption != nullptr ? caption : "Error", type};
  int answer = 0;
  if (host::answerQueuedMessageBox(box, answer)) return answer;
  // Without a display SDL would try other ways of asking (zenity, where it is
  // installed, which then fails in its own way): a box needs a display, here
  // as on Windows.
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 == nullptr || *x11 == '\0') && (wayland == nullptr || *wayland == '\0')) {
    std::fprintf(stderr, "message box \"%s\" not shown: no display\n",
                 host::ansiToUtf8(box.caption.c_str()).c_str());
    return 0;
  }

  const bool yesNo = (type & 0xF) == MB_YESNO;
  const bool retryCancel = (type & 0xF) == MB_RETRYCANCEL;
  // Enter takes the first button and Escape the last, as in the Windows boxes.
  const SDL_MessageBoxButtonData okButton[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
       "OK"}};
  const SDL_MessageBoxButtonData yesNoButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"}};
  const SDL_MessageBoxButtonData retryCancelButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDRETRY, "Retry"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"}};
  const unsigned icon = type & 0xF0;
  const std::string utf8Text = host::ansiToUtf8(box.text.c_str());
  const std::string utf8Caption = host::ansiToUtf8(box.caption.c_str());
  host::HostWindow* parent = host::findWindow(owner);
  SDL_MessageBoxData data = {};
  data.flags = icon == MB_ICONERROR     ? SDL_MESSAGEBOX_ERROR
               : icon == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING
                                        : SDL_MESSAGEBOX_INFORMATION;
  data.window = parent != nullptr ? parent->sdl : nullptr;
  data.title = utf8Caption.c_str();
  data.message = utf8Text.c_str();
  data.numbuttons = yesNo || retryCancel ? 2 : 1;
  data.buttons = yesNo ? yesNoButtons : retryCancel ? retryCancelButtons : okButton;
  // SDL shows the box from a child process, which a loaded machine now and then
  // fails to start; the box is what tells the user what happened, so it is tried
  // again before giving up.
  int chosen = -1;
  int tries = 0;
  while (SDL_ShowMessageBox(&data, &chosen) != 0) {
    if (++tries == kMessageBoxTries) {
      std::fprintf(stderr, "message box \"%s\" not shown: %s\n", utf8Caption.c_str(),
                   SDL_GetError());
      return 0;
    }
  }
  // Closing the box is its Escape button.
  if (chosen < 0) return yesNo ? IDNO : retryCancel ? IDCANCEL : IDOK;
  return chosen;
}

}  // namespace platform
