#include "render/Contributions.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<int, double>>;

Entries listOf(const ContributionLists& lists, int i) {
  Entries out;
  for (int k = 0; k < lists.Count(i); ++k) {
    out.emplace_back(lists.List(i)[k].index, lists.List(i)[k].weight);
  }
  return out;
}

}  // namespace

TEST(Contributions, AxisScaleMapsEndToEnd) {
  EXPECT_EQ(AxisScale(2, 3), 2.0);
  EXPECT_EQ(AxisScale(320, 500), 499.0 / 319.0);
  EXPECT_EQ(AxisScale(500, 320), 319.0 / 499.0);
  EXPECT_EQ(AxisScale(7, 7), 1.0);
  // A length of 1 has no end to end: plain ratio then.
  EXPECT_EQ(AxisScale(1, 10), 10.0);
  EXPECT_EQ(AxisScale(10, 1), 0.1);
  EXPECT_EQ(AxisScale(1, 1), 1.0);
}

TEST(Contributions, TwoSamplesToThreeCentreOnZeroHalfAndOne) {
  ContributionLists lists;
  ASSERT_TRUE(lists.Build(KernelAt(kKernelTriangle), AxisScale(2, 3), 2, 3));
  EXPECT_EQ(lists.Lists(), 3);
  EXPECT_EQ(lists.Capacity(), 12);  // (int)(2 * 1.0 + 10)
  EXPECT_EQ(listOf(lists, 0), (Entries{{0, 1.0}}));
  EXPECT_EQ(listOf(lists, 1), (Entries{{0, 0.5}, {1, 0.5}}));
  EXPECT_EQ(listOf(lists, 2), (Entries{{1, 1.0}}));
}

// The left edge mirrors around sample 0 (-1 reads 1); the right edge mirrors
// around the end and repeats the last sample (n reads n - 1).
TEST(Contributions, EdgesReflect) {
  ContributionLists lists;
  ASSERT_TRUE(lists.Build(KernelAt(kKernelMitchell), AxisScale(4, 7), 4, 7));
  const double centre = MitchellWeight(0.0);
  const double side = MitchellWeight(1.0);
  EXPECT_EQ(listOf(lists, 0), (Entries{{1, side}, {0, centre}, {1, side}}));
  EXPECT_EQ(listOf(lists, 6), (Entries{{2, side}, {3, centre}, {3, side}}));
}

TEST(Contributions, ShrinkingWidensTheKernel) {
  // 10 samples to 5: scale 4/9, so Mitchell reaches 4.5 samples to either side.
  ContributionLists lists;
  ASSERT_TRUE(lists.Build(KernelAt(kKernelMitchell), AxisScale(10, 5), 10, 5));
  EXPECT_EQ(lists.Capacity(), 19);
  EXPECT_EQ(listOf(lists, 2).front().first, 1);  // centre 4.5: samples 1..8, closer than 4.5
  EXPECT_EQ(listOf(lists, 2).back().first, 8);
  const double scale = 1.0 / (9.0 / 4.0);
  for (const auto& e : listOf(lists, 2)) {
    EXPECT_EQ(e.second, scale * MitchellWeight((4.5 - e.first) * scale));
  }
  // The truncated spline is cut off sooner than the full one.
  ContributionLists full, truncated;
  ASSERT_TRUE(full.Build(KernelAt(kKernelCubicBSpline), AxisScale(30, 4), 30, 4));
  ASSERT_TRUE(truncated.Build(KernelAt(kKernelTruncatedBSpline), AxisScale(30, 4), 30, 4));
  EXPECT_LT(truncated.Count(1), full.Count(1));
}

TEST(Contributions, IndicesStayInsideForEveryShape) {
  for (int kernel = 0; kernel < kKernelCount; ++kernel) {
    for (int n = 1; n <= 12; ++n) {
      for (int m = 1; m <= 30; ++m) {
        ContributionLists lists;
        ASSERT_TRUE(lists.Build(KernelAt(kernel), AxisScale(n, m), n, m));
        for (int i = 0; i < m; ++i) {
          EXPECT_LE(lists.Count(i), lists.Capacity());
          for (int k = 0; k < lists.Count(i); ++k) {
            const Contribution& c = lists.List(i)[k];
            ASSERT_TRUE(c.index >= 0 && c.index < n) << kernel << ": " << n << " to " << m;
            EXPECT_NE(c.weight, 0.0);
          }
        }
      }
    }
  }
}

TEST(Contributions, RefusesWhatCannotBeBuilt) {
  const FilterKernel& mitchell = KernelAt(kKernelMitchell);
  const struct {
    double scale;
    int input;
    int output;
  } cases[] = {
      {1.0, 0, 5},
      {1.0, 5, 0},
      {1.0, -5, 5},
      {0.0, 5, 5},
      {-1.0, 5, 5},
      {std::numeric_limits<double>::quiet_NaN(), 5, 5},
      {std::numeric_limits<double>::infinity(), 5, 5},
      // 14 entries for each of a billion outputs.
      {double(1 << 30), 1, 1 << 30},
      {double(INT_MAX), 1, INT_MAX},
      // One output reaching over six billion inputs: the capacity overflows an int.
      {1.0 / (INT_MAX - 1.0), INT_MAX, 2},
  };
  for (const auto& c : cases) {
    ContributionLists lists;
    EXPECT_FALSE(lists.Build(mitchell, c.scale, c.input, c.output)) << c.input << " " << c.output;
    EXPECT_EQ(lists.Lists(), 0);
  }
  // A failed build leaves nothing of an earlier one.
  ContributionLists lists;
  ASSERT_TRUE(lists.Build(mitchell, 1.0, 4, 4));
  EXPECT_FALSE(lists.Build(mitchell, 1.0, 4, 0));
  EXPECT_EQ(lists.Lists(), 0);
  EXPECT_EQ(lists.Capacity(), 0);
}
