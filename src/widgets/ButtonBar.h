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

// One button of a bar, as LayOutBarButtons places it.
struct BarButton {
  int captionWidth = 0;       // in: its caption's width; negative when it is hidden
  bool rightAligned = false;  // in
  int slotLeft = 0;           // out: the button's slot, [slotLeft, slotRight)
  int slotRight = 0;          //      (empty for a hidden button)
  int captionX = 0;           // out: where its caption's left edge goes
};

// Lays `count` buttons out in a strip from `x`, `width` wide: each visible one
// takes a slot as wide as its caption and the hot look's end pieces (`endLeft`,
// `endRight`); left-aligned ones line up from the strip's left edge rightwards,
// right-aligned ones from its right edge leftwards, in list order; hidden ones
// take no room. The caption stands beside the end piece on the strip's side.
// Slots too wide together for the strip are narrowed, the widest first and all
// to one width, until they fit or are down to their end pieces; a caption wider
// than its narrowed slot starts at the slot's left end piece and runs on. True
// when every caption fits its slot without that.
bool LayOutBarButtons(BarButton* buttons, int count, int x, int width, int endLeft, int endRight);

class ButtonBar {
 public:
  // The height of set 0's left piece; 0 without one.
  int Height() const;

  // Places every button in the strip starting at (x, y), `width` wide, as
  // LayOutBarButtons does: positions and hit rectangles (empty for hidden and
  // non-clickable buttons). True when every visible caption fits its slot.
  bool Layout(int x, int y, int width);

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
