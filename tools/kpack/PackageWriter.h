// Writing a package resource from a checked manifest.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kpack/BodyCompressor.h"
#include "kpack/Manifest.h"

namespace kpack {

// Called as file bodies are compressed: the item's index, and the bytes of all
// bodies done so far out of the total. Items are compressed side by side, so the
// index is not always rising; calls never overlap.
using BuildProgress = std::function<void(int item, std::uint64_t done, std::uint64_t total)>;

struct BuildOptions {
  CompressionLevel level = CompressionLevel::Standard;
  unsigned threads = 0;  // 0: one per core; the package is the same either way
  // Warnings about the pages (what does not fit them, characters the skin cannot
  // draw) stop the build.
  bool strict = false;
  // Called with a Windows uninstaller once its knowledge is written into it and
  // before it is packed (kpack setup --sign signs it there); false, with a
  // reason, stops the build.
  std::function<bool(std::vector<unsigned char>& program, std::string& error)> finishUninstaller;
};

// The package bytes for `manifest`: texts, pictures, licence (CR LF line ends and a
// final NUL) and every item with its body as one zlib stream at the chosen level.
// An uninstaller item that is a Windows program is packed with its knowledge of the
// package (buildUninstallKnowledge) written into it as resource RC_DATA 113; any
// other uninstaller file is packed as it is.
// The result is read back with the setup's own reader before it is returned.
// Throws ManifestError for files that cannot be read, pictures the setup cannot
// decode, and bodies too large for the format.
std::vector<unsigned char> buildPackage(const Manifest& manifest,
                                        const BuildProgress& progress = {},
                                        const BuildOptions& options = {});

// What the uninstaller knows of the package (src/package/UninstallKnowledge.h):
// the same header and items, each item's body replaced by the SHA-256 of its file,
// the uninstaller's own by nothing.
std::vector<unsigned char> buildUninstallKnowledge(const Manifest& manifest);

}  // namespace kpack
