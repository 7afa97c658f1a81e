// TextSet: what one setup says, in one language: a text for every id of the
// catalogue, ours in English until a translation or the vendor's wording takes
// its place. The setup fills one at start-up from its string table; the tools
// fill one per language from a manifest to lay the pages out with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Languages.h"
#include "texts/TextCatalog.h"

namespace texts {

class TextSet {
 public:
  TextSet();

  // The text of `id`: ours, or what set() put in its place; "" for an id the
  // catalogue does not have.
  const char* text(int id) const;

  // Puts `text` (Windows-1252) in place of the text of `id`. Refused, leaving
  // the text as it was: an empty text, an id the catalogue does not have, and a
  // text whose printf conversions are not those of our English one (it is never
  // passed to a format call).
  bool set(int id, const char* text);

  // The language the texts are in.
  std::uint16_t language = platform::kEnglishLanguage;

 private:
  std::vector<std::string> texts_;  // by id
};

}  // namespace texts
