// zlib bodies, in a ByteStream or in bytes held elsewhere, inflated into a ByteStream.
#pragma once

#include <cstdint>

#include "base/ByteStream.h"

// Called before each 16 KiB block of compressed input with the bytes consumed so
// far and the source size; returns non-zero to go on, 0 to stop the inflation.
using InflateProgress = int (*)(void* context, std::uint32_t consumed, std::uint32_t total);

constexpr std::uint32_t kNoOutputLimit = UINT32_MAX;

// Inflates the complete zlib stream in `source` into `destination`, feeding it in
// 16 KiB blocks. zlib writes straight into the destination's buffer, which is
// kept from one call to the next, so one stream can take body after body. Bytes
// after the stream's end are ignored. E_FAIL, with the destination left as it
// was, for a missing or identical stream pair (a view must not point into the
// destination's own buffer). E_FAIL, with an empty destination, for a corrupted
// or truncated stream (one that ends before its end marker, including an empty
// source), a wrong Adler-32 check, a stop asked by the callback, output beyond
// `outputLimit`, or a failed allocation. `sizeHint`, when non-zero, is the
// expected output size: the destination is reserved for it once (at most zlib's
// largest expansion of the source, 1032 times its size), so a long body is not
// copied over and over.
HRESULT inflateStream(const ByteStream* source, ByteStream* destination,
                      InflateProgress callback = nullptr, void* context = nullptr,
                      std::uint32_t outputLimit = kNoOutputLimit, std::uint32_t sizeHint = 0);
// The same over bytes held elsewhere (a body inside the package).
HRESULT inflateStream(ByteView source, ByteStream* destination, InflateProgress callback = nullptr,
                      void* context = nullptr, std::uint32_t outputLimit = kNoOutputLimit,
                      std::uint32_t sizeHint = 0);

// Receives each piece of output of inflateInto, in order; false stops the
// inflation, which then fails.
using InflateSink = bool (*)(void* context, const unsigned char* bytes, std::uint32_t size);

// Inflates the complete zlib stream in `source` piece by piece through `window`,
// whose buffer is kept from one call to the next (it is given kInflateWindow
// bytes once), and hands each piece to `sink`: a body of any size passes through
// that much memory. `produced` receives the bytes handed over. E_FAIL for the
// same faults as inflateStream, output beyond `outputLimit` among them (no byte
// past the limit reaches the sink), and a sink that says stop.
constexpr std::uint32_t kInflateWindow = 1u << 20;
HRESULT inflateInto(ByteView source, ByteStream& window, InflateSink sink, void* sinkContext,
                    InflateProgress callback, void* context, std::uint32_t outputLimit,
                    std::uint32_t& produced);

// Reads a length-prefixed blob from source at position and inflates it into
// destination. True when both steps succeed.
bool readCompressedBlob(const ByteStream& source, ByteStream& destination, std::uint32_t& position);
