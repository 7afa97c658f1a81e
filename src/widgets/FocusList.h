// FocusList: the window's widgets in Tab order, and which one has the keyboard.
//
// The window offers every message here first: Tab moves the focus, a click moves
// it to the widget under the mouse when that one can take it, and the focused
// widget then gets the message.
#pragma once

#include <cstdint>

#include "base/PtrArray.h"
#include "platform/PlatformTypes.h"
#include "widgets/Widget.h"

class FocusList : public OwningList<Widget> {
 public:
  FocusList() : OwningList<Widget>(8) {}

  // Non-zero when a widget took the message; *result is then the window
  // procedure's answer. *repaint is set when the picture changed (focus moved or
  // the widget took the message).
  int HandleMessage(int originX, int originY, platform::WindowHandle window, unsigned message,
                    std::uintptr_t wParam, std::intptr_t lParam, int* result, int* repaint);

  // Focuses widget i and tells every other one it has lost the focus.
  void SetFocusIndex(int i);

  // Moves the focus to the next (or previous) widget that can take it, wrapping
  // round; the focus stays where it is when no other one can.
  void FocusNext(bool backwards);

  Widget* Focused() const { return at(focused); }

  int focused = -1;
};
