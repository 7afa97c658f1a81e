#include "app/SkinAtScale.h"

#include "render/SkinRescale.h"

bool RescaleSkin(SkinLists& skin, int fromDpi, int toDpi) {
  const ScaleRatio ratio{fromDpi, toDpi};
  const Sprite* background = skin.sprites.count() > skinslot::kBackground
                                 ? skin.sprites.at(skinslot::kBackground)
                                 : nullptr;
  for (int i = 0; i < skin.pictures.count(); ++i) {
    Image* picture = skin.pictures.at(i);
    if (picture == nullptr || (background != nullptr &&
                               (picture == background->first || picture == background->second))) {
      continue;
    }
    if (!RescalePicture(*picture, ratio)) return false;
  }
  for (int i = 0; i < skin.sprites.count(); ++i) {
    Sprite* sprite = skin.sprites.at(i);
    if (sprite != nullptr && !RescaleSprite(*sprite, ratio, false)) return false;
  }
  for (int i = 0; i < skin.fonts.count(); ++i) {
    BitmapFont* font = skin.fonts.at(i);
    if (font != nullptr && !RescaleFont(*font, ratio)) return false;
  }
  for (int i = 0; i < skin.standalone.count(); ++i) {
    Sprite* sprite = skin.standalone.at(i);
    if (sprite != nullptr && !RescaleSprite(*sprite, ratio, true)) return false;
  }
  return true;
}
