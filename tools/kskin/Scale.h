// Skins drawn for displays of more than 96 dots per inch: the same description
// drawn again with every size, position and font size multiplied by the scale.
// All rounding of a scaled number to whole pixels happens here.
#pragma once

#include <string>
#include <vector>

namespace kskin {

// Whole pixels at `scale`: pixels x scale rounded to the nearest (halves away
// from zero); a length that was not 0 stays at least one pixel.
int ScaledPixels(int pixels, double scale);

// A coordinate of the art at `scale`: one on a pixel's edge (a whole number)
// stays on one, so that lines drawn on whole pixels stay crisp; one between
// edges is multiplied exactly. At scale 1 every value is returned unchanged.
double ScaledCoordinate(double value, double scale);

// The scale as a whole percentage: 150 for 1.5.
int ScalePercent(double scale);

// The scales of "1,1.5,2": each from 1 to 4 and a whole percentage, the list in
// rising order without repeats. Throws SkinError naming what is wrong.
std::vector<double> ParseScales(const std::string& text);

// The file of the skin drawn at `percent` beside `path`: "dir/default.skin" at
// 150 is "dir/default@150.skin". At 100 the path itself.
std::string ScaledPath(const std::string& path, int percent);

}  // namespace kskin
