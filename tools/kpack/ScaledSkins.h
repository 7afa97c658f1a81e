// The skins drawn for displays at more than 96 dots per inch that a setup may
// carry beside its own (RC_DATA 120 to 123): kskin build writes them beside the
// skin as NAME@150.skin, NAME@150.glyphs, NAME@200.skin and NAME@200.glyphs.
#pragma once

#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "common/PeResourceWriter.h"

namespace kpack {

// The file of the skin at `percent` beside the skin file `skinPath`.
std::string scaledSkinPath(const std::string& skinPath, int percent);

// Adds to `resources` every scaled skin found beside the skin file `skinPath`,
// with its high glyphs, once the program's reader takes each whole and finds the
// same parts as in `skin` (the skin at 100 %). A scale without a file gets empty
// resources, so that a stub's own scaled skins never go with a vendor's skin.
// False, with the reason in `error`, for a scaled skin that cannot be used.
bool addScaledSkins(const std::string& skinPath, const ByteStream& skin,
                    std::vector<tools::PeResource>& resources, std::string& error);

// The display scales a built setup is drawn for, in percent: 100, then each
// scaled skin it carries. Empty for anything but a built setup.
std::vector<int> carriedScales(const std::string& path);
// The same for the bytes of a file.
std::vector<int> carriedScales(const std::vector<unsigned char>& program);

}  // namespace kpack
