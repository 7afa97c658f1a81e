#include "kpack/LargePictures.h"

#include <string>

#include "base/ByteStream.h"
#include "common/PictureKind.h"
#include "common/WholeFile.h"
#include "render/Image.h"
#include "render/Jpeg.h"

namespace kpack {
namespace {

[[noreturn]] void refuse(const Manifest& m, const std::string& field, const std::string& message) {
  throw ManifestError(m.complaint(field, "pictures", message));
}

// The picture at `path` decoded into `image`; its bytes.
std::vector<unsigned char> decode(const Manifest& m, const std::filesystem::path& path,
                                  const std::string& field, Image& image) {
  std::vector<unsigned char> bytes;
  if (!tools::readWholeFile(path.string(), bytes)) refuse(m, field, "cannot read " + path.string());
  ByteStream stream;
  if (bytes.size() > 0xFFFFFFF0u ||
      stream.appendBytes(std::uint32_t(bytes.size()), bytes.data()) != S_OK ||
      !DecodeJpeg(stream, image)) {
    refuse(m, field, tools::notJpegReason(path.string(), bytes));
  }
  return bytes;
}

void putU32(std::vector<unsigned char>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((unsigned char)(v >> (8 * i)));
}

}  // namespace

std::vector<unsigned char> largePictures(const Manifest& manifest) {
  const struct {
    const std::filesystem::path& picture;
    const std::filesystem::path& large;
    const char* field;
  } pictures[] = {{manifest.sidePicture, manifest.sidePicture2x, "pictures.side"},
                  {manifest.logoPicture, manifest.logoPicture2x, "pictures.logo"}};
  if (manifest.sidePicture2x.empty() && manifest.logoPicture2x.empty()) return {};
  std::vector<unsigned char> out;
  putU32(out, 2);
  for (const auto& p : pictures) {
    if (p.large.empty()) {
      putU32(out, 0);
      continue;
    }
    const std::string field = std::string(p.field) + "-2x";
    Image small, large;
    decode(manifest, p.picture, p.field, small);
    const std::vector<unsigned char> bytes = decode(manifest, p.large, field, large);
    if (large.Width() != 2 * small.Width() || large.Height() != 2 * small.Height()) {
      refuse(manifest, field,
             p.large.filename().string() + " is " + std::to_string(large.Width()) + " x " +
                 std::to_string(large.Height()) + " pixels; it must be twice " +
                 p.picture.filename().string() + ", " + std::to_string(2 * small.Width()) + " x " +
                 std::to_string(2 * small.Height()));
    }
    putU32(out, std::uint32_t(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

}  // namespace kpack
