#include "render/Contributions.h"

#include <cmath>
#include <new>

namespace {

// Where sample j of an axis of n samples is read from. The left edge mirrors
// around sample 0 without repeating it, the right edge mirrors around the end and
// repeats the last sample; far outside, the first or last sample stands in.
int reflect(std::int64_t j, std::int64_t n) {
  if (j < 0) return int(-j < n - 1 ? -j : n - 1);
  if (j >= n) {
    const std::int64_t mirrored = 2 * n - j - 1;
    return int(mirrored < 0 ? 0 : mirrored);
  }
  return int(j);
}

}  // namespace

double AxisScale(int input, int output) {
  if (input == 1 || output == 1) return double(output) / double(input);
  return double(output - 1) / double(input - 1);
}

void ContributionLists::Reset() {
  lists_ = capacity_ = 0;
  counts_.reset();
  entries_.reset();
}

int ContributionLists::Build(const FilterKernel& kernel, double scale, int input, int output) {
  Reset();
  if (input <= 0 || output <= 0 || !(scale > 0.0) || !std::isfinite(scale)) return 0;

  const bool shrinking = scale < 1.0;
  // When shrinking, the kernel is stretched over 1/scale source samples so that
  // every source sample is heard.
  const double width = shrinking ? kernel.support / scale : kernel.support;
  const double capacity = 2.0 * width + 10.0;
  // Checked in doubles, which neither overflow nor wrap: a huge width makes the
  // product huge, never small.
  const double maxEntries = double(kMaxContributionBytes / std::int64_t(sizeof(Contribution)));
  if (!(capacity * double(output) <= maxEntries)) return 0;
  const int perList = int(capacity);
  const std::int64_t entries = std::int64_t(perList) * output;

  counts_.reset(new (std::nothrow) int[std::size_t(output)]);
  entries_.reset(new (std::nothrow) Contribution[std::size_t(entries)]);
  if (counts_ == nullptr || entries_ == nullptr) {
    Reset();
    return 0;
  }
  lists_ = output;
  capacity_ = perList;

  const double inverse = 1.0 / scale;
  // Taken back from the reciprocal rather than used as given, so that the weights
  // are those of the centres' own step.
  const double kernelScale = 1.0 / inverse;
  for (int i = 0; i < output; ++i) {
    const double centre = double(i) * inverse;
    const auto left = std::int64_t(std::floor(centre - width));
    const auto right = std::int64_t(std::ceil(centre + width));
    Contribution* list = entries_.get() + std::ptrdiff_t(i) * perList;
    int count = 0;
    for (std::int64_t j = left; j <= right && count < perList; ++j) {
      const double distance = centre - double(j);
      const double weight =
          shrinking ? kernelScale * kernel.weight(distance * kernelScale) : kernel.weight(distance);
      // Zero weights would only cost time. Anything else, even a NaN, is kept so
      // that the sum shows it.
      if (weight == 0.0) continue;
      list[count++] = Contribution{reflect(j, input), weight};
    }
    counts_[i] = count;
  }
  return 1;
}
