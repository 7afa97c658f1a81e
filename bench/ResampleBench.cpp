// The background picture scaled to the page area, as the window does when it is
// built, and the same at the other kernels' cost for comparison.
#include <benchmark/benchmark.h>

#include "render/Resample.h"

namespace {

// A 320 x 240 24-bit picture with detail everywhere, so no kernel meets a flat
// area; the same bytes on every run.
void fillPicture(Image& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    unsigned char* row = picture.PixelAt(0, y);
    for (int i = 0; i < picture.Width() * 3; ++i) {
      row[i] = (unsigned char)(i * 37 + y * 91 + (i * y) % 17);
    }
  }
}

void BM_RescaleBackground(benchmark::State& state) {
  Image picture;
  if (!picture.Create(320, 240, 24)) {
    state.SkipWithError("no picture");
    return;
  }
  fillPicture(picture);
  Image page;
  for (auto _ : state) {
    if (!Rescale(page, picture, 500, 314)) state.SkipWithError("rescale failed");
    benchmark::DoNotOptimize(page.Bits());
  }
  state.SetItemsProcessed(state.iterations() * 500 * 314);
}
BENCHMARK(BM_RescaleBackground)->Unit(benchmark::kMillisecond);

void BM_ResampleBackgroundKernel(benchmark::State& state) {
  Image picture;
  if (!picture.Create(320, 240, 24)) {
    state.SkipWithError("no picture");
    return;
  }
  fillPicture(picture);
  Image page;
  const int kernel = int(state.range(0));
  for (auto _ : state) {
    if (!Resample(kernel, page, 500, 314, picture, Rect{0, 0, 320, 240})) {
      state.SkipWithError("resample failed");
    }
    benchmark::DoNotOptimize(page.Bits());
  }
  state.SetItemsProcessed(state.iterations() * 500 * 314);
}
BENCHMARK(BM_ResampleBackgroundKernel)
    ->DenseRange(0, kKernelCount - 1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
