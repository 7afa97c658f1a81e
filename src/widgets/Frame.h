// The window's frame: a left and a right edge stretched to the window's height,
// and a bottom strip across its width where no navigation bar covers it. Each
// piece keeps its stretched picture in a cache, so it is resampled only when the
// window's size changes.
#pragma once

#include "render/Image.h"
#include "render/Sprite.h"

class Frame {
 public:
  int LeftWidth() const { return left != nullptr ? left->width : 0; }
  int RightWidth() const { return right != nullptr ? right->width : 0; }
  int BottomHeight() const { return middle != nullptr ? middle->height : 0; }

  void Draw(Image* surface, int windowWidth, int windowHeight, bool bottomStrip);

  // The skin's sprites, not owned; any may be null.
  const Sprite* left = nullptr;
  const Sprite* middle = nullptr;
  const Sprite* right = nullptr;
  Image leftCache;
  Image middleCache;
  Image rightCache;
};
