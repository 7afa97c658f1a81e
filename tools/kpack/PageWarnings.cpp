#include "kpack/PageWarnings.h"

#include "common/PageCheck.h"
#include "common/WholeFile.h"
#include "kpack/ManifestRules.h"
#include "platform/ProgramResources.h"
#include "render/Skin.h"

namespace kpack {
namespace {

// "FILE:LINE: field: " of the manifest field a cause is, or the package's
// name and the field without a manifest.
std::string placeOf(const tools::PageWarning& w, const InstallModel& model,
                    const std::string& skinName, const Manifest* manifest,
                    const std::string& packageName, const std::string& message,
                    const std::string& language = "", const std::string& textsField = "texts") {
  std::string field, fallback;
  switch (w.cause) {
    case tools::PageCause::Text:
      field = textsField + "." + w.key;
      if (manifest != nullptr && manifest->lineOf(field) > 0) {
        return manifest->complaint(field, "", message);
      }
      // Not the vendor's words: kpack's translation of ours.
      return (manifest != nullptr ? manifest->path.string() : packageName) + ": " +
             (textsField == "texts" || language.empty() ? "" : "kpack's " + language + " ") +
             "text " + w.key + ": " + message;
    case tools::PageCause::SidePicture:
      field = "pictures.side";
      fallback = "pictures";
      break;
    case tools::PageCause::Logo:
      field = "pictures.logo";
      fallback = "pictures";
      break;
    case tools::PageCause::ProductName:
      field = "product.name";
      fallback = "product";
      break;
    case tools::PageCause::FileTypeLabels:
      if (manifest != nullptr) fallback = offeredTypeField(*manifest, model);
      field = fallback.empty() ? "items" : fallback + ".optional-extensions";
      break;
    case tools::PageCause::Font:
      return skinName + (w.font >= 0 ? ": font " + std::to_string(w.font) : "") + ": " + message;
  }
  if (manifest != nullptr) return manifest->complaint(field, fallback, message);
  return packageName + ": " + field + ": " + message;
}

}  // namespace

bool skinForCheck(const std::string& path, ByteStream& skin, ByteStream& glyphs, std::string& name,
                  std::string& error) {
  std::vector<unsigned char> bytes, resource, high;
  if (tools::readWholeFile(path, bytes) && platform::isProgramImage(bytes)) {
    if (!platform::findProgramResource(bytes, kSkinResourceId, resource, error)) return false;
    // The glyphs above 127 are optional.
    std::string none;
    if (!platform::findProgramResource(bytes, kHighGlyphsResourceId, high, none)) high.clear();
    if (resource.size() > 0xFFFFFFF0u || high.size() > 0xFFFFFFF0u ||
        skin.appendBytes(std::uint32_t(resource.size()), resource.data()) != S_OK ||
        glyphs.appendBytes(std::uint32_t(high.size()), high.data()) != S_OK) {
      error = "the skin is too large";
      return false;
    }
    name = "the skin of " + path;
    return true;
  }
  if (skin.loadResourceData(kSkinResourceId, nullptr) != S_OK) {
    error = "kpack carries no default skin";
    return false;
  }
  if (glyphs.loadResourceData(kHighGlyphsResourceId, nullptr) != S_OK) glyphs.clear();
  name = "the default skin";
  return true;
}

bool warnAboutPages(InstallModel& model, const ByteStream& skin, const ByteStream* glyphs,
                    const SetupTexts* texts, const std::string& skinName, const Manifest* manifest,
                    const std::string& packageName, bool skipFileTypes, tools::Warnings& warnings,
                    std::string& error) {
  return warnAboutPages(model, skin, glyphs, texts != nullptr ? *texts : SetupTexts(), "", "texts",
                        skinName, manifest, packageName, skipFileTypes, warnings, error);
}

bool warnAboutPages(InstallModel& model, const ByteStream& skin, const ByteStream* glyphs,
                    const SetupTexts& texts, const std::string& language,
                    const std::string& textsField, const std::string& skinName,
                    const Manifest* manifest, const std::string& packageName, bool skipFileTypes,
                    tools::Warnings& warnings, std::string& error) {
  SkinLists lists;
  std::uint32_t position = 0;
  if (!lists.pictures.LoadSkin(skin, position, lists.sprites, lists.fonts, lists.standalone)) {
    error = skinName + " does not load";
    return false;
  }
  // Text is measured as the setup draws it: with the glyphs above 127 when the
  // skin has them.
  position = 0;
  if (glyphs != nullptr && glyphs->size() > 0 && !LoadHighGlyphs(*glyphs, position, lists.fonts)) {
    error = "the glyphs above 127 of " + skinName + " do not load";
    return false;
  }
  tools::PageCheckRun run;
  run.skin = &lists;
  run.model = &model;
  run.texts = texts;
  run.name = language;
  const tools::PageCheckResult result = tools::CheckPages(run);
  if (!result.error.empty()) {
    error =
        placeOf({result.errorCause, -1, ""}, model, skinName, manifest, packageName, result.error);
    return false;
  }
  for (const tools::PageWarning& w : result.warnings) {
    if (skipFileTypes && w.cause == tools::PageCause::FileTypeLabels) continue;
    warnings.Warn(
        placeOf(w, model, skinName, manifest, packageName, w.message, language, textsField));
  }
  return true;
}

}  // namespace kpack
