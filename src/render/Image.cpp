#include "render/Image.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "platform/Paint.h"

namespace {

// Pixel stores stay below 2 GiB, so every offset fits a signed 32-bit int.
constexpr std::int64_t kMaxPixelBytes = 0x7FFFFFFF;

bool isAcceptedDepth(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 0:
    case 1:
    case 2:
    case 4:
    case 8:
    case 24:
    case 32:
      return true;
    default:
      return false;
  }
}

int paletteCountForDepth(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1:
      return 2;
    case 2:
      return 4;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

// stride x height, or -1 when it is not a size the surface can hold.
std::int64_t pixelBytesFor(std::int64_t width, std::int64_t height, int bitsPerPixel) {
  if (width <= 0 || height <= 0) return -1;
  const std::int64_t stride = DibStride(width, bitsPerPixel);
  if (stride <= 0 || stride > kMaxPixelBytes / height) return -1;
  return stride * height;
}

}  // namespace

const RgbQuad* GreyRamp() {
  struct Ramp {
    RgbQuad entries[kPaletteEntries];
    Ramp() {
      for (int i = 0; i < kPaletteEntries; ++i) {
        entries[i] = RgbQuad{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
      }
    }
  };
  static const Ramp ramp;
  return ramp.entries;
}

std::int64_t DibStride(std::int64_t width, int bitsPerPixel) {
  if (width < 0 || bitsPerPixel < 0) return -1;
  const std::int64_t stride = (width * bitsPerPixel + 31) / 32 * 4;
  return stride > kMaxPixelBytes ? -1 : stride;
}

int EffectivePaletteCount(const BitmapInfoHeader& header) {
  if (!isAcceptedDepth(header.biBitCount)) return -1;
  const int count = paletteCountForDepth(header.biBitCount);
  if (header.biClrUsed != 0 && header.biClrUsed < std::uint32_t(count)) {
    return int(header.biClrUsed);
  }
  return count;
}

Image::Image() : header_{}, palette_(new RgbQuad[kPaletteEntries]()) {}

Image::~Image() {
  Clear();
  delete[] palette_;
}

Image* Image::New() {
  return new (std::nothrow) Image;
}

void Image::Clear() {
  header_ = BitmapInfoHeader{};
  if (palette_ != nullptr) std::memset(palette_, 0, sizeof(RgbQuad) * kPaletteEntries);
  pixels_.clear();
}

void Image::SetHeader(int width, int height, int bitsPerPixel, int paletteCount) {
  header_ = BitmapInfoHeader{};
  header_.biSize = sizeof(BitmapInfoHeader);
  header_.biWidth = width;
  header_.biHeight = height;
  header_.biPlanes = 1;
  header_.biBitCount = std::uint16_t(bitsPerPixel);
  header_.biCompression = 0;
  header_.biSizeImage = std::uint32_t(DibStride(width, bitsPerPixel) * height);
  header_.biClrUsed = header_.biClrImportant = std::uint32_t(paletteCount);
}

int Image::Create(int width, int height, int bitsPerPixel) {
  Clear();
  if (!isAcceptedDepth(bitsPerPixel)) return 0;
  if (bitsPerPixel == 0) bitsPerPixel = 24;
  const std::int64_t bytes = pixelBytesFor(width, height, bitsPerPixel);
  if (bytes < 0 || pixels_.setSize(std::uint32_t(bytes)) != S_OK) {
    Clear();
    return 0;
  }
  SetHeader(width, height, bitsPerPixel, paletteCountForDepth(bitsPerPixel));
  return 1;
}

int Image::CreateGrey(int width, int height) {
  if (!Create(width, height, 8)) return 0;
  std::memcpy(palette_, GreyRamp(), sizeof(RgbQuad) * kPaletteEntries);
  return 1;
}

int Image::CreateLike(const Image& other, const Size* size) {
  if (!other.HasPixels()) {
    Clear();
    return 0;
  }
  // Taken before clearing, since other may be this very image.
  const BitmapInfoHeader like = other.header_;
  RgbQuad palette[kPaletteEntries];
  std::memcpy(palette, other.palette_, sizeof palette);
  const Size target = size != nullptr ? *size : other.GetSize();
  if (!Create(target.cx, target.cy, like.biBitCount)) return 0;
  std::memcpy(palette_, palette, sizeof palette);
  header_.biClrUsed = like.biClrUsed;
  header_.biClrImportant = like.biClrImportant;
  return 1;
}

int Image::SetFromParts(const BitmapInfoHeader& header, const RgbQuad* palette,
                        const unsigned char* bits, std::uint32_t bitsSize) {
  Clear();
  const int count = EffectivePaletteCount(header);
  if (count < 0 || bits == nullptr) return 0;
  const std::int64_t bytes = pixelBytesFor(header.biWidth, header.biHeight, header.biBitCount);
  if (bytes < 0 || bytes != std::int64_t(bitsSize) || pixels_.setSize(bitsSize) != S_OK) {
    Clear();
    return 0;
  }
  if (palette != nullptr) {
    std::memcpy(palette_, palette, sizeof(RgbQuad) * std::size_t(count));
  } else {
    std::memcpy(palette_, GreyRamp(), sizeof(RgbQuad) * kPaletteEntries);
  }
  std::memcpy(pixels_.bytes(), bits, bitsSize);
  SetHeader(header.biWidth, header.biHeight, header.biBitCount, count);
  return 1;
}

int Image::LoadPackedDib(const unsigned char* block, std::uint32_t blockSize) {
  Clear();
  BitmapInfoHeader header;
  if (block == nullptr || blockSize < sizeof header) return 0;
  std::memcpy(&header, block, sizeof header);
  if (header.biSize != sizeof header) return 0;
  const int count = EffectivePaletteCount(header);
  if (count < 0) return 0;
  // An 8-bit DIB that names no palette size carries none: it is a grey mask.
  const bool hasPalette = header.biClrUsed != 0 || header.biBitCount != 8;
  const std::int64_t paletteBytes = hasPalette ? 4 * std::int64_t(count) : 0;
  const std::int64_t bytes = pixelBytesFor(header.biWidth, header.biHeight, header.biBitCount);
  if (bytes < 0 || std::int64_t(blockSize) < std::int64_t(sizeof header) + paletteBytes + bytes) {
    return 0;
  }
  const unsigned char* palette = block + sizeof header;
  return SetFromParts(header, hasPalette ? reinterpret_cast<const RgbQuad*>(palette) : nullptr,
                      palette + paletteBytes, std::uint32_t(bytes));
}

void Image::TakeFrom(Image* other) {
  if (other == nullptr || other == this) return;
  Clear();
  header_ = other->header_;
  // The palette blocks change hands, so other keeps a (cleared) block and stays
  // usable, where freeing ours would leave it with none.
  std::swap(palette_, other->palette_);
  pixels_.takeFrom(&other->pixels_);
  other->Clear();
}

int Image::Crop(const Rect& rect) {
  if (!HasPixels() || (BitsPerPixel() != 8 && BitsPerPixel() != 24)) return 0;
  const Rect r = Intersect(rect, Rect{0, 0, Width(), Height()});
  if (r.IsEmpty()) return 0;
  if (r.Width() == Width() && r.Height() == Height()) return 1;
  Image cropped;
  const Size size{r.Width(), r.Height()};
  if (!cropped.CreateLike(*this, &size)) return 0;
  const int rowBytes = r.Width() * (BitsPerPixel() / 8);
  for (int y = 0; y < r.Height(); ++y) {
    std::memcpy(cropped.PixelAt(0, y), PixelAt(r.left, r.top + y), std::size_t(rowBytes));
  }
  TakeFrom(&cropped);
  return 1;
}

int Image::EnsureAtLeast(int width, int height) {
  if (Width() < width || Height() < height) return Create(width, height, 24);
  return 1;
}

void Image::Fill(COLORREF colour) {
  if (!HasPixels() || BitsPerPixel() != 24) return;
  const unsigned char bgr[3] = {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8),
                                std::uint8_t(colour)};
  for (int y = 0; y < Height(); ++y) {
    unsigned char* p = PixelAt(0, y);
    for (int x = 0; x < Width(); ++x, p += 3) std::memcpy(p, bgr, 3);
  }
}

Rect Image::NonZeroBounds() const {
  if (!IsGrey()) return Rect{};
  Rect bounds{Width(), Height(), 0, 0};
  for (int y = 0; y < Height(); ++y) {
    const unsigned char* row = PixelAt(0, y);
    for (int x = 0; x < Width(); ++x) {
      if (row[x] == 0) continue;
      bounds.left = std::min(bounds.left, x);
      bounds.right = std::max(bounds.right, x + 1);
      bounds.top = std::min(bounds.top, y);
      bounds.bottom = y + 1;
    }
  }
  return bounds.IsEmpty() ? Rect{} : bounds;
}

int Image::Stride() const {
  return int(DibStride(Width(), BitsPerPixel()));
}

bool Image::IsGrey() const {
  return HasPixels() && BitsPerPixel() == 8 && EffectivePaletteCount(header_) == kPaletteEntries &&
         std::memcmp(palette_, GreyRamp(), sizeof(RgbQuad) * kPaletteEntries) == 0;
}

unsigned char* Image::PixelAt(int x, int y) {
  return const_cast<unsigned char*>(static_cast<const Image*>(this)->PixelAt(x, y));
}

const unsigned char* Image::PixelAt(int x, int y) const {
  const int bytesPerPixel = BitsPerPixel() == 24 ? 3 : BitsPerPixel() == 8 ? 1 : 0;
  if (bytesPerPixel == 0 || !HasPixels()) return nullptr;
  return pixels_.bytes() + std::ptrdiff_t(x) * bytesPerPixel +
         std::ptrdiff_t(Height() - 1 - y) * Stride();
}

int Image::ClipToImage(Rect& rect) const {
  if (!HasPixels()) return 0;
  rect = Intersect(rect, Rect{0, 0, Width(), Height()});
  return !rect.IsEmpty();
}

int Image::Paint(platform::DeviceContext dc, int x, int y, platform::DrawDibHandle drawDib) const {
  if (dc == nullptr || !HasPixels()) return 0;
  const int count = EffectivePaletteCount(header_);
  if (count <= 0) {
    // No colour table: the header, first in the object, is the whole BITMAPINFO.
    return platform::paintDib(dc, drawDib, &header_, Bits(), x, y, Width(), Height());
  }
  // The DIB calls want the colour table right behind the header; ours lives apart.
  struct {
    BitmapInfoHeader header;
    RgbQuad colours[kPaletteEntries];
  } info;
  static_assert(sizeof info == sizeof(BitmapInfoHeader) + sizeof(RgbQuad) * kPaletteEntries,
                "a BITMAPINFO has no padding");
  info.header = header_;
  std::memcpy(info.colours, palette_, sizeof(RgbQuad) * std::size_t(count));
  return platform::paintDib(dc, drawDib, &info, Bits(), x, y, Width(), Height());
}

int ClipBlit(const Image& dst, Point& dstPos, const Image& src, Point& srcPos, Size& size) {
  if (!dst.HasPixels() || !src.HasPixels()) return 0;
  // 64-bit, so that no position or size, however far out, wraps around.
  using I64 = std::int64_t;
  I64 dx = dstPos.x, dy = dstPos.y, sx = srcPos.x, sy = srcPos.y, w = size.cx, h = size.cy;

  const I64 dl = std::max<I64>(dx, 0), dt = std::max<I64>(dy, 0);
  const I64 dr = std::min<I64>(dx + w, dst.Width()), db = std::min<I64>(dy + h, dst.Height());
  if (dr <= dl || db <= dt) return 0;
  sx += dl - dx;
  sy += dt - dy;
  dx = dl;
  dy = dt;
  w = dr - dl;
  h = db - dt;

  const I64 sl = std::max<I64>(sx, 0), st = std::max<I64>(sy, 0);
  const I64 sr = std::min<I64>(sx + w, src.Width()), sb = std::min<I64>(sy + h, src.Height());
  if (sr <= sl || sb <= st) return 0;
  dx += sl - sx;
  dy += st - sy;
  sx = sl;
  sy = st;
  w = sr - sl;
  h = sb - st;

  dstPos = Point{int(dx), int(dy)};
  srcPos = Point{int(sx), int(sy)};
  size = Size{int(w), int(h)};
  return w > 0 && h > 0;
}
