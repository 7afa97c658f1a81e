// What a repaint of the window costs in composition, and the neighbourhood filter
// that soft shadows are made with.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "render/Composite.h"
#include "render/Image.h"
#include "render/MaskFilter.h"
#include "render/MaskOps.h"
#include "render/Sprite.h"

namespace {

constexpr int kPageWidth = 500;
constexpr int kPageHeight = 314;

// Some structure in every picture, so no blend sees only one value.
void pattern(Image& image) {
  for (int y = 0; y < image.Height(); ++y) {
    unsigned char* row = image.PixelAt(0, y);
    const int bytes = image.Width() * image.BitsPerPixel() / 8;
    for (int i = 0; i < bytes; ++i) row[i] = (unsigned char)(i * 7 + y * 13);
  }
}

// A caption-like mask pair or a picture with its alpha mask.
std::unique_ptr<Sprite> sprite(int mode, int width, int height) {
  std::unique_ptr<Sprite> made(CreateSprite(mode, width, height, 1, 1));
  pattern(*made->first);
  pattern(*made->second);
  return made;
}

// One repaint of the page area: the surface filled, the background picture
// blended over it, the panel's soft shadow filled through its mask, then the
// captions and a few alpha pictures.
void BM_ComposeWindow(benchmark::State& state) {
  Image surface, background, shadow;
  surface.Create(kPageWidth, kPageHeight, 24);
  background.Create(kPageWidth, kPageHeight, 24);
  pattern(background);
  SoftShadowMask(&shadow, kPageWidth, kPageHeight, 20, 192, 255, 128);
  const auto caption = sprite(kSpriteMaskPair, 126, 18);
  const auto button = sprite(kSpriteMaskPair, 38, 18);
  const auto picture = sprite(kSpriteAlpha, 22, 22);

  for (auto _ : state) {
    surface.Fill(0xFFFFFF);
    BlendConst(&surface, 0, 0, &background, 0, 0, kPageWidth, kPageHeight, 64);
    FillMask(&surface, 0, 0, &shadow, 0x00400000, 0, 0, 128);
    DrawSpriteColoured(caption.get(), &surface, 10, 4, kDefaultShadowColour, kDefaultFaceColour,
                       255);
    DrawSpriteColoured(button.get(), &surface, 300, 290, kDefaultShadowColour, kDefaultFaceColour,
                       255);
    DrawSpriteColoured(button.get(), &surface, 400, 290, kDefaultShadowColour, kDefaultFaceColour,
                       255);
    DrawSpriteAt(picture.get(), &surface, 40, 100, 255);
    DrawSpriteAt(picture.get(), &surface, 40, 140, 200);
    benchmark::DoNotOptimize(surface.Bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPageWidth * kPageHeight);
}
BENCHMARK(BM_ComposeWindow);

// The mean over a disk of radius 10 on a mask as wide as the page. The mean costs
// the same whatever the values, so filtering the same mask again is a fair repeat.
void BM_MaskFilterMeanDisk(benchmark::State& state) {
  const int radius = int(state.range(0));
  Image mask;
  mask.CreateGrey(kPageWidth, 84);
  pattern(mask);
  for (auto _ : state) {
    MaskFilter(&mask, radius, kFilterMean, kWindowDisk, nullptr);
    benchmark::DoNotOptimize(mask.Bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPageWidth * 84);
}
BENCHMARK(BM_MaskFilterMeanDisk)->Arg(10);

}  // namespace

