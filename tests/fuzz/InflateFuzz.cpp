// Any bytes as a zlib body: inflateStream must give back exactly what zlib itself
// inflates from them, or fail with an empty destination, and never write past the
// output limit; inflateInto, streaming through its window, must succeed exactly
// when inflateStream does, with the same bytes, and never hand over more than the
// limit. The first four bytes choose the run: after how many progress calls
// the callback stops it (0: never), the output limit (255: none; else the next byte
// too, in bytes, up to 64 KiB) and the size hint, in KiB.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/Inflate.h"

namespace {

struct Progress {
  int stopAt = 0;  // the call that answers 0; 0 for none
  int calls = 0;
  bool stopped = false;
  std::uint32_t lastConsumed = 0;
  std::uint32_t total = 0;
};

int onProgress(void* context, std::uint32_t consumed, std::uint32_t total) {
  auto* p = static_cast<Progress*>(context);
  // Blocks are fed in order, 16 KiB at a time, and only while input is left.
  if (total != p->total || consumed >= total || consumed % 16384 != 0 ||
      (p->calls > 0 && consumed <= p->lastConsumed)) {
    __builtin_trap();
  }
  p->lastConsumed = consumed;
  if (++p->calls == p->stopAt) {
    p->stopped = true;
    return 0;
  }
  return 1;
}

// zlib's own answer, in one call over the whole input, stopping once the output
// passes `cap`: the bytes, and whether the stream ended cleanly.
bool reference(const std::uint8_t* data, std::size_t size, std::size_t cap,
               std::vector<unsigned char>& out) {
  z_stream zs = {};
  if (inflateInit(&zs) != Z_OK) __builtin_trap();
  zs.next_in = const_cast<std::uint8_t*>(data);
  zs.avail_in = uInt(size);
  unsigned char block[4096];
  int code = Z_OK;
  while (code == Z_OK && out.size() <= cap) {
    zs.next_out = block;
    zs.avail_out = sizeof block;
    code = inflate(&zs, Z_NO_FLUSH);
    out.insert(out.end(), block, block + (sizeof block - zs.avail_out));
    if (code == Z_BUF_ERROR && zs.avail_in == 0) break;  // truncated
    if (code == Z_BUF_ERROR) code = Z_OK;
  }
  inflateEnd(&zs);
  return code == Z_STREAM_END && out.size() <= cap;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4 || size > (1 << 20)) return 0;
  Progress progress;
  progress.stopAt = data[0] & 7;
  const std::uint32_t limit =
      data[1] == 255 ? kNoOutputLimit : std::uint32_t(data[1]) << 8 | data[2];
  const std::uint32_t hint = std::uint32_t(data[3]) * 1024;
  data += 4;
  size -= 4;

  ByteStream source;
  if (source.appendBytes(std::uint32_t(size), data) != S_OK) return 0;
  progress.total = source.size();
  ByteStream destination;
  const HRESULT result = inflateStream(&source, &destination, onProgress, &progress, limit, hint);

  // Nothing is expected of a stream that inflates past 4 MiB without a limit.
  const std::size_t cap = limit == kNoOutputLimit ? std::size_t(4) << 20 : limit;
  std::vector<unsigned char> expected;
  const bool fits = reference(data, size, cap, expected);
  if (result == S_OK) {
    if (progress.stopped || !fits || destination.size() != expected.size() ||
        (!expected.empty() &&
         std::memcmp(destination.bytes(), expected.data(), expected.size()) != 0)) {
      __builtin_trap();
    }
  } else if (destination.size() != 0 || (fits && !progress.stopped)) {
    __builtin_trap();
  }

  struct Taken {
    std::vector<unsigned char> bytes;
    static bool take(void* self, const unsigned char* data, std::uint32_t n) {
      auto* t = static_cast<Taken*>(self);
      t->bytes.insert(t->bytes.end(), data, data + n);
      return true;
    }
  } taken;
  Progress again;
  again.stopAt = progress.stopAt;
  again.total = progress.total;
  ByteStream window;
  std::uint32_t produced = 0;
  const HRESULT streamed =
      inflateInto(source.view(), window, Taken::take, &taken, onProgress, &again, limit, produced);
  if (streamed != result || produced != taken.bytes.size() || taken.bytes.size() > limit ||
      (result == S_OK && (taken.bytes.size() != expected.size() ||
                          (!expected.empty() && std::memcmp(taken.bytes.data(), expected.data(),
                                                            expected.size()) != 0)))) {
    __builtin_trap();
  }
  return 0;
}
