#include "base/ByteStream.h"

#include <cstdlib>
#include <cstring>

#include "platform/Resources.h"

ByteStream::~ByteStream() {
  ByteStream::clear();
}

void ByteStream::clear() {
  std::free(bytes_);
  bytes_ = nullptr;
  capacity_ = size_ = 0;
}

void ByteStream::takeFrom(ByteStream* other) {
  if (other == nullptr || other == this) return;
  clear();
  bytes_ = other->bytes_;
  capacity_ = other->capacity_;
  size_ = other->size_;
  growthStep_ = other->growthStep_;
  other->bytes_ = nullptr;
  other->capacity_ = other->size_ = 0;
}

HRESULT ByteStream::setSize(std::uint32_t n) {
  if (n == capacity_) return S_OK;
  if (n == 0) {
    clear();
    return S_OK;
  }
  auto* fresh = static_cast<unsigned char*>(std::malloc(n));
  if (fresh == nullptr) return E_FAIL;
  if (size_ > 0) std::memcpy(fresh, bytes_, size_ < n ? size_ : n);
  std::free(bytes_);
  bytes_ = fresh;
  capacity_ = size_ = n;
  return S_OK;
}

void ByteStream::shrinkToFit() {
  if (size_ != capacity_) setSize(size_);
}

HRESULT ByteStream::reserve(std::uint32_t n) {
  if (n <= capacity_) return S_OK;
  auto* fresh = static_cast<unsigned char*>(std::malloc(n));
  if (fresh == nullptr) return E_FAIL;
  if (size_ > 0) std::memcpy(fresh, bytes_, size_);
  std::free(bytes_);
  bytes_ = fresh;
  capacity_ = n;
  return S_OK;
}

HRESULT ByteStream::appendBytes(std::uint32_t n, const void* source) {
  if (source == nullptr || n == 0) return S_OK;
  if (n > UINT32_MAX - size_) return E_FAIL;
  const std::uint32_t newSize = size_ + n;
  if (newSize > capacity_) {
    const std::uint32_t step = growthStep_ > 0 ? std::uint32_t(growthStep_) : 0;
    const std::uint32_t grown = step > UINT32_MAX - newSize ? newSize : newSize + step;
    const std::uint32_t oldSize = size_;
    if (setSize(grown) != S_OK) return E_FAIL;
    size_ = oldSize;
  }
  std::memcpy(bytes_ + size_, source, n);
  size_ = newSize;
  return S_OK;
}

HRESULT ByteStream::readAt(std::uint32_t& position, std::uint32_t n, void* destination) const {
  if (n > size_ || position > size_ - n) return E_FAIL;
  if (n > 0) std::memcpy(destination, bytes_ + position, n);
  position += n;
  return S_OK;
}

HRESULT ByteStream::readBlob(const ByteStream& source, std::uint32_t& position) {
  clear();
  std::uint32_t n = 0;
  if (readU32(source, position, n) != S_OK) return E_FAIL;
  // A damaged length must not turn into a huge allocation: the bytes must be there.
  if (n > source.size_ - position || setSize(n) != S_OK ||
      source.readAt(position, n, bytes_) != S_OK) {
    clear();
    return E_FAIL;
  }
  return S_OK;
}

HRESULT ByteStream::loadResourceData(int id, platform::ModuleHandle module) {
  platform::ResourceBytes resource;
  if (!platform::findResource(module, "RC_DATA", id, resource) || setSize(resource.size) != S_OK) {
    clear();
    return E_FAIL;
  }
  if (resource.size > 0) std::memcpy(bytes_, resource.data, resource.size);
  return S_OK;
}

void ByteStream::fill(unsigned char value) {
  if (size_ > 0) std::memset(bytes_, value, size_);
}

HRESULT readU32(const ByteStream& source, std::uint32_t& position, std::uint32_t& value) {
  unsigned char b[4];
  if (source.readAt(position, 4, b) != S_OK) return E_FAIL;
  value = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
          std::uint32_t(b[3]) << 24;
  return S_OK;
}
