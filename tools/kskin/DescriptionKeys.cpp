#include "kskin/DescriptionKeys.h"

namespace kskin {

const tools::KeyTable& DescriptionKeys() {
  using T = tools::KeyType;
  constexpr bool kRequired = true, kOptional = false;
  static const tools::KeyTable table{
      {
          // section, key, type, required, what it is
          {"", "sheet", T::Tables, kOptional, "Pictures drawn to cut others from, not stored"},
          {"", "picture", T::Tables, kOptional, "The skin's pictures, in slot order"},
          {"", "sprite", T::Tables, kOptional, "The skin's sprites, in slot order"},
          {"", "font", T::Tables, kOptional, "The skin's fonts, in slot order"},
          {"", "caption", T::Tables, kOptional, "Texts drawn once into sprites, in slot order"},

          {"sheet", "name", T::Text, kRequired, "The name pictures cut from it give as 'from'"},
          {"sheet", "format", T::Text, kOptional, "\"rgb\" (the default) or \"mask\""},
          {"sheet", "width", T::Integer, kRequired, "Width in pixels"},
          {"sheet", "height", T::Integer, kRequired, "Height in pixels"},
          {"sheet", "from", T::Text, kOptional, "An earlier sheet to cut it from, with 'crop'"},
          {"sheet", "crop", T::Numbers, kOptional, "[x, y, width, height] of the cut"},
          {"sheet", "paint", T::Tables, kOptional, "The layers painted, in order", "layer"},

          {"picture", "name", T::Text, kRequired, "The name sprites give as 'picture'"},
          {"picture", "format", T::Text, kOptional, "\"rgb\" (the default), \"mask\" or \"jpeg\""},
          {"picture", "width", T::Integer, kRequired, "Width in pixels"},
          {"picture", "height", T::Integer, kRequired, "Height in pixels"},
          {"picture", "quality", T::Integer, kOptional, "JPEG quality of a painted jpeg picture"},
          {"picture", "file", T::File, kOptional, "A JPEG file to take it from (format jpeg)"},
          {"picture", "from", T::Text, kOptional, "An earlier sheet or picture to cut it from"},
          {"picture", "crop", T::Numbers, kOptional, "[x, y, width, height] of the cut"},
          {"picture", "paint", T::Tables, kOptional, "The layers painted, in order", "layer"},

          {"sprite", "mode", T::Integer, kRequired, "0, 1 or 2: how its pictures are drawn"},
          {"sprite", "picture", T::Text, kRequired, "The picture drawn"},
          {"sprite", "second", T::Text, kOptional, "The second picture of modes 1 and 2"},

          {"font", "file", T::File, kRequired, "A font file FreeType reads"},
          {"font", "fallback", T::File, kOptional,
           "A font file for the characters above 127 the first one lacks"},
          {"font", "height", T::Integer, kRequired, "Pixel height of the rendered glyphs"},
          {"font", "shadow-dx", T::Integer, kOptional, "The shadow's offset to the right (1)"},
          {"font", "shadow-dy", T::Integer, kOptional, "The shadow's offset downwards (1)"},
          {"font", "margin", T::Integer, kOptional, "Blank pixels around each glyph (1)"},
          {"font", "shadow-blur", T::Integer, kOptional, "The shadow's blur radius (1)"},
          {"font", "shadow-strength", T::Number, kOptional, "The shadow's darkness (1.0)"},

          {"caption", "text", T::Text, kRequired, "The text drawn"},
          {"caption", "font", T::Integer, kOptional, "The font's number (0)"},
          {"caption", "skip-leading", T::Boolean, kOptional, "Leaves out leading blanks (true)"},
          {"caption", "trim", T::Boolean, kOptional, "Cuts the sprite to the ink (false)"},

          {"layer", "type", T::Text, kRequired,
           "fill, gradient, box, outline, stroke, glow, ring, or shadow in masks"},
          {"layer", "box", T::Numbers, kOptional, "[x, y, width, height] (the whole picture)"},
          {"layer", "radius", T::Number, kOptional,
           "Corner radius, or the radius of glow and ring"},
          {"layer", "width", T::Number, kOptional, "Line width of outline, stroke and ring (1)"},
          {"layer", "points", T::Pairs, kOptional, "The [x, y] points of a stroke"},
          {"layer", "x", T::Number, kOptional, "The centre of a glow or ring"},
          {"layer", "y", T::Number, kOptional, "The centre of a glow or ring"},
          {"layer", "colour", T::Text, kOptional, "\"#rrggbb\""},
          {"layer", "stops", T::Pairs, kOptional, "[position, \"#rrggbb\"] of a gradient"},
          {"layer", "angle", T::Number, kOptional,
           "The gradient's direction in degrees (90: down)"},
          {"layer", "alpha", T::Number, kOptional, "Opacity, 0 to 1 (1)"},
          {"layer", "value", T::Number, kOptional, "A mask's value, 0 to 255 (255)"},
          {"layer", "of", T::Text, kOptional, "The mask a shadow is made of"},
          {"layer", "dx", T::Integer, kOptional, "The shadow's offset to the right (1)"},
          {"layer", "dy", T::Integer, kOptional, "The shadow's offset downwards (1)"},
          {"layer", "blur", T::Integer, kOptional, "The shadow's blur radius (1)"},
          {"layer", "strength", T::Number, kOptional, "The shadow's darkness (1.0)"},

          {"icon", "canvas", T::Number, kOptional, "Units across the canvas of 'paint' (48)"},
          {"icon", "paint", T::Tables, kRequired, "The layers of every size", "layer"},
          {"icon", "size", T::Tables, kOptional, "Art of its own for one size", "size"},

          {"size", "pixels", T::Integer, kRequired, "The size it is drawn for"},
          {"size", "paint", T::Tables, kRequired, "Its layers, in its own pixels", "layer"},
      },
      {}};
  return table;
}

namespace {

bool allOf(const toml::node& node, bool (*each)(const toml::node&)) {
  const toml::array* list = node.as_array();
  if (list == nullptr) return false;
  for (const toml::node& element : *list) {
    if (!each(element)) return false;
  }
  return true;
}

bool fits(const toml::node& node, tools::KeyType type) {
  using T = tools::KeyType;
  switch (type) {
    case T::Text:
    case T::File:
      return node.is_string();
    case T::Integer:
      return node.is_integer();
    case T::Number:
      return node.is_number();
    case T::Boolean:
      return node.is_boolean();
    case T::Texts:
      return allOf(node, [](const toml::node& n) { return n.is_string(); });
    case T::Numbers:
      return allOf(node, [](const toml::node& n) { return n.is_number(); });
    case T::Pairs:
      return allOf(node,
                   [](const toml::node& n) { return n.is_array() && n.as_array()->size() == 2; });
    case T::Flags:
    case T::Table:
    case T::Tables:
      return true;
  }
  return true;
}

}  // namespace

void CheckKeys(const Where& w, const char* section) {
  for (const auto& [key, node] : w.table) {
    const std::string typed(key.str());
    const tools::Key* known = DescriptionKeys().find(section, typed);
    if (known == nullptr) {
      FailAt(node, w.name,
             "unknown key \"" + typed + "\"" + DescriptionKeys().didYouMean(section, typed));
    }
    if (!fits(node, known->type)) {
      FailAt(node, w.name, "'" + typed + "' must be " + tools::typeName(known->type));
    }
  }
}

}  // namespace kskin
