// Any bytes as a .reg file of the host registry (the prefix keeps one, and a user
// may edit it): the reader must take them or refuse them leaving the tree empty,
// and whatever it reads must survive being written and read again unchanged, since
// the host machine saves its registry that way.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/RegFile.h"
#include "platform/RegistryTree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1 << 20)) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  regtree::Key top("");
  if (!regfile::importRegistry(bytes, top)) {
    if (!top.subkeys().empty()) __builtin_trap();
    return 0;
  }
  const std::string written = regfile::exportRegistry(top);
  regtree::Key again("");
  if (!regfile::importRegistry(written, again) || regfile::exportRegistry(again) != written) {
    __builtin_trap();
  }
  return 0;
}
