// Filter kernels of the resampler: seven weight functions and their supports.
//
// A weight function takes the signed distance from an output sample's centre to a
// source sample, in source samples, and returns that sample's weight. Weights are
// not normalised anywhere, so every constant below is part of what a resampled
// picture looks like, down to the last bit: they are the plain doubles the
// fractions round to, written out.
#pragma once

constexpr int kKernelCount = 7;
constexpr int kKernelHermite = 0;
constexpr int kKernelBell = 1;
constexpr int kKernelCubicBSpline = 2;
constexpr int kKernelLanczos3 = 3;
constexpr int kKernelMitchell = 4;
constexpr int kKernelTriangle = 5;
constexpr int kKernelTruncatedBSpline = 6;

constexpr double kOneSixth = 0.16666666666666666;
constexpr double kTwoThirds = 0.6666666666666666;
// B and C of the Mitchell kernel; its coefficients below are folded from them.
constexpr double kOneThird = 0.3333333333333333;
constexpr double kSixteenThirds = 5.333333333333333;
constexpr double kThirtyTwoThirds = 10.666666666666666;
constexpr double kSevenThirds = 2.3333333333333335;
constexpr double kPi = 3.141592653589793;

struct FilterKernel {
  double (*weight)(double x);
  // Samples farther than this from the centre are not visited.
  double support;
};

// 2t^3 - 3t^2 + 1 below t = |x| = 1.
double HermiteWeight(double x);
// The quadratic B-spline, support 1.5.
double BellWeight(double x);
// The cubic B-spline, support 2.
double CubicBSplineWeight(double x);
// sinc(t) sinc(t/3) below t = 3.
double Lanczos3Weight(double x);
// Mitchell-Netravali with B = C = 1/3, support 2. Overshoots: its outer lobes are
// negative.
double MitchellWeight(double x);
// 1 - t below t = 1.
double TriangleWeight(double x);
// The cubic B-spline again, as a sum of truncated powers of the signed x.
double TruncatedBSplineWeight(double x);

// Kernel `index` modulo kKernelCount, negative indices included, so any int picks
// one of the seven.
const FilterKernel& KernelAt(int index);

// sin(x), computed from + - * / alone so that every build (whatever its C library)
// gets the same bits; within one unit in the last place of the true value for
// |x| up to about 1.6 million, far beyond the 3 pi the Lanczos kernel needs.
double PortableSin(double x);
