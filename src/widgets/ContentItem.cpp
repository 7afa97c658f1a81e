#include "widgets/ContentItem.h"

#include "platform/Messages.h"
#include "widgets/Widget.h"

ContentItem::~ContentItem() {
  if (ownsSprites) {
    if (hot != normal) delete hot;
    delete normal;
  }
}

void ContentItem::Place(int newX, int newY) {
  x = newX;
  y = newY;
  const int w = normal != nullptr ? normal->width : 0;
  const int h = normal != nullptr ? normal->height : 0;
  rect = Rect{x, y, x + w, y + h};
}

bool ContentItem::PostIfClickable(platform::WindowHandle window) const {
  if ((flags & (kItemVisible | kItemClickable)) != (kItemVisible | kItemClickable)) return false;
  if (message == 0) return false;
  return platform::postMessage(target != nullptr ? target : window, message, wParam, lParam);
}

bool ContentItem::ItemHit(int px, int py) const {
  if ((flags & (kItemVisible | kItemClickable)) != (kItemVisible | kItemClickable)) return false;
  return px >= rect.left && px < rect.right && py >= rect.top && py < rect.bottom;
}

void ContentItem::DrawDefault(Image* surface, bool isHot, COLORREF shadowColour,
                              COLORREF faceColour, int originX, int originY) const {
  if ((flags & kItemVisible) == 0) return;
  COLORREF shadow = shadowColour, face = faceColour;
  if (useOwnColours) shadow = ownShadow, face = ownFace;
  if (isHot && useHotColours) shadow = hotShadow, face = hotFace;
  const Sprite* sprite = isHot && hot != nullptr ? hot : normal;

  const int px = originX + x, py = originY + y;
  if (background != nullptr) {
    background->Draw(surface, px, py, rect.Width());
    if (sprite == nullptr) return;
    const int leftWidth = background->left != nullptr ? background->left->width : 0;
    const int leftHeight = background->left != nullptr ? background->left->height : 0;
    const int rightWidth = background->right != nullptr ? background->right->width : 0;
    const int room = rect.Width() - leftWidth - rightWidth;
    DrawSprite(sprite, surface, px + leftWidth, py + (leftHeight - sprite->height + 2) / 2, 0, 0,
               room, sprite->height, shadow, face, 255, Point{0, 0});
  } else {
    DrawSpriteColoured(sprite, surface, px, py, shadow, face, 255);
  }
}

int ItemList::HitTest(int px, int py) {
  hotIndex = -1;
  for (int i = 0; i < count(); ++i) {
    const ContentItem* item = at(i);
    if (item != nullptr && item->ItemHit(px, py)) {
      hotIndex = i;
      break;
    }
  }
  return hotIndex;
}

void ItemList::SetAllVisible(bool on) {
  for (int i = 0; i < count(); ++i) {
    if (ContentItem* item = at(i)) {
      item->flags = on ? (item->flags | kItemVisible) : (item->flags & ~kItemVisible);
    }
  }
}

bool ItemList::PostItem(int index, platform::WindowHandle window) const {
  const ContentItem* item = at(index);
  return item != nullptr && item->PostIfClickable(window);
}

void ItemList::Draw(Image* surface, bool allowHot, int originX, int originY) const {
  for (int i = 0; i < count(); ++i) {
    const ContentItem* item = at(i);
    if (item == nullptr) continue;
    const bool isHot = allowHot && i == hotIndex;
    if (item->widget != nullptr) {
      item->widget->Draw(surface, isHot, shadowColour, faceColour, originX, originY);
    } else {
      item->DrawDefault(surface, isHot, shadowColour, faceColour, originX, originY);
    }
  }
}
