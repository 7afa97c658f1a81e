#include "widgets/Frame.h"

#include "render/Composite.h"
#include "render/Resample.h"

void Frame::Draw(Image* surface, int windowWidth, int windowHeight, bool bottomStrip) {
  if (surface == nullptr) return;
  if (left != nullptr && left->first != nullptr &&
      RescaleCached(leftCache, *left->first, left->width, windowHeight)) {
    DrawImage(surface, 0, 0, &leftCache);
  }
  if (right != nullptr && right->first != nullptr &&
      RescaleCached(rightCache, *right->first, right->width, windowHeight)) {
    DrawImage(surface, windowWidth - right->width, 0, &rightCache);
  }
  if (!bottomStrip || middle == nullptr || middle->first == nullptr) return;
  const int top = windowHeight - middle->height;
  if (EnsureBarMiddle(middleCache, *middle->first, windowWidth, middle->height)) {
    Copy(surface, 0, top, &middleCache, 0, 0, windowWidth, middle->height);
  } else {
    for (int x = 0; x < windowWidth; ++x) DrawSpriteAt(middle, surface, x, top, 255);
  }
}
