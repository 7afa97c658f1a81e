#include "render/MaskFilter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "TestImages.h"

using namespace testimages;

namespace {

// The filter by its definition: every window cell looked at for every pixel.
std::vector<int> naiveFilter(const Image& mask, int r, int mode, int shape,
                             const std::uint8_t* table) {
  r = std::abs(r);
  std::vector<int> out;
  for (int y = 0; y < mask.Height(); ++y) {
    for (int x = 0; x < mask.Width(); ++x) {
      int largest = 0, smallest = 255, count = 0, sum = 0;
      for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
          bool in;
          if (shape == kWindowSquare) {
            in = true;
          } else if (shape == kWindowDiamond) {
            in = std::abs(dx) + std::abs(dy) <= r;
          } else {
            in = std::sqrt(double(dx * dx + dy * dy)) <= r + 0.4;
          }
          if (!in) continue;
          const int px = x + dx, py = y + dy;
          const bool inside = px >= 0 && py >= 0 && px < mask.Width() && py < mask.Height();
          const int v = inside ? greyAt(mask, px, py) : 0;
          largest = std::max(largest, v);
          smallest = std::min(smallest, v);
          sum += v;
          ++count;
        }
      }
      const int mean = (sum / count) % 256;
      out.push_back(mode == kFilterMax   ? largest
                    : mode == kFilterMin ? smallest
                                         : (table != nullptr ? table[mean] : mean));
    }
  }
  return out;
}

std::vector<int> valuesOf(const Image& mask) {
  std::vector<int> out;
  for (int y = 0; y < mask.Height(); ++y) {
    for (int x = 0; x < mask.Width(); ++x) out.push_back(greyAt(mask, x, y));
  }
  return out;
}

}  // namespace

TEST(MaskFilter, MatchesTheDefinitionOnRandomMasks) {
  std::mt19937 random(20240611);
  std::uint8_t inverse[256];
  for (int v = 0; v < 256; ++v) inverse[v] = std::uint8_t(255 - v);
  struct Size2 {
    int w, h;
  } sizes[] = {{1, 1}, {7, 5}, {13, 9}, {4, 16}};
  // Full-range values, and a few values only, where whole values enter and leave
  // the window all the time.
  const std::vector<int> fewValues = {0, 0, 0, 255, 128, 7};
  for (const Size2 size : sizes) {
    for (int palette = 0; palette < 2; ++palette) {
      Image source;
      std::vector<int> values;
      for (int i = 0; i < size.w * size.h; ++i) {
        values.push_back(palette == 0 ? int(random() % 256)
                                      : fewValues[random() % fewValues.size()]);
      }
      greyRows(source, size.w, size.h, values);
      for (int r : {1, 2, 3, -3, 6, 20}) {
        for (int shape : {kWindowDisk, kWindowSquare, kWindowDiamond, 9}) {
          for (int mode : {kFilterMax, kFilterMin, kFilterMean}) {
            const std::uint8_t* table = mode == kFilterMean && r == 2 ? inverse : nullptr;
            SCOPED_TRACE(testing::Message() << size.w << "x" << size.h << " r " << r << " shape "
                                            << shape << " mode " << mode);
            Image mask;
            greyRows(mask, size.w, size.h, values);
            ASSERT_TRUE(MaskFilter(&mask, r, mode, shape, table));
            ASSERT_EQ(valuesOf(mask), naiveFilter(source, r, mode, shape, table));
          }
        }
      }
    }
  }
}

TEST(MaskFilter, RadiusZeroAndBadArguments) {
  Image mask, colour;
  greyRows(mask, 3, 2, {1, 2, 3, 4, 5, 6});
  const auto before = bytesOf(mask);
  EXPECT_TRUE(MaskFilter(&mask, 0, kFilterMean, kWindowDisk, nullptr));
  EXPECT_TRUE(BlurMask(&mask, -4));
  EXPECT_EQ(bytesOf(mask), before);

  // Radii far beyond any picture fail before allocating anything.
  for (int r : {kMaxFilterRadius + 1, INT_MAX, INT_MIN, -kMaxFilterRadius - 1}) {
    EXPECT_FALSE(MaskFilter(&mask, r, kFilterMax, kWindowSquare, nullptr)) << r;
  }
  EXPECT_FALSE(MaskFilter(&mask, 1, 3, kWindowDisk, nullptr));  // no such mode
  EXPECT_EQ(bytesOf(mask), before);

  solid(colour, 3, 2, 0xFFFFFF);
  EXPECT_FALSE(MaskFilter(&colour, 2, kFilterMin, kWindowDisk, nullptr));
  EXPECT_FALSE(MaskFilter(nullptr, 2, kFilterMin, kWindowDisk, nullptr));
  EXPECT_FALSE(BlurMask(&colour, 2));

  // The largest radius still works on a small mask.
  EXPECT_TRUE(MaskFilter(&mask, kMaxFilterRadius, kFilterMax, kWindowSquare, nullptr));
  EXPECT_EQ(valuesOf(mask), std::vector<int>(6, 6));
}

TEST(MaskFilter, BlurDarkensTheBorderBandOfAFullMask) {
  const int r = 3;
  Image mask;
  greySolid(mask, 20, 16, 255);
  ASSERT_TRUE(BlurMask(&mask, r));
  for (int y = 0; y < mask.Height(); ++y) {
    for (int x = 0; x < mask.Width(); ++x) {
      const int edge = std::min(std::min(x, y), std::min(19 - x, 15 - y));
      if (edge >= r) {
        ASSERT_EQ(greyAt(mask, x, y), 255) << x << "," << y;
      } else {
        ASSERT_LT(greyAt(mask, x, y), 255) << x << "," << y;
      }
    }
  }
  EXPECT_LT(greyAt(mask, 0, 0), greyAt(mask, 0, 8));  // corners meet two zero borders
  EXPECT_LT(greyAt(mask, 0, 8), greyAt(mask, 1, 8));
}
