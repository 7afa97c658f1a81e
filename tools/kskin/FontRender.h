// Bitmap fonts rendered from TrueType faces with FreeType.
#pragma once

#include <string>

#include "kskin/SkinWriter.h"

namespace kskin {

struct FontRequest {
  std::string file;       // a TrueType or OpenType face
  std::string fallback;   // a face for the characters above 127 that `file` lacks; may be empty
  int height = 17;        // the tmHeight wanted: the line step in pixels
  int shadowOffsetX = 1;  // where the shadow masks are drawn from the glyphs'
  int shadowOffsetY = 1;
  int margin = 1;
  int shadowBlur = 1;  // passes of a 3 x 3 box blur that soften the shadow
  double shadowStrength = 1.0;
};

// Renders '!' to '~', and the 123 characters Windows-1252 defines above 127
// (those the face lacks from the fallback face, sized to the same line height),
// anti-aliased at the pixel size whose line height (the
// face's Windows ascent plus descent) comes closest to the height asked for,
// the larger size on a tie. Each glyph mask has one blank pixel around the ink,
// so that the softened shadow mask of the same size has room to spread. The
// TEXTMETRIC holds the face's own metrics at that size. Throws SkinError when
// the face can't be read.
FontData RenderFont(const FontRequest& request);

}  // namespace kskin
