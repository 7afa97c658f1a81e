// Skin descriptions: a TOML file that names every picture, sprite, font and
// caption of a skin, and how each is made. See skins/default/skin.toml.
#pragma once

#include <string>
#include <vector>

#include "kskin/SkinWriter.h"

namespace kskin {

struct BuildOptions {
  // Folders searched, in order, for font and picture files named without a
  // folder; the description's own folder is searched first.
  std::vector<std::string> searchPaths;
  // The display scale drawn for (1.5 for 144 dots per inch): every size,
  // position and font height of the description is multiplied by it (see
  // kskin/Scale.h); JPEG pictures stay as they are.
  double scale = 1;
};

// Reads the description at `path` and makes the skin's content. Throws
// SkinError naming what is wrong.
SkinContent BuildSkin(const std::string& path, const BuildOptions& options);

// "FILE:LINE" of each [[font]] table of the description at `path`, in order, for
// what is said about a font after the skin is built. Throws SkinError.
std::vector<std::string> FontPlaces(const std::string& path);

}  // namespace kskin
