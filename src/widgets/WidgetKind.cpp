#include "widgets/WidgetKind.h"

#include <new>

#include "render/Composite.h"

void PictureWidget::Draw(Image* surface, bool, COLORREF, COLORREF, int originX, int originY) {
  if (item == nullptr || (item->flags & kItemVisible) == 0) return;
  DrawImage(surface, originX + item->x, originY + item->y, &picture);
}

int PictureWidget::HitTest(int x, int y) {
  if (item == nullptr) return 0;
  return x >= item->x && x < item->x + picture.Width() && y >= item->y &&
         y < item->y + picture.Height();
}

void PictureWidget::MoveTo(int x, int y) {
  if (item == nullptr) return;
  item->x = x;
  item->y = y;
  item->rect = Rect{x, y, x + picture.Width(), y + picture.Height()};
}

int PictureWidget::AddItem(ItemList& list, Sprite* sprite, int x, int y) {
  auto* newItem = new (std::nothrow) ContentItem(sprite, kItemLabel);
  if (newItem == nullptr) {
    delete sprite;
    return 0;
  }
  newItem->ownsSprites = true;
  newItem->x = x;
  newItem->y = y;
  newItem->rect = Rect{x, y, x + picture.Width(), y + picture.Height()};
  newItem->widget = this;
  if (list.add(newItem) < 0) {
    delete newItem;
    return 0;
  }
  Bind(newItem);
  return 1;
}

int StyleLeftWidth(const ThreePieceBar* style) {
  return style != nullptr && style->left != nullptr ? style->left->width : 0;
}

int StyleRightWidth(const ThreePieceBar* style) {
  return style != nullptr && style->right != nullptr ? style->right->width : 0;
}

int StyleHeight(const ThreePieceBar* style) {
  return style != nullptr && style->left != nullptr ? style->left->height : 0;
}
