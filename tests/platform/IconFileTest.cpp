// Reading a picture out of .ico bytes (the host's icon groups).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/IconFile.h"

using platform::IconPicture;
using platform::readIconPicture;

namespace {

void put16(std::vector<unsigned char>& b, unsigned v) {
  b.push_back((unsigned char)v);
  b.push_back((unsigned char)(v >> 8));
}

void put32(std::vector<unsigned char>& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

// One flat image of `size` at `bits`: colour (r, g, b) in every pixel, except that
// the top-left pixel is left transparent by the mask (32-bit images: alpha 0x80 in
// every pixel, no mask bit set).
std::vector<unsigned char> image(int size, int bits, unsigned char r, unsigned char g,
                                 unsigned char b) {
  std::vector<unsigned char> out;
  put32(out, 40);
  put32(out, std::uint32_t(size));
  put32(out, std::uint32_t(size * 2));
  put16(out, 1);
  put16(out, unsigned(bits));
  for (int i = 0; i < 6; ++i) put32(out, 0);
  if (bits <= 8) {
    for (int i = 0; i < (1 << bits); ++i) {
      const bool colour = i == 1;
      out.push_back(colour ? b : 0);
      out.push_back(colour ? g : 0);
      out.push_back(colour ? r : 0);
      out.push_back(0);
    }
  }
  const int stride = (size * bits + 31) / 32 * 4;
  for (int y = 0; y < size; ++y) {
    std::vector<unsigned char> row(std::size_t(stride), 0);
    for (int x = 0; x < size; ++x) {
      if (bits <= 8) {
        const int bit = x * bits;
        row[std::size_t(bit / 8)] |= (unsigned char)(1 << (8 - bits - bit % 8));
      } else {
        unsigned char* px = &row[std::size_t(x * bits / 8)];
        px[0] = b;
        px[1] = g;
        px[2] = r;
        if (bits == 32) px[3] = 0x80;
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  const int maskStride = (size + 31) / 32 * 4;
  for (int y = 0; y < size; ++y) {
    std::vector<unsigned char> row(std::size_t(maskStride), 0);
    if (y == size - 1 && bits != 32) row[0] = 0x80;  // bottom-up: the top row is last
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

struct Entry {
  int size, bits;
  std::vector<unsigned char> bytes;
};

std::vector<unsigned char> icoFile(const std::vector<Entry>& entries) {
  std::vector<unsigned char> out;
  put16(out, 0);
  put16(out, 1);
  put16(out, unsigned(entries.size()));
  std::uint32_t offset = std::uint32_t(6 + 16 * entries.size());
  for (const Entry& e : entries) {
    out.push_back((unsigned char)(e.size & 0xFF));
    out.push_back((unsigned char)(e.size & 0xFF));
    out.push_back(0);
    out.push_back(0);
    put16(out, 1);
    put16(out, unsigned(e.bits));
    put32(out, std::uint32_t(e.bytes.size()));
    put32(out, offset);
    offset += std::uint32_t(e.bytes.size());
  }
  for (const Entry& e : entries) out.insert(out.end(), e.bytes.begin(), e.bytes.end());
  return out;
}

// The group the product's icon is: 48, 32 and 16 pixels at 4, 8 and 32 bits.
std::vector<unsigned char> productIcon() {
  std::vector<Entry> entries;
  const unsigned char shade[3] = {0x40, 0x80, 0xC0};
  int n = 0;
  for (int size : {48, 32, 16}) {
    for (int bits : {4, 8, 32}) {
      entries.push_back({size, bits, image(size, bits, (unsigned char)size, shade[n % 3], 1)});
      ++n;
    }
  }
  return icoFile(entries);
}

}  // namespace

TEST(IconFile, TakesTheAskedSizeAtTheHighestDepth) {
  const std::vector<unsigned char> ico = productIcon();
  for (int size : {16, 32, 48}) {
    IconPicture p;
    ASSERT_TRUE(readIconPicture(ico.data(), ico.size(), size, size, p)) << size;
    EXPECT_EQ(p.width, size);
    EXPECT_EQ(p.height, size);
    ASSERT_EQ(p.argb.size(), std::size_t(size * size));
    // The 32-bit image: its own alpha, the shade of the third entry of the size.
    EXPECT_EQ(p.argb[0], 0x80000000u | std::uint32_t(size) << 16 | 0xC000u | 1u) << size;
  }
}

TEST(IconFile, TakesTheNearestSizeWhenTheAskedOneIsMissing) {
  const std::vector<unsigned char> ico = productIcon();
  IconPicture p;
  ASSERT_TRUE(readIconPicture(ico.data(), ico.size(), 20, 20, p));
  EXPECT_EQ(p.width, 16);
  ASSERT_TRUE(readIconPicture(ico.data(), ico.size(), 64, 64, p));
  EXPECT_EQ(p.width, 48);
}

TEST(IconFile, PalettedImagesUseTheirMask) {
  for (int bits : {1, 4, 8}) {
    const std::vector<unsigned char> ico = icoFile({{16, bits, image(16, bits, 0x12, 0x34, 0x56)}});
    IconPicture p;
    ASSERT_TRUE(readIconPicture(ico.data(), ico.size(), 16, 16, p)) << bits;
    EXPECT_EQ(p.argb[0], 0u) << bits;  // masked out
    EXPECT_EQ(p.argb[1], 0xFF123456u) << bits;
    EXPECT_EQ(p.argb[16 * 16 - 1], 0xFF123456u) << bits;
  }
  const std::vector<unsigned char> ico = icoFile({{16, 24, image(16, 24, 1, 2, 3)}});
  IconPicture p;
  ASSERT_TRUE(readIconPicture(ico.data(), ico.size(), 16, 16, p));
  EXPECT_EQ(p.argb[0], 0u);
  EXPECT_EQ(p.argb[17], 0xFF010203u);
}

TEST(IconFile, DamagedFilesAreRefused) {
  const std::vector<unsigned char> good = icoFile({{16, 8, image(16, 8, 1, 2, 3)}});
  IconPicture p;
  for (std::size_t cut : {std::size_t(0), std::size_t(5), std::size_t(21), good.size() - 1}) {
    EXPECT_FALSE(readIconPicture(good.data(), cut, 16, 16, p)) << cut;
    EXPECT_TRUE(p.argb.empty());
  }
  std::vector<unsigned char> bad = good;
  bad[18] = 0xFF;  // the image's offset far beyond the file
  EXPECT_FALSE(readIconPicture(bad.data(), bad.size(), 16, 16, p));
  bad = good;
  bad[2] = 2;  // a cursor file
  EXPECT_FALSE(readIconPicture(bad.data(), bad.size(), 16, 16, p));
  // A PNG image is passed over for one that can be read.
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  png.resize(64, 0);
  const std::vector<unsigned char> mixed = icoFile({{16, 32, png}, {32, 8, image(32, 8, 9, 9, 9)}});
  ASSERT_TRUE(readIconPicture(mixed.data(), mixed.size(), 16, 16, p));
  EXPECT_EQ(p.width, 32);
}
