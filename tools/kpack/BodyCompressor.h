// Compressing the item files of a package into zlib streams, on every core.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kpack {

enum class CompressionLevel {
  Standard,  // zlib at its highest level, in 1 MiB steps: fast, little memory
  Max,       // libdeflate at level 12: smaller, several times slower, each file
             // held whole in memory while it is compressed
};

struct CompressedBody {
  std::vector<unsigned char> packed;  // one complete zlib stream (header 78 DA)
  std::uint32_t size = 0;             // the file's own size
};

// Called with each file's index and the bytes of that file just compressed; may be
// called from several threads, never at the same time.
using CompressStep = std::function<void(std::size_t file, std::uint64_t bytes)>;

// Compresses every file, the largest first, on `threads` threads (0: one per
// core). The bodies come back in the order of `files` and are the same bytes
// whatever the number of threads. Throws ManifestError (naming the field of the
// first file, in order, that failed) when a file cannot be read or is larger
// than a package can hold.
std::vector<CompressedBody> compressBodies(const std::vector<std::filesystem::path>& files,
                                           const std::vector<std::string>& fields,
                                           CompressionLevel level, unsigned threads,
                                           const CompressStep& step);

}  // namespace kpack
