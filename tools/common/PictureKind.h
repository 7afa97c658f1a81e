// What kind of picture a file holds, told by its first bytes, so that a picture
// the setup cannot take is refused with what it is rather than "does not decode".
#pragma once

#include <string>
#include <vector>

namespace tools {

// "JPEG", "PNG", "GIF", "BMP", "TIFF" or "WebP"; "" for none of them.
std::string pictureKind(const std::vector<unsigned char>& bytes);

// Why the file `name`, holding `bytes`, is not a JPEG picture the setup can
// decode, with the fix: "side.jpg is a PNG picture, not a JPEG: ...".
std::string notJpegReason(const std::string& name, const std::vector<unsigned char>& bytes);

}  // namespace tools
