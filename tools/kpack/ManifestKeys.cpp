#include "kpack/ManifestKeys.h"

#include <deque>
#include <string>

#include "common/Cp1252.h"
#include "kpack/Manifest.h"
#include "texts/TextCatalog.h"

namespace kpack {

namespace {

std::vector<const char*> flagNames() {
  std::vector<const char*> names;
  for (const FlagName& flag : kFlagNames) names.push_back(flag.name);
  return names;
}

// The keys of [texts] beyond the three with their own description: every other
// text of the catalogue, described by our English wording of it.
void addCatalogueTexts(std::vector<tools::Key>& keys) {
  static std::deque<std::string> descriptions;
  std::size_t count = 0;
  const texts::TextEntry* entries = texts::catalog(count);
  for (std::size_t i = 0; i < count; ++i) {
    const texts::TextEntry& entry = entries[i];
    if (entry.id <= texts::WelcomeText) continue;
    std::string ours = tools::cp1252ToUtf8(entry.english);
    for (std::size_t at = 0; (at = ours.find('\n', at)) != std::string::npos;) {
      ours.replace(at, 1, "\\n");
    }
    descriptions.push_back("Ours: \"" + ours + "\"");
    keys.push_back({"texts", entry.key, tools::KeyType::Text, false, descriptions.back().c_str()});
  }
}

tools::KeyTable withCatalogueTexts(tools::KeyTable table) {
  addCatalogueTexts(table.keys);
  return table;
}

}  // namespace

const tools::KeyTable& manifestKeys() {
  using T = tools::KeyType;
  constexpr bool kRequired = true, kOptional = false;
  static const tools::KeyTable table = withCatalogueTexts(
      {{
           // section, key, type, required, what it is
           {"", "product", T::Table, kRequired, "The product: its name, publisher and folders"},
           {"", "pictures", T::Table, kRequired, "The two pictures of the wizard"},
           {"", "licence", T::Table, kRequired, "The licence the user accepts"},
           {"", "languages", T::Texts, kOptional,
            "The languages the setup speaks besides English, by tag (default: all ten kpack "
            "ships; [] for English alone)"},
           {"", "texts", T::Table, kOptional,
            "The window's name and the pages' words in yours; [texts.TAG] in a language"},
           {"", "items", T::Tables, kRequired, "The files to install, in install order"},

           {"product", "name", T::Text, kRequired,
            "The product name; names the Start-menu folder and the uninstall entry"},
           {"product", "company", T::Text, kRequired,
            "The publisher; the settings are saved below it (one registry key name)"},
           {"product", "company-url", T::Text, kOptional,
            "The publisher's web address (uninstall entry; needed with an uninstaller)"},
           {"product", "product-url", T::Text, kOptional,
            "The product's web address (uninstall entry; needed with an uninstaller)"},
           {"product", "settings-key", T::Text, kOptional,
            "Key name of the settings below the publisher's key (default: name)"},
           {"product", "install-folder", T::Text, kRequired,
            "The folder made below the location the user picks: one folder name"},
           {"product", "contact", T::Text, kOptional,
            "The uninstall entry's Contact, such as a support address (left out when not given)"},
           {"product", "version", T::Text, kOptional,
            "MAJOR.MINOR[.PATCH[.BUILD]], numbers of 0 to 65535: the uninstall entry's version, "
            "the setup's version resource, and what an upgrade compares"},
           {"product", "spare-text", T::Text, kOptional,
            "The same text of the package as contact, by its older name"},

           {"pictures", "side", T::File, kRequired,
            "JPEG, 164 x 314 pixels: the left-hand picture of the wizard"},
           {"pictures", "logo", T::File, kRequired,
            "JPEG, 49 x 49 pixels: the logo in the page header"},
           {"pictures", "side-2x", T::File, kOptional,
            "JPEG, twice the side picture's size: drawn on displays at more than 100 %"},
           {"pictures", "logo-2x", T::File, kOptional,
            "JPEG, twice the logo's size: drawn on displays at more than 100 %"},

           {"licence", "file", T::File, kRequired, "The licence as a UTF-8 text file"},

           {"texts", "window-name", T::Text, kOptional,
            "The window's name in the title bar and taskbar (default: Kestrane Setup)"},
           {"texts", "header", T::Text, kOptional,
            "The title above every page (default: Kestrane Corp Setup)"},
           {"texts", "welcome", T::Text, kOptional,
            "The first text of the Welcome page; \\n breaks a line"},
           {"texts", "download-url", T::Text, kOptional,
            "Where the message about a damaged setup file sends the user, in every language "
            "(default: company-url)"},

           {"items", "source", T::File, kRequired, "The file to install"},
           {"items", "name", T::Text, kOptional,
            "Its file name when installed (default: the source's name)"},
           {"items", "flags", T::Flags, kOptional,
            "Flag names (menu-shortcut, application, ...) or raw bits"},
           {"items", "menu-shortcut", T::Text, kOptional,
            "Start-menu link name (flag menu-shortcut; empty: the file name)"},
           {"items", "desktop-shortcut", T::Text, kOptional,
            "Desktop link name (flag desktop-shortcut; empty: the file name)"},
           {"items", "icon-item", T::Integer, kOptional,
            "The item whose file gives the uninstall entry's icon (flag uninstaller; needed)"},
           {"items", "uninstall-comment", T::Text, kOptional,
            "The uninstall entry's comment (flag uninstaller; needed)"},
           {"items", "class-id", T::Text, kOptional,
            "The COM server's class id as a braced GUID (flag com-server; needed)"},
           {"items", "server-name", T::Text, kOptional,
            "The COM server's display name (flag com-server; needed)"},
           {"items", "application-title", T::Text, kOptional,
            "The title the application registers under (flag application; needed)"},
           {"items", "dde", T::Boolean, kOptional,
            "true when the program answers DDE: its document types get ddeexec keys"},
           {"items", "file-types", T::Tables, kOptional,
            "The application's document types (flag application)"},

           {"items.file-types", "prog-id", T::Text, kRequired,
            "The registry class name, unique within the item; no backslash"},
           {"items.file-types", "description", T::Text, kRequired,
            "The type's name as the shell shows it"},
           {"items.file-types", "icon-index", T::Integer, kOptional,
            "The icon's number inside the application's file (default 0)"},
           {"items.file-types", "shell-ex-key", T::Text, kOptional,
            "A braced GUID naming a shell-extension handler slot of the type"},
           {"items.file-types", "handler-item", T::Integer, kOptional,
            "The com-server item that fills the slot (with shell-ex-key)"},
           {"items.file-types", "extensions", T::Texts, kOptional,
            "Extensions always associated with the type"},
           {"items.file-types", "optional-extensions", T::Texts, kOptional,
            "Extensions offered as check boxes (one file type of the package at most)"},
       },
       flagNames()});
  return table;
}

tools::JsonReport manifestSchema() {
  tools::JsonReport schema = tools::jsonSchemaOf(
      manifestKeys(), "", "Kestrane Setup package manifest",
      "What kpack builds a package from; docs/manifest.md describes every key. Made by "
      "`kpack schema`.");
  // [texts.TAG]: the same texts in the language TAG names.
  tools::JsonReport& texts = schema["properties"]["texts"];
  tools::JsonReport language = tools::JsonReport::object();
  language["description"] = "The texts in one language (\"de\", \"pt-BR\"): any of [texts]";
  language["type"] = "object";
  language["properties"] = texts["properties"];
  language["additionalProperties"] = false;
  texts["patternProperties"]["^[A-Za-z]{2,3}(-[A-Za-z0-9]{2,8})?$"] = std::move(language);
  return schema;
}

}  // namespace kpack
