#include "kpack/BodyCompressor.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <fstream>
#include <memory>
#include <mutex>
#include <numeric>
#include <sstream>
#include <thread>

#include "common/WholeFile.h"
#include "kpack/Manifest.h"

namespace kpack {
namespace {

constexpr std::size_t kChunk = 1 << 20;
constexpr std::uint64_t kLargestFile = 0xFFFFFFFFu;
constexpr std::size_t kLargestBody = 0xFFFFFFF0u;
constexpr int kMaxLevel = 12;
// Up to this size libdeflate's level 12 costs next to nothing, so the standard
// level uses it too: a package of small files comes out well below zip -9.
constexpr std::uint64_t kSmallFile = kChunk;

[[noreturn]] void tooLarge(const std::string& field, const std::filesystem::path& path) {
  throw ManifestError(field + ": " + path.string() + " is larger than a package can hold (4 GiB)");
}

// zlib's highest level in 1 MiB steps, so a large file is never held whole.
CompressedBody deflateFile(std::istream& in, const std::filesystem::path& path,
                           const std::string& field,
                           const std::function<void(std::uint64_t)>& step) {
  z_stream zs = {};
  if (deflateInit(&zs, Z_BEST_COMPRESSION) != Z_OK) throw ManifestError("zlib: out of memory");
  CompressedBody body;
  std::vector<unsigned char> input(kChunk);
  std::vector<unsigned char> output(kChunk + 1024);
  std::uint64_t total = 0;
  int flush = Z_NO_FLUSH;
  while (flush != Z_FINISH) {
    in.read(reinterpret_cast<char*>(input.data()), std::streamsize(input.size()));
    const std::size_t n = std::size_t(in.gcount());
    if (in.bad()) {
      deflateEnd(&zs);
      throw ManifestError(field + ": error reading " + path.string());
    }
    total += n;
    flush = in.eof() ? Z_FINISH : Z_NO_FLUSH;
    zs.next_in = input.data();
    zs.avail_in = uInt(n);
    do {
      zs.next_out = output.data();
      zs.avail_out = uInt(output.size());
      deflate(&zs, flush);
      body.packed.insert(body.packed.end(), output.data(),
                         output.data() + (output.size() - zs.avail_out));
    } while (zs.avail_out == 0);
    step(n);
  }
  deflateEnd(&zs);
  if (total > kLargestFile || body.packed.size() > kLargestBody) tooLarge(field, path);
  body.size = std::uint32_t(total);
  return body;
}

// libdeflate's level 12 works on the whole file at once.
CompressedBody deflateWhole(const std::vector<unsigned char>& input,
                            const std::filesystem::path& path, const std::string& field,
                            const std::function<void(std::uint64_t)>& step) {
  if (input.size() > kLargestFile) tooLarge(field, path);
  const std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
      libdeflate_alloc_compressor(kMaxLevel), libdeflate_free_compressor);
  if (!compressor) throw ManifestError("libdeflate: out of memory");
  CompressedBody body;
  body.packed.resize(libdeflate_zlib_compress_bound(compressor.get(), input.size()));
  const std::size_t n = libdeflate_zlib_compress(compressor.get(), input.data(), input.size(),
                                                 body.packed.data(), body.packed.size());
  if (n == 0) throw ManifestError("libdeflate: cannot compress " + path.string());
  body.packed.resize(n);
  if (body.packed.size() > kLargestBody) tooLarge(field, path);
  body.size = std::uint32_t(input.size());
  step(input.size());
  return body;
}

// The source's bytes whole: its changed bytes, or its file read in one piece
// (refused unread when the file is larger than a package can hold).
const std::vector<unsigned char>& wholeSource(const BodySource& source, std::uint64_t size,
                                              std::vector<unsigned char>& buffer) {
  if (source.bytes != nullptr) return *source.bytes;
  if (size > kLargestFile) tooLarge(source.field, source.path);
  if (!tools::readWholeFile(source.path.string(), buffer)) {
    throw ManifestError(source.field + ": cannot read " + source.path.string());
  }
  return buffer;
}

}  // namespace

std::uint64_t bodySourceSize(const BodySource& source) {
  if (source.bytes != nullptr) return source.bytes->size();
  std::error_code ec;
  const std::uint64_t size = std::filesystem::file_size(source.path, ec);
  return ec ? 0 : size;
}

std::vector<CompressedBody> compressBodies(const std::vector<BodySource>& sources,
                                           CompressionLevel level, unsigned threads,
                                           const CompressStep& step) {
  // The largest files first, so that no core is left with a long file at the end.
  std::vector<std::size_t> order(sources.size());
  std::iota(order.begin(), order.end(), 0);
  std::vector<std::uint64_t> sizes(sources.size());
  for (std::size_t i = 0; i < sources.size(); ++i) sizes[i] = bodySourceSize(sources[i]);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return sizes[a] > sizes[b]; });

  std::vector<CompressedBody> bodies(sources.size());
  std::vector<std::exception_ptr> failures(sources.size());
  std::atomic<std::size_t> next{0};
  std::mutex stepLock;
  const auto work = [&] {
    for (std::size_t k; (k = next++) < order.size();) {
      const std::size_t i = order[k];
      const BodySource& source = sources[i];
      try {
        const auto report = [&](std::uint64_t n) {
          std::lock_guard<std::mutex> hold(stepLock);
          if (step) step(i, n);
        };
        if (level == CompressionLevel::Max || sizes[i] <= kSmallFile) {
          std::vector<unsigned char> buffer;
          bodies[i] = deflateWhole(wholeSource(source, sizes[i], buffer), source.path, source.field,
                                   report);
        } else if (source.bytes != nullptr) {
          std::istringstream changed(std::string(source.bytes->begin(), source.bytes->end()));
          bodies[i] = deflateFile(changed, source.path, source.field, report);
        } else {
          std::ifstream file(source.path, std::ios::binary);
          if (!file) throw ManifestError(source.field + ": cannot read " + source.path.string());
          bodies[i] = deflateFile(file, source.path, source.field, report);
        }
      } catch (...) {
        failures[i] = std::current_exception();
      }
    }
  };
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  threads = unsigned(std::min<std::size_t>(threads, std::max<std::size_t>(sources.size(), 1)));
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (std::thread& t : pool) t.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
  return bodies;
}

}  // namespace kpack
