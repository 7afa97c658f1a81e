#include "kpack/BuildCommand.h"

#include <cstdio>
#include <iostream>

#include "common/WholeFile.h"
#include "kpack/ManifestRules.h"
#include "kpack/PageCharacters.h"
#include "package/InstallModel.h"
#include "render/Skin.h"

namespace kpack {
namespace {

// Large payloads take a while to compress: report every tenth of the way.
class ProgressReport {
 public:
  void operator()(int, std::uint64_t done, std::uint64_t total) {
    if (total < (16u << 20)) return;
    const int tenth = int(done * 10 / total);
    if (tenth == shown_) return;
    shown_ = tenth;
    std::fprintf(stderr, "kpack: compressed %d%% (%.1f of %.1f MB)\n", tenth * 10, done / 1e6,
                 total / 1e6);
  }

 private:
  int shown_ = 0;
};

// Without a skin of the vendor's, kpack's own copy of the default skin (RC_DATA
// 116 of this program) tells whether the offered extensions fit its file-type page.
void warnAboutGrid(const Manifest& manifest, const std::vector<unsigned char>& package,
                   const ByteStream* skin) {
  ByteStream ownSkin;
  InstallModel model;
  std::uint32_t position = 0;
  if (skin == nullptr) {
    if (ownSkin.loadResourceData(kSkinResourceId, nullptr) != S_OK) return;
    skin = &ownSkin;
  }
  if (package.size() > 0xFFFFFFF0u ||
      !model.readPackage(ByteView(package.data(), std::uint32_t(package.size())), position)) {
    return;
  }
  const std::string warning = checkBoxGridWarning(manifest, model, *skin);
  if (!warning.empty()) std::cerr << "kpack: warning: " << warning << "\n";
}

// The characters the pages would leave out, against the setup's skin or kpack's
// copy of the default one. The number of warnings.
std::size_t warnAboutCharacters(const Manifest& manifest, const ByteStream* skin,
                                const ByteStream* glyphs, bool strict) {
  ByteStream ownSkin, ownGlyphs;
  if (skin == nullptr) {
    if (ownSkin.loadResourceData(kSkinResourceId, nullptr) != S_OK) return 0;
    if (ownGlyphs.loadResourceData(kHighGlyphsResourceId, nullptr) != S_OK) ownGlyphs.clear();
    skin = &ownSkin;
    glyphs = &ownGlyphs;
  }
  const std::vector<std::string> warnings = undrawableCharacters(manifest, *skin, glyphs);
  for (const std::string& warning : warnings) {
    std::cerr << "kpack: " << (strict ? "" : "warning: ") << warning << "\n";
  }
  return warnings.size();
}

}  // namespace

std::vector<unsigned char> packManifest(const Manifest& manifest, const ByteStream* skin,
                                        const BuildOptions& options, const ByteStream* glyphs) {
  if (const std::size_t n = warnAboutCharacters(manifest, skin, glyphs, options.strict);
      n > 0 && options.strict) {
    throw ManifestError(std::to_string(n) +
                        " characters the skin cannot draw, an error with --strict");
  }
  ProgressReport report;
  const auto bytes = buildPackage(manifest, std::ref(report), options);
  warnAboutGrid(manifest, bytes, skin);
  return bytes;
}

int buildCommand(const std::string& manifestPath, const std::string& outPath,
                 const BuildOptions& options) {
  try {
    const std::vector<unsigned char> bytes =
        packManifest(loadManifest(manifestPath), nullptr, options);
    std::string error;
    if (!tools::writeWholeFile(outPath, bytes, error)) {
      std::cerr << "kpack: " << error << "\n";
      return 2;
    }
    return 0;
  } catch (const ManifestError& e) {
    std::cerr << "kpack: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace kpack
