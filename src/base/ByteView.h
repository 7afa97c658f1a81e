// ByteView: bytes that belong to someone else, read with the bound checks of a
// ByteStream.
//
// The package is read where it lies: in the program's own mapped resource on
// Windows, in the .kres section on the host, in a file read once by the tools.
// The reader and the items it makes refer to those bytes instead of copying them,
// so whoever hands them over keeps them alive and unchanged for as long as the
// views are used (a mapped resource lives as long as the process).
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"
#include "platform/WinDefs.h"

class ByteView {
 public:
  ByteView() = default;
  ByteView(const unsigned char* bytes, std::uint32_t size) : bytes_(bytes), size_(size) {}

  const unsigned char* bytes() const { return bytes_; }
  std::uint32_t size() const { return size_; }

  // Copies n bytes at position into destination and advances position. E_FAIL,
  // nothing copied and position unchanged, when they do not all lie in the view.
  HRESULT readAt(std::uint32_t& position, std::uint32_t n, void* destination) const;

  // The length-prefixed blob at position (a little-endian u32 length, then the
  // bytes) as a view into these bytes, and position after it. E_FAIL, an empty
  // `blob` and position unchanged when the length or the bytes are not all there.
  HRESULT readBlob(std::uint32_t& position, ByteView& blob) const;

  // Refers to resource `id` of type "RC_DATA" of module (null: this program) where
  // the system keeps it; valid as long as the module is loaded. E_FAIL and an
  // empty view when it cannot be found or loaded.
  HRESULT mapResourceData(int id, platform::ModuleHandle module);

 private:
  const unsigned char* bytes_ = nullptr;
  std::uint32_t size_ = 0;
};

// Reads a little-endian u32 at position (see readAt).
HRESULT readU32(const ByteView& source, std::uint32_t& position, std::uint32_t& value);
