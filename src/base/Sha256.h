// SHA-256 (FIPS 180-4): the fingerprint by which the uninstaller tells an installed
// file from one the user changed since. Our own, because the Windows programs link
// statically and Debian ships no MinGW build of a hashing library.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

using Sha256Digest = std::array<unsigned char, 32>;

class Sha256 {
 public:
  Sha256();
  // Adds n bytes (`data` may be null when n is 0); may be called any number of
  // times.
  void update(const void* data, std::size_t n);
  // The digest of everything added. The object must not be updated afterwards.
  Sha256Digest finish();

 private:
  void block(const unsigned char* p);

  std::uint32_t state_[8];
  unsigned char buffer_[64];
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;  // bytes added
};

// The digest of n bytes in one call.
Sha256Digest sha256(const void* data, std::size_t n);
