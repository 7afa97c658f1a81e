// ProgressBar: the install progress, a bar filled to a fraction with the
// percentage written over it. It never takes the focus.
#pragma once

#include "render/BitmapFont.h"
#include "widgets/WidgetKind.h"

class ProgressBar : public PictureWidget {
 public:
  ProgressBar();

  // A new bar, or null when memory is short; Setup comes next.
  static ProgressBar* New();

  // A picture `width` wide and as high as the style's left piece, its item at
  // (x, y) in `list`, its margins at `scale`. 0 when the pictures or the item
  // can't be made.
  int Setup(const BitmapFont* font, int x, int y, ItemList& list, ThreePieceBar* style, int width,
            DisplayScale scale = DisplayScale());
  // Clamps to 0..1 and redraws; false, with nothing redrawn, when the bar
  // already showed that fraction.
  bool SetFraction(double f);
  // Renders the picture from the widget's state.
  void Redraw() override;

  // The text drawn for the current fraction, and where it went.
  const char* Text() const { return text_; }
  Point TextPosition() const { return textPosition_; }

  const BitmapFont* font = nullptr;
  // The decimal mark of the percentage ("42.0%", "42,0%").
  char decimalMark = '.';
  ThreePieceBar* style = nullptr;
  Image barMask;
  Point maskPosition;
  double fraction = 0.0;

 private:
  char text_[32] = {};
  Point textPosition_;
};
