#include "widgets/Scene.h"

namespace {

bool inside(const Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

Point Scene::ContentOrigin() const {
  return Point{frame.LeftWidth(), caption != nullptr ? caption->Height() : 0};
}

int Scene::HitTest(int width, int height, int x, int y, int* captionOut, int* navigationOut,
                   int* contentOut) {
  overCaption = overNavigation = false;
  captionItem = navigationItem = contentItem = -1;
  int code = kHitNothing;

  if (caption != nullptr) {
    caption->items.hotIndex = -1;
    if (caption->Contains(x, y, kCaptionBar, width, height)) {
      code = kHitCaptionBar;
      overCaption = true;
      captionItem = caption->ItemAt(x, y, kCaptionBar, width, height);
      if (captionItem >= 0) code = kHitCaptionItem;
    }
  }
  if (navigation != nullptr) {
    navigation->items.hotIndex = -1;
    if (navigation->Contains(x, y, kNavigationBar, width, height)) {
      code = kHitNavigationBar;
      overNavigation = true;
      navigationItem = navigation->ItemAt(x, y, kNavigationBar, width, height);
      if (navigationItem >= 0) code = kHitNavigationItem;
    }
  }

  const Point origin = ContentOrigin();
  const int bottom = navigation != nullptr ? navigation->Height() : frame.BottomHeight();
  const Rect area{origin.x, origin.y, width - frame.RightWidth(), height - bottom};
  if (inside(area, x, y)) code = kHitContent;
  if (content != nullptr) {
    contentItem = content->HitTest(x - origin.x, y - origin.y);
    if (contentItem >= 0) code = kHitContentItem;
  }

  if (captionOut != nullptr) *captionOut = captionItem;
  if (navigationOut != nullptr) *navigationOut = navigationItem;
  if (contentOut != nullptr) *contentOut = contentItem;
  return code;
}

void Scene::Draw(Image* surface, int width, int height) {
  if (surface == nullptr) return;
  const Point origin = ContentOrigin();
  if (content != nullptr) content->Draw(surface, true, origin.x, origin.y);
  if (navigation != nullptr) {
    frame.Draw(surface, width, height, false);
    navigation->Draw(surface, width, height, kNavigationBar, overNavigation);
  } else {
    frame.Draw(surface, width, height, true);
  }
  if (caption != nullptr) caption->Draw(surface, width, height, kCaptionBar, overCaption);
}
