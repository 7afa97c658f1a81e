// Wrapping a licence text into the lines a TextView shows.
#pragma once

#include <vector>

#include "base/SetupString.h"
#include "render/BitmapFont.h"

// Breaks `length` bytes of text into lines of at most maxChars characters that
// measure at most maxWidth in the font, at spaces where it can.
//
// A carriage return ends a line (an empty one too, so CR LF text keeps its
// empty lines); line feeds, other control bytes and bytes above 126 are dropped
// (so LF-only text runs its lines together). A line that grows too long is cut at
// its last space within maxChars, or its first space if none is that early; one
// without a usable space (a single long word) is kept whole, wider than the view.
// Reads exactly `length` bytes; a null text counts as empty. `lines` is emptied
// first.
void WrapText(const BitmapFont& font, const char* text, int length, int maxChars, int maxWidth,
              std::vector<SetupString>& lines);
