// Any bytes as the extension resource beside a package. Read twice: as they are,
// which a fuzzer's bytes almost never bind to the package, and with the package's
// digest put in their place, so that the entries are read too. A resource that
// is read must be within the size cap, its entries inside the reader's own copy,
// and written again for the same package it must give the same bytes; one that
// is not must leave no entries.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "package/ProductExtension.h"

namespace {

const unsigned char kPackage[] = "a package";

void check(const std::vector<unsigned char>& bytes) {
  const ByteView package(kPackage, sizeof kPackage);
  ProductExtension extension;
  const bool read = extension.read(ByteView(bytes.data(), std::uint32_t(bytes.size())), package);
  if (!read) {
    if (!extension.entries().empty()) __builtin_trap();
    return;
  }
  if (bytes.size() > kMaxExtensionSize ||
      writeProductExtension(extension.entries(), package) != bytes) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Twice the cap reaches the refusal of what is over it, and no further.
  if (size > 2 * kMaxExtensionSize) return 0;
  std::vector<unsigned char> bytes(data, data + size);
  check(bytes);
  if (size >= 4) {
    const Sha256Digest digest = sha256(kPackage, sizeof kPackage);
    bytes.resize(std::max<std::size_t>(size, kExtensionHeaderSize));
    std::memcpy(bytes.data() + 4, digest.data(), digest.size());
    check(bytes);
  }
  return 0;
}
