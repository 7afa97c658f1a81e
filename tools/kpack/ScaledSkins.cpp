#include "kpack/ScaledSkins.h"

#include <filesystem>

#include "common/WholeFile.h"
#include "platform/ProgramResources.h"
#include "render/Skin.h"

namespace fs = std::filesystem;

namespace kpack {
namespace {

struct LoadedSkin {
  PictureList pictures;
  SpriteList sprites, standalone;
  FontList fonts;
};

// Loads `bytes` as the program would, whole, with the high glyphs in `high`
// (none when empty).
bool loadWhole(const std::vector<unsigned char>& bytes, const std::vector<unsigned char>& high,
               LoadedSkin& skin, std::string& error) {
  ByteStream stream, glyphs;
  if (bytes.size() > 0xFFFFFFF0u || high.size() > 0xFFFFFFF0u ||
      stream.appendBytes(std::uint32_t(bytes.size()), bytes.data()) != S_OK ||
      glyphs.appendBytes(std::uint32_t(high.size()), high.data()) != S_OK) {
    error = "too large";
    return false;
  }
  std::uint32_t position = 0;
  if (!skin.pictures.LoadSkin(stream, position, skin.sprites, skin.fonts, skin.standalone) ||
      position != stream.size()) {
    error = "the setup's skin reader refuses it";
    return false;
  }
  position = 0;
  if (!high.empty() &&
      (!LoadHighGlyphs(glyphs, position, skin.fonts) || position != glyphs.size())) {
    error = "the setup's skin reader refuses its high glyphs";
    return false;
  }
  return true;
}

bool sameParts(const LoadedSkin& a, const LoadedSkin& b) {
  return a.pictures.count() == b.pictures.count() && a.sprites.count() == b.sprites.count() &&
         a.fonts.count() == b.fonts.count() && a.standalone.count() == b.standalone.count();
}

}  // namespace

std::string scaledSkinPath(const std::string& skinPath, int percent) {
  fs::path p(skinPath);
  const std::string name =
      p.stem().string() + "@" + std::to_string(percent) + p.extension().string();
  return p.replace_filename(name).string();
}

bool addScaledSkins(const std::string& skinPath, const ByteStream& skin,
                    std::vector<tools::PeResource>& resources, std::string& error) {
  LoadedSkin base;
  std::uint32_t position = 0;
  if (!base.pictures.LoadSkin(skin, position, base.sprites, base.fonts, base.standalone)) {
    error = "the skin does not load";
    return false;
  }
  for (const ScaledSkinResource& scale : kScaledSkinResources) {
    const std::string path = scaledSkinPath(skinPath, scale.percent);
    const std::string glyphsPath = fs::path(path).replace_extension(".glyphs").string();
    std::vector<unsigned char> bytes, high;
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) {
      if (!tools::readWholeFile(path, bytes) ||
          (fs::is_regular_file(glyphsPath, ec) && !tools::readWholeFile(glyphsPath, high))) {
        error = "cannot read " + path + " or its glyphs";
        return false;
      }
      LoadedSkin scaled;
      if (!loadWhole(bytes, high, scaled, error)) {
        error = "invalid skin " + path + ": " + error;
        return false;
      }
      if (!sameParts(base, scaled)) {
        error = "invalid skin " + path + ": it has other parts than " + skinPath;
        return false;
      }
    }
    resources.push_back({"RC_DATA", std::uint16_t(scale.skinId), std::move(bytes)});
    resources.push_back({"RC_DATA", std::uint16_t(scale.highGlyphsId), std::move(high)});
  }
  return true;
}

std::vector<int> carriedScales(const std::string& path) {
  std::vector<unsigned char> program;
  if (!tools::readWholeFile(path, program)) return {};
  return carriedScales(program);
}

std::vector<int> carriedScales(const std::vector<unsigned char>& program) {
  if (!platform::isProgramImage(program)) return {};
  std::vector<unsigned char> skin;
  std::vector<int> scales{100};
  for (const ScaledSkinResource& scale : kScaledSkinResources) {
    std::string error;
    if (platform::findProgramResource(program, scale.skinId, skin, error) && !skin.empty()) {
      scales.push_back(scale.percent);
    }
  }
  return scales;
}

}  // namespace kpack
