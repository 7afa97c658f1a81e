// kpack build, and the part of it that kpack setup shares: a package from a
// manifest, with progress on long compressions and the warnings about what does
// not fit the pages.
#pragma once

#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "kpack/Manifest.h"
#include "kpack/PackageWriter.h"

namespace kpack {

// A skin the setup carries for a display scale above 100 %, with the high
// glyphs of its fonts (an empty stream for none).
struct ScaledSkinCheck {
  int percent = 0;
  const ByteStream* skin = nullptr;
  const ByteStream* glyphs = nullptr;
};

// The package for `manifest`. `skin` is the skin the setup will carry (named
// `skinName` in warnings) and `glyphs` the high glyphs of its fonts, for the page
// check and the characters the pages cannot draw; null skin: kpack's own copy of
// the default skin and its glyphs. The pages are checked again over each of
// `scaled`, laid out at its scale. What does not fit the pages is said as
// warnings on standard error. Throws ManifestError, also when the pages cannot
// work at all and when options.strict is set and there were warnings.
std::vector<unsigned char> packManifest(const Manifest& manifest, const ByteStream* skin = nullptr,
                                        const BuildOptions& options = {},
                                        const std::string& skinName = "",
                                        const ByteStream* glyphs = nullptr,
                                        const std::vector<ScaledSkinCheck>& scaled = {});

// kpack build MANIFEST -o OUT: the exit status (0; 1 for a manifest the setup
// would refuse; 2 when the output cannot be written).
int buildCommand(const std::string& manifestPath, const std::string& outPath,
                 const BuildOptions& options = {});

}  // namespace kpack
