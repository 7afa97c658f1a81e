// ButtonBar: the caption bar at the top of the window and the navigation bar at
// the bottom, a strip of buttons over three bar styles.
//
// Set 0 is drawn normally, set 1 while the mouse is over the bar, set 2 behind
// the hot button. Buttons are laid out left to right, except right-aligned ones,
// which line up from the right edge leftwards in list order; hidden buttons take
// no room, so the others close ranks.
#pragma once

#include "render/Image.h"
#include "render/ThreePieceBar.h"
#include "widgets/ContentItem.h"

constexpr int kCaptionBar = 0;
constexpr int kNavigationBar = 1;

class ButtonBar {
 public:
  // The height of set 0's left piece; 0 without one.
  int Height() const;

  // Places every button in the strip starting at (x, y), `width` wide: positions
  // and hit rectangles (empty for hidden and non-clickable buttons).
  void Layout(int x, int y, int width);

  // The bar's strip in a window of that size: at the top for kCaptionBar, at the
  // bottom for kNavigationBar.
  Rect Strip(int layerKind, int windowWidth, int windowHeight) const;
  bool Contains(int x, int y, int layerKind, int windowWidth, int windowHeight) const;
  // Lays the bar out in its strip and hit-tests the buttons (window
  // coordinates): the index of the button hit, which becomes the hot one, or -1.
  int ItemAt(int x, int y, int layerKind, int windowWidth, int windowHeight);

  // Set 1 when hovered, else set 0, across the strip; set 2 behind the hot
  // button when it is visible; then the buttons, never hot.
  void Draw(Image* surface, int windowWidth, int windowHeight, int layerKind, bool hover);

  ItemList items;
  ThreePieceBar sets[3];
};
