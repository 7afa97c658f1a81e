// kpack build, and the part of it that kpack setup shares: a package from a
// manifest, with progress on long compressions and the warning about file types
// the skin's page cannot show.
#pragma once

#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "kpack/Manifest.h"
#include "kpack/PackageWriter.h"

namespace kpack {

// The package for `manifest`. `skin` is the skin the setup will carry and
// `glyphs` the high glyphs of its fonts, for the warnings about the file-type page
// and about characters the pages cannot draw; null skin: kpack's own copy of the
// default skin and its glyphs. Throws ManifestError, also for a warning when
// options.strict is set.
std::vector<unsigned char> packManifest(const Manifest& manifest, const ByteStream* skin = nullptr,
                                        const BuildOptions& options = {},
                                        const ByteStream* glyphs = nullptr);

// kpack build MANIFEST -o OUT: the exit status (0; 1 for a manifest the setup
// would refuse; 2 when the output cannot be written).
int buildCommand(const std::string& manifestPath, const std::string& outPath,
                 const BuildOptions& options = {});

}  // namespace kpack
