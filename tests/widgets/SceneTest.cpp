#include "widgets/Scene.h"

#include <gtest/gtest.h>

#include "widgets/WidgetFixture.h"

namespace {

using widgettest::solidSprite;

// A 400 x 300 window: frame edges 5 and 6 wide, a caption bar 20 high with a
// close button, a navigation bar 30 high with one button, and two content items
// of 20 x 10: a clickable one at (50, 50) and a label at (100, 50).
struct TestScene {
  TestScene() {
    caption.sets[0].left = solidSprite(sprites, 2, 20, 0x111111);
    navigation.sets[0].left = solidSprite(sprites, 2, 30, 0x222222);
    caption.items.add(new ContentItem(solidSprite(sprites, 10, 10, 0x333333), kItemButton));
    navigation.items.add(new ContentItem(solidSprite(sprites, 40, 20, 0x444444), kItemButton));
    for (int flags : {kItemVisible | kItemClickable, kItemLabel}) {
      auto* item = new ContentItem(solidSprite(sprites, 20, 10, 0x555555), flags);
      item->Place(content.count() == 0 ? 50 : 100, 50);
      content.add(item);
    }
    scene.frame.left = solidSprite(sprites, 5, 40, 0x666666);
    scene.frame.right = solidSprite(sprites, 6, 40, 0x777777);
    scene.frame.middle = solidSprite(sprites, 4, 8, 0x888888);
    scene.caption = &caption;
    scene.navigation = &navigation;
    scene.content = &content;
  }
  OwningList<Sprite> sprites{16};
  ButtonBar caption, navigation;
  ItemList content;
  Scene scene;
};

TEST(Scene, HitTestCodes) {
  TestScene t;
  EXPECT_EQ(t.scene.ContentOrigin().x, 5);
  EXPECT_EQ(t.scene.ContentOrigin().y, 20);
  const struct {
    int x, y, code, caption, navigation, content;
  } cases[] = {
      {-1, -1, kHitNothing, -1, -1, -1},
      {100, 5, kHitCaptionBar, -1, -1, -1},
      {395, 5, kHitCaptionItem, 0, -1, -1},
      {100, 285, kHitNavigationBar, -1, -1, -1},
      {395, 285, kHitNavigationItem, -1, 0, -1},
      {200, 150, kHitContent, -1, -1, -1},
      {5 + 55, 20 + 55, kHitContentItem, -1, -1, 0},
      {5 + 105, 20 + 55, kHitContent, -1, -1, -1},  // a label is never hit
      {2, 150, kHitNothing, -1, -1, -1},            // on the frame's left edge
      {396, 150, kHitNothing, -1, -1, -1},          // and its right edge
  };
  for (const auto& c : cases) {
    int captionItem = 7, navigationItem = 7, contentItem = 7;
    EXPECT_EQ(t.scene.HitTest(400, 300, c.x, c.y, &captionItem, &navigationItem, &contentItem),
              c.code)
        << c.x << "," << c.y;
    EXPECT_EQ(captionItem, c.caption) << c.x << "," << c.y;
    EXPECT_EQ(navigationItem, c.navigation) << c.x << "," << c.y;
    EXPECT_EQ(contentItem, c.content) << c.x << "," << c.y;
  }
}

TEST(Scene, LeavingABarDropsItsHighlight) {
  TestScene t;
  t.scene.HitTest(400, 300, 395, 5, nullptr, nullptr, nullptr);
  EXPECT_TRUE(t.scene.overCaption);
  EXPECT_EQ(t.caption.items.hotIndex, 0);
  t.scene.HitTest(400, 300, 200, 150, nullptr, nullptr, nullptr);
  EXPECT_FALSE(t.scene.overCaption);
  EXPECT_EQ(t.caption.items.hotIndex, -1);
}

TEST(Scene, BottomStripBoundsTheContentWithoutANavigationBar) {
  TestScene t;
  t.scene.navigation = nullptr;
  EXPECT_EQ(t.scene.HitTest(400, 300, 200, 291, nullptr, nullptr, nullptr), kHitContent);
  EXPECT_EQ(t.scene.HitTest(400, 300, 200, 292, nullptr, nullptr, nullptr), kHitNothing);
}

TEST(Scene, DrawsEveryLayerInOrder) {
  TestScene t;
  Image surface;
  ASSERT_TRUE(surface.Create(400, 300, 24));
  surface.Fill(0xFFFFFF);
  t.scene.Draw(&surface, 400, 300);
  const auto colourAt = [&](int x, int y) {
    const unsigned char* p = surface.PixelAt(x, y);
    return COLORREF(p[2] | p[1] << 8 | p[0] << 16);
  };
  EXPECT_EQ(colourAt(0, 150), 0x666666u);    // frame, left
  EXPECT_EQ(colourAt(399, 150), 0x777777u);  // frame, right
  EXPECT_EQ(colourAt(0, 0), 0x111111u);      // the caption bar covers the frame
  EXPECT_EQ(colourAt(0, 299), 0x222222u);    // and so does the navigation bar
  EXPECT_EQ(colourAt(5 + 50, 20 + 50), 0x555555u);
  EXPECT_EQ(colourAt(200, 150), 0xFFFFFFu);
}

}  // namespace
