// Which characters of the texts a manifest gives the pages the setup's skin can
// draw: a character its font has no glyph for is simply left out on the page,
// so kpack warns of it (an error with --strict).
#pragma once

#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "kpack/Manifest.h"

namespace kpack {

// One warning for each character of manifest.shownTexts that the font drawing
// it in `skin` (a skin resource) has no glyph for, with `glyphs` the high glyphs
// of its fonts (null or empty: none): "FILE:LINE:COLUMN: FIELD: U+XXXX 'c' ...".
// Empty when the skin does not read: there is nothing to check against then.
std::vector<std::string> undrawableCharacters(const Manifest& manifest, const ByteStream& skin,
                                              const ByteStream* glyphs);

}  // namespace kpack
