// Painting Images into a real device context, read back from a DIB section. Only
// the Windows build has device contexts; under Wine this runs the real GDI and
// video-drawing paths.
#include <gtest/gtest.h>

#include "platform/MemoryCanvas.h"
#include "platform/Paint.h"
#include "render/Image.h"

namespace {

constexpr unsigned char kBackground = 0x55;
constexpr std::uint32_t kUntouched = 0x555555;

// 3 x 2, every pixel different: bytes (blue, green, red) = (10x+y, 100+x, 200+y).
void makeColourImage(Image& image) {
  ASSERT_TRUE(image.Create(3, 2, 24));
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      unsigned char* p = image.PixelAt(x, y);
      p[0] = (unsigned char)(10 * x + y);
      p[1] = (unsigned char)(100 + x);
      p[2] = (unsigned char)(200 + y);
    }
  }
}

std::uint32_t colourAt(const Image& image, int x, int y) {
  const unsigned char* p = image.PixelAt(x, y);
  return image.BitsPerPixel() == 8 ? std::uint32_t(p[0]) * 0x010101u
                                   : std::uint32_t(p[2] | p[1] << 8 | p[0] << 16);
}

// The image must be at (left, top) of the canvas, and nothing else painted.
void expectPaintedAt(const MemoryCanvas& canvas, const Image& image, int left, int top, int width,
                     int height) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool inside =
          x >= left && x < left + image.Width() && y >= top && y < top + image.Height();
      const std::uint32_t want = inside ? colourAt(image, x - left, y - top) : kUntouched;
      ASSERT_EQ(canvas.PixelAt(x, y), want) << "at " << x << "," << y;
    }
  }
}

}  // namespace

TEST(PaintWin32, ColourImageLandsRightWayUp) {
  Image image;
  makeColourImage(image);
  for (bool ownSession : {false, true}) {
    MemoryCanvas canvas(8, 5, kBackground);
    ASSERT_NE(canvas.Dc(), nullptr);
    const platform::DrawDibHandle session = ownSession ? platform::openDrawDib() : nullptr;
    EXPECT_EQ(session != nullptr, ownSession);
    EXPECT_TRUE(image.Paint(canvas.Dc(), 2, 1, session));
    platform::closeDrawDib(session);
    expectPaintedAt(canvas, image, 2, 1, 8, 5);
  }
}

TEST(PaintWin32, GreyImageUsesItsRamp) {
  Image image;
  ASSERT_TRUE(image.CreateGrey(4, 2));
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) image.PixelAt(x, y)[0] = (unsigned char)(40 * x + 100 * y + 3);
  }
  MemoryCanvas canvas(6, 4, kBackground);
  ASSERT_NE(canvas.Dc(), nullptr);
  EXPECT_TRUE(image.Paint(canvas.Dc(), 0, 2));
  expectPaintedAt(canvas, image, 0, 2, 6, 4);
}

TEST(PaintWin32, NothingToPaint) {
  MemoryCanvas canvas(4, 4, kBackground);
  Image empty;
  EXPECT_FALSE(empty.Paint(canvas.Dc(), 0, 0));
  Image image;
  makeColourImage(image);
  EXPECT_FALSE(image.Paint(nullptr, 0, 0));
  expectPaintedAt(canvas, empty, 0, 0, 4, 4);
}
