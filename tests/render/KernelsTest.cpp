#include "render/Kernels.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

using Weight = double (*)(double);

struct Curve {
  int kernel;
  Weight weight;
  double reach;  // where the curve itself ends, whatever support the table gives
};

const Curve kCurves[] = {
    {kKernelHermite, HermiteWeight, 1.0},
    {kKernelBell, BellWeight, 1.5},
    {kKernelCubicBSpline, CubicBSplineWeight, 2.0},
    {kKernelLanczos3, Lanczos3Weight, 3.0},
    {kKernelMitchell, MitchellWeight, 2.0},
    {kKernelTriangle, TriangleWeight, 1.0},
    {kKernelTruncatedBSpline, TruncatedBSplineWeight, 2.0},
};

std::uint64_t bitsOf(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

}  // namespace

TEST(Kernels, ValuesAtKeyPoints) {
  const struct {
    Weight weight;
    double x;
    double expected;
  } cases[] = {
      {HermiteWeight, 0.0, 1.0},
      {HermiteWeight, 0.5, 0.5},
      {HermiteWeight, -0.25, 0.84375},
      {BellWeight, 0.0, 0.75},
      {BellWeight, 0.5, 0.5},
      {BellWeight, 1.0, 0.125},
      {CubicBSplineWeight, 0.0, 2.0 / 3.0},
      {CubicBSplineWeight, 1.0, 1.0 / 6.0},
      {CubicBSplineWeight, -1.5, 1.0 / 48.0},
      {Lanczos3Weight, 0.0, 1.0},
      {Lanczos3Weight, 1.0, 0.0},
      {Lanczos3Weight, 2.0, 0.0},
      {Lanczos3Weight, 0.5, (2.0 / kPi) * (0.5 / (kPi / 6.0))},
      {Lanczos3Weight, 1.5, (-2.0 / (3.0 * kPi)) * (2.0 / kPi)},
      {MitchellWeight, 0.0, 8.0 / 9.0},
      {MitchellWeight, 1.0, 1.0 / 18.0},
      {MitchellWeight, -1.5, -5.0 / 144.0},
      {TriangleWeight, 0.0, 1.0},
      {TriangleWeight, -0.25, 0.75},
      {TruncatedBSplineWeight, 0.0, 2.0 / 3.0},
      {TruncatedBSplineWeight, -1.0, 1.0 / 6.0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(c.weight(c.x), c.expected, 1e-15) << "x = " << c.x;
  }
}

TEST(Kernels, ZeroWhereTheCurveEnds) {
  for (const Curve& c : kCurves) {
    SCOPED_TRACE(c.kernel);
    for (double x : {c.reach, c.reach + 0.25, 100.0, 1e300}) {
      EXPECT_EQ(c.weight(x), 0.0) << x;
      EXPECT_EQ(c.weight(-x), 0.0) << -x;
    }
    // Continuous there: no step down to 0 at the end of the curve.
    EXPECT_NEAR(c.weight(c.reach - 1e-9), 0.0, 1e-7);
    EXPECT_NEAR(c.weight(-(c.reach - 1e-9)), 0.0, 1e-7);
  }
}

TEST(Kernels, ContinuousWhereThePiecesMeet) {
  const struct {
    Weight weight;
    double x;
  } joins[] = {{BellWeight, 0.5},
               {BellWeight, 1.5},
               {CubicBSplineWeight, 1.0},
               {MitchellWeight, 1.0},
               {TruncatedBSplineWeight, 1.0},
               {TruncatedBSplineWeight, -1.0},
               {TruncatedBSplineWeight, 0.0}};
  for (const auto& j : joins) {
    EXPECT_NEAR(j.weight(j.x - 1e-9), j.weight(j.x + 1e-9), 1e-8) << j.x;
  }
}

// All but Lanczos add up to exactly 1 over the integer grid at any offset, so they
// keep a flat area flat when enlarging; Lanczos does at the grid points only.
TEST(Kernels, WeightsOverTheGridSumToOne) {
  for (const Curve& c : kCurves) {
    for (double offset : {0.0, 0.1, 0.25, 0.5, 0.75, 0.9}) {
      double sum = 0.0;
      for (int j = -4; j <= 4; ++j) sum += c.weight(offset - j);
      if (c.kernel == kKernelLanczos3 && offset != 0.0) {
        EXPECT_NEAR(sum, 1.0, 0.01) << offset;
        EXPECT_LE(sum, 1.0 + 1e-15) << offset;
      } else {
        EXPECT_NEAR(sum, 1.0, 1e-13) << c.kernel << " at " << offset;
      }
    }
  }
}

TEST(Kernels, TruncatedPowersDrawTheCubicBSpline) {
  for (double x = -2.5; x <= 2.5; x += 1.0 / 32) {
    EXPECT_NEAR(TruncatedBSplineWeight(x), CubicBSplineWeight(x), 1e-13) << x;
  }
  EXPECT_EQ(KernelAt(kKernelCubicBSpline).support, 2.0);
  EXPECT_EQ(KernelAt(kKernelTruncatedBSpline).support, 1.5);
}

TEST(Kernels, TableIndexIsTakenModuloSeven) {
  for (const Curve& c : kCurves) EXPECT_EQ(KernelAt(c.kernel).weight, c.weight);
  const struct {
    int index;
    int kernel;
  } cases[] = {{7, 0},
               {9, 2},
               {13, 6},
               {14, 0},
               {-1, 6},
               {-7, 0},
               {-12, 2},
               {INT_MAX, int(INT_MAX % 7)},
               {INT_MIN, int((INT_MIN % 7 + 7) % 7)}};
  for (const auto& c : cases) {
    EXPECT_EQ(KernelAt(c.index).weight, KernelAt(c.kernel).weight) << c.index;
    EXPECT_EQ(KernelAt(c.index).support, KernelAt(c.kernel).support) << c.index;
  }
  EXPECT_EQ(KernelAt(9).weight, CubicBSplineWeight);
}

TEST(Kernels, PortableSinFollowsTheSine) {
  EXPECT_EQ(PortableSin(0.0), 0.0);
  EXPECT_EQ(PortableSin(kPi / 2), 1.0);
  EXPECT_EQ(PortableSin(-kPi / 2), -1.0);
  for (double x = -12.0; x <= 12.0; x += 0.0371) {
    EXPECT_NEAR(PortableSin(x), std::sin(x), 4e-16) << x;
    EXPECT_EQ(PortableSin(-x), -PortableSin(x));
  }
  // At the zeros, where reducing the argument cancels the most: kPi falls short of
  // pi by 1.2246467991473532e-16, and the sine of it is just that.
  EXPECT_EQ(PortableSin(kPi), 1.2246467991473532e-16);
  EXPECT_EQ(PortableSin(2 * kPi), -2.4492935982947064e-16);
  EXPECT_EQ(PortableSin(3 * kPi), 3.6739403974420594e-16);
}

// The weights are made of + - * / and our own sine only, so every build computes
// the same bits: these digests hold on the host and in the Windows build alike.
TEST(Kernels, SameBitsOnEveryBuild) {
  for (const Curve& c : kCurves) {
    std::uint64_t digest = 14695981039346656037ull;
    for (int i = -3100; i <= 3100; ++i) {
      digest = (digest ^ bitsOf(c.weight(i / 1000.0 + 1.0 / 3.0))) * 1099511628211ull;
    }
    const std::uint64_t expected[kKernelCount] = {
        12769470544398295252u, 585017143788457134u,  3520285836038980430u, 5978938799097173794u,
        478862906743445120u,   1517920088291750185u, 12830368690036747255u};
    EXPECT_EQ(digest, expected[c.kernel]) << c.kernel;
  }
}
