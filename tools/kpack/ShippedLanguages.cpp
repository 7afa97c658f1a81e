#include "kpack/ShippedLanguages.h"

#include <toml++/toml.h>

#include <string_view>

#include "common/Cp1252.h"
#include "kpack/Manifest.h"
#include "platform/Languages.h"
#include "texts/FormatCheck.h"
#include "texts/TextCatalog.h"

namespace kpack {

const ShippedLanguage* findShippedLanguage(std::uint16_t id) {
  std::size_t count = 0;
  const ShippedLanguage* shipped = shippedLanguages(count);
  for (std::size_t i = 0; i < count; ++i) {
    const platform::LanguageInfo* info = platform::findLanguage(shipped[i].tag);
    if (info != nullptr && info->id == id) return &shipped[i];
  }
  return nullptr;
}

std::map<int, std::string> shippedTexts(const ShippedLanguage& language) {
  const std::string file = std::string("kpack's translation languages/") + language.tag + ".toml";
  const auto fail = [&](const toml::node* at, const std::string& message) {
    std::string where = file;
    if (at != nullptr && at->source().begin.line > 0) {
      where += ":" + std::to_string(at->source().begin.line);
    }
    throw ManifestError(where + ": " + message);
  };
  toml::table table;
  try {
    table = toml::parse(
        std::string_view(reinterpret_cast<const char*>(language.bytes), language.size), file);
  } catch (const toml::parse_error& e) {
    fail(nullptr, std::string(e.description()));
  }
  std::map<int, std::string> out;
  for (const auto& [key, node] : table) {
    const std::string name(key.str());
    const texts::TextEntry* entry = texts::findText(name.c_str());
    if (entry == nullptr) fail(&node, name + ": not a text of the setup");
    if (!node.is_string()) fail(&node, name + ": must be a text");
    std::string ansi, bad;
    if (!tools::utf8ToCp1252(node.as_string()->get(), ansi, &bad)) {
      fail(&node, name + ": character " + bad + " cannot be written in Windows-1252");
    }
    if (ansi.empty()) fail(&node, name + ": empty");
    if (!texts::sameConversions(ansi.c_str(), entry->english)) {
      fail(&node, name + ": its % conversions are not the English text's");
    }
    out[int(entry->id)] = ansi;
  }
  return out;
}

}  // namespace kpack
