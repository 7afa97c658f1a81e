// Where the file-type page puts its check boxes, one per optional extension of the
// offered type: a grid right of the side picture, from y 130 down to the page's
// links at y 276. The page lays its boxes out with it, and kpack asks it how many
// boxes the default skin can show, so the two always agree.
#pragma once

#include "render/BitmapFont.h"
#include "render/DisplayScale.h"
#include "render/Geometry.h"
#include "render/Sprite.h"
#include "render/ThreePieceBar.h"
#include "widgets/SkinSlots.h"

// The page's check boxes are made of the skin's widget style (skinslot::kWidget*),
// its ticks (skinslot::kTick*) and the page text font (skinslot::kPageTextFont).

struct FileTypeGrid {
  int left = 0;  // x of the first column
  int top = 0;   // y of the first row
  int rowSpacing = 0;
  Size cell;        // the size of one check box's picture
  int columns = 0;  // 0 when not even one box fits across
  int gap = 0;      // between columns
  int rows = 0;     // rows that end above the links

  // How many boxes the page shows in full.
  int Capacity() const { return columns * rows; }
  // The page position of box `index`, filling rows left to right. Boxes past
  // Capacity() go on below the links.
  Point BoxPosition(int index) const;
};

// The grid for boxes of `cell` size beside a side picture `sidePictureWidth` wide,
// all three (and the grid) in pixels at `scale`.
FileTypeGrid LayOutFileTypeGrid(int sidePictureWidth, Size cell,
                                DisplayScale scale = DisplayScale());

// The picture size every box gets when the boxes for `labels` are made as the page
// makes them (CheckBox::Setup with the widest label as the minimum label width).
// Missing pieces count as 0 wide.
Size FileTypeCheckBoxCell(const BitmapFont* font, const char* const* labels, int count,
                          const ThreePieceBar* style, const Sprite* checked);
