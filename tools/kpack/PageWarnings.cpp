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

namespace {

// The skin a built setup carries for `percent`, and its glyphs.
bool skinOfSetup(const std::vector<unsigned char>& program, int percent, ByteStream& skin,
                 ByteStream& glyphs, std::string& error) {
  int skinId = kSkinResourceId, glyphsId = kHighGlyphsResourceId;
  for (const ScaledSkinResource& scaled : kScaledSkinResources) {
    if (scaled.percent == percent) skinId = scaled.skinId, glyphsId = scaled.highGlyphsId;
  }
  if (percent != 100 && skinId == kSkinResourceId) {
    error = "no skin is drawn for " + std::to_string(percent) + " %";
    return false;
  }
  std::vector<unsigned char> resource, high;
  if (!platform::findProgramResource(program, skinId, resource, error)) return false;
  // The glyphs above 127 are optional.
  std::string none;
  if (!platform::findProgramResource(program, glyphsId, high, none)) high.clear();
  if (resource.size() > 0xFFFFFFF0u || high.size() > 0xFFFFFFF0u ||
      skin.appendBytes(std::uint32_t(resource.size()), resource.data()) != S_OK ||
      glyphs.appendBytes(std::uint32_t(high.size()), high.data()) != S_OK) {
    error = "the skin is too large";
    return false;
  }
  return true;
}

}  // namespace

bool skinForCheck(const std::string& path, const std::vector<unsigned char>& program, int percent,
                  ByteStream& skin, ByteStream& glyphs, std::string& name, std::string& error) {
  if (!program.empty()) {
    if (!skinOfSetup(program, percent, skin, glyphs, error)) return false;
    name =
        (percent == 100 ? "the skin of " : "the " + std::to_string(percent) + " % skin of ") + path;
    return true;
  }
  if (percent != 100) {
    error = "a package carries no skin for " + std::to_string(percent) + " %";
    return false;
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
  SkinLists lists;
  return loadSkinForPages(skin, glyphs, skinName, lists, error) &&
         warnAboutPages(model, lists, 100, texts != nullptr ? *texts : SetupTexts(), "", "texts",
                        skinName, manifest, packageName, skipFileTypes, warnings, error);
}

bool loadSkinForPages(const ByteStream& skin, const ByteStream* glyphs, const std::string& skinName,
                      SkinLists& lists, std::string& error) {
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
  return true;
}

bool warnAboutPages(InstallModel& model, SkinLists& skin, int percent, const SetupTexts& texts,
                    const std::string& language, const std::string& textsField,
                    const std::string& skinName, const Manifest* manifest,
                    const std::string& packageName, bool skipFileTypes, tools::Warnings& warnings,
                    std::string& error) {
  tools::PageCheckRun run;
  run.skin = &skin;
  run.model = &model;
  run.texts = texts;
  run.scale = DisplayScale(percent * DisplayScale::kBaseDpi / 100);
  run.name = tools::RunName(language, percent);
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
