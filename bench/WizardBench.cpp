// Where the setup's start-up goes, and what one repaint costs: the steps of
// SetupApp's initialisation in process, over a skin and a package file, and the
// composition of the whole window on every page.
//
//   wizard_bench SKIN PACKAGE [ROUNDS [PERCENT]]
//
// PERCENT (100 unless given) is the display scale SKIN is drawn for, at which
// the pages are built and composed.
// Prints one "name value unit" line per figure (the median of ROUNDS runs), read
// by bench/run-all.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

#include "app/Wizard.h"
#include "render/Jpeg.h"
#include "render/Resample.h"
#include "widgets/SkinSlots.h"

namespace {

using Clock = std::chrono::steady_clock;

// The median time of `rounds` calls of `step`, in microseconds.
double medianMicros(int rounds, const std::function<void()>& step) {
  std::vector<double> times;
  for (int r = 0; r < rounds; ++r) {
    const auto start = Clock::now();
    step();
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

bool readFile(const char* path, ByteStream& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  return out.appendBytes(std::uint32_t(bytes.size()), bytes.data()) == S_OK;
}

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "wizard_bench: %s\n", what);
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: wizard_bench SKIN PACKAGE [ROUNDS [PERCENT]]\n");
    return 2;
  }
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 21;
  const DisplayScale scale(argc > 4 ? std::atoi(argv[4]) * DisplayScale::kBaseDpi / 100
                                    : DisplayScale::kBaseDpi);
  ByteStream skinBytes, packageBytes;
  if (!readFile(argv[1], skinBytes) || !readFile(argv[2], packageBytes)) fail("cannot read");

  SkinLists skin;
  const double skinLoad = medianMicros(rounds, [&] {
    std::uint32_t at = 0;
    if (!skin.pictures.LoadSkin(skinBytes, at, skin.sprites, skin.fonts, skin.standalone)) {
      fail("the skin does not load");
    }
  });
  InstallModel model;
  const double packageRead = medianMicros(rounds, [&] {
    std::uint32_t at = 0;
    if (!model.readPackage(packageBytes.view(), at)) fail("the package does not read");
  });

  // The package's two pictures, decoded alone (they are part of the package read).
  ByteView side, logo;
  {
    std::uint32_t at = 8;
    for (int text = 0; text < 7; ++text) {
      std::uint32_t n = 0;
      at += 1;
      readU32(packageBytes.view(), at, n);
      at += n;
    }
    packageBytes.view().readBlob(at, side);
    packageBytes.view().readBlob(at, logo);
  }
  Image picture;
  double jpeg = 0;
  for (const ByteView& blob : {side, logo}) {
    ByteStream copy;
    copy.appendBytes(blob.size(), blob.bytes());
    jpeg += medianMicros(rounds, [&] {
      if (!DecodeJpeg(copy, picture)) fail("a picture does not decode");
    });
  }

  const Sprite* background = skin.sprites.at(skinslot::kBackground);
  if (background == nullptr || background->first == nullptr) fail("the skin has no background");
  Image rescaled;
  const double rescale = medianMicros(rounds, [&] {
    Rescale(rescaled, *background->first, scale.Px(Wizard::kPageWidth),
            scale.Px(Wizard::kPageHeight));
  });

  InstallOptions options;
  options.model = &model;
  options.ParentFolder = "C:\\Program Files";
  FolderFacts facts;
  facts.local = facts.enough = true;
  facts.available = std::int64_t(80) << 30;
  std::vector<std::unique_ptr<Wizard>> built;
  const double build = medianMicros(rounds, [&] {
    built.push_back(std::make_unique<Wizard>());
    built.back()->SetScale(scale);
    if (!built.back()->Build(skin, model, options)) fail("the pages cannot be built");
  });
  Wizard& wizard = *built.back();
  // The folder page describes the same drive on every machine (the pages take
  // the facts once they are built).
  wizard.UseFolderFacts(facts);

  std::printf("skin-load %.0f us\n", skinLoad);
  std::printf("package-read %.0f us\n", packageRead);
  std::printf("jpeg-decodes %.0f us\n", jpeg);
  std::printf("background-rescale %.0f us\n", rescale);
  std::printf("page-build %.0f us\n", build);
  std::printf("window %d %d\n", wizard.WindowWidth(), wizard.WindowHeight());

  Image surface;
  if (!surface.Create(wizard.WindowWidth(), wizard.WindowHeight(), 24)) fail("no memory");
  double slowest = 0;
  for (int at = 0; at < wizard.PageCount(); ++at) {
    const int page = wizard.PageAt(at)->Id();
    wizard.ShowPage(page);
    const double compose = medianMicros(
        rounds, [&] { wizard.Compose(&surface, wizard.WindowWidth(), wizard.WindowHeight()); });
    slowest = std::max(slowest, compose);
    std::printf("compose-page-%d %.0f us\n", page, compose);
  }
  std::printf("repaints-per-second %.0f /s\n", 1e6 / slowest);
  return 0;
}
