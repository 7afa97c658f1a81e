#include "texts/TextSet.h"

#include "texts/FormatCheck.h"

namespace texts {

TextSet::TextSet() {
  std::size_t count = 0;
  const TextEntry* entries = catalog(count);
  texts_.resize(std::size_t(entries[count - 1].id) + 1);
  for (std::size_t i = 0; i < count; ++i) texts_[std::size_t(entries[i].id)] = entries[i].english;
}

const char* TextSet::text(int id) const {
  return id >= 0 && std::size_t(id) < texts_.size() ? texts_[std::size_t(id)].c_str() : "";
}

bool TextSet::set(int id, const char* text) {
  const TextEntry* entry = findText(id);
  if (entry == nullptr || text == nullptr || *text == '\0' ||
      !sameConversions(text, entry->english)) {
    return false;
  }
  texts_[std::size_t(id)] = text;
  return true;
}

}  // namespace texts
