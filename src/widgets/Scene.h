// The scene: the four layers the window's picture is composed of, the page
// content, the frame, the navigation bar and the caption bar, and the results of
// the last hit test (what the mouse is over).
#pragma once

#include "render/Geometry.h"
#include "render/Image.h"
#include "widgets/ButtonBar.h"
#include "widgets/ContentItem.h"
#include "widgets/Frame.h"

// Hit-test codes. Later checks override earlier ones, so a point on a button
// gives 9 or 10, not 1 or 2, and a point on a content item 12, not 4.
constexpr int kHitNothing = 0;
constexpr int kHitCaptionBar = 1;
constexpr int kHitNavigationBar = 2;
constexpr int kHitContent = 4;
constexpr int kHitCaptionItem = 9;
constexpr int kHitNavigationItem = 10;
constexpr int kHitContentItem = 12;

class Scene {
 public:
  // Where the page content's (0, 0) is in the window: right of the frame's left
  // edge, below the caption bar.
  Point ContentOrigin() const;

  // What lies under (x, y) in a window of width x height: one of the kHit codes,
  // with the item indices (-1 for none) handed back and kept in the hover
  // fields. Every list's hot index is left on the item found, or -1.
  int HitTest(int width, int height, int x, int y, int* captionItem, int* navigationItem,
              int* contentItem);

  // Composes the whole window: content, frame, navigation bar, caption bar.
  void Draw(Image* surface, int width, int height);

  // The layers; the bars and the content list are not owned, and any may be
  // null.
  ItemList* content = nullptr;
  ButtonBar* caption = nullptr;
  ButtonBar* navigation = nullptr;
  Frame frame;

  bool overCaption = false;
  bool overNavigation = false;
  int captionItem = -1;
  int navigationItem = -1;
  int contentItem = -1;
};
