// LinkButton: a text that acts when clicked or, focused, when Space or "x" is
// pressed, by posting its item's message (MSG_LINK with the link's code, set by
// the page builder). The item itself is never clickable, so the page layer's own
// hit testing never fires it twice; only the widget does.
#pragma once

#include "render/BitmapFont.h"
#include "widgets/WidgetKind.h"

class LinkButton : public PictureWidget {
 public:
  LinkButton() { kind = kWidgetLinkButton; }

  // A new link, or null when memory is short; Setup comes next.
  static LinkButton* New();

  // Renders the text (null counts as "") into the label and a picture around it
  // as high as the style's left piece; the item goes to (x, y) in `list`. 0 when
  // the pictures or the item can't be made.
  int Setup(const BitmapFont* font, int x, int y, const char* text, ItemList& list,
            ThreePieceBar* style);
  // Renders the picture from the widget's state.
  void Redraw() override;
  int HandleMessage(int originX, int originY, platform::WindowHandle window, unsigned message,
                    std::uintptr_t wParam, std::intptr_t lParam, int* result) override;

  // Posts the item's message as a click would.
  void Activate(platform::WindowHandle window);

  const BitmapFont* font = nullptr;
  ThreePieceBar* style = nullptr;
  Sprite* label = nullptr;  // owned by the item
  Image focusMask;
  Point maskPosition;
  Point textPosition;
};

// Space, "X" and "x": the keys that press a focused link or check box.
inline bool IsPressKey(std::uintptr_t ch) {
  return ch == 32 || ch == 88 || ch == 120;
}
