#include "render/MaskFilter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "render/Composite.h"

namespace {

using Byte = std::uint8_t;

// The padded working copy is kept well below what could hurt the machine; a
// radius that asks for more fails instead.
constexpr std::int64_t kMaxPaddedBytes = std::int64_t(64) << 20;

// The set cells of one window row: columns lo..hi of the pattern (0..2r). The
// three shapes are convex, so every row is one run and no row is empty.
struct Span {
  int lo;
  int hi;
};

bool inDisk(int dx, int dy, int r) {
  return std::sqrt(double(dx) * dx + double(dy) * dy) <= r + 0.4;
}

// Half the width of a pattern row dy away from the centre.
int halfWidth(int shape, int dy, int r) {
  if (shape == kWindowSquare) return r;
  if (shape == kWindowDiamond) return r - std::abs(dy);
  // The square root only guesses; the test of the cells themselves decides, so
  // the disk holds exactly the cells its definition names.
  const double reach = r + 0.4;
  int half = int(std::sqrt(std::max(0.0, reach * reach - double(dy) * dy)));
  if (half > r) half = r;
  while (half < r && inDisk(half + 1, dy, r)) ++half;
  while (half > 0 && !inDisk(half, dy, r)) --half;
  return half;
}

// Running sum of the window, for the mean.
class SumWindow {
 public:
  void Reset() { sum_ = 0; }
  void Add(int v) { sum_ += v; }
  void Remove(int v) { sum_ -= v; }
  std::int64_t Sum() const { return sum_; }

 private:
  std::int64_t sum_ = 0;
};

// The values in the window as a count per value and a doubly linked list of the
// present values in ascending order, closed through a sentinel; the smallest and
// largest are the sentinel's neighbours. Most steps only change counts: the list
// changes when a value enters or leaves the window altogether.
class RankWindow {
 public:
  void Reset() {
    for (int v = 0; v < 256; ++v) count_[v] = 0;
    next_[kSentinel] = prev_[kSentinel] = kSentinel;
  }
  void Add(int v) {
    if (count_[v]++ == 0) Insert(v);
  }
  void Remove(int v) {
    if (--count_[v] == 0) Unlink(v);
  }
  int Smallest() const { return next_[kSentinel]; }
  int Largest() const { return prev_[kSentinel]; }

 private:
  static constexpr int kSentinel = 256;

  void Insert(int v) {
    // Walk in from the nearer end of the present range.
    int after;
    if (next_[kSentinel] == kSentinel) {
      after = kSentinel;
    } else if (2 * v > Smallest() + Largest()) {
      after = prev_[kSentinel];
      while (after != kSentinel && after > v) after = prev_[after];
    } else {
      after = kSentinel;
      while (next_[after] != kSentinel && next_[after] < v) after = next_[after];
    }
    const int before = next_[after];
    next_[v] = before;
    prev_[v] = after;
    next_[after] = v;
    prev_[before] = v;
  }
  void Unlink(int v) {
    next_[prev_[v]] = next_[v];
    prev_[next_[v]] = prev_[v];
  }

  int count_[256];
  int next_[257];
  int prev_[257];
};

// Slides the window over `padded` and writes each output into `mask`. `rowAt`
// has room for one row address per pattern row.
template <typename Window, typename Output>
void slide(const Image& padded, Image& mask, const Span* spans, int rows, const Byte** rowAt,
           Output output) {
  Window window;
  for (int y = 0; y < mask.Height(); ++y) {
    // Pattern row i reads padded row y + i; its cells for output x are columns
    // x + lo .. x + hi, so the window is centred on (x + r, y + r).
    window.Reset();
    for (int i = 0; i < rows; ++i) {
      rowAt[i] = padded.PixelAt(0, y + i);
      for (int c = spans[i].lo; c <= spans[i].hi; ++c) window.Add(rowAt[i][c]);
    }
    Byte* out = mask.PixelAt(0, y);
    out[0] = output(window);
    for (int x = 1; x < mask.Width(); ++x) {
      for (int i = 0; i < rows; ++i) {
        window.Remove(rowAt[i][x - 1 + spans[i].lo]);
        window.Add(rowAt[i][x + spans[i].hi]);
      }
      out[x] = output(window);
    }
  }
}

}  // namespace

int MaskFilter(Image* mask, int radius, int mode, int shape, const std::uint8_t* table) {
  const std::int64_t r64 = std::llabs(std::int64_t(radius));
  if (r64 == 0) return 1;
  if (mask == nullptr || !mask->IsGrey()) return 0;
  if (mode != kFilterMax && mode != kFilterMin && mode != kFilterMean) return 0;
  if (r64 > kMaxFilterRadius) return 0;
  const int r = int(r64);
  const std::int64_t paddedWidth = mask->Width() + 2 * r64;
  const std::int64_t paddedHeight = mask->Height() + 2 * r64;
  const std::int64_t paddedStride = DibStride(paddedWidth, 8);
  if (paddedStride < 0 || paddedStride * paddedHeight > kMaxPaddedBytes) return 0;

  const int rows = 2 * r + 1;
  std::unique_ptr<Span[]> spans(new (std::nothrow) Span[std::size_t(rows)]);
  std::unique_ptr<const Byte*[]> rowAt(new (std::nothrow) const Byte*[std::size_t(rows)]);
  if (!spans || !rowAt) return 0;
  std::int64_t count = 0;
  for (int i = 0; i < rows; ++i) {
    const int half = halfWidth(shape, i - r, r);
    spans[i] = Span{r - half, r + half};
    count += 2 * half + 1;
  }

  Image padded;
  if (!padded.CreateGrey(int(paddedWidth), int(paddedHeight))) return 0;
  std::memset(padded.Bits(), 0, padded.PixelBytes());
  Copy(&padded, r, r, mask, 0, 0, mask->Width(), mask->Height());

  if (mode == kFilterMean) {
    Byte identity[256];
    if (table == nullptr) {
      for (int v = 0; v < 256; ++v) identity[v] = Byte(v);
      table = identity;
    }
    slide<SumWindow>(padded, *mask, spans.get(), rows, rowAt.get(),
                     [table, count](const SumWindow& w) { return table[(w.Sum() / count) % 256]; });
  } else if (mode == kFilterMax) {
    slide<RankWindow>(padded, *mask, spans.get(), rows, rowAt.get(),
                      [](const RankWindow& w) { return Byte(w.Largest()); });
  } else {
    slide<RankWindow>(padded, *mask, spans.get(), rows, rowAt.get(),
                      [](const RankWindow& w) { return Byte(w.Smallest()); });
  }
  return 1;
}

int BlurMask(Image* mask, int radius) {
  if (radius <= 0) return 1;
  return MaskFilter(mask, radius, kFilterMean, kWindowDisk, nullptr);
}
