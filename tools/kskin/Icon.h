// The program's icon, drawn from a description (see skins/default/icon.toml) with
// the same paint layers as a skin's pictures.
//
// The description gives `canvas`, the size in units of the art's coordinates
// (48 unless said), and `paint`, the layers in those units; each size is drawn by
// scaling them. A `[[size]]` table with `pixels` and its own `paint`, in that
// size's pixels, replaces the scaled art at that size: the smallest sizes often
// read better drawn on their own pixel grid.
#pragma once

#include <string>
#include <vector>

#include "kskin/IconFile.h"

namespace kskin {

// The icon sizes of a program's icon group, largest first, and the depths each
// is kept at.
inline const std::vector<int> kIconSizes{48, 32, 16};
inline const std::vector<int> kIconDepths{4, 8, 32};

// Draws the art of the description at each size: straight BGRA, transparent
// where no layer paints. Throws SkinError naming what is wrong.
std::vector<IconArt> DrawIcon(const std::string& path, const std::vector<int>& sizes);

}  // namespace kskin
