#include "base/ByteStream.h"

#include <cstdlib>
#include <cstring>

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

void ByteStream::setUsed(std::uint32_t n) {
  size_ = n < capacity_ ? n : capacity_;
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
  return view().readAt(position, n, destination);
}

HRESULT ByteStream::readBlob(const ByteStream& source, std::uint32_t& position) {
  clear();
  // The view checks that the bytes are there before anything is allocated, so a
  // damaged length never turns into a huge allocation.
  ByteView blob;
  if (source.view().readBlob(position, blob) != S_OK || setSize(blob.size()) != S_OK) {
    clear();
    return E_FAIL;
  }
  if (blob.size() > 0) std::memcpy(bytes_, blob.bytes(), blob.size());
  return S_OK;
}

HRESULT ByteStream::loadResourceData(int id, platform::ModuleHandle module) {
  ByteView resource;
  if (resource.mapResourceData(id, module) != S_OK || setSize(resource.size()) != S_OK) {
    clear();
    return E_FAIL;
  }
  if (resource.size() > 0) std::memcpy(bytes_, resource.bytes(), resource.size());
  return S_OK;
}

void ByteStream::fill(unsigned char value) {
  if (size_ > 0) std::memset(bytes_, value, size_);
}
