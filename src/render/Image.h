// Image: the one pixel surface, kept in the Windows DIB layout.
//
// A BITMAPINFOHEADER, a 256-entry palette and the pixel rows, stored bottom-up with
// each row padded to 4 bytes, so the surface can be handed to the DIB drawing calls
// as it is and packed DIBs copy into it byte for byte. Two depths are drawn with:
// 24 bits (blue, green, red) for pictures and the back buffer, and 8 bits with the
// grey-ramp palette (a "grey image") for coverage and alpha masks, 0..255.
//
// Every operation that creates starts by clearing, so a failed call leaves the
// image empty. Operations return non-zero on success and 0 on failure.
#pragma once

#include <cstdint>

#include "base/ByteStream.h"
#include "platform/PlatformTypes.h"
#include "platform/WinDefs.h"
#include "render/Geometry.h"

// The Windows BITMAPINFOHEADER, field for field.
struct BitmapInfoHeader {
  std::uint32_t biSize;
  std::int32_t biWidth;
  std::int32_t biHeight;
  std::uint16_t biPlanes;
  std::uint16_t biBitCount;
  std::uint32_t biCompression;
  std::uint32_t biSizeImage;
  std::int32_t biXPelsPerMeter;
  std::int32_t biYPelsPerMeter;
  std::uint32_t biClrUsed;
  std::uint32_t biClrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "BITMAPINFOHEADER is 40 bytes");

struct RgbQuad {
  std::uint8_t blue;
  std::uint8_t green;
  std::uint8_t red;
  std::uint8_t reserved;
};

constexpr int kPaletteEntries = 256;

// The palette whose entry i is (i, i, i): built once, shared by the process.
const RgbQuad* GreyRamp();

// Bytes per row: width * bitsPerPixel bits rounded up to whole 32-bit words.
// -1 when the row would not fit a 32-bit size.
std::int64_t DibStride(std::int64_t width, int bitsPerPixel);

// Palette entries a header's depth implies (1: 2, 2: 4, 4: 16, 8: 256, 0/24/32: 0),
// or biClrUsed when that is non-zero and smaller. -1 for a depth not accepted.
int EffectivePaletteCount(const BitmapInfoHeader& header);

class Image {
 public:
  Image();
  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  // A new heap image, or null when memory is short.
  static Image* New();

  // Zeroes the header and the palette and releases the pixels.
  void Clear();

  // width x height at a depth of 0 (taken as 24), 1, 2, 4, 8, 24 or 32 bits. The
  // pixels are not initialised.
  int Create(int width, int height, int bitsPerPixel);
  // An 8-bit image with the grey ramp.
  int CreateGrey(int width, int height);
  // other's depth and palette at `size`, or at other's size when size is null.
  int CreateLike(const Image& other, const Size* size = nullptr);
  // Takes a header, a palette of its effective count (null: the grey ramp) and
  // exactly stride x height bytes of rows.
  int SetFromParts(const BitmapInfoHeader& header, const RgbQuad* palette,
                   const unsigned char* bits, std::uint32_t bitsSize);
  // Reads a packed DIB (header, palette, rows) from the start of `block`. An 8-bit
  // DIB without a stored palette becomes a grey image.
  int LoadPackedDib(const unsigned char* block, std::uint32_t blockSize);
  int LoadPackedDib(const ByteStream& block) { return LoadPackedDib(block.bytes(), block.size()); }

  // Moves other into this image (pixels moved, not copied); other is left empty
  // and without a palette block.
  void TakeFrom(Image* other);

  // Cuts an 8- or 24-bit image down to rect clipped to the image. Fails when
  // nothing of rect lies in the image.
  int Crop(const Rect& rect);

  // Makes a 24-bit image of width x height unless the image is at least that large.
  int EnsureAtLeast(int width, int height);

  // Sets every pixel of a 24-bit image to colour; other depths are left alone.
  void Fill(COLORREF colour);

  // The smallest rectangle holding every non-zero pixel of a grey image; empty for
  // none or for an image that is not grey.
  Rect NonZeroBounds() const;

  int Width() const { return header_.biWidth; }
  int Height() const { return header_.biHeight; }
  Size GetSize() const { return Size{header_.biWidth, header_.biHeight}; }
  int BitsPerPixel() const { return header_.biBitCount; }
  int Stride() const;
  std::uint32_t PixelBytes() const { return pixels_.size(); }
  bool HasPixels() const { return pixels_.size() != 0; }
  // 8 bits, 256 palette entries, and the palette is the grey ramp.
  bool IsGrey() const;
  // 24-bit or grey: what the copy and blend operations accept.
  bool IsBlitFormat() const { return HasPixels() && (BitsPerPixel() == 24 || IsGrey()); }

  // The address of pixel (x, y), y counted from the top; null for depths other
  // than 8 and 24. No bounds check: callers clip first.
  unsigned char* PixelAt(int x, int y);
  const unsigned char* PixelAt(int x, int y) const;

  // Intersects rect with the image. Non-zero when something remains; 0, with rect
  // unchanged, for an image without pixels.
  int ClipToImage(Rect& rect) const;

  // Paints the whole image 1:1 with its top-left corner at (x, y) of `dc`, through
  // the video-drawing session `drawDib` when one is given (see platform/Paint.h).
  // 0, with nothing painted, for an image without pixels or a missing dc, and when
  // painting fails.
  int Paint(platform::DeviceContext dc, int x, int y,
            platform::DrawDibHandle drawDib = nullptr) const;

  const BitmapInfoHeader& Header() const { return header_; }
  const RgbQuad* Palette() const { return palette_; }
  RgbQuad* Palette() { return palette_; }
  const unsigned char* Bits() const { return pixels_.bytes(); }
  unsigned char* Bits() { return pixels_.bytes(); }

 private:
  void SetHeader(int width, int height, int bitsPerPixel, int paletteCount);

  BitmapInfoHeader header_;  // first, so the object's address is the header's
  RgbQuad* palette_;         // kPaletteEntries entries; null only after TakeFrom
  ByteStream pixels_;
};

// Clips a copy of `size` pixels from src at srcPos to dst at dstPos against both
// images, adjusting the three in place. Non-zero when something is left to copy.
int ClipBlit(const Image& dst, Point& dstPos, const Image& src, Point& srcPos, Size& size);
