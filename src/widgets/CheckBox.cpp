#include "widgets/CheckBox.h"

#include <algorithm>
#include <new>

#include "render/Composite.h"
#include "render/MaskOps.h"
#include "widgets/LinkButton.h"

namespace {

constexpr COLORREF kFocusColour = 0xFFC4C4;
constexpr COLORREF kLabelShadow = 0xC8C8C8;
constexpr COLORREF kLabelFace = 0xA00000;

}  // namespace

CheckBox* CheckBox::New() {
  return new (std::nothrow) CheckBox();
}

int CheckBox::Setup(const CheckBoxParts& parts, int x, int y, ItemList& list) {
  style = parts.style;
  uncheckedSprite = parts.unchecked;
  checkedSprite = parts.checked;
  const BitmapFont* font = parts.font;
  if (font == nullptr) return 0;
  const char* text = parts.text != nullptr ? parts.text : "";
  const Size size = font->Measure(text, false);
  Sprite* sprite = font->NewCaptionSprite(text, false, false);
  const int tickWidth = checkedSprite != nullptr ? checkedSprite->width : 0;
  const int boxWidth = tickWidth + std::max(size.cx, parts.minLabelWidth);
  const int lpw = StyleLeftWidth(style), rpw = StyleRightWidth(style), ph = StyleHeight(style);
  if (!picture.Create(lpw + boxWidth + rpw, ph, 24) ||
      !focusMask.CreateGrey(boxWidth + 2 * scale.Px(1), ph - 2 * scale.Px(3))) {
    delete sprite;
    return 0;
  }
  maskPosition = Point{lpw - scale.Px(1), scale.Px(3)};
  tickPosition = Point{lpw, 0};
  labelPosition = Point{lpw + tickWidth, (ph - size.cy + 1) / 2};
  label = sprite;
  if (!AddItem(list, sprite, x, y)) {
    label = nullptr;
    return 0;
  }
  checked = parts.isChecked ? 1 : 0;
  Redraw();
  return 1;
}

void CheckBox::SetChecked(int value) {
  checked = value;
  Redraw();
}

void CheckBox::Redraw() {
  if (!picture.HasPixels()) return;
  const int shift = focused ? scale.Px(1) : 0;
  if (style != nullptr) style->Draw(&picture, 0, 0, picture.Width());
  FillGreyRect(&focusMask, 0, 0, focusMask.Width(), focusMask.Height(), focused ? 255 : 0, 255);
  FillMask(&picture, maskPosition.x, maskPosition.y, &focusMask, kFocusColour, 0, 0, 255);
  DrawSpriteColoured(label, &picture, labelPosition.x - shift, labelPosition.y, kLabelShadow,
                     kLabelFace, 255);
  const Sprite* tick = checked ? checkedSprite : uncheckedSprite;
  if (tick != nullptr) {
    DrawSpriteColoured(tick, &picture, tickPosition.x + shift,
                       (picture.Height() - tick->height + 1) / 2, kLabelShadow, kLabelFace, 255);
  }
}

int CheckBox::HandleMessage(int originX, int originY, platform::WindowHandle, unsigned message,
                            std::uintptr_t wParam, std::intptr_t lParam, int* result) {
  if (result != nullptr) *result = 0;
  if (message == WM_CHAR && IsPressKey(wParam)) {
    SetChecked(!checked);
    return 1;
  }
  if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) &&
      HitTest(PointX(lParam) - originX, PointY(lParam) - originY)) {
    SetChecked(!checked);
    return 1;
  }
  return 0;
}
