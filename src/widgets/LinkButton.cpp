#include "widgets/LinkButton.h"

#include <new>

#include "render/Composite.h"
#include "render/MaskOps.h"

namespace {

constexpr COLORREF kFocusColour = 0xFFC4C4;
constexpr COLORREF kLabelShadow = 0xC8C8C8;
constexpr COLORREF kLabelFace = 0xA00000;

}  // namespace

LinkButton* LinkButton::New() {
  return new (std::nothrow) LinkButton();
}

int LinkButton::Setup(const BitmapFont* newFont, int x, int y, const char* text, ItemList& list,
                      ThreePieceBar* newStyle) {
  font = newFont;
  style = newStyle;
  if (font == nullptr) return 0;
  if (text == nullptr) text = "";
  const Size size = font->Measure(text, false);
  Sprite* sprite = font->NewCaptionSprite(text, false, false);
  const int lpw = StyleLeftWidth(style), rpw = StyleRightWidth(style), ph = StyleHeight(style);
  if (!picture.Create(lpw + size.cx + rpw, ph, 24) ||
      !focusMask.CreateGrey(size.cx + 2 * scale.Px(1), ph - 2 * scale.Px(3))) {
    delete sprite;
    return 0;
  }
  maskPosition = Point{lpw - scale.Px(1), scale.Px(3)};
  textPosition = Point{lpw, (ph - size.cy + 1) / 2};
  label = sprite;
  if (!AddItem(list, sprite, x, y)) {
    label = nullptr;
    return 0;
  }
  Redraw();
  return 1;
}

void LinkButton::Redraw() {
  if (!picture.HasPixels()) return;
  if (style != nullptr) style->Draw(&picture, 0, 0, picture.Width());
  FillGreyRect(&focusMask, 0, 0, focusMask.Width(), focusMask.Height(), focused ? 255 : 0, 255);
  FillMask(&picture, maskPosition.x, maskPosition.y, &focusMask, kFocusColour, 0, 0, 255);
  DrawSpriteColoured(label, &picture, textPosition.x - (focused ? scale.Px(1) : 0), textPosition.y,
                     kLabelShadow, kLabelFace, 255);
}

void LinkButton::Activate(platform::WindowHandle window) {
  if (item == nullptr) return;
  item->flags |= kItemClickable;
  item->PostIfClickable(window);
  item->flags &= ~kItemClickable;
}

int LinkButton::HandleMessage(int originX, int originY, platform::WindowHandle window,
                              unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                              int* result) {
  if (result != nullptr) *result = 0;
  if (message == WM_CHAR && IsPressKey(wParam)) {
    Activate(window);
    return 1;
  }
  if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) &&
      HitTest(PointX(lParam) - originX, PointY(lParam) - originY)) {
    Activate(window);
    return 1;
  }
  return 0;
}
