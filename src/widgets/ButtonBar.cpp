#include "widgets/ButtonBar.h"

namespace {

int widthOf(const Sprite* sprite) {
  return sprite != nullptr ? sprite->width : 0;
}

}  // namespace

int ButtonBar::Height() const {
  return sets[0].left != nullptr ? sets[0].left->height : 0;
}

void ButtonBar::Layout(int x, int y, int width) {
  const int barHeight = Height();
  const int lw = widthOf(sets[2].left), rw = widthOf(sets[2].right);
  int left = x, right = x + width;
  for (int i = 0; i < items.count(); ++i) {
    ContentItem* item = items.at(i);
    if (item == nullptr) continue;
    if ((item->flags & kItemVisible) == 0) {
      item->rect = Rect{};
      continue;
    }
    const int g = widthOf(item->normal);
    const int h = item->normal != nullptr ? item->normal->height : 0;
    const int slotWidth = g + lw + rw;
    Rect slot;
    if ((item->flags & kItemRightAligned) != 0) {
      slot = Rect{right - slotWidth, y, right, y + barHeight};
      right -= slotWidth;
      item->x = slot.right - rw - g;
    } else {
      slot = Rect{left, y, left + slotWidth, y + barHeight};
      left += slotWidth;
      item->x = slot.left + lw;
    }
    item->y = y + (barHeight - h + 2) / 2;
    item->rect = (item->flags & kItemClickable) != 0 ? slot : Rect{};
  }
}

Rect ButtonBar::Strip(int layerKind, int windowWidth, int windowHeight) const {
  const int top = layerKind == kCaptionBar ? 0 : windowHeight - Height();
  return Rect{0, top, windowWidth, top + Height()};
}

bool ButtonBar::Contains(int x, int y, int layerKind, int windowWidth, int windowHeight) const {
  const Rect strip = Strip(layerKind, windowWidth, windowHeight);
  return x >= strip.left && x < strip.right && y >= strip.top && y < strip.bottom;
}

int ButtonBar::ItemAt(int x, int y, int layerKind, int windowWidth, int windowHeight) {
  const Rect strip = Strip(layerKind, windowWidth, windowHeight);
  Layout(strip.left, strip.top, strip.Width());
  return items.HitTest(x, y);
}

void ButtonBar::Draw(Image* surface, int windowWidth, int windowHeight, int layerKind, bool hover) {
  const Rect strip = Strip(layerKind, windowWidth, windowHeight);
  sets[hover ? 1 : 0].Draw(surface, strip.left, strip.top, strip.Width());
  Layout(strip.left, strip.top, strip.Width());
  const ContentItem* hotItem = items.at(items.hotIndex);
  if (hotItem != nullptr && (hotItem->flags & kItemVisible) != 0) {
    sets[2].Draw(surface, hotItem->rect.left, hotItem->rect.top, hotItem->rect.Width());
  }
  items.Draw(surface, false, 0, 0);
}
