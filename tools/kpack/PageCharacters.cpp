#include "kpack/PageCharacters.h"

#include <map>

#include "kpack/Cp1252.h"
#include "render/Skin.h"

namespace kpack {
namespace {

std::string utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
  return out;
}

// What the text walk does with the byte: blanks and line breaks are layout, the
// soft hyphen is meant to be invisible, the no-break space is a blank where the
// font knows the high characters; everything else needs a glyph.
bool drawable(const BitmapFont& font, unsigned char byte) {
  switch (byte) {
    case ' ':
    case '\t':
    case '\n':
    case '\r':
    case kSoftHyphen:
      return true;
    case kNoBreakSpace:
      return font.HasHighGlyphs();
    default: {
      const Glyph* glyph = font.GlyphFor(byte);
      return glyph != nullptr && glyph->Exists();
    }
  }
}

}  // namespace

std::vector<std::string> undrawableCharacters(const Manifest& manifest, const ByteStream& skin,
                                              const ByteStream* glyphs) {
  std::vector<std::string> warnings;
  PictureList pictures;
  SpriteList sprites, standalone;
  FontList fonts;
  std::uint32_t position = 0;
  if (!pictures.LoadSkin(skin, position, sprites, fonts, standalone)) return warnings;
  position = 0;
  if (glyphs != nullptr && glyphs->size() > 0) LoadHighGlyphs(*glyphs, position, fonts);

  std::map<std::filesystem::path, SourceText> files;
  for (const ShownText& shown : manifest.shownTexts) {
    const BitmapFont* font = fonts.at(shown.font);
    if (font == nullptr) continue;
    auto file = files.find(shown.file);
    if (file == files.end()) file = files.emplace(shown.file, SourceText(shown.file)).first;
    file->second.forEach(shown.range, [&](char32_t c, int line, int column) {
      std::string ansi;
      if (!utf8ToCp1252(utf8Of(c), ansi) || ansi.size() != 1 ||
          drawable(*font, (unsigned char)ansi[0])) {
        return;  // what 1252 cannot hold is an error of its own
      }
      warnings.push_back(shown.file.string() + ":" + std::to_string(line) + ":" +
                         std::to_string(column) + ": " + shown.field + ": " + describeCharacter(c) +
                         " is not in the skin's font " + std::to_string(shown.font) +
                         ": the page leaves it out");
    });
  }
  return warnings;
}

}  // namespace kpack
