#include "base/ByteView.h"

#include <cstring>

#include "platform/Resources.h"

HRESULT ByteView::readAt(std::uint32_t& position, std::uint32_t n, void* destination) const {
  if (n > size_ || position > size_ - n) return E_FAIL;
  if (n > 0) std::memcpy(destination, bytes_ + position, n);
  position += n;
  return S_OK;
}

HRESULT ByteView::readBlob(std::uint32_t& position, ByteView& blob) const {
  blob = ByteView();
  std::uint32_t at = position;
  std::uint32_t n = 0;
  if (readU32(*this, at, n) != S_OK || n > size_ - at) return E_FAIL;
  blob = ByteView(bytes_ + at, n);
  position = at + n;
  return S_OK;
}

HRESULT ByteView::mapResourceData(int id, platform::ModuleHandle module) {
  platform::ResourceBytes resource;
  if (!platform::findResource(module, "RC_DATA", id, resource)) {
    *this = ByteView();
    return E_FAIL;
  }
  *this = ByteView(resource.data, resource.size);
  return S_OK;
}

HRESULT readU32(const ByteView& source, std::uint32_t& position, std::uint32_t& value) {
  unsigned char b[4];
  if (source.readAt(position, 4, b) != S_OK) return E_FAIL;
  value = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
          std::uint32_t(b[3]) << 24;
  return S_OK;
}
