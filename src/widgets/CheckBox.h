// CheckBox: a tick box with a label; a click, or Space or "x" while focused,
// turns it over.
#pragma once

#include "render/BitmapFont.h"
#include "widgets/WidgetKind.h"

class CheckBox : public PictureWidget {
 public:
  CheckBox() { kind = kWidgetCheckBox; }

  // A new check box, or null when memory is short; Setup comes next.
  static CheckBox* New();

  // Renders the label (null counts as "") and a picture holding the tick and at
  // least minLabelWidth of label, as high as the style's left piece; the item
  // goes to (x, y) in `list`. The tick sprites belong to the skin. 0 when the
  // pictures or the item can't be made.
  int Setup(const BitmapFont* font, int x, int y, const char* text, ItemList& list,
            ThreePieceBar* style, const Sprite* unchecked, const Sprite* checked, int isChecked,
            int minLabelWidth);
  void SetChecked(int value);
  void OnFocusGained() override {
    focused = true;
    Redraw();
  }
  void OnFocusLost() override {
    focused = false;
    Redraw();
  }
  // Renders the picture from the widget's state.
  void Redraw();
  int HandleMessage(int originX, int originY, platform::WindowHandle window, unsigned message,
                    std::uintptr_t wParam, std::intptr_t lParam, int* result) override;

  ThreePieceBar* style = nullptr;
  const Sprite* uncheckedSprite = nullptr;
  const Sprite* checkedSprite = nullptr;
  Sprite* label = nullptr;  // owned by the item
  int checked = 0;
  Image focusMask;
  Point maskPosition;
  Point tickPosition;
  Point labelPosition;
};
