#include "render/ThreePieceBar.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "render/Composite.h"
#include "render/Resample.h"

namespace {

int clampToInt(std::int64_t v) {
  return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : int(v);
}

int widthOf(const Sprite* sprite) {
  return sprite != nullptr ? sprite->width : 0;
}

}  // namespace

int ThreePieceBar::Draw(Image* dst, int x, int y, int width) {
  if (dst == nullptr) return 0;
  DrawSpriteAt(left, dst, x, y, 255);
  const int leftHeight = left != nullptr ? left->height : 0;
  const std::int64_t middleX = std::int64_t(x) + widthOf(left);
  const std::int64_t n = std::int64_t(width) - widthOf(left) - widthOf(right);

  if (n > 0 && middle != nullptr && middle->first != nullptr) {
    if (EnsureBarMiddle(cache, *middle->first, int(n), leftHeight)) {
      Copy(dst, clampToInt(middleX), y, &cache, 0, 0, int(n), leftHeight);
    } else {
      // Column by column, but only the columns that can reach the destination:
      // a piece at middleX + i shows when it ends right of 0 and starts left of
      // the destination's width.
      const std::int64_t first = std::max<std::int64_t>(0, 1 - widthOf(middle) - middleX);
      const std::int64_t end = std::min<std::int64_t>(n, dst->Width() - middleX);
      for (std::int64_t i = first; i < end; ++i) {
        DrawSpriteAt(middle, dst, int(middleX + i), y, 255);
      }
    }
  }

  DrawSpriteAt(right, dst, clampToInt(middleX + n), y, 255);
  return 1;
}
