// Small skins for the widget tests, made in memory so they run on both targets:
// a font of 2 x 3 blocks (the byte-built test skin's), bar pieces and tick
// sprites of plain colours.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "base/PtrArray.h"
#include "render/BitmapFont.h"
#include "render/Sprite.h"
#include "render/ThreePieceBar.h"
#include "support/SkinBytes.h"
#include "widgets/ContentItem.h"

namespace widgettest {

inline Sprite* solidSprite(OwningList<Sprite>& owner, int w, int h, COLORREF colour) {
  Sprite* sprite = CreateSprite(kSpritePicture, w, h, 0, 0);
  if (sprite != nullptr) {
    sprite->first->Fill(colour);
    owner.add(sprite);
  }
  return sprite;
}

struct TestSkin {
  TestSkin() {
    const testdata::Bytes block = testdata::SkinBytes().fontBlock();
    ByteStream stream;
    stream.appendBytes(std::uint32_t(block.size()), block.data());
    std::uint32_t position = 4;  // past the font count
    fontRead = font.Read(stream, position);
    style.left = solidSprite(sprites, 5, 24, 0x203040);
    style.middle = solidSprite(sprites, 3, 24, 0x506070);
    style.right = solidSprite(sprites, 6, 24, 0x8090A0);
    unchecked = solidSprite(sprites, 13, 13, 0x00FF00);
    checked = solidSprite(sprites, 13, 13, 0x0000FF);
  }

  int fontRead = 0;
  BitmapFont font;
  OwningList<Sprite> sprites{8};
  ThreePieceBar style;
  Sprite* unchecked = nullptr;
  Sprite* checked = nullptr;
};

}  // namespace widgettest
