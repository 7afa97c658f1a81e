#include "widgets/TextView.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "platform/Window.h"
#include "render/MaskOps.h"
#include "widgets/TextWrap.h"

namespace {

constexpr COLORREF kFrameColour = 0x808080;
constexpr COLORREF kPaperColour = 0xFFFFFF;
constexpr COLORREF kTrackColour = 0xFFC4C4;
constexpr COLORREF kEdgeColour = 0;
// Room kept free inside the view: 6 pixels above and below the lines, and 20
// across for the margins and the scroll track.
constexpr int kVerticalRoom = 12;
constexpr int kHorizontalRoom = 20;

}  // namespace

TextView* TextView::New() {
  return new (std::nothrow) TextView();
}

int TextView::Setup(const BitmapFont* newFont, int x, int y, int width, int height,
                    const char* text, int length, int maxChars, ItemList& list,
                    DisplayScale newScale) {
  font = newFont;
  scale = newScale;
  if (font == nullptr || !picture.Create(width, height, 24)) return 0;
  top = 0;
  lineHeight = font->metrics.tmHeight > 0 ? font->metrics.tmHeight : 1;
  // A view too low for any line shows none rather than a negative count.
  const int room = std::max(0, height - scale.Px(kVerticalRoom));
  visibleLines = room / lineHeight;
  padding = (room % lineHeight) / 2;
  WrapText(*font, text, length, maxChars, width - scale.Px(kHorizontalRoom), lines);
  if (!AddItem(list, MakeSprite(kSpritePicture, &picture, nullptr), x, y)) return 0;
  Render();
  return 1;
}

int TextView::ThumbY() const {
  const int range = LineCount() - visibleLines;
  if (range <= 0) return 0;
  return int(std::int64_t(picture.Height() - 2 * scale.Px(1)) * top / range);
}

void TextView::Render() {
  if (!picture.HasPixels()) return;
  const int w = picture.Width(), h = picture.Height();
  // One line is a pixel at 96 dots an inch; the track is 7 wide inside it.
  const int line = scale.Px(1), track = w - scale.Px(9);
  picture.Fill(kFrameColour);
  FillRectBlend(&picture, Rect{line, line, track, h - line}, kPaperColour, 255);
  FillRectBlend(&picture, Rect{track + line, line, w - line, h - line}, kTrackColour, 255);
  const int ty = ThumbY();
  FillRectBlend(&picture, Rect{track, ty, w, ty + line}, kPaperColour, 255);
  FillRectBlend(&picture, Rect{track, ty - line, w, ty}, kEdgeColour, 255);
  FillRectBlend(&picture, Rect{track, ty + line, w, ty + 2 * line}, kEdgeColour, 255);
  if (font == nullptr) return;
  const int shown = std::min(visibleLines, LineCount() - top);
  for (int i = 0; i < shown; ++i) {
    font->DrawText(&picture, scale.Px(6), padding + scale.Px(6) + i * lineHeight,
                   lines[std::size_t(top + i)].text(), kDefaultShadowColour, kDefaultFaceColour,
                   false);
  }
}

bool TextView::SetTopLine(int t) {
  // The upper bound first: when the whole text fits it is below 0, and the top
  // line must still not go negative.
  t = std::min(t, LineCount() - visibleLines);
  t = std::max(t, 0);
  if (t == top) return false;
  top = t;
  return true;
}

int TextView::HitTestScrollBar(int x, int y) {
  if (item == nullptr) return 0;
  const int w = picture.Width(), h = picture.Height();
  const int line = scale.Px(1);
  return x >= item->x + w - scale.Px(8) && x < item->x + w - line && y >= item->y + line &&
         y < item->y + h - line;
}

int TextView::HandleMessage(int originX, int originY, platform::WindowHandle window,
                            unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                            int* result) {
  if (result != nullptr) *result = 0;
  if (message == WM_KEYDOWN) {
    int t;
    switch (int(wParam)) {
      case VK_PRIOR:
        t = top - visibleLines + 1;
        break;
      case VK_NEXT:
        t = top + visibleLines - 1;
        break;
      case VK_END:
        t = LineCount();
        break;
      case VK_HOME:
        t = 0;
        break;
      case VK_UP:
        t = top - 1;
        break;
      case VK_DOWN:
        t = top + 1;
        break;
      default:
        return 0;
    }
    if (!SetTopLine(t)) return 0;
    Render();
    return 1;
  }
  if (message == WM_MOUSEWHEEL) {
    int x = PointX(lParam), y = PointY(lParam);
    if (!platform::screenToClient(window, x, y)) return 0;
    if (!HitTest(x - originX, y - originY)) return 0;
    const int delta = std::int16_t(std::uint16_t((wParam >> 16) & 0xFFFF));
    SetTopLine(top - delta / WHEEL_DELTA);
    Render();
    return 1;
  }
  const bool drag = message == WM_MOUSEMOVE && platform::getKeyState(VK_LBUTTON) < 0;
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || drag) {
    const int x = PointX(lParam) - originX, y = PointY(lParam) - originY;
    const int track = picture.Height() - 2 * scale.Px(1);
    if (track <= 0 || !HitTestScrollBar(x, y)) return 0;
    const std::int64_t range = LineCount() - visibleLines;
    if (!SetTopLine(int(range * (y - item->y - scale.Px(1)) / track))) return 0;
    Render();
    return 1;
  }
  return 0;
}
