// What kskin tells about a skin: a JSON summary made from what the program's own
// reader loads.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "app/Wizard.h"
#include "kskin/SkinWriter.h"
#include "render/Skin.h"

namespace kskin {

// A skin as the program loads it.
struct LoadedSkin : SkinLists {
  std::uint32_t size = 0;      // bytes of the resource
  std::uint32_t consumed = 0;  // bytes the reader took
};

// Loads `bytes` with LoadSkin. False when the reader refuses them.
bool LoadSkinBytes(const Bytes& bytes, LoadedSkin& skin);
// Loads the high glyphs of the skin's fonts (LoadHighGlyphs) from `bytes`; empty
// bytes are none. False when the reader refuses them or leaves bytes over.
bool LoadHighGlyphBytes(const Bytes& bytes, LoadedSkin& skin);
// Where kskin build puts the high glyphs of the skin it writes to `skinPath`,
// and where the tools look for them beside a skin: the same name ending in
// ".glyphs" instead of its extension.
std::string HighGlyphsPathFor(const std::string& skinPath);

// The counts, every picture's and sprite's size and depth, and every font's
// metrics, as JSON.
void WriteSummary(const LoadedSkin& skin, std::ostream& out);

}  // namespace kskin
