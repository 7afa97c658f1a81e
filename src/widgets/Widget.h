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

  ContentItem* item = nullptr;
  int kind = kWidgetBase;
  int focusable = 1;
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
