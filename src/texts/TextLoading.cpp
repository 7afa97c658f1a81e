#include "texts/TextLoading.h"

#include <vector>

#include "platform/Resources.h"

namespace texts {
namespace {

// Entry `id` in `language`, in a buffer grown until it holds all of it; "" when
// there is none.
std::vector<char> entryOf(platform::ModuleHandle module, int id, std::uint16_t language) {
  std::vector<char> text(256);
  for (;;) {
    const int n = platform::loadString(module, id, language, text.data(), int(text.size()));
    if (n < int(text.size()) - 2 || text.size() >= 0x10000 * 2) return text;
    text.resize(text.size() * 2);
  }
}

}  // namespace

std::uint16_t chooseTextLanguage(platform::ModuleHandle module, int probeId) {
  const std::vector<std::uint16_t> carried = platform::stringLanguages(module, probeId);
  const std::uint16_t chosen =
      platform::chooseLanguage(platform::userLanguage(), carried.data(), carried.size());
  return chosen != 0 ? chosen : platform::kEnglishLanguage;
}

bool loadTexts(platform::ModuleHandle module, std::uint16_t language, TextSet& texts) {
  texts.language = language;
  bool named = false;
  std::size_t count = 0;
  const TextEntry* entries = catalog(count);
  for (std::size_t i = 0; i < count; ++i) {
    const int id = entries[i].id;
    bool taken = texts.set(id, entryOf(module, id, language).data());
    if (!taken && language != platform::kEnglishLanguage) {
      taken = texts.set(id, entryOf(module, id, platform::kEnglishLanguage).data());
    }
    if (id == WindowName) named = taken;
  }
  return named;
}

}  // namespace texts
