// Compressing the item files of a package into zlib streams, on every core.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kpack {

enum class CompressionLevel {
  Standard,  // files up to 1 MiB as Max, larger ones with zlib at its highest
             // level in 1 MiB steps: fast, little memory
  Max,       // libdeflate at level 12: smaller, several times slower on large
             // files, each file held whole in memory while it is compressed
};

struct CompressedBody {
  std::vector<unsigned char> packed;  // one complete zlib stream (header 78 DA)
  std::uint32_t size = 0;             // the file's own size
};

// Called with each file's index and the bytes of that file just compressed; may be
// called from several threads, never at the same time.
using CompressStep = std::function<void(std::size_t file, std::uint64_t bytes)>;

// A file to compress: read from `path`, or, when `bytes` is set, those bytes in
// its place (a file kpack changed before packing it, such as the uninstaller).
struct BodySource {
  std::filesystem::path path;
  std::string field;  // the manifest field that names the file, for errors
  const std::vector<unsigned char>* bytes = nullptr;
};

// The size a source will have in the package; 0 when its file cannot be read.
std::uint64_t bodySourceSize(const BodySource& source);

// Compresses every source, the largest first, on `threads` threads (0: one per
// core). The bodies come back in the order of `sources` and are the same bytes
// whatever the number of threads. Throws ManifestError (naming the field of the
// first source, in order, that failed) when a file cannot be read or is larger
// than a package can hold.
std::vector<CompressedBody> compressBodies(const std::vector<BodySource>& sources,
                                           CompressionLevel level, unsigned threads,
                                           const CompressStep& step);

}  // namespace kpack
