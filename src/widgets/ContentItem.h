// ContentItem: one drawable, clickable entry of a layer (a label, a button, a
// picture, or the place of a widget), and ItemList, the ordered list of them.
#pragma once

#include <cstdint>

#include "base/PtrArray.h"
#include "platform/PlatformTypes.h"
#include "platform/WinDefs.h"
#include "render/Geometry.h"
#include "render/Image.h"
#include "render/Sprite.h"
#include "render/ThreePieceBar.h"

class Widget;

constexpr int kItemVisible = 1;
constexpr int kItemClickable = 2;
constexpr int kItemRightAligned = 4;
// What buttons are made with, and what plain labels are.
constexpr int kItemButton = kItemVisible | kItemClickable | kItemRightAligned;
constexpr int kItemLabel = kItemVisible;

class ContentItem {
 public:
  ContentItem(Sprite* sprite, int flags) : flags(flags), normal(sprite) {}
  ~ContentItem();
  ContentItem(const ContentItem&) = delete;
  ContentItem& operator=(const ContentItem&) = delete;

  // Puts the item at (x, y) with a hit rectangle of its normal sprite's size.
  void Place(int x, int y);

  // Posts (message, wParam, lParam) to the target window, or to `window` when the
  // item has none, if it is visible and clickable and has a message. Whether it
  // was posted.
  bool PostIfClickable(platform::WindowHandle window) const;
  // Visible, clickable and (x, y) inside the rectangle.
  bool ItemHit(int x, int y) const;

  // The default drawing of an item without a widget: the sprite (the hot one
  // while hot, if any) in the list's colours or the item's own, over the
  // background bar when there is one. Nothing for a hidden item.
  void DrawDefault(Image* surface, bool hot, COLORREF shadowColour, COLORREF faceColour,
                   int originX, int originY) const;

  int flags;
  unsigned message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  platform::WindowHandle target = nullptr;
  Sprite* normal;
  Sprite* hot = nullptr;
  int x = 0;
  int y = 0;
  Rect rect;
  ThreePieceBar* background = nullptr;  // not owned
  Widget* widget = nullptr;             // not owned: the widget list holds it
  bool ownsSprites = false;
  COLORREF ownShadow = 0, ownFace = 0;
  bool useOwnColours = false;
  COLORREF hotShadow = 0, hotFace = 0;
  bool useHotColours = false;
};

class ItemList : public OwningList<ContentItem> {
 public:
  ItemList() : OwningList<ContentItem>(8) {}

  // The index of the first item hit, in list order, or -1; it becomes the hot
  // index.
  int HitTest(int x, int y);
  void SetAllVisible(bool on);
  // Posts the item's message (ContentItem::PostIfClickable). False for an index
  // out of range or an item that posts nothing.
  bool PostItem(int index, platform::WindowHandle window) const;
  // Every item in order, through its widget when it has one; the hot item is
  // drawn hot only when allowHot.
  void Draw(Image* surface, bool allowHot, int originX, int originY) const;

  int hotIndex = -1;
  COLORREF shadowColour = 0;
  COLORREF faceColour = 0xFFFFFF;
};
