// TextView: the scrollable licence, wrapped lines on white with a narrow scroll
// track at the right. Keys, the wheel and the track scroll it.
#pragma once

#include <vector>

#include "base/SetupString.h"
#include "render/BitmapFont.h"
#include "widgets/WidgetKind.h"

class TextView : public PictureWidget {
 public:
  TextView() { kind = kWidgetTextView; }

  // A new view, or null when memory is short; Setup comes next.
  static TextView* New();

  // A width x height view of `length` bytes of text wrapped to maxChars
  // characters and the width less 20, its item at (x, y) in `list`; its margins
  // and scroll track at `scale`. 0 when the picture or the item can't be made.
  int Setup(const BitmapFont* font, int x, int y, int width, int height, const char* text,
            int length, int maxChars, ItemList& list, DisplayScale scale = DisplayScale());

  void Redraw() override { Render(); }
  void Render();
  int HandleMessage(int originX, int originY, platform::WindowHandle window, unsigned message,
                    std::uintptr_t wParam, std::intptr_t lParam, int* result) override;
  // The point, relative to the page origin, is on the scroll track.
  virtual int HitTestScrollBar(int x, int y);

  // Clamps t to the lines there are to scroll through; whether the top line
  // changed.
  bool SetTopLine(int t);
  // The row of the thumb in the picture: at the top when the whole text fits.
  int ThumbY() const;
  int LineCount() const { return int(lines.size()); }

  const BitmapFont* font = nullptr;
  std::vector<SetupString> lines;
  int top = 0;
  int visibleLines = 0;
  int padding = 0;
  int lineHeight = 1;
};
