// Widget: the base of the interactive controls (check box, progress bar, link,
// text view).
//
// A widget belongs to one ContentItem of the page's content list: the item gives
// it its place and its visible bit, and the list draws the widget in the item's
// stead. The virtual operations keep the order below; kinds add their own after
// CanFocus.
//
// Coordinates: HandleMessage and Draw get the page origin in window coordinates
// and add the item's position themselves; HitTest gets a point already made
// relative to the page origin.
//
// Focus: the focus list tells a widget when it gains or loses the keyboard
// (OnFocusGained, OnFocusLost); the base keeps that in `focused` and has the
// widget draw itself anew when it changed, so a kind only says how it looks
// focused, in Redraw.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"
#include "platform/WinDefs.h"
#include "render/Image.h"

class ContentItem;

constexpr int kWidgetBase = 5;
constexpr int kWidgetCheckBox = 1;
constexpr int kWidgetProgressBar = 2;
constexpr int kWidgetLinkButton = 3;
constexpr int kWidgetTextView = 4;

class Widget {
 public:
  Widget() = default;
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  virtual ~Widget();
  virtual void Bind(ContentItem* item);
  // Set `focused`, and redraw when it changed; the kinds keep these.
  virtual void OnFocusGained();
  virtual void OnFocusLost();
  // Non-zero when the widget took the message; *result is what the window
  // procedure then returns (the base takes nothing and sets it to 0).
  virtual int HandleMessage(int originX, int originY, platform::WindowHandle window,
                            unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                            int* result);
  virtual void Draw(Image* surface, bool hot, COLORREF shadowColour, COLORREF faceColour,
                    int originX, int originY);
  virtual int HitTest(int x, int y);
  // The widget has an item, the item is visible, and the kind takes focus.
  virtual int CanFocus();
  // Renders the widget's picture from its state (focused among it); the base
  // has none.
  virtual void Redraw();

  ContentItem* item = nullptr;
  int kind = kWidgetBase;
  int focusable = 1;
  // Whether the widget has the keyboard; only OnFocusGained and OnFocusLost
  // change it.
  bool focused = false;
};

// The signed x and y packed into a mouse message's lParam.
inline int PointX(std::intptr_t lParam) {
  return std::int16_t(std::uint16_t(std::uintptr_t(lParam) & 0xFFFF));
}
inline int PointY(std::intptr_t lParam) {
  return std::int16_t(std::uint16_t((std::uintptr_t(lParam) >> 16) & 0xFFFF));
}
inline std::intptr_t MakePointParam(int x, int y) {
  return std::intptr_t(
      std::int32_t(std::uint32_t(std::uint16_t(x)) | (std::uint32_t(std::uint16_t(y)) << 16)));
}
