#include "kskin/Report.h"

#include <filesystem>

#include "common/JsonReport.h"

namespace kskin {

namespace {

tools::JsonReport spriteJson(const Sprite* s) {
  return {{"mode", s->mode}, {"width", s->width}, {"height", s->height}};
}

}  // namespace

bool LoadSkinBytes(const Bytes& bytes, LoadedSkin& skin) {
  ByteStream stream;
  if (bytes.size() > 0xFFFFFFF0u ||
      stream.appendBytes(std::uint32_t(bytes.size()), bytes.data()) != S_OK) {
    return false;
  }
  std::uint32_t position = 0;
  skin.size = stream.size();
  if (!skin.pictures.LoadSkin(stream, position, skin.sprites, skin.fonts, skin.standalone)) {
    return false;
  }
  skin.consumed = position;
  return true;
}

bool LoadHighGlyphBytes(const Bytes& bytes, LoadedSkin& skin) {
  if (bytes.empty()) return true;
  ByteStream stream;
  if (bytes.size() > 0xFFFFFFF0u ||
      stream.appendBytes(std::uint32_t(bytes.size()), bytes.data()) != S_OK) {
    return false;
  }
  std::uint32_t position = 0;
  return LoadHighGlyphs(stream, position, skin.fonts) && position == stream.size();
}

std::string HighGlyphsPathFor(const std::string& skinPath) {
  return std::filesystem::path(skinPath).replace_extension(".glyphs").string();
}

void WriteSummary(const LoadedSkin& skin, std::ostream& out) {
  tools::JsonReport pictures = tools::JsonReport::array();
  for (int i = 0; i < skin.pictures.count(); ++i) {
    const Image* p = skin.pictures.at(i);
    pictures.push_back({{"width", p->Width()},
                        {"height", p->Height()},
                        {"bits", p->BitsPerPixel()},
                        {"grey", p->IsGrey()}});
  }
  tools::JsonReport sprites = tools::JsonReport::array();
  for (int i = 0; i < skin.sprites.count(); ++i) sprites.push_back(spriteJson(skin.sprites.at(i)));
  tools::JsonReport fonts = tools::JsonReport::array();
  for (int i = 0; i < skin.fonts.count(); ++i) {
    const BitmapFont* f = skin.fonts.at(i);
    const TextMetric& m = f->metrics;
    fonts.push_back({{"tmHeight", m.tmHeight},
                     {"tmAscent", m.tmAscent},
                     {"tmDescent", m.tmDescent},
                     {"tmInternalLeading", m.tmInternalLeading},
                     {"tmAveCharWidth", m.tmAveCharWidth},
                     {"tmMaxCharWidth", m.tmMaxCharWidth},
                     {"tmWeight", m.tmWeight},
                     {"shadowOffsetX", f->shadowOffsetX},
                     {"shadowOffsetY", f->shadowOffsetY},
                     {"margin", f->margin},
                     {"highGlyphs", f->HasHighGlyphs()}});
  }
  tools::JsonReport standalone = tools::JsonReport::array();
  for (int i = 0; i < skin.standalone.count(); ++i) {
    standalone.push_back(spriteJson(skin.standalone.at(i)));
  }
  const tools::JsonReport report = {{"bytes", skin.size},
                                    {"consumed", skin.consumed},
                                    {"counts",
                                     {{"pictures", skin.pictures.count()},
                                      {"sprites", skin.sprites.count()},
                                      {"fonts", skin.fonts.count()},
                                      {"standalone", skin.standalone.count()}}},
                                    {"pictures", std::move(pictures)},
                                    {"sprites", std::move(sprites)},
                                    {"fonts", std::move(fonts)},
                                    {"standalone", std::move(standalone)}};
  tools::writeJsonReport(report, out);
}

}  // namespace kskin
