#include "base/Inflate.h"

#include <zlib.h>

#include <algorithm>

namespace {

constexpr std::uint32_t kBlockSize = 16384;
constexpr std::uint64_t kLargestExpansion = 1032;  // zlib's deflate ratio at most

// Makes room for more output in the destination, which zlib then writes in place:
// geometric growth, so a long body is moved a logarithmic number of times, never
// past the limit.
HRESULT growOutput(ByteStream& destination, std::uint32_t limit) {
  const std::uint64_t want = std::min<std::uint64_t>(
      std::max<std::uint64_t>(std::uint64_t(destination.size()) + kBlockSize,
                              std::uint64_t(destination.capacity()) * 2),
      limit);
  return destination.reserve(std::uint32_t(want));
}

}  // namespace

HRESULT inflateStream(const ByteStream* source, ByteStream* destination, InflateProgress callback,
                      void* context, std::uint32_t outputLimit, std::uint32_t sizeHint) {
  if (source == nullptr || destination == nullptr || source == destination) return E_FAIL;
  return inflateStream(source->view(), destination, callback, context, outputLimit, sizeHint);
}

HRESULT inflateStream(ByteView source, ByteStream* destination, InflateProgress callback,
                      void* context, std::uint32_t outputLimit, std::uint32_t sizeHint) {
  if (destination == nullptr) return E_FAIL;
  // The destination's buffer is kept: inflating item after item into one stream
  // reuses the same pages instead of asking the system for fresh ones each time.
  destination->setUsed(0);

  z_stream zs = {};
  if (inflateInit(&zs) != Z_OK) return E_FAIL;

  const std::uint32_t total = source.size();
  HRESULT result = S_OK;
  if (sizeHint > 0) {
    const std::uint64_t reserve =
        std::min<std::uint64_t>({sizeHint, kLargestExpansion * total, std::uint64_t(outputLimit)});
    if (destination->reserve(std::uint32_t(reserve)) != S_OK) result = E_FAIL;
  }

  std::uint32_t remaining = total;
  std::uint32_t consumed = 0;
  bool ended = false;
  while (remaining > 0 && result >= 0) {
    if (callback != nullptr && callback(context, consumed, total) == 0) {
      result = E_FAIL;
      break;
    }
    const std::uint32_t chunk = std::min(remaining, kBlockSize);
    zs.next_in = const_cast<unsigned char*>(source.bytes() + consumed);
    zs.avail_in = chunk;
    consumed += chunk;
    remaining -= chunk;
    do {
      if (destination->size() == destination->capacity() && destination->size() < outputLimit &&
          growOutput(*destination, outputLimit) != S_OK) {
        result = E_FAIL;
        break;
      }
      // At the limit zlib gets one spare byte: if it writes it, the body is
      // longer than allowed.
      unsigned char probe = 0;
      const std::uint32_t room =
          std::min(destination->capacity(), outputLimit) - destination->size();
      zs.next_out = room > 0 ? destination->bytes() + destination->size() : &probe;
      zs.avail_out = room > 0 ? room : 1;
      const uInt offered = zs.avail_out;
      const int code = inflate(&zs, Z_NO_FLUSH);
      if (code == Z_STREAM_END) {
        remaining = 0;  // whatever follows the stream is not ours
        ended = true;
      } else if (code == Z_NEED_DICT || code == Z_STREAM_ERROR || code == Z_DATA_ERROR ||
                 code == Z_MEM_ERROR) {
        result = E_FAIL;
      }
      const std::uint32_t produced = offered - zs.avail_out;
      if (room == 0 && produced > 0) result = E_FAIL;
      if (result >= 0) destination->setUsed(destination->size() + produced);
    } while (zs.avail_out == 0 && result >= 0 && !ended);
  }
  inflateEnd(&zs);

  // Input that runs out before the end marker is a truncated body, not a short file.
  if (result >= 0 && !ended) result = E_FAIL;
  if (result < 0) destination->clear();
  return result;
}

HRESULT inflateInto(ByteView source, ByteStream& window, InflateSink sink, void* sinkContext,
                    InflateProgress callback, void* context, std::uint32_t outputLimit,
                    std::uint32_t& produced) {
  produced = 0;
  if (sink == nullptr) return E_FAIL;
  window.setUsed(0);
  if (window.capacity() < kInflateWindow && window.reserve(kInflateWindow) != S_OK) return E_FAIL;

  z_stream zs = {};
  if (inflateInit(&zs) != Z_OK) return E_FAIL;

  const std::uint32_t total = source.size();
  HRESULT result = S_OK;
  std::uint32_t remaining = total;
  std::uint32_t consumed = 0;
  std::uint32_t held = 0;  // output in the window not yet handed over
  bool ended = false;
  // Hands the window's output over; the limit was kept while it was written.
  auto flush = [&]() {
    if (held == 0) return true;
    const bool taken = sink(sinkContext, window.bytes(), held);
    produced += held;
    held = 0;
    return taken;
  };
  while (remaining > 0 && result >= 0) {
    if (callback != nullptr && callback(context, consumed, total) == 0) {
      result = E_FAIL;
      break;
    }
    const std::uint32_t chunk = std::min(remaining, kBlockSize);
    zs.next_in = const_cast<unsigned char*>(source.bytes() + consumed);
    zs.avail_in = chunk;
    consumed += chunk;
    remaining -= chunk;
    do {
      if (held == window.capacity() && !flush()) {
        result = E_FAIL;
        break;
      }
      // At the limit zlib gets one spare byte: if it writes it, the body is
      // longer than allowed.
      unsigned char probe = 0;
      const std::uint32_t room = std::min<std::uint64_t>(
          window.capacity() - held, std::uint64_t(outputLimit) - produced - held);
      zs.next_out = room > 0 ? window.bytes() + held : &probe;
      zs.avail_out = room > 0 ? room : 1;
      const uInt offered = zs.avail_out;
      const int code = inflate(&zs, Z_NO_FLUSH);
      if (code == Z_STREAM_END) {
        remaining = 0;  // whatever follows the stream is not ours
        ended = true;
      } else if (code == Z_NEED_DICT || code == Z_STREAM_ERROR || code == Z_DATA_ERROR ||
                 code == Z_MEM_ERROR) {
        result = E_FAIL;
      }
      const std::uint32_t out = offered - zs.avail_out;
      if (room == 0 && out > 0) result = E_FAIL;
      if (result >= 0) held += out;
    } while (zs.avail_out == 0 && result >= 0 && !ended);
  }
  inflateEnd(&zs);

  if (result >= 0 && !ended) result = E_FAIL;
  if (result >= 0 && !flush()) result = E_FAIL;
  return result;
}

bool readCompressedBlob(const ByteStream& source, ByteStream& destination,
                        std::uint32_t& position) {
  ByteView packed;
  return source.view().readBlob(position, packed) == S_OK &&
         inflateStream(packed, &destination) == S_OK;
}
