#include "widgets/FocusList.h"

#include "platform/WinDefs.h"
#include "platform/Window.h"
#include "widgets/ContentItem.h"

namespace {

bool isVisible(const Widget* widget) {
  return widget != nullptr && widget->item != nullptr && (widget->item->flags & kItemVisible) != 0;
}

}  // namespace

int FocusList::HandleMessage(int originX, int originY, platform::WindowHandle window,
                             unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                             int* result, int* repaint) {
  int scratchResult = 0, scratchRepaint = 0;
  if (result == nullptr) result = &scratchResult;
  if (repaint == nullptr) repaint = &scratchRepaint;
  *result = 0;
  *repaint = 0;

  if (message == WM_CHAR && wParam == 9) {
    FocusNext(platform::getKeyState(VK_SHIFT) < 0);
    *repaint = 1;
    return 1;
  }

  if (message == WM_LBUTTONDOWN) {
    const int x = PointX(lParam) - originX, y = PointY(lParam) - originY;
    for (int i = 0; i < count(); ++i) {
      Widget* widget = at(i);
      if (!isVisible(widget) || !widget->HitTest(x, y)) continue;
      if (i != focused && widget->CanFocus()) {
        if (Widget* previous = Focused()) previous->OnFocusLost();
        focused = i;
        widget->OnFocusGained();
        *repaint = 1;
      }
      break;
    }
  }

  Widget* widget = Focused();
  if (!isVisible(widget)) return 0;
  if (!widget->HandleMessage(originX, originY, window, message, wParam, lParam, result)) return 0;
  *repaint = 1;
  return 1;
}

void FocusList::SetFocusIndex(int i) {
  focused = isValidIndex(i) ? i : -1;
  for (int k = 0; k < count(); ++k) {
    Widget* widget = at(k);
    if (widget == nullptr) continue;
    if (k == focused) {
      widget->OnFocusGained();
    } else {
      widget->OnFocusLost();
    }
  }
}

void FocusList::FocusNext(bool backwards) {
  const int n = count();
  if (n == 0) return;
  const int step = backwards ? -1 : 1;
  int i = focused;
  // At most n steps: the walk comes back to where it started, or, starting from
  // no focus at all, has seen every widget.
  for (int walked = 0; walked < n; ++walked) {
    i += step;
    if (i < 0) i = n - 1;
    if (i >= n) i = 0;
    if (i == focused) return;
    Widget* widget = at(i);
    if (widget != nullptr && widget->CanFocus()) {
      if (Widget* previous = Focused()) previous->OnFocusLost();
      focused = i;
      widget->OnFocusGained();
      return;
    }
  }
}
