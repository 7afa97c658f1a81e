// Any bytes at all as a package resource: the reader must accept them or reject
// them with an empty model, and neither crash nor allocate beyond what the bytes
// can describe.
#include <cstddef>
#include <cstdint>

#include "package/InstallModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteStream stream;
  if (stream.appendBytes(std::uint32_t(size), data) != S_OK) return 0;
  InstallModel model;
  std::uint32_t position = 0;
  const bool ok = model.readPackage(stream, position);
  if (ok ? (model.itemCount() < 1 || position > stream.size())
         : (model.itemCount() != 0 || model.selectableItem != -1)) {
    __builtin_trap();
  }
  return 0;
}
