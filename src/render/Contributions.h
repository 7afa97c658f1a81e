// Contribution lists: which source samples, with which weights, make up each
// output sample along one axis of a resample.
//
// They are built once per axis and then applied to every row (or column), so the
// kernel is evaluated once per list entry rather than once per pixel.
#pragma once

#include <cstdint>
#include <memory>

#include "render/Kernels.h"

struct Contribution {
  int index;  // source sample, always in 0..inputLength-1
  double weight;
};

// The lists of one axis never take more than this; only absurd sizes come near
// it (a picture stretched to millions of pixels), and those fail instead.
constexpr std::int64_t kMaxContributionBytes = std::int64_t(256) << 20;

// The scale of an axis resampled from `input` to `output` samples, chosen so that
// the first and last samples of both map onto each other: (output - 1) /
// (input - 1), or output / input when either length is 1.
double AxisScale(int input, int output);

class ContributionLists {
 public:
  ContributionLists() = default;
  ContributionLists(const ContributionLists&) = delete;
  ContributionLists& operator=(const ContributionLists&) = delete;

  // Builds `output` lists over `input` source samples for kernel at `scale`
  // (output per input). Every list has room for (int)(2w + 10) entries, w being
  // the kernel's support, widened by 1/scale when shrinking. Samples past the ends
  // are reflected back: -1 reads 1, input reads input - 1. Weights that are
  // exactly 0 are left out, and none are normalised.
  //
  // 0, leaving no lists, when a length is not positive, the scale not positive
  // and finite, the lists would exceed kMaxContributionBytes, or memory is short.
  int Build(const FilterKernel& kernel, double scale, int input, int output);

  int Lists() const { return lists_; }
  int Capacity() const { return capacity_; }
  int Count(int list) const { return counts_[list]; }
  const Contribution* List(int list) const {
    return entries_.get() + std::ptrdiff_t(list) * capacity_;
  }

 private:
  void Reset();

  int lists_ = 0;
  int capacity_ = 0;
  std::unique_ptr<int[]> counts_;
  // All lists of the axis in one block, list i at i * capacity_.
  std::unique_ptr<Contribution[]> entries_;
};
