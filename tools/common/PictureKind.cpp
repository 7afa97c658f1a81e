#include "common/PictureKind.h"

#include <cstring>

namespace tools {

std::string pictureKind(const std::vector<unsigned char>& bytes) {
  const struct {
    const char* kind;
    const char* magic;
    std::size_t at;
  } kinds[] = {
      {"JPEG", "\xFF\xD8\xFF", 0}, {"PNG", "\x89PNG\r\n\x1A\n", 0},
      {"GIF", "GIF8", 0},          {"BMP", "BM", 0},
      {"TIFF", "II*", 0},          {"WebP", "WEBP", 8},
  };
  for (const auto& k : kinds) {
    const std::size_t n = std::strlen(k.magic);
    if (bytes.size() >= k.at + n && std::memcmp(bytes.data() + k.at, k.magic, n) == 0) {
      return k.kind;
    }
  }
  return "";
}

std::string notJpegReason(const std::string& name, const std::vector<unsigned char>& bytes) {
  const std::string kind = pictureKind(bytes);
  const std::string fix =
      ": save it as a baseline or progressive JPEG (for example with "
      "ImageMagick: convert " +
      name + " picture.jpg)";
  if (kind.empty()) return name + " is not a picture the setup can read" + fix;
  if (kind == "JPEG") return name + " is a damaged or unusual JPEG the setup cannot decode" + fix;
  return name + " is a " + kind + " picture, not a JPEG" + fix;
}

}  // namespace tools
