#include "render/MaskOps.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include "render/BlendTables.h"
#include "render/MaskFilter.h"

namespace {

using Byte = std::uint8_t;

int clampToInt(std::int64_t v) {
  return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : int(v);
}

// (x, y, x + w, y + h) without overflow, however large the numbers.
Rect rectOf(int x, int y, int w, int h) {
  return Rect{x, y, clampToInt(std::int64_t(x) + w), clampToInt(std::int64_t(y) + h)};
}

}  // namespace

int FillRectBlend(Image* image, const Rect& rect, COLORREF colour, int alpha) {
  if (image == nullptr || image->BitsPerPixel() != 24) return 0;
  Rect r = rect;
  if (!image->ClipToImage(r)) return 0;
  const ByteTable& mul = MulTable();
  const int a = ClampByte(alpha);
  // The colour's share is the same for every pixel.
  const Byte blue = mul[a][Byte(colour >> 16)];
  const Byte green = mul[a][Byte(colour >> 8)];
  const Byte red = mul[a][Byte(colour)];
  const Byte* under = mul[255 - a];
  for (int y = r.top; y < r.bottom; ++y) {
    Byte* p = image->PixelAt(r.left, y);
    for (int x = r.left; x < r.right; ++x, p += 3) {
      p[0] = Byte(blue + under[p[0]]);
      p[1] = Byte(green + under[p[1]]);
      p[2] = Byte(red + under[p[2]]);
    }
  }
  return 1;
}

int FillGreyRect(Image* mask, int x, int y, int w, int h, int value, int alpha) {
  if (mask == nullptr || !mask->IsGrey()) return 0;
  Rect r = rectOf(x, y, w, h);
  if (!mask->ClipToImage(r)) return 0;
  const ByteTable& mul = MulTable();
  const int a = ClampByte(alpha);
  const Byte over = mul[a][ClampByte(value)];
  const Byte* under = mul[255 - a];
  for (int row = r.top; row < r.bottom; ++row) {
    Byte* p = mask->PixelAt(r.left, row);
    for (int i = 0; i < r.Width(); ++i) p[i] = Byte(over + under[p[i]]);
  }
  return 1;
}

int InvertMask(Image* mask) {
  if (mask == nullptr || !mask->IsGrey()) return 0;
  for (int y = 0; y < mask->Height(); ++y) {
    Byte* p = mask->PixelAt(0, y);
    for (int x = 0; x < mask->Width(); ++x) p[x] = Byte(255 - p[x]);
  }
  return 1;
}

int SoftShadowMask(Image* mask, int w, int h, int inset, int base, int value, int alpha) {
  if (mask == nullptr || !mask->CreateGrey(w, h)) return 0;
  std::memset(mask->Bits(), ClampByte(base), mask->PixelBytes());
  FillGreyRect(mask, inset, inset, w, h, value, alpha);
  if (!BlurMask(mask, inset / 2)) return 0;
  InvertMask(mask);
  FillGreyRect(mask, 0, 0, w, 1, 255, 255);
  FillGreyRect(mask, 0, h - 1, w, 1, 255, 255);
  return 1;
}
