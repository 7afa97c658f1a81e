// ByteStream: an owned, growable block of bytes with bounds-checked reads.
//
// Whole resources are copied into one and read in place. The stream keeps no read
// cursor: every read takes a position that belongs to the caller, so several
// readers may walk one stream. Results are S_OK or E_FAIL.
#pragma once

#include <cstdint>

#include "base/ByteView.h"
#include "platform/PlatformTypes.h"
#include "platform/WinDefs.h"

class ByteStream {
 public:
  static constexpr std::int32_t kDefaultGrowthStep = 1000;

  ByteStream() = default;
  ByteStream(const ByteStream&) = delete;
  ByteStream& operator=(const ByteStream&) = delete;
  virtual ~ByteStream();

  // Frees the bytes; capacity and size become 0.
  virtual void clear();
  // Takes other's bytes, capacity, size and growth step, leaving other empty. Null
  // or this stream itself: nothing happens.
  virtual void takeFrom(ByteStream* other);
  // Makes capacity and size exactly n, keeping the first bytes. n equal to the
  // capacity changes nothing; n = 0 clears. E_FAIL, stream unchanged, when the
  // allocation fails.
  virtual HRESULT setSize(std::uint32_t n);
  // Drops unused capacity.
  virtual void shrinkToFit();

  std::uint32_t size() const { return size_; }
  std::uint32_t capacity() const { return capacity_; }
  std::int32_t growthStep() const { return growthStep_; }
  const unsigned char* bytes() const { return bytes_; }
  unsigned char* bytes() { return bytes_; }
  // The bytes in use, for readers that work on views.
  ByteView view() const { return ByteView(bytes_, size_); }

  // Makes room for at least n bytes without changing the size or the content.
  HRESULT reserve(std::uint32_t n);
  // Marks the first n bytes of the buffer as in use (n at most the capacity), after
  // they were written in place through bytes(); 0 empties the stream and keeps its
  // buffer for the next content.
  void setUsed(std::uint32_t n);

  // Appends n bytes; the buffer grows to what is needed plus the growth step.
  // Null source or n = 0: nothing, S_OK.
  HRESULT appendBytes(std::uint32_t n, const void* source);

  // Copies n bytes at position into destination and advances position. E_FAIL,
  // nothing copied and position unchanged, when they do not all lie in the stream.
  HRESULT readAt(std::uint32_t& position, std::uint32_t n, void* destination) const;

  // Replaces this stream with a length-prefixed blob read from source at position
  // (a little-endian u32 length, then the bytes). E_FAIL and an empty stream when
  // the length or the bytes are not there; nothing is allocated for a length that
  // exceeds what remains.
  HRESULT readBlob(const ByteStream& source, std::uint32_t& position);

  // Copies resource `id` of type "RC_DATA" of module (null: this program) into the
  // stream. E_FAIL and an empty stream when it cannot be found or loaded.
  HRESULT loadResourceData(int id, platform::ModuleHandle module);

  // Set every byte in use to zero, or to `value`.
  void zeroFill() { fill(0); }
  void fill(unsigned char value);

 private:
  std::int32_t growthStep_ = kDefaultGrowthStep;
  std::uint32_t capacity_ = 0;
  std::uint32_t size_ = 0;
  unsigned char* bytes_ = nullptr;
};

// Reads a fixed-size value stored little-endian at position (see readAt).
inline HRESULT readU32(const ByteStream& source, std::uint32_t& position, std::uint32_t& value) {
  return readU32(source.view(), position, value);
}
