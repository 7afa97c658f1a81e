#include "widgets/ProgressBar.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "render/Composite.h"
#include "render/MaskOps.h"

namespace {

// The bar's own colours: a light blue fill with a brighter leading edge, and
// white text with a black shadow.
constexpr COLORREF kFillColour = 0xFFA0A0;
constexpr COLORREF kTextShadow = 0;
constexpr COLORREF kTextFace = 0xFFFFFF;

}  // namespace

ProgressBar::ProgressBar() {
  kind = kWidgetProgressBar;
  focusable = 0;
}

ProgressBar* ProgressBar::New() {
  return new (std::nothrow) ProgressBar();
}

int ProgressBar::Setup(const BitmapFont* newFont, int x, int y, ItemList& list,
                       ThreePieceBar* newStyle, int width, DisplayScale newScale) {
  font = newFont;
  scale = newScale;
  style = newStyle;
  const int ph = StyleHeight(style);
  const int lpw = StyleLeftWidth(style), rpw = StyleRightWidth(style);
  if (!picture.Create(width, ph, 24)) return 0;
  const int inset = scale.Px(3), line = scale.Px(1);
  if (!barMask.CreateGrey(width - lpw - rpw + 2 * line, ph - 2 * inset)) return 0;
  maskPosition = Point{lpw - line, inset};
  if (!AddItem(list, MakeSprite(kSpritePicture, &picture, nullptr), x, y)) return 0;
  Redraw();
  return 1;
}

bool ProgressBar::SetFraction(double f) {
  // Written so that NaN, too, ends up in range.
  const double clamped = f > 0.0 ? (f < 1.0 ? f : 1.0) : 0.0;
  if (clamped == fraction) return false;
  fraction = clamped;
  Redraw();
  return true;
}

void ProgressBar::Redraw() {
  if (!picture.HasPixels()) return;
  const int maskWidth = barMask.Width(), maskHeight = barMask.Height();
  const int filled = int((maskWidth + 0.5) * fraction);
  if (style != nullptr) style->Draw(&picture, 0, 0, picture.Width());

  if (barMask.HasPixels()) {
    FillGreyRect(&barMask, 0, 0, maskWidth, maskHeight, 0, 255);
    FillGreyRect(&barMask, 0, 0, filled, maskHeight, 128, 255);
    const int edge = scale.Px(2);
    FillGreyRect(&barMask, filled - edge, 0, edge, maskHeight, 255, 255);
    FillMask(&picture, maskPosition.x, maskPosition.y, &barMask, kFillColour, 0, 0, 255);
  }

  std::snprintf(text_, sizeof text_, "%4.1f%%", fraction * 100.0);
  if (char* point = std::strchr(text_, '.')) *point = decimalMark;
  if (font == nullptr) return;
  const Size size = font->Measure(text_, false);
  const int margin = scale.Px(10);
  const int x =
      fraction > 0.5 ? maskPosition.x + margin : maskPosition.x + maskWidth - size.cx - margin;
  const int y = (maskHeight - size.cy + 1) / 2 + maskPosition.y;
  textPosition_ = Point{x, y};
  font->DrawText(&picture, x, y, text_, kTextShadow, kTextFace, false);
}
