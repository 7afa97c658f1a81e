// What the four widget kinds share: a pre-rendered picture placed by their item,
// and the bar style links, check boxes and the progress bar are drawn over.
#pragma once

#include "render/DisplayScale.h"
#include "render/Image.h"
#include "render/ThreePieceBar.h"
#include "widgets/ContentItem.h"
#include "widgets/Widget.h"

class PictureWidget : public Widget {
 public:
  // A plain copy of the picture at origin + item position, when the item is
  // visible.
  void Draw(Image* surface, bool hot, COLORREF shadowColour, COLORREF faceColour, int originX,
            int originY) override;
  // The picture's rectangle at the item's position.
  int HitTest(int x, int y) override;
  // Moves the widget's item to (x, y), its hit rectangle staying the picture's
  // (ContentItem::Place would take the label sprite's size instead). Nothing
  // without an item.
  void MoveTo(int x, int y);

  Image picture;
  // The scale the widget's margins are drawn at (its pieces and font come drawn
  // at it); set before Setup.
  DisplayScale scale;

 protected:
  // Makes the widget's item over `sprite` (owned by the item from now on, null
  // allowed) with flags 1 at (x, y), its rectangle the picture's, appends it to
  // `list` and binds it. 0 when it can't be made.
  int AddItem(ItemList& list, Sprite* sprite, int x, int y);
};

// The widths of a style's end pieces and the height of its left piece; 0 where a
// piece is missing.
int StyleLeftWidth(const ThreePieceBar* style);
int StyleRightWidth(const ThreePieceBar* style);
int StyleHeight(const ThreePieceBar* style);
