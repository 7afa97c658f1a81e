// CheckBox: a tick box with a label; a click, or Space or "x" while focused,
// turns it over.
#pragma once

#include "render/BitmapFont.h"
#include "widgets/WidgetKind.h"

// What a check box is made of: its label in `font` (null text counts as ""),
// the style it is drawn over, the tick sprites (the skin's), whether it starts
// ticked, and the least room its label takes, so that boxes in a grid are as
// wide as each other.
struct CheckBoxParts {
  const BitmapFont* font = nullptr;
  const char* text = nullptr;
  ThreePieceBar* style = nullptr;
  const Sprite* unchecked = nullptr;
  const Sprite* checked = nullptr;
  bool isChecked = true;
  int minLabelWidth = 0;
};

class CheckBox : public PictureWidget {
 public:
  CheckBox() { kind = kWidgetCheckBox; }

  // A new check box, or null when memory is short; Setup comes next.
  static CheckBox* New();

  // Renders the label and a picture holding the tick and at least the parts'
  // label width, as high as the style's left piece; the item goes to (x, y) in
  // `list`. 0 when the pictures or the item can't be made.
  int Setup(const CheckBoxParts& parts, int x, int y, ItemList& list);
  void SetChecked(int value);
  // Renders the picture from the widget's state.
  void Redraw() override;
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
