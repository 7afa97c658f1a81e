// The vendor's description of a package: a TOML manifest (docs/manifest.md).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "kpack/SourceText.h"

namespace kpack {

// A manifest the setup would reject, or a file that cannot be read. The message
// names the manifest file, the line and the field.
class ManifestError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Texts below are Windows-1252, converted from the manifest's UTF-8.
struct ManifestFileType {
  int line = 0;
  std::string progId;
  std::string description;
  std::int32_t iconIndex = 0;
  std::string shellExKey;
  std::int32_t handlerItem = 0;
  std::vector<std::string> fixedExtensions;
  std::vector<std::string> optionalExtensions;
};

struct ManifestItem {
  int line = 0;
  std::filesystem::path source;  // the file to install
  std::string fileName;
  std::uint32_t flags = 0;
  std::string menuShortcutName;
  std::string desktopShortcutName;
  std::int32_t iconItem = -1;
  std::string uninstallComment;
  std::string classId;
  std::string serverName;
  std::string applicationTitle;
  std::vector<ManifestFileType> fileTypes;
};

// A text the wizard's pages draw, where it stands (in the manifest, or the whole
// licence file) and the skin font it is drawn in.
struct ShownText {
  std::string field;
  std::filesystem::path file;
  SourceRange range;  // 0 lines: the whole file
  int font = 1;
  std::string text;  // Windows-1252, as the page gets it; empty for a file
};

// A language the setup speaks besides English, and what it says in it.
struct ManifestLanguage {
  std::string tag;   // as the language table spells it: "de", "pt-BR"
  std::uint16_t id;  // its Windows language id
  std::string name;  // its English name, for messages: "German"
  // kpack's translation, by text id (empty for a language of the vendor's own).
  std::map<int, std::string> shipped;
  // The vendor's [texts.TAG], by text id; they take the place of kpack's.
  std::map<int, std::string> own;
  // "texts.de": where the vendor's texts of it are.
  std::string field() const { return "texts." + tag; }
};

struct Manifest {
  std::filesystem::path path;
  std::string displayName;
  std::string companyName;
  std::string companyUrl;
  std::string productUrl;
  std::string settingsKeyName;
  std::string installFolderName;
  // The package's spare text: the uninstall entry's Contact, left out when empty.
  std::string spareText;
  // "MAJOR.MINOR[.PATCH[.BUILD]]" as written, checked; empty when not given.
  std::string version;
  std::filesystem::path sidePicture;
  std::filesystem::path logoPicture;
  // Larger originals of the two, for displays at 200 %; empty when not given.
  std::filesystem::path sidePicture2x;
  std::filesystem::path logoPicture2x;
  std::filesystem::path licence;
  std::vector<ManifestItem> items;
  // [texts]: what the pages and the window say in the vendor's words; empty
  // when not given, and then the setup says ours.
  bool hasTexts = false;
  std::string windowName;
  std::string headerTitle;
  std::string welcomeText;
  // Every English text [texts] gives, by text id (the three above among them).
  std::map<int, std::string> englishTexts;
  // [texts] download-url: where the damaged-file message sends the user (empty:
  // the company-url).
  std::string downloadUrl;
  // The languages besides English (`languages` and [texts.TAG]), in the order given.
  std::vector<ManifestLanguage> languages;
  // Every text the pages draw, for the check of what the skin can draw.
  std::vector<ShownText> shownTexts;
  // The line of every key and table given, by field name ("product.company",
  // "items[0].file-types[1]"), for messages about what the manifest says.
  std::map<std::string, int> lines;

  // The line of `field`, else of `fallback`, else 0 (unknown).
  int lineOf(const std::string& field, const std::string& fallback = "") const;
  // "FILE:LINE: field: message", the form of every complaint about the manifest.
  std::string complaint(const std::string& field, const std::string& fallback,
                        const std::string& message) const;
};

// The readable names of the item flag bits, lowest bit first.
struct FlagName {
  std::uint32_t bit;
  const char* name;
};
extern const FlagName kFlagNames[9];

// Parses a manifest and checks it against every rule the setup's package reader
// enforces (PackageRules.h), and against kpack's own rules for what the setup would
// accept but install only in part (ManifestRules.h). Paths in it are taken
// relative to the manifest's folder. Characters Windows-1252 cannot hold, in the
// manifest's texts and in the licence, are all named in one ManifestError, a
// line each (file, line, column, the character), with a hint at the end.
Manifest loadManifest(const std::filesystem::path& path);

}  // namespace kpack
