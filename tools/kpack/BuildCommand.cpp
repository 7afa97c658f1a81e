#include "kpack/BuildCommand.h"

#include <cstdio>
#include <iostream>

#include "common/Warnings.h"
#include "common/WholeFile.h"
#include "kpack/ManifestRules.h"
#include "kpack/PageCharacters.h"
#include "kpack/PageWarnings.h"
#include "kpack/SetupTextsWriter.h"
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

// The warnings about the pages: the offered extensions against the file-type
// page's grid, then every page checked over the skin the setup will carry, and
// again over each skin it carries for a larger display scale. Throws
// ManifestError when the pages cannot work at all.
void warnAboutPages(const Manifest& manifest, const std::vector<unsigned char>& package,
                    const ByteStream& skin, const ByteStream* glyphs, const std::string& skinName,
                    const std::vector<ScaledSkinCheck>& scaled, tools::Warnings& warnings) {
  InstallModel model;
  std::uint32_t position = 0;
  if (package.size() > 0xFFFFFFF0u ||
      !model.readPackage(ByteView(package.data(), std::uint32_t(package.size())), position)) {
    return;
  }
  const std::string grid = checkBoxGridWarning(manifest, model, skin);
  if (!grid.empty()) warnings.Warn(grid);
  std::vector<ScaledSkinCheck> skins{{100, &skin, glyphs}};
  skins.insert(skins.end(), scaled.begin(), scaled.end());
  const std::string name = skinName.empty() ? "the default skin" : skinName;
  // Every language the setup speaks, laid out in its own words.
  const std::vector<SetupLanguage> languages = setupLanguages(manifest);
  for (const ScaledSkinCheck& at : skins) {
    const std::string atName =
        at.percent == 100 ? name : name + " at " + std::to_string(at.percent) + " %";
    // The skin is the same in every language: loaded once.
    SkinLists lists;
    std::string error;
    if (!loadSkinForPages(*at.skin, at.glyphs, atName, lists, error)) throw ManifestError(error);
    for (const SetupLanguage& language : languages) {
      if (!warnAboutPages(model, lists, at.percent, language.texts,
                          languages.size() > 1 ? language.name : std::string(), language.field,
                          atName, &manifest, manifest.path.string(), !grid.empty(), warnings,
                          error)) {
        throw ManifestError(error);
      }
    }
  }
}

}  // namespace

std::vector<unsigned char> packManifest(const Manifest& manifest, const ByteStream* skin,
                                        const BuildOptions& options, const std::string& skinName,
                                        const ByteStream* glyphs,
                                        const std::vector<ScaledSkinCheck>& scaled) {
  // Without a skin of the setup's, kpack's own copy of the default skin and its
  // glyphs (RC_DATA 116 and 117 of this program).
  ByteStream ownSkin, ownGlyphs;
  if (skin == nullptr && ownSkin.loadResourceData(kSkinResourceId, nullptr) == S_OK) {
    if (ownGlyphs.loadResourceData(kHighGlyphsResourceId, nullptr) != S_OK) ownGlyphs.clear();
    skin = &ownSkin;
    glyphs = &ownGlyphs;
  }
  tools::Warnings warnings("kpack", options.strict);
  for (const std::string& warning : textsNamingUs(manifest)) warnings.Warn(warning);
  if (skin != nullptr) {
    for (const std::string& warning : undrawableCharacters(manifest, *skin, glyphs)) {
      warnings.Warn(warning);
    }
  }
  ProgressReport report;
  const auto bytes = buildPackage(manifest, std::ref(report), options);
  if (skin != nullptr) warnAboutPages(manifest, bytes, *skin, glyphs, skinName, scaled, warnings);
  if (warnings.Failed()) throw ManifestError(warnings.Summary());
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
    std::cout << "kpack: wrote " << outPath << " (" << bytes.size() << " bytes)" << std::endl;
    return 0;
  } catch (const ManifestError& e) {
    std::cerr << "kpack: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace kpack
