#include "render/Kernels.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// The sine is the classic one from argument reduction by pi/2 in three parts and
// two minimax polynomials on [-pi/4, pi/4]. The C libraries' own sin() differ:
// the MinGW one (x87 fsin) is off by far more than a unit near the zeros of the
// sine, which are exactly where the Lanczos kernel crosses zero.
constexpr double kS1 = -1.66666666666666324348e-01;
constexpr double kS2 = 8.33333333332248946124e-03;
constexpr double kS3 = -1.98412698298579493134e-04;
constexpr double kS4 = 2.75573137070700676789e-06;
constexpr double kS5 = -2.50507602534068634195e-08;
constexpr double kS6 = 1.58969099521155010221e-10;

constexpr double kC1 = 4.16666666666666019037e-02;
constexpr double kC2 = -1.38888888888741095749e-03;
constexpr double kC3 = 2.48015872894767294178e-05;
constexpr double kC4 = -2.75573143513906633035e-07;
constexpr double kC5 = 2.08757232129817482790e-09;
constexpr double kC6 = -1.13596475577881948265e-11;

// pi/2 split into 33-bit parts, each with the tail that follows it.
constexpr double kHalfPi1 = 1.57079632673412561417e+00;
constexpr double kHalfPi1Tail = 6.07710050650619224932e-11;
constexpr double kHalfPi2 = 6.07710050630396597660e-11;
constexpr double kHalfPi2Tail = 2.02226624879595063154e-21;
constexpr double kHalfPi3 = 2.02226624871116645580e-21;
constexpr double kHalfPi3Tail = 8.47842766036889956997e-32;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
// Beyond this the three parts no longer reduce exactly.
constexpr double kReductionLimit = 1647099.0;

// sin(x + y) for |x + y| <= pi/4, where y is the small tail of x.
double sinNearZero(double x, double y) {
  const double z = x * x;
  const double w = z * z;
  const double r = kS2 + z * (kS3 + z * kS4) + z * w * (kS5 + z * kS6);
  const double v = z * x;
  return x - ((z * (0.5 * y - v * r) - y) - v * kS1);
}

// cos(x + y) for |x + y| <= pi/4.
double cosNearZero(double x, double y) {
  const double z = x * x;
  const double w = z * z;
  const double r = z * (kC1 + z * (kC2 + z * kC3)) + w * w * (kC4 + z * (kC5 + z * kC6));
  const double halfZ = 0.5 * z;
  const double one = 1.0 - halfZ;
  return one + (((1.0 - one) - halfZ) + (z * r - x * y));
}

int biasedExponent(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return int((bits >> 52) & 0x7FF);
}

double sinc(double u) {
  const double x = u * kPi;
  return x != 0.0 ? PortableSin(x) / x : 1.0;
}

}  // namespace

double PortableSin(double x) {
  const double t = std::fabs(x);
  if (t <= 0.7853981633974483) return sinNearZero(x, 0.0);
  if (!(t <= kReductionLimit)) return std::sin(x);  // never reached by the kernels

  // t = n pi/2 + (y0 + y1), taking more parts of pi/2 while the difference
  // cancels so many bits that the tail of the previous part matters.
  const int n = int(t * kTwoOverPi + 0.5);
  const double fn = n;
  double r = t - fn * kHalfPi1;
  double w = fn * kHalfPi1Tail;
  double y0 = r - w;
  const int exponent = biasedExponent(t);
  if (exponent - biasedExponent(y0) > 16) {
    double before = r;
    w = fn * kHalfPi2;
    r = before - w;
    w = fn * kHalfPi2Tail - ((before - r) - w);
    y0 = r - w;
    if (exponent - biasedExponent(y0) > 49) {
      before = r;
      w = fn * kHalfPi3;
      r = before - w;
      w = fn * kHalfPi3Tail - ((before - r) - w);
      y0 = r - w;
    }
  }
  const double y1 = (r - y0) - w;

  double s;
  switch (n & 3) {
    case 0:
      s = sinNearZero(y0, y1);
      break;
    case 1:
      s = cosNearZero(y0, y1);
      break;
    case 2:
      s = -sinNearZero(y0, y1);
      break;
    default:
      s = -cosNearZero(y0, y1);
      break;
  }
  return x < 0 ? -s : s;
}

double HermiteWeight(double x) {
  const double t = std::fabs(x);
  if (t < 1.0) return 2.0 * (t * t * t) - 3.0 * (t * t) + 1.0;
  return 0.0;
}

double BellWeight(double x) {
  const double t = std::fabs(x);
  if (t < 0.5) return 0.75 - t * t;
  if (t < 1.5) {
    const double u = t - 1.5;
    return 0.5 * (u * u);
  }
  return 0.0;
}

double CubicBSplineWeight(double x) {
  const double t = std::fabs(x);
  if (t < 1.0) {
    const double tt = t * t;
    return 0.5 * tt * t - tt + kTwoThirds;
  }
  if (t < 2.0) {
    const double u = 2.0 - t;
    return kOneSixth * (u * u * u);
  }
  return 0.0;
}

double Lanczos3Weight(double x) {
  const double t = std::fabs(x);
  if (t < 3.0) return sinc(t) * sinc(t / 3.0);
  return 0.0;
}

double MitchellWeight(double x) {
  const double t = std::fabs(x);
  const double tt = t * t;
  if (t < 1.0) return (7.0 * (tt * t) - 12.0 * tt + kSixteenThirds) / 6.0;
  if (t < 2.0) {
    return (-kSevenThirds * (tt * t) + 12.0 * tt - 20.0 * t + kThirtyTwoThirds) / 6.0;
  }
  return 0.0;
}

double TriangleWeight(double x) {
  const double t = std::fabs(x);
  if (t < 1.0) return 1.0 - t;
  return 0.0;
}

double TruncatedBSplineWeight(double x) {
  if (x > 2.0) return 0.0;
  const auto cube = [](double u) { return u > 0.0 ? u * u * u : 0.0; };
  return (cube(x + 2.0) - 4.0 * cube(x + 1.0) + 6.0 * cube(x) - 4.0 * cube(x - 1.0)) * kOneSixth;
}

const FilterKernel& KernelAt(int index) {
  // The truncated-power spline shares the cubic's curve but is cut off at 1.5, so
  // it reaches fewer neighbours and blurs less.
  static const FilterKernel kKernels[kKernelCount] = {
      {HermiteWeight, 1.0},          {BellWeight, 1.5},     {CubicBSplineWeight, 2.0},
      {Lanczos3Weight, 3.0},         {MitchellWeight, 2.0}, {TriangleWeight, 1.0},
      {TruncatedBSplineWeight, 1.5},
  };
  const int slot = index % kKernelCount;
  return kKernels[slot < 0 ? slot + kKernelCount : slot];
}
