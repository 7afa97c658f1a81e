// ThreePieceBar: a bar of any width from a left piece, a middle piece stretched to
// fill, and a right piece. The stretched middle is kept in a cache image, so it is
// resampled when the bar grows, not on every repaint.
#pragma once

#include "render/Image.h"
#include "render/Sprite.h"

class ThreePieceBar {
 public:
  ThreePieceBar() = default;
  ThreePieceBar(const Sprite* left, const Sprite* middle, const Sprite* right)
      : left(left), middle(middle), right(right) {}
  ThreePieceBar(const ThreePieceBar&) = delete;
  ThreePieceBar& operator=(const ThreePieceBar&) = delete;

  // Draws the bar `width` pixels wide at (x, y): the left piece, then the middle
  // rescaled to the width between the ends and the left piece's height (from the
  // cache), then the right piece. If the middle can't be rescaled it is drawn once
  // per column instead. A width below the two ends' draws no middle, and the right
  // piece then overlaps the left. 0 for a missing destination.
  int Draw(Image* dst, int x, int y, int width);

  // The pieces belong to whoever made them (the skin's sprite list); any may be
  // null.
  const Sprite* left = nullptr;
  const Sprite* middle = nullptr;
  const Sprite* right = nullptr;
  Image cache;
};
