// What a manifest has the setup say, in English and in each of its languages,
// as a setup carries it: a string table per language (src/texts/TextCatalog.h),
// written into a built setup and its uninstaller by kpack setup, or into files
// for the build by kpack texts.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "kpack/Manifest.h"
#include "texts/TextSet.h"

namespace kpack {

// One language of a setup and every text it says in it.
struct SetupLanguage {
  std::uint16_t id = 0;  // its Windows language id
  std::string name;      // "English", "German"
  // Where the vendor words its texts: "texts", "texts.de".
  std::string field;
  // The manifest's entry of it; null for English.
  const ManifestLanguage* source = nullptr;
  texts::TextSet texts;
};

// English, then every language of the manifest. English is ours with [texts]
// over it. Another language is ours, then the vendor's English window name,
// header and Welcome text, then kpack's translation of every other text (and of
// those three where the vendor gave no English), then [texts.TAG]. In each, the
// damaged-file message names the vendor's address (download-url, else
// company-url) and its caption the vendor's window name, unless worded there.
std::vector<SetupLanguage> setupLanguages(const Manifest& manifest);

// The string-table entries of one language, by id, in Windows-1252: every text
// of the catalogue.
std::vector<std::pair<int, std::string>> setupStrings(const texts::TextSet& texts);

// With [texts] given, one warning for each text the setup or its uninstaller can
// show that still names Kestrane, with the languages it does so in: "FILE:LINE:
// texts.KEY: still names Kestrane in English, German: ...". Empty without [texts].
std::vector<std::string> textsNamingUs(const Manifest& manifest);

// The note for a manifest without [texts], or empty.
std::string textsNote(const Manifest& manifest);

// Puts the string tables of `languages` into a Windows program image, each into
// blocks of its language that start as copies of the image's English ones (so
// their other entries stay); blocks of other languages stay as they are. False, with a reason, when
// the image's resources cannot be read or written.
bool writeSetupStrings(std::vector<unsigned char>& image,
                       const std::vector<SetupLanguage>& languages, std::string& error);

// The languages a program's string table is in (block 1, the window's name),
// English first; empty for none.
std::vector<std::uint16_t> stringLanguages(const std::vector<unsigned char>& image);

// "English, German, French": the names of `languages`.
std::string languageNames(const std::vector<std::uint16_t>& languages);

// kpack texts MANIFEST -o DIR: writes DIR/texts.rc (the string tables for the
// resource compiler, in code page 1252, one per language) and, for the host's
// resource section, DIR/string-ID-LANGUAGE.txt (each entry's bytes) with
// DIR/strings.txt listing them, a line "ID LANGUAGE FILE" each. The exit status:
// 0, 1 for a manifest that cannot be used, 2 when a file cannot be written.
int textsCommand(const std::string& manifestPath, const std::string& outDir);

}  // namespace kpack
