#include "base/Inflate.h"

#include <zlib.h>

#include <algorithm>

namespace {

constexpr std::uint32_t kBlockSize = 16384;
constexpr std::uint64_t kLargestExpansion = 1032;  // zlib's deflate ratio at most

// Appends n inflated bytes, growing the destination geometrically so that a long
// body is copied a logarithmic number of times, not once per block.
HRESULT appendOutput(ByteStream& destination, const unsigned char* data, std::uint32_t n,
                     std::uint32_t limit) {
  if (n > limit - destination.size()) return E_FAIL;
  if (n > destination.capacity() - destination.size()) {
    std::uint64_t want = std::max<std::uint64_t>(std::uint64_t(destination.size()) + n,
                                                 std::uint64_t(destination.capacity()) * 2);
    want = std::min<std::uint64_t>(want, limit);
    if (destination.reserve(std::uint32_t(want)) != S_OK) return E_FAIL;
  }
  return destination.appendBytes(n, data);
}

}  // namespace

HRESULT inflateStream(const ByteStream* source, ByteStream* destination, InflateProgress callback,
                      void* context, std::uint32_t outputLimit, std::uint32_t sizeHint) {
  if (source == nullptr || destination == nullptr || source == destination) return E_FAIL;
  destination->clear();

  z_stream zs = {};
  if (inflateInit(&zs) != Z_OK) return E_FAIL;

  const std::uint32_t total = source->size();
  HRESULT result = S_OK;
  if (sizeHint > 0) {
    const std::uint64_t reserve =
        std::min<std::uint64_t>({sizeHint, kLargestExpansion * total, std::uint64_t(outputLimit)});
    if (destination->reserve(std::uint32_t(reserve)) != S_OK) result = E_FAIL;
  }

  std::uint32_t remaining = total;
  std::uint32_t consumed = 0;
  bool ended = false;
  unsigned char out[kBlockSize];
  while (remaining > 0 && result >= 0) {
    if (callback != nullptr && callback(context, consumed, total) == 0) {
      result = E_FAIL;
      break;
    }
    const std::uint32_t chunk = std::min(remaining, kBlockSize);
    zs.next_in = const_cast<unsigned char*>(source->bytes() + consumed);
    zs.avail_in = chunk;
    consumed += chunk;
    remaining -= chunk;
    do {
      zs.next_out = out;
      zs.avail_out = kBlockSize;
      const int code = inflate(&zs, Z_NO_FLUSH);
      if (code == Z_STREAM_END) {
        remaining = 0;  // whatever follows the stream is not ours
        ended = true;
      } else if (code == Z_NEED_DICT || code == Z_STREAM_ERROR || code == Z_DATA_ERROR ||
                 code == Z_MEM_ERROR) {
        result = E_FAIL;
      }
      if (result >= 0)
        result = appendOutput(*destination, out, kBlockSize - zs.avail_out, outputLimit);
    } while (zs.avail_out == 0 && result >= 0 && !ended);
  }
  inflateEnd(&zs);

  // Input that runs out before the end marker is a truncated body, not a short file.
  if (result >= 0 && !ended) result = E_FAIL;
  if (result < 0) destination->clear();
  return result;
}

bool readCompressedBlob(const ByteStream& source, ByteStream& destination,
                        std::uint32_t& position) {
  ByteStream packed;
  return packed.readBlob(source, position) == S_OK && inflateStream(&packed, &destination) == S_OK;
}
