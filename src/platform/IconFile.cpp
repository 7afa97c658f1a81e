#include "platform/IconFile.h"

#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

std::uint16_t u16(const unsigned char* p) {
  return std::uint16_t(p[0] | p[1] << 8);
}

std::uint32_t u32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

struct Entry {
  int width = 0, height = 0, bits = 0;
  const unsigned char* image = nullptr;
  std::size_t size = 0;
};

// The entry's header, checked against its own size; false for PNG images and
// anything damaged.
bool readEntry(const unsigned char* data, std::size_t fileSize, const unsigned char* e,
               Entry& out) {
  const std::uint32_t size = u32(e + 8), offset = u32(e + 12);
  if (offset > fileSize || size > fileSize - offset || size < 40) return false;
  const unsigned char* image = data + offset;
  if (u32(image) < 40) return false;  // also the PNG signature's first bytes
  const std::int32_t width = std::int32_t(u32(image + 4));
  const std::int32_t height2 = std::int32_t(u32(image + 8));
  const int bits = u16(image + 14);
  if (u32(image + 16) != 0 || width <= 0 || width > 256 || height2 <= 0 || height2 > 512 ||
      height2 % 2 != 0) {
    return false;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  out = {int(width), int(height2 / 2), bits, image, size};
  return true;
}

bool decode(const Entry& e, IconPicture& out) {
  const unsigned char* p = e.image;
  const std::size_t headerSize = u32(p);
  std::size_t colours = 0;
  if (e.bits <= 8) {
    colours = u32(p + 32);
    if (colours == 0 || colours > (1u << e.bits)) colours = std::size_t(1) << e.bits;
  }
  const std::size_t colourStride = (std::size_t(e.width) * std::size_t(e.bits) + 31) / 32 * 4;
  const std::size_t maskStride = (std::size_t(e.width) + 31) / 32 * 4;
  const std::size_t tableAt = headerSize;
  const std::size_t colourAt = tableAt + colours * 4;
  const std::size_t maskAt = colourAt + colourStride * std::size_t(e.height);
  const bool hasMask = maskAt + maskStride * std::size_t(e.height) <= e.size;
  if (headerSize > e.size || colourAt > e.size || maskAt > e.size) return false;
  // A 32-bit image may leave its mask out; the others need it.
  if (!hasMask && e.bits != 32) return false;

  out.width = e.width;
  out.height = e.height;
  out.argb.assign(std::size_t(e.width) * std::size_t(e.height), 0);
  bool anyAlpha = false;
  for (int y = 0; y < e.height; ++y) {
    const unsigned char* row = p + colourAt + colourStride * std::size_t(e.height - 1 - y);
    for (int x = 0; x < e.width; ++x) {
      std::uint32_t bgra;
      if (e.bits >= 24) {
        const unsigned char* px = row + std::size_t(x) * std::size_t(e.bits / 8);
        const std::uint32_t alpha = e.bits == 32 ? px[3] : 255;
        if (alpha != 0 && e.bits == 32) anyAlpha = true;
        bgra = alpha << 24 | std::uint32_t(px[2]) << 16 | std::uint32_t(px[1]) << 8 | px[0];
      } else {
        const std::size_t bit = std::size_t(x) * std::size_t(e.bits);
        const unsigned shift = unsigned(8 - e.bits - bit % 8);
        const std::size_t index = (row[bit / 8] >> shift) & ((1u << e.bits) - 1);
        if (index >= colours) return false;
        const unsigned char* c = p + tableAt + index * 4;
        bgra = 0xFF000000u | std::uint32_t(c[2]) << 16 | std::uint32_t(c[1]) << 8 | c[0];
      }
      out.argb[std::size_t(y) * std::size_t(e.width) + std::size_t(x)] = bgra;
    }
  }
  if (e.bits == 32 && anyAlpha) return true;
  if (!hasMask) {
    for (std::uint32_t& px : out.argb) px |= 0xFF000000u;
    return true;
  }
  for (int y = 0; y < e.height; ++y) {
    const unsigned char* row = p + maskAt + maskStride * std::size_t(e.height - 1 - y);
    for (int x = 0; x < e.width; ++x) {
      const bool transparent = ((row[x / 8] >> (7 - x % 8)) & 1) != 0;
      std::uint32_t& px = out.argb[std::size_t(y) * std::size_t(e.width) + std::size_t(x)];
      px = transparent ? 0 : (px | 0xFF000000u);
    }
  }
  return true;
}

}  // namespace

bool readIconPicture(const unsigned char* data, std::size_t size, int width, int height,
                     IconPicture& out) {
  out = IconPicture();
  if (data == nullptr || size < 6 || u16(data) != 0 || u16(data + 2) != 1) return false;
  const std::size_t count = u16(data + 4);
  if (count == 0 || 6 + count * 16 > size) return false;
  Entry best;
  long bestDistance = -1;
  for (std::size_t i = 0; i < count; ++i) {
    Entry e;
    if (!readEntry(data, size, data + 6 + i * 16, e)) continue;
    const long distance = std::labs(long(e.width) - width) + std::labs(long(e.height) - height);
    if (bestDistance < 0 || distance < bestDistance ||
        (distance == bestDistance && e.bits > best.bits)) {
      best = e;
      bestDistance = distance;
    }
  }
  if (bestDistance < 0) return false;
  if (!decode(best, out)) {
    out = IconPicture();
    return false;
  }
  return true;
}

}  // namespace platform
