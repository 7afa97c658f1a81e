#include "package/UninstallKnowledge.h"

bool readUninstallKnowledge(const unsigned char* data, std::uint32_t size, InstallModel& model) {
  ByteStream stream;
  std::uint32_t position = 0;
  if (data == nullptr || stream.appendBytes(size, data) != S_OK) {
    model.reset();
    return false;
  }
  return model.readPackageWithoutPictures(stream, position);
}

bool itemDigest(const InstallItem& item, Sha256Digest& digest) {
  if (item.packedData.size() != digest.size()) return false;
  std::uint32_t position = 0;
  return item.packedData.readAt(position, std::uint32_t(digest.size()), digest.data()) == S_OK;
}
