// The inflate work of the install pass against its limit: zlib's one-call
// uncompress of every body of a package into memory that is already there, and
// inflateStream as the install pass calls it (16 KiB steps, the progress callback
// before each, one destination reused from file to file). No file is written.
//
//   inflate_bench PACKAGE [ROUNDS]     prints the best time of each and the ratio
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "base/Inflate.h"
#include "package/InstallModel.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

int countBlocks(void* blocks, std::uint32_t, std::uint32_t) {
  ++*static_cast<std::uint64_t*>(blocks);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: inflate_bench PACKAGE [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  InstallModel model;
  std::uint32_t position = 0;
  if (file.size() > 0xFFFFFFF0u ||
      !model.readPackage(ByteView(file.data(), std::uint32_t(file.size())), position)) {
    std::fprintf(stderr, "inflate_bench: not a package: %s\n", model.failureReason());
    return 1;
  }
  std::uint32_t largest = 0;
  std::uint64_t unpacked = 0;
  for (int i = 0; i < model.itemCount(); ++i) {
    largest = std::max(largest, model.itemAt(i)->unpackedSize);
    unpacked += model.itemAt(i)->unpackedSize;
  }

  std::vector<unsigned char> target(std::max(largest, 1u));
  ByteStream destination;
  double best[2] = {1e9, 1e9};
  std::uint64_t blocks = 0;
  for (int r = 0; r < rounds; ++r) {
    auto start = Clock::now();
    for (int i = 0; i < model.itemCount(); ++i) {
      const InstallItem& item = *model.itemAt(i);
      uLongf size = uLongf(target.size());
      if (uncompress(target.data(), &size, item.packedData.bytes(), item.packedData.size()) !=
          Z_OK) {
        std::fprintf(stderr, "inflate_bench: item %d does not inflate\n", i);
        return 1;
      }
    }
    best[0] = std::min(best[0], seconds(start));

    start = Clock::now();
    for (int i = 0; i < model.itemCount(); ++i) {
      const InstallItem& item = *model.itemAt(i);
      if (inflateStream(item.packedData, &destination, countBlocks, &blocks, item.unpackedSize,
                        item.unpackedSize) != S_OK) {
        std::fprintf(stderr, "inflate_bench: item %d does not inflate\n", i);
        return 1;
      }
    }
    best[1] = std::min(best[1], seconds(start));
  }
  std::printf(
      "inflate of %d bodies, %.1f MB out, best of %d: zlib uncompress %.3f s, "
      "inflateStream %.3f s, ratio %.3f\n",
      model.itemCount(), unpacked / 1e6, rounds, best[0], best[1], best[1] / best[0]);
  return 0;
}
