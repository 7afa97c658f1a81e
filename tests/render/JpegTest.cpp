#include "render/Jpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/EncodeJpeg.h"

namespace {

using Bytes = std::vector<unsigned char>;
using testdata::EncodeJpeg;
using testdata::EncodeSolidJpeg;

int decode(const Bytes& jpeg, Image& target) {
  ByteStream stream;
  EXPECT_EQ(stream.appendBytes(std::uint32_t(jpeg.size()), jpeg.data()), S_OK);
  return DecodeJpeg(stream, target);
}

// Rows top-down: the top half `top`, the bottom half `bottom`, split on a block
// boundary so that the halves do not bleed into each other.
Bytes twoBands(int width, int height, int components, const unsigned char* top,
               const unsigned char* bottom, bool progressive) {
  Bytes pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels.insert(pixels.end(), y < height / 2 ? top : bottom,
                    (y < height / 2 ? top : bottom) + components);
    }
  }
  testdata::JpegOptions options;
  options.progressive = progressive;
  return EncodeJpeg(width, height, components, pixels.data(), options);
}

// A picture with detail everywhere, so that every block carries data.
Bytes noisy(int width, int height, bool progressive) {
  Bytes pixels(std::size_t(width * height * 3));
  std::uint32_t seed = 12345;
  for (auto& p : pixels) {
    seed = seed * 1103515245u + 12345u;
    p = (unsigned char)(seed >> 24);
  }
  testdata::JpegOptions options;
  options.progressive = progressive;
  return EncodeJpeg(width, height, 3, pixels.data(), options);
}

void setFrameSize(Bytes& jpeg, int width, int height) {
  const std::size_t at = testdata::FrameSizeOffset(jpeg);
  ASSERT_NE(at, 0u);
  jpeg[at] = (unsigned char)(height >> 8);
  jpeg[at + 1] = (unsigned char)height;
  jpeg[at + 2] = (unsigned char)(width >> 8);
  jpeg[at + 3] = (unsigned char)width;
}

// The offset of the first scan's header.
std::size_t scanHeader(const Bytes& jpeg) {
  for (std::size_t i = 2; i + 3 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) return i;
  }
  return 0;
}

bool near(int a, int b) {
  return std::abs(a - b) <= 6;
}

}  // namespace

TEST(Jpeg, GreyBecomesGreyImageTopDown) {
  const unsigned char dark = 40, light = 200;
  for (bool progressive : {false, true}) {
    // 13 wide: rows are padded in the image and must not be in the copy.
    Image image;
    ASSERT_TRUE(decode(twoBands(13, 16, 1, &dark, &light, progressive), image));
    EXPECT_TRUE(image.IsGrey());
    EXPECT_EQ(image.Width(), 13);
    EXPECT_EQ(image.Height(), 16);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 13; ++x) {
        ASSERT_TRUE(near(image.PixelAt(x, y)[0], y < 8 ? dark : light)) << x << "," << y;
      }
    }
  }
}

TEST(Jpeg, ColourComesOutBlueGreenRedTopDown) {
  const unsigned char red[3] = {255, 0, 0}, blue[3] = {0, 0, 255};
  for (bool progressive : {false, true}) {
    Image image;
    ASSERT_TRUE(decode(twoBands(21, 32, 3, red, blue, progressive), image));
    EXPECT_EQ(image.BitsPerPixel(), 24);
    EXPECT_EQ(image.Stride(), 64);
    for (int y = 0; y < 32; ++y) {
      if (y == 15 || y == 16) continue;  // the halved colour planes are smoothed across
      const unsigned char* want = y < 16 ? red : blue;
      for (int x = 0; x < 21; ++x) {
        const unsigned char* p = image.PixelAt(x, y);
        ASSERT_TRUE(near(p[0], want[2]) && near(p[1], want[1]) && near(p[2], want[0]))
            << x << "," << y << ": " << int(p[0]) << " " << int(p[1]) << " " << int(p[2]);
      }
    }
  }
}

TEST(Jpeg, SolidColoursOfAnySize) {
  const struct {
    int width, height, red, green, blue;
  } cases[] = {
      {1, 1, 0x20, 0x80, 0xC0}, {7, 3, 255, 255, 255}, {17, 9, 0, 0, 0}, {40, 1, 0x10, 0xF0, 0x60}};
  for (const auto& c : cases) {
    Image image;
    ASSERT_TRUE(decode(EncodeSolidJpeg(c.width, c.height, c.red, c.green, c.blue), image));
    ASSERT_EQ(image.Width(), c.width);
    ASSERT_EQ(image.Height(), c.height);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const unsigned char* p = image.PixelAt(x, y);
        ASSERT_TRUE(near(p[0], c.blue) && near(p[1], c.green) && near(p[2], c.red))
            << c.width << "x" << c.height << " at " << x << "," << y;
      }
    }
  }
}

TEST(Jpeg, RejectsWhatIsNotAPicture) {
  Bytes random(1000);
  for (std::size_t i = 0; i < random.size(); ++i) random[i] = (unsigned char)(i * 7919 >> 3);
  Bytes junkAfterStart = {0xFF, 0xD8};
  junkAfterStart.insert(junkAfterStart.end(), random.begin(), random.end());
  const unsigned char cmykPixels[8 * 8 * 4] = {};
  const struct {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"nothing", {}},
      {"start of image alone", {0xFF, 0xD8}},
      {"start and end of image", {0xFF, 0xD8, 0xFF, 0xD9}},
      {"another format", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}},
      {"junk", random},
      {"junk after the start of image", junkAfterStart},
      // No conversion from four channels to colour exists; it is refused, not
      // copied as if it were three.
      {"CMYK", EncodeJpeg(8, 8, 4, cmykPixels)},
  };
  for (const auto& c : cases) {
    Image image;
    ASSERT_TRUE(image.Create(4, 4, 24));
    EXPECT_FALSE(decode(c.bytes, image)) << c.what;
    EXPECT_FALSE(image.HasPixels()) << c.what;
  }
}

TEST(Jpeg, CutShortDecodesAsFarAsTheDataGo) {
  for (bool progressive : {false, true}) {
    const Bytes whole = noisy(24, 24, progressive);
    Image full;
    ASSERT_TRUE(decode(whole, full));
    const std::size_t header = scanHeader(whole);
    ASSERT_NE(header, 0u);
    const std::size_t data = header + 2 + std::size_t(whole[header + 2] << 8 | whole[header + 3]);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
      Image image;
      const int ok = decode(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(cut)), image);
      // Without a scan there is no picture; once the scan's data begin there is
      // one. A cut inside a marker segment (the scan header, or the tables
      // between the scans of a progressive file) may go either way, as the
      // library makes of the end-of-image bytes read as its fields.
      if (cut < header) {
        ASSERT_FALSE(ok) << "cut at " << cut;
      } else if (cut >= data && !progressive) {
        ASSERT_TRUE(ok) << "cut at " << cut;
      }
      if (ok) {
        ASSERT_EQ(image.Width(), 24);
        ASSERT_EQ(image.Height(), 24);
      }
    }
    Image image;
    if (progressive) {
      // Only the end-of-image marker missing: every scan is there.
      ASSERT_TRUE(decode(Bytes(whole.begin(), whole.end() - 2), image));
      EXPECT_EQ(std::memcmp(image.Bits(), full.Bits(), full.PixelBytes()), 0);
    } else {
      // A baseline file missing its last bytes still has its first rows whole.
      ASSERT_TRUE(decode(Bytes(whole.begin(), whole.end() - 40), image));
      EXPECT_EQ(std::memcmp(image.PixelAt(0, 7), full.PixelAt(0, 7), 8 * image.Stride()), 0);
    }
  }
}

TEST(Jpeg, RefusesGiantPicturesFromTheHeaderAlone) {
  const struct {
    int width, height;
    bool decodes;
  } cases[] = {{60000, 60000, false}, {16385, 8, false}, {8, 16385, false},
               {8192, 8193, false},   {16384, 8, true},  {8, 4096, true}};
  for (bool progressive : {false, true}) {
    const unsigned char grey[3] = {128, 128, 128};
    const Bytes small = twoBands(8, 8, 3, grey, grey, progressive);
    for (const auto& c : cases) {
      Bytes claimed = small;
      setFrameSize(claimed, c.width, c.height);
      Image image;
      EXPECT_EQ(decode(claimed, image), c.decodes ? 1 : 0) << c.width << "x" << c.height;
      if (c.decodes) {
        EXPECT_EQ(image.Width(), c.width);
        EXPECT_EQ(image.Height(), c.height);
      }
    }
  }
}

TEST(Jpeg, DecodesALengthPrefixedBlob) {
  const Bytes jpeg = EncodeSolidJpeg(5, 4, 0, 0, 255);
  ByteStream source;
  const std::uint32_t length = std::uint32_t(jpeg.size());
  const unsigned char prefix[4] = {(unsigned char)length, (unsigned char)(length >> 8),
                                   (unsigned char)(length >> 16), (unsigned char)(length >> 24)};
  source.appendBytes(2, "ab");
  source.appendBytes(4, prefix);
  source.appendBytes(length, jpeg.data());
  source.appendBytes(4, "tail");

  std::uint32_t position = 2;
  Image image;
  ASSERT_TRUE(DecodeJpeg(source, position, image));
  EXPECT_EQ(position, 2 + 4 + length);
  EXPECT_EQ(image.Width(), 5);
  EXPECT_TRUE(near(image.PixelAt(4, 3)[0], 255));

  // The tail read as a length claims far more than is left.
  EXPECT_FALSE(DecodeJpeg(source, position, image));
  EXPECT_FALSE(image.HasPixels());

  ByteStream emptyBlob;
  emptyBlob.appendBytes(4, "\0\0\0\0");
  position = 0;
  EXPECT_FALSE(DecodeJpeg(emptyBlob, position, image));
}
