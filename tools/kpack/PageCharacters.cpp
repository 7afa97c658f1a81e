#include "kpack/PageCharacters.h"

#include <map>
#include <set>

#include "common/Cp1252.h"
#include "kpack/SetupTextsWriter.h"
#include "render/Skin.h"
#include "texts/TextCatalog.h"

namespace kpack {
namespace {

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
    const auto warn = [&](char32_t c, int line, int column) {
      warnings.push_back(shown.file.string() + ":" + std::to_string(line) + ":" +
                         std::to_string(column) + ": " + shown.field + ": " + describeCharacter(c) +
                         " is not in the skin's font " + std::to_string(shown.font) +
                         ": the page leaves it out");
    };
    const std::size_t before = warnings.size();
    file->second.forEach(shown.range, [&](char32_t c, int line, int column) {
      std::string ansi;
      // What 1252 cannot hold is an error of its own.
      std::string utf8;
      tools::appendUtf8(utf8, c);
      if (tools::utf8ToCp1252(utf8, ansi) && ansi.size() == 1 &&
          !drawable(*font, (unsigned char)ansi[0])) {
        warn(c, line, column);
      }
    });
    if (warnings.size() > before || shown.range.line <= 0) continue;
    // Written as escapes ("\u00e9"), the characters are not in the file as
    // they are: named where the text starts.
    for (unsigned char byte : shown.text) {
      if (drawable(*font, byte)) continue;
      const std::string utf8 = tools::cp1252ToUtf8(std::string(1, char(byte)));
      char32_t c = byte;
      if (utf8.size() == 2) c = char32_t((utf8[0] & 0x1F) << 6 | (utf8[1] & 0x3F));
      if (utf8.size() == 3) {
        c = char32_t((utf8[0] & 0x0F) << 12 | (utf8[1] & 0x3F) << 6 | (utf8[2] & 0x3F));
      }
      warn(c, shown.range.line, shown.range.column);
    }
  }
  // kpack's translations: one warning a language, naming what its pages lose.
  for (const SetupLanguage& spoken : setupLanguages(manifest)) {
    if (spoken.source == nullptr) continue;
    const ManifestLanguage& language = *spoken.source;
    std::set<unsigned char> lost;
    std::vector<std::string> keys;
    for (const auto& [id, text] : language.shipped) {
      // Where the vendor's words stand, theirs are checked above.
      if (text != spoken.texts.text(id) || id >= texts::ErrorCaption) continue;
      const bool title = id == texts::WindowName || id == texts::HeaderTitle || id >= texts::Back;
      const BitmapFont* font = fonts.at(title ? 0 : 1);
      if (font == nullptr) continue;
      bool any = false;
      for (unsigned char byte : text) {
        if (!drawable(*font, byte)) {
          lost.insert(byte);
          any = true;
        }
      }
      if (any) keys.push_back(texts::findText(id)->key);
    }
    if (lost.empty()) continue;
    std::string characters, where;
    for (unsigned char byte : lost) {
      characters +=
          (characters.empty() ? "" : " ") + tools::cp1252ToUtf8(std::string(1, char(byte)));
    }
    for (std::size_t i = 0; i < keys.size() && i < 4; ++i) where += (i ? ", " : "") + keys[i];
    if (keys.size() > 4) where += ", ...";
    warnings.push_back(manifest.path.string() + ": kpack's " + language.name +
                       " translation: the skin's fonts have no glyphs for " + characters + " (" +
                       where +
                       "): the pages leave them out. Fix: give the skin its glyphs "
                       "above 127 (kskin build writes them beside it), or leave \"" +
                       language.tag + "\" out of languages");
  }
  return warnings;
}

}  // namespace kpack
