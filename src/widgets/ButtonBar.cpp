#include "widgets/ButtonBar.h"

#include <algorithm>
#include <vector>

namespace {

int widthOf(const Sprite* sprite) {
  return sprite != nullptr ? sprite->width : 0;
}

// The room the slots take when none is wider than `cap`.
long long cappedTotal(const BarButton* buttons, int count, int ends, int cap) {
  long long total = 0;
  for (int i = 0; i < count; ++i) {
    if (buttons[i].captionWidth >= 0) total += std::min(buttons[i].captionWidth + ends, cap);
  }
  return total;
}

}  // namespace

bool LayOutBarButtons(BarButton* buttons, int count, int x, int width, int endLeft, int endRight) {
  const int ends = endLeft + endRight;
  int widest = ends;
  for (int i = 0; i < count; ++i) widest = std::max(widest, buttons[i].captionWidth + ends);
  // The widest cap at which the slots fit: found by halving, as the room they
  // take grows with the cap.
  int cap = widest;
  if (cappedTotal(buttons, count, ends, cap) > width) {
    int low = ends, high = widest;  // low fits, or nothing narrower would
    while (high - low > 1) {
      const int middle = low + (high - low) / 2;
      (cappedTotal(buttons, count, ends, middle) <= width ? low : high) = middle;
    }
    cap = low;
  }
  bool fits = true;
  int left = x, right = x + width;
  for (int i = 0; i < count; ++i) {
    BarButton& b = buttons[i];
    if (b.captionWidth < 0) {
      b.slotLeft = b.slotRight = b.captionX = 0;
      continue;
    }
    const int slotWidth = std::min(b.captionWidth + ends, cap);
    if (b.rightAligned) {
      b.slotRight = right;
      b.slotLeft = right -= slotWidth;
    } else {
      b.slotLeft = left;
      b.slotRight = left += slotWidth;
    }
    const bool whole = b.captionWidth + ends <= slotWidth;
    fits = fits && whole;
    b.captionX =
        whole && b.rightAligned ? b.slotRight - endRight - b.captionWidth : b.slotLeft + endLeft;
  }
  return fits;
}

int ButtonBar::Height() const {
  return sets[0].left != nullptr ? sets[0].left->height : 0;
}

bool ButtonBar::Layout(int x, int y, int width) {
  const int barHeight = Height();
  std::vector<BarButton> buttons(std::size_t(items.count()));
  for (int i = 0; i < items.count(); ++i) {
    const ContentItem* item = items.at(i);
    const bool shown = item != nullptr && (item->flags & kItemVisible) != 0;
    buttons[std::size_t(i)].captionWidth = shown ? widthOf(item->normal) : -1;
    buttons[std::size_t(i)].rightAligned = shown && (item->flags & kItemRightAligned) != 0;
  }
  const bool fits = LayOutBarButtons(buttons.data(), items.count(), x, width,
                                     widthOf(sets[2].left), widthOf(sets[2].right));
  for (int i = 0; i < items.count(); ++i) {
    ContentItem* item = items.at(i);
    if (item == nullptr) continue;
    const BarButton& b = buttons[std::size_t(i)];
    if (b.captionWidth < 0) {
      item->rect = Rect{};
      continue;
    }
    const int h = item->normal != nullptr ? item->normal->height : 0;
    item->x = b.captionX;
    item->y = y + (barHeight - h + 2) / 2;
    item->rect = (item->flags & kItemClickable) != 0
                     ? Rect{b.slotLeft, y, b.slotRight, y + barHeight}
                     : Rect{};
  }
  return fits;
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
