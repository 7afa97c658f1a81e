// What kskin tells about a skin: a JSON summary, and a preview sheet of
// everything in it, both made from what the program's own reader loads.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "kskin/SkinWriter.h"
#include "render/Skin.h"

namespace kskin {

// A skin as the program loads it.
struct LoadedSkin {
  PictureList pictures;
  SpriteList sprites;
  FontList fonts;
  SpriteList standalone;
  std::uint32_t size = 0;      // bytes of the resource
  std::uint32_t consumed = 0;  // bytes the reader took
};

// Loads `bytes` with LoadSkin. False when the reader refuses them.
bool LoadSkinBytes(const Bytes& bytes, LoadedSkin& skin);

// The counts, every picture's and sprite's size and depth, and every font's
// metrics, as JSON.
void WriteSummary(const LoadedSkin& skin, std::ostream& out);

// A sheet showing a window put together from the skin's parts, then every
// picture, sprite, caption and the fonts' character sets. Throws SkinError when
// the skin lacks the parts of the window (the standard 22 pictures, 19 sprites,
// 3 fonts and 6 captions).
void RenderPreview(const LoadedSkin& skin, Image& sheet);

}  // namespace kskin
