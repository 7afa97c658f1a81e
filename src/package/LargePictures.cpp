#include "package/LargePictures.h"

#include "render/Jpeg.h"

bool ReadLargePictures(const ByteStream& resource, InstallModel& model) {
  const Image* originals[] = {&model.sidePicture, &model.logoPicture};
  Image* large[] = {&model.largeSidePicture, &model.largeLogoPicture};
  for (Image* picture : large) picture->Clear();
  std::uint32_t at = 0, count = 0;
  bool read = readU32(resource, at, count) == S_OK && count == 2;
  for (int i = 0; read && i < 2; ++i) {
    std::uint32_t length = 0, blob = at;
    read = readU32(resource, blob, length) == S_OK && length <= resource.size() - blob;
    if (!read || length == 0) {
      at = blob;
      continue;
    }
    const Image& original = *originals[i];
    if (!DecodeJpeg(resource, at, *large[i]) || !original.HasPixels() ||
        large[i]->Width() != 2 * original.Width() || large[i]->Height() != 2 * original.Height()) {
      large[i]->Clear();
    }
    at = blob + length;
  }
  if (!read) {
    for (Image* picture : large) picture->Clear();
  }
  return read;
}
