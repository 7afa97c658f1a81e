#include "render/Resample.h"

#include <cstddef>
#include <memory>
#include <new>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/Contributions.h"

namespace {

// A filtered sum as a byte: clamped first, since an overshooting kernel must not
// wrap a bright edge round to black, then rounded half up. A NaN counts as 0.
inline unsigned char toByte(double sum) {
#if defined(__SSE2__)
  // The compiler turns the plain clamp into two branches, which the irregular
  // bytes of a picture keep mispredicting; maxsd and minsd have none. Each yields
  // its second operand for a NaN.
  const __m128d clamped =
      _mm_min_sd(_mm_max_sd(_mm_set_sd(sum), _mm_setzero_pd()), _mm_set_sd(255.0));
  return static_cast<unsigned char>(_mm_cvttsd_si32(_mm_add_sd(clamped, _mm_set_sd(0.5))));
#else
  sum = sum > 0.0 ? sum : 0.0;
  sum = sum < 255.0 ? sum : 255.0;
  return static_cast<unsigned char>(int(sum + 0.5));
#endif
}

// The bytes as doubles. Across a row the samples are gathered one by one, and a
// load from this table costs less there than a conversion.
struct ByteValues {
  double value[256];
  constexpr ByteValues() : value{} {
    for (int i = 0; i < 256; ++i) value[i] = i;
  }
};
constexpr ByteValues kByteValues;

bool createLike(Image& image, int width, int height, int channels) {
  return channels == 3 ? image.Create(width, height, 24) != 0
                       : image.CreateGrey(width, height) != 0;
}

// Filters every row of `rect` in src across to out.Width() columns of `out`.
template <int kChannels>
void filterRows(const Image& src, const Rect& rect, const ContributionLists& columns, Image& out) {
  const int width = out.Width();
  for (int r = 0; r < rect.Height(); ++r) {
    const unsigned char* in = src.PixelAt(rect.left, rect.top + r);
    unsigned char* to = out.PixelAt(0, r);
    for (int x = 0; x < width; ++x, to += kChannels) {
      const Contribution* c = columns.List(x);
      const Contribution* end = c + columns.Count(x);
      double sums[kChannels] = {};
      for (; c != end; ++c) {
        const unsigned char* p = in + std::ptrdiff_t(c->index) * kChannels;
        for (int k = 0; k < kChannels; ++k) sums[k] += c->weight * kByteValues.value[p[k]];
      }
      for (int k = 0; k < kChannels; ++k) to[k] = toByte(sums[k]);
    }
  }
}

// Filters the rows of `across` down to dst.Height() rows of dst. Each output row
// adds up whole weighted input rows into `sums`, which keeps the memory access
// sequential; every sample still sees its terms added in list order from 0, as a
// column-by-column walk would add them.
void filterColumns(const Image& across, const ContributionLists& rows, int channels, double* sums,
                   Image& dst) {
  const int samples = dst.Width() * channels;
  for (int y = 0; y < dst.Height(); ++y) {
    for (int i = 0; i < samples; ++i) sums[i] = 0.0;
    const Contribution* c = rows.List(y);
    const Contribution* end = c + rows.Count(y);
    for (; c != end; ++c) {
      const unsigned char* in = across.PixelAt(0, c->index);
      const double weight = c->weight;
      for (int i = 0; i < samples; ++i) sums[i] += weight * in[i];
    }
    unsigned char* to = dst.PixelAt(0, y);
    for (int i = 0; i < samples; ++i) to[i] = toByte(sums[i]);
  }
}

}  // namespace

int Resample(int kernel, Image& dst, int width, int height, const Image& src, const Rect& srcRect) {
  if (width <= 0 || height <= 0 || !src.HasPixels()) return 0;
  if (src.BitsPerPixel() != 8 && src.BitsPerPixel() != 24) return 0;
  // Only what lies inside the source is read.
  const Rect rect = Intersect(srcRect, Rect{0, 0, src.Width(), src.Height()});
  if (rect.IsEmpty()) return 0;
  const int channels = src.BitsPerPixel() == 24 ? 3 : 1;

  // The lists come first: their size limit turns away absurd widths and heights
  // before anything in proportion to them is allocated.
  const FilterKernel& filter = KernelAt(kernel);
  ContributionLists columns;
  ContributionLists rows;
  if (!columns.Build(filter, AxisScale(rect.Width(), width), rect.Width(), width) ||
      !rows.Build(filter, AxisScale(rect.Height(), height), rect.Height(), height)) {
    return 0;
  }
  Image across;
  if (!createLike(across, width, rect.Height(), channels)) return 0;
  const std::unique_ptr<double[]> sums(new (std::nothrow) double[std::size_t(width) * channels]);
  if (sums == nullptr) return 0;

  // The source is read completely before dst is re-created, so that a picture can
  // be resampled onto itself.
  if (channels == 3) {
    filterRows<3>(src, rect, columns, across);
  } else {
    filterRows<1>(src, rect, columns, across);
  }
  // An 8-bit source comes out grey whatever its palette: its bytes are filtered as
  // values, and a blend of two indices is no entry of that palette.
  if (!createLike(dst, width, height, channels)) return 0;
  filterColumns(across, rows, channels, sums.get(), dst);
  return 1;
}

int Rescale(Image& dst, const Image& src, int width, int height) {
  if (!src.HasPixels()) return 0;
  // Lanczos is the sharper of the two, but it rings when enlarging; Mitchell
  // stays smooth there.
  const bool grows = src.Width() < width || src.Height() < height;
  return Resample(grows ? kKernelMitchell : kKernelLanczos3, dst, width, height, src,
                  Rect{0, 0, src.Width(), src.Height()});
}

int RescaleCached(Image& cache, const Image& src, int width, int height) {
  if (cache.HasPixels() && cache.Width() == width && cache.Height() == height) return 1;
  return Rescale(cache, src, width, height);
}

int EnsureBarMiddle(Image& cache, const Image& middle, int width, int height) {
  if (cache.HasPixels() && cache.Width() >= width) return 1;
  return Rescale(cache, middle, width, height);
}
