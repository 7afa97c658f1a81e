// The readers of a package that decode its pictures, in a file of their own: a
// program that reads packages without them (the uninstaller) then links no
// picture decoder.
#include "package/InstallModel.h"
#include "render/Jpeg.h"

bool InstallModel::readPackage(const ByteStream& stream, std::uint32_t& position) {
  return copyAndRead(stream, position, &DecodeJpeg);
}

bool InstallModel::readPackage(ByteView package, std::uint32_t& position) {
  reset();
  return readInPlace(package, position, &DecodeJpeg);
}
