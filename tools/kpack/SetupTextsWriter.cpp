#include "kpack/SetupTextsWriter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>

#include "app/SetupTexts.h"
#include "common/PeResourceWriter.h"
#include "common/WholeFile.h"
#include "platform/ProgramResources.h"
#include "platform/Text.h"

namespace kpack {
namespace {

// A string table is stored in blocks of 16 entries, block n + 1 holding the ids
// 16 n .. 16 n + 15, each entry a u16 count of UTF-16 units and the units.
constexpr int kStringsPerBlock = 16;
constexpr char kStringType[] = "#6";

using Block = std::vector<std::u16string>;

bool readBlock(const std::vector<unsigned char>& data, Block& block) {
  block.assign(kStringsPerBlock, std::u16string());
  std::size_t at = 0;
  for (std::u16string& entry : block) {
    if (at + 2 > data.size()) return data.empty();
    const std::size_t n = std::size_t(data[at] | data[at + 1] << 8);
    at += 2;
    if (at + 2 * n > data.size()) return false;
    for (std::size_t i = 0; i < n; ++i, at += 2) {
      entry += char16_t(data[at] | data[at + 1] << 8);
    }
  }
  return true;
}

std::vector<unsigned char> writeBlock(const Block& block) {
  std::vector<unsigned char> out;
  for (const std::u16string& entry : block) {
    out.push_back((unsigned char)(entry.size() & 0xFF));
    out.push_back((unsigned char)(entry.size() >> 8));
    for (char16_t c : entry) {
      out.push_back((unsigned char)(c & 0xFF));
      out.push_back((unsigned char)(c >> 8));
    }
  }
  return out;
}

std::u16string wide(const std::string& ansi) {
  std::u16string out(ansi.size(), u'\0');
  const int n = platform::ansiToWide(ansi.data(), int(ansi.size()), out.data(), int(out.size()));
  out.resize(std::size_t(n > 0 ? n : 0));
  return out;
}

// A text as the resource compiler reads it between quotes.
std::string rcQuoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\"\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

// Our address in the damaged-file message of every language kpack carries.
constexpr char kOurDownloadAddress[] = "https://kestrane.example/download";

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty() || from == to) return;
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
}

// The damaged-file message names where to get the setup again, and its caption
// the window: the vendor's address and window name in each language where the
// vendor did not word them, since the package may be the very thing damaged and
// the setup can then read nothing else.
void putVendorNames(const Manifest& manifest, const std::map<int, std::string>& own,
                    const std::map<int, std::string>& shipped, texts::TextSet& set) {
  const std::string address =
      manifest.downloadUrl.empty() ? manifest.companyUrl : manifest.downloadUrl;
  if (!address.empty() && own.count(texts::FatalText) == 0) {
    std::string text = set.text(texts::FatalText);
    replaceAll(text, kOurDownloadAddress, address);
    set.set(texts::FatalText, text.c_str());
  }
  if (!manifest.windowName.empty() && own.count(texts::FatalCaption) == 0) {
    std::string caption = set.text(texts::FatalCaption);
    // The caption starts with our window name as the language words it.
    const auto ours = shipped.find(texts::WindowName);
    replaceAll(caption,
               ours != shipped.end() ? ours->second : texts::englishText(texts::WindowName),
               set.text(texts::WindowName));
    set.set(texts::FatalCaption, caption.c_str());
  }
}

bool namesUs(const std::string& text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return lower.find("kestrane") != std::string::npos;
}

}  // namespace

std::vector<SetupLanguage> setupLanguages(const Manifest& manifest) {
  std::vector<SetupLanguage> out;
  SetupLanguage english;
  english.id = platform::kEnglishLanguage;
  english.name = "English";
  english.field = "texts";
  for (const auto& [id, text] : manifest.englishTexts) english.texts.set(id, text.c_str());
  putVendorNames(manifest, manifest.englishTexts, {}, english.texts);
  out.push_back(english);
  // The vendor's own words for the window and the header stay in every language
  // that does not word them itself: a translation of ours would name Kestrane.
  const int vendorWords[] = {texts::WindowName, texts::HeaderTitle, texts::WelcomeText};
  for (const ManifestLanguage& language : manifest.languages) {
    SetupLanguage one;
    one.id = language.id;
    one.name = language.name;
    one.field = language.field();
    one.source = &language;
    one.texts.language = language.id;
    for (const auto& [id, text] : language.shipped) one.texts.set(id, text.c_str());
    for (int id : vendorWords) {
      const auto given = manifest.englishTexts.find(id);
      if (given != manifest.englishTexts.end()) one.texts.set(id, given->second.c_str());
    }
    for (const auto& [id, text] : language.own) one.texts.set(id, text.c_str());
    putVendorNames(manifest, language.own, language.shipped, one.texts);
    out.push_back(std::move(one));
  }
  return out;
}

std::vector<std::pair<int, std::string>> setupStrings(const texts::TextSet& set) {
  std::vector<std::pair<int, std::string>> out;
  std::size_t count = 0;
  const texts::TextEntry* entries = texts::catalog(count);
  for (std::size_t i = 0; i < count; ++i) out.emplace_back(entries[i].id, set.text(entries[i].id));
  return out;
}

std::string textsNote(const Manifest& manifest) {
  if (manifest.hasTexts) return {};
  return manifest.path.string() +
         ": note: no [texts]: the window, the page header and the Welcome page will speak for "
         "Kestrane (\"" +
         texts::englishText(texts::HeaderTitle) + "\")";
}

std::vector<std::string> textsNamingUs(const Manifest& manifest) {
  std::vector<std::string> out;
  if (!manifest.hasTexts) return out;
  const std::vector<SetupLanguage> languages = setupLanguages(manifest);
  std::size_t count = 0;
  const texts::TextEntry* entries = texts::catalog(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::string names;
    for (const SetupLanguage& language : languages) {
      if (!namesUs(language.texts.text(entries[i].id))) continue;
      names += (names.empty() ? "" : ", ") + language.name;
    }
    if (names.empty()) continue;
    std::string where = manifest.path.string();
    if (const int line = manifest.lineOf("texts"); line > 0) where += ":" + std::to_string(line);
    std::string hint = "give `" + std::string(entries[i].key) + "` in [texts]";
    if (entries[i].id == texts::FatalText) hint += " (or `download-url`, or company-url)";
    if (entries[i].id == texts::FatalCaption) hint += " (or `window-name`)";
    out.push_back(where + ": texts." + entries[i].key + ": still names Kestrane in " + names +
                  ": " + hint);
  }
  return out;
}

bool writeSetupStrings(std::vector<unsigned char>& image,
                       const std::vector<SetupLanguage>& languages, std::string& error) {
  std::vector<tools::PeResource> blocks;
  for (const SetupLanguage& language : languages) {
    for (const auto& [id, text] : setupStrings(language.texts)) {
      const auto blockId = std::uint16_t(id / kStringsPerBlock + 1);
      tools::PeResource* resource = nullptr;
      for (tools::PeResource& r : blocks) {
        if (r.id == blockId && r.language == language.id) resource = &r;
      }
      if (resource == nullptr) {
        // Every block starts as the stub's English one, so that what the stub
        // says besides the catalogue (the window class) is there in each language.
        std::vector<unsigned char> old;
        std::string missing;
        if (!platform::findProgramResource(image, blockId, old, missing, kStringType,
                                           platform::kEnglishLanguage) &&
            !platform::findProgramResource(image, blockId, old, missing, kStringType)) {
          old.clear();
        }
        blocks.push_back({kStringType, blockId, std::move(old), language.id});
        resource = &blocks.back();
      }
      Block block;
      if (!readBlock(resource->data, block)) {
        error = "the string table of the stub is damaged";
        return false;
      }
      block[std::size_t(id % kStringsPerBlock)] = wide(text);
      resource->data = writeBlock(block);
    }
  }
  return tools::writePeResources(image, blocks, error);
}

std::vector<std::uint16_t> stringLanguages(const std::vector<unsigned char>& image) {
  std::vector<std::uint16_t> out;
  for (std::uint32_t language : platform::programResourceLanguages(image, 1, kStringType)) {
    if (language == 0 || language > 0xFFFF) continue;
    if (language == platform::kEnglishLanguage) {
      out.insert(out.begin(), std::uint16_t(language));
    } else if (std::find(out.begin(), out.end(), language) == out.end()) {
      out.push_back(std::uint16_t(language));
    }
  }
  return out;
}

std::string languageNames(const std::vector<std::uint16_t>& languages) {
  std::string out;
  for (std::uint16_t id : languages) {
    const platform::LanguageInfo* info = platform::findLanguage(id);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X", unsigned(id));
    out += (out.empty() ? "" : ", ") + (id == platform::kEnglishLanguage ? std::string("English")
                                        : info != nullptr                ? std::string(info->name)
                                                          : "language " + std::string(hex));
  }
  return out;
}

int textsCommand(const std::string& manifestPath, const std::string& outDir) {
  Manifest manifest;
  try {
    manifest = loadManifest(manifestPath);
  } catch (const ManifestError& e) {
    std::cerr << "kpack: " << e.what() << "\n";
    return 1;
  }
  if (const std::string note = textsNote(manifest); !note.empty())
    std::cerr << "kpack: " << note << "\n";
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  std::string rc = "#pragma code_page(1252)\n", list, error;
  for (const SetupLanguage& language : setupLanguages(manifest)) {
    rc += "LANGUAGE " + std::to_string(platform::primaryLanguage(language.id)) + ", " +
          std::to_string(platform::subLanguage(language.id)) + "\nSTRINGTABLE\nBEGIN\n";
    for (const auto& [id, text] : setupStrings(language.texts)) {
      rc += "  " + std::to_string(id) + ", " + rcQuoted(text) + "\n";
      const std::string name =
          "string-" + std::to_string(id) + "-" + std::to_string(language.id) + ".txt";
      list += std::to_string(id) + " " + std::to_string(language.id) + " " + name + "\n";
      if (!tools::writeWholeFile(outDir + "/" + name,
                                 std::vector<unsigned char>(text.begin(), text.end()), error)) {
        std::cerr << "kpack: " << error << "\n";
        return 2;
      }
    }
    rc += "END\n";
  }
  // What the including script says after this is English again, as before it.
  rc += "LANGUAGE " + std::to_string(platform::primaryLanguage(platform::kEnglishLanguage)) + ", " +
        std::to_string(platform::subLanguage(platform::kEnglishLanguage)) + "\n";
  for (const auto& [file, text] : {std::pair<std::string, std::string>{"texts.rc", rc},
                                   std::pair<std::string, std::string>{"strings.txt", list}}) {
    if (!tools::writeWholeFile(outDir + "/" + file,
                               std::vector<unsigned char>(text.begin(), text.end()), error)) {
      std::cerr << "kpack: " << error << "\n";
      return 2;
    }
  }
  return 0;
}

}  // namespace kpack
