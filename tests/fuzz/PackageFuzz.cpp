// Any bytes at all as a package resource: the reader must accept them or reject
// them with an empty model, and neither crash nor allocate beyond what the bytes
// can describe. It reads them in place, as the setup reads its own resource: the
// fuzzer's buffer is exactly the input, so any read past it is caught, and every
// body the model keeps must lie inside it.
#include <cstddef>
#include <cstdint>

#include "package/InstallModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0xFFFFFFF0u) return 0;
  InstallModel model;
  std::uint32_t position = 0;
  const bool ok = model.readPackage(ByteView(data, std::uint32_t(size)), position);
  if (ok ? (model.itemCount() < 1 || position > size)
         : (model.itemCount() != 0 || model.selectableItem != -1)) {
    __builtin_trap();
  }
  for (int i = 0; i < model.itemCount(); ++i) {
    const ByteView body = model.itemAt(i)->packedData;
    if (body.bytes() < data || body.size() > size ||
        body.bytes() - data > std::ptrdiff_t(size - body.size())) {
      __builtin_trap();
    }
  }
  return 0;
}
