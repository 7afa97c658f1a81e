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

// Where the shared loop below writes: room() gives the next free place and how
// many bytes may go there (0 at the output limit: zlib then gets one spare byte,
// and a body that writes it is longer than allowed), false when no room can be
// made; wrote() takes what zlib put there.
//
// Feeds `source` to zlib in steps of kBlockSize, asking `callback` before each
// step. Fails on damaged input, on input that runs out before the stream's end
// (a truncated body, not a short file), on output past the limit, and when the
// callback or the output says stop. Whatever follows the stream is not ours.
template <typename Output>
HRESULT inflateSteps(ByteView source, InflateProgress callback, void* context, Output& output) {
  z_stream zs = {};
  if (inflateInit(&zs) != Z_OK) return E_FAIL;
  const std::uint32_t total = source.size();
  HRESULT result = S_OK;
  std::uint32_t consumed = 0;
  bool ended = false;
  while (consumed < total && !ended && result >= 0) {
    if (callback != nullptr && callback(context, consumed, total) == 0) {
      result = E_FAIL;
      break;
    }
    const std::uint32_t chunk = std::min(total - consumed, kBlockSize);
    zs.next_in = const_cast<unsigned char*>(source.bytes() + consumed);
    zs.avail_in = chunk;
    consumed += chunk;
    do {
      unsigned char* at = nullptr;
      std::uint32_t room = 0;
      if (!output.room(at, room)) {
        result = E_FAIL;
        break;
      }
      unsigned char probe = 0;
      zs.next_out = room > 0 ? at : &probe;
      zs.avail_out = room > 0 ? room : 1;
      const uInt offered = zs.avail_out;
      const int code = inflate(&zs, Z_NO_FLUSH);
      if (code == Z_STREAM_END) {
        ended = true;
      } else if (code == Z_NEED_DICT || code == Z_STREAM_ERROR || code == Z_DATA_ERROR ||
                 code == Z_MEM_ERROR) {
        result = E_FAIL;
      }
      const std::uint32_t produced = offered - zs.avail_out;
      if (room == 0 && produced > 0) result = E_FAIL;
      if (result >= 0) output.wrote(produced);
    } while (zs.avail_out == 0 && result >= 0 && !ended);
  }
  inflateEnd(&zs);
  return result >= 0 && ended ? S_OK : E_FAIL;
}

// Output straight into a stream that grows up to the limit.
struct IntoStream {
  ByteStream& destination;
  std::uint32_t limit;

  bool room(unsigned char*& at, std::uint32_t& size) {
    if (destination.size() == destination.capacity() && destination.size() < limit &&
        growOutput(destination, limit) != S_OK) {
      return false;
    }
    at = destination.bytes() + destination.size();
    size = std::min(destination.capacity(), limit) - destination.size();
    return true;
  }
  void wrote(std::uint32_t n) { destination.setUsed(destination.size() + n); }
};

// Output through a window handed to a sink each time it is full.
struct ThroughWindow {
  ByteStream& window;
  InflateSink sink;
  void* sinkContext;
  std::uint32_t limit;
  std::uint32_t& produced;  // handed over
  std::uint32_t held = 0;   // in the window, not yet handed over

  bool flush() {
    if (held == 0) return true;
    const bool taken = sink(sinkContext, window.bytes(), held);
    produced += held;
    held = 0;
    return taken;
  }
  bool room(unsigned char*& at, std::uint32_t& size) {
    if (held == window.capacity() && !flush()) return false;
    at = window.bytes() + held;
    size = std::uint32_t(std::min<std::uint64_t>(window.capacity() - held,
                                                 std::uint64_t(limit) - produced - held));
    return true;
  }
  void wrote(std::uint32_t n) { held += n; }
};

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
  if (sizeHint > 0) {
    const std::uint64_t reserve = std::min<std::uint64_t>(
        {sizeHint, kLargestExpansion * source.size(), std::uint64_t(outputLimit)});
    if (destination->reserve(std::uint32_t(reserve)) != S_OK) return E_FAIL;
  }
  IntoStream output{*destination, outputLimit};
  const HRESULT result = inflateSteps(source, callback, context, output);
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
  ThroughWindow output{window, sink, sinkContext, outputLimit, produced};
  HRESULT result = inflateSteps(source, callback, context, output);
  if (result >= 0 && !output.flush()) result = E_FAIL;
  return result;
}

bool readCompressedBlob(const ByteStream& source, ByteStream& destination,
                        std::uint32_t& position) {
  ByteView packed;
  return source.view().readBlob(position, packed) == S_OK &&
         inflateStream(packed, &destination) == S_OK;
}
