// The translations kpack ships (tools/kpack/languages/*.toml): built into kpack
// as bytes, read with the manifest's TOML reader when a manifest asks for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace kpack {

struct ShippedLanguage {
  const char* tag;  // the file's name: "de", "pt-BR"
  const unsigned char* bytes;
  std::size_t size;
};

// Every shipped translation, by tag in ASCII order (made at build time).
const ShippedLanguage* shippedLanguages(std::size_t& count);

// The shipped translation into language `id` (a Windows language id), or null.
const ShippedLanguage* findShippedLanguage(std::uint16_t id);

// The texts of a shipped translation by catalogue id, in Windows-1252. Throws
// ManifestError, naming the file and line, for a key the catalogue does not
// have, a value that is not a text, a character Windows-1252 lacks, or
// conversions other than the English text's.
std::map<int, std::string> shippedTexts(const ShippedLanguage& language);

}  // namespace kpack
