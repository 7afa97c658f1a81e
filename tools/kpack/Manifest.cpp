#include "kpack/Manifest.h"

#include <toml++/toml.h>

#include <algorithm>

#include "base/SortedStringSet.h"
#include "kpack/Cp1252.h"
#include "kpack/ManifestKeys.h"
#include "kpack/ManifestRules.h"
#include "package/InstallModel.h"
#include "package/PackageFormat.h"

namespace kpack {

const FlagName kFlagNames[9] = {
    {kItemCancelSystemCopy, "cancel-system-copy"},
    {kItemSystemCopy, "system-copy"},
    {kItemMenuShortcut, "menu-shortcut"},
    {kItemDesktopShortcut, "desktop-shortcut"},
    {kItemRunAfterSetup, "run-after-setup"},
    {kItemUninstaller, "uninstaller"},
    {kItemApplication, "application"},
    {kItemComServer, "com-server"},
    {kItemNoDde, "no-dde"},
};

namespace {

class Loader {
 public:
  explicit Loader(const std::filesystem::path& path) { manifest_.path = path; }
  Manifest load();

 private:
  [[noreturn]] void fail(const toml::node* at, const std::string& field,
                         const std::string& message) const;
  void note(const toml::node* at, const std::string& field) {
    if (at->source().begin.line > 0) manifest_.lines[field] = int(at->source().begin.line);
  }
  // Refuses a key that the section of manifestKeys() does not list.
  void checkKeys(const toml::table& table, const char* section, const std::string& where) const;
  const toml::table& section(const toml::table& root, const char* name, bool required);

  std::string text(const toml::table& t, const char* key, const std::string& field,
                   bool required = false);
  std::int64_t integer(const toml::table& t, const char* key, const std::string& field,
                       std::int64_t min, std::int64_t max, std::int64_t fallback);
  std::filesystem::path file(const toml::table& t, const char* key, const std::string& field);
  std::vector<std::string> extensions(const toml::table& t, const char* key,
                                      const std::string& field);
  std::uint32_t flags(const toml::table& t, const std::string& field);

  ManifestItem item(const toml::table& t, int index);
  ManifestFileType fileType(const toml::table& t, const std::string& field);

  // A text the pages draw, in skin font `font`.
  void shown(const toml::node* at, const std::string& field, int font);
  // Names every character of the text at `at` that Windows-1252 cannot hold.
  void unwritable(const toml::node* at, const std::string& field, const std::string& utf8);
  void unwritableInLicence();
  [[noreturn]] void failUnwritable() const;

  Manifest manifest_;
  toml::table empty_;
  std::vector<std::string> unwritable_;
};

SourceRange rangeOf(const toml::node* at) {
  const toml::source_region& r = at->source();
  return {int(r.begin.line), int(r.begin.column), int(r.end.line), int(r.end.column)};
}

bool writable(char32_t c) {
  std::string utf8, ansi;
  if (c < 0x80) return true;
  // One character as UTF-8, through the one converter.
  if (c < 0x800) {
    utf8 += char(0xC0 | (c >> 6));
    utf8 += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    utf8 += char(0xE0 | (c >> 12));
    utf8 += char(0x80 | ((c >> 6) & 0x3F));
    utf8 += char(0x80 | (c & 0x3F));
  } else {
    return false;
  }
  return utf8ToCp1252(utf8, ansi);
}

void Loader::shown(const toml::node* at, const std::string& field, int font) {
  if (at == nullptr || !at->is_string()) return;
  std::string ansi;
  utf8ToCp1252(at->as_string()->get(), ansi);
  manifest_.shownTexts.push_back({field, manifest_.path, rangeOf(at), font, ansi});
}

void Loader::unwritable(const toml::node* at, const std::string& field, const std::string& utf8) {
  const std::size_t before = unwritable_.size();
  const std::string file = manifest_.path.string();
  SourceText(manifest_.path).forEach(rangeOf(at), [&](char32_t c, int line, int column) {
    if (!writable(c)) {
      unwritable_.push_back(file + ":" + std::to_string(line) + ":" + std::to_string(column) +
                            ": " + field + ": " + describeCharacter(c) +
                            " cannot be written in Windows-1252");
    }
  });
  if (unwritable_.size() > before) return;
  // Written as an escape: named by the converter, where the text starts.
  std::string ansi, bad;
  utf8ToCp1252(utf8, ansi, &bad);
  unwritable_.push_back(file + ":" + std::to_string(at->source().begin.line) + ":" +
                        std::to_string(at->source().begin.column) + ": " + field + ": character " +
                        bad + " cannot be written in Windows-1252");
}

void Loader::unwritableInLicence() {
  const std::string file = manifest_.licence.string();
  SourceText(manifest_.licence).forEach({}, [&](char32_t c, int line, int column) {
    if (!writable(c)) {
      unwritable_.push_back(file + ":" + std::to_string(line) + ":" + std::to_string(column) +
                            ": licence text: " + describeCharacter(c) +
                            " cannot be written in Windows-1252");
    }
  });
}

void Loader::failUnwritable() const {
  std::string message;
  for (const std::string& line : unwritable_) message += line + "\nkpack: ";
  message +=
      "hint: the setup shows text in Windows-1252: ASCII and Western European letters and signs "
      "(\u00e9 \u00fc \u00df \u00e6 \u00f8 \u20ac \u00ab\u00bb \u2013 \u2019); write the others "
      "in those, for example \u0142 as l or \u2192 as ->";
  throw ManifestError(message);
}

void Loader::fail(const toml::node* at, const std::string& field,
                  const std::string& message) const {
  std::string where = manifest_.path.string();
  if (at != nullptr && at->source().begin.line > 0) {
    where += ":" + std::to_string(at->source().begin.line);
  }
  throw ManifestError(where + ": " + field + ": " + message);
}

void Loader::checkKeys(const toml::table& table, const char* section,
                       const std::string& where) const {
  for (const auto& [key, node] : table) {
    const std::string typed(key.str());
    if (manifestKeys().find(section, typed) != nullptr) continue;
    fail(&node, where.empty() ? typed : where + "." + typed,
         "unknown key" + manifestKeys().didYouMean(section, typed));
  }
}

const toml::table& Loader::section(const toml::table& root, const char* name, bool required) {
  const toml::node* node = root.get(name);
  if (node == nullptr) {
    if (required) fail(&root, name, "missing section [" + std::string(name) + "]");
    return empty_;
  }
  if (!node->is_table()) fail(node, name, "must be a table");
  return *node->as_table();
}

std::string Loader::text(const toml::table& t, const char* key, const std::string& field,
                         bool required) {
  const toml::node* node = t.get(key);
  if (node == nullptr) {
    if (required) fail(&t, field, "missing");
    return {};
  }
  if (!node->is_string()) fail(node, field, "must be a text");
  note(node, field);
  std::string ansi;
  if (!utf8ToCp1252(node->as_string()->get(), ansi)) {
    // Every such character is named at the end; the rest is checked meanwhile.
    unwritable(node, field, node->as_string()->get());
    ansi = "?";
  }
  if (ansi.size() > kMaxPackedText) {
    fail(node, field, "longer than 1024 bytes (" + std::to_string(ansi.size()) + ")");
  }
  if (ansi.find('\0') != std::string::npos) fail(node, field, "holds a NUL character");
  return ansi;
}

std::int64_t Loader::integer(const toml::table& t, const char* key, const std::string& field,
                             std::int64_t min, std::int64_t max, std::int64_t fallback) {
  const toml::node* node = t.get(key);
  if (node == nullptr) return fallback;
  if (!node->is_integer()) fail(node, field, "must be a whole number");
  note(node, field);
  const std::int64_t v = node->as_integer()->get();
  if (v < min || v > max) {
    fail(node, field, "must lie in " + std::to_string(min) + ".." + std::to_string(max));
  }
  return v;
}

std::filesystem::path Loader::file(const toml::table& t, const char* key,
                                   const std::string& field) {
  const toml::node* node = t.get(key);
  if (node == nullptr) fail(&t, field, "missing");
  if (!node->is_string()) fail(node, field, "must be a file name");
  note(node, field);
  std::filesystem::path path = node->as_string()->get();
  if (path.is_relative()) path = manifest_.path.parent_path() / path;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    fail(node, field, "no such file: " + path.string());
  }
  return path;
}

std::vector<std::string> Loader::extensions(const toml::table& t, const char* key,
                                            const std::string& field) {
  std::vector<std::string> out;
  const toml::node* node = t.get(key);
  if (node == nullptr) return out;
  if (!node->is_array()) fail(node, field, "must be a list of extensions");
  note(node, field);
  // The same set the setup reads them into, so "JPG" after ".jpg" is caught here.
  ExtensionSet seen;
  for (const toml::node& element : *node->as_array()) {
    std::string ansi;
    std::string bad;
    if (!element.is_string()) fail(&element, field, "must be a list of texts");
    if (!utf8ToCp1252(element.as_string()->get(), ansi, &bad)) {
      unwritable(&element, field, element.as_string()->get());
      ansi = "?" + std::to_string(out.size());  // kept apart from the other extensions
    }
    if (field.size() > 20 && field.compare(field.size() - 20, 20, ".optional-extensions") == 0) {
      shown(&element, field, 1);
    }
    if (ansi.size() > kMaxPackedText) fail(&element, field, "extension longer than 1024 bytes");
    if (!seen.addExtension(ansi.c_str())) {
      fail(&element, field, "extension \"" + ansi + "\" is empty or listed twice");
    }
    out.push_back(ansi);
  }
  return out;
}

std::uint32_t Loader::flags(const toml::table& t, const std::string& field) {
  const toml::node* node = t.get("flags");
  if (node == nullptr) return 0;
  note(node, field);
  auto raw = [&](const toml::node& n) {
    const std::int64_t v = n.as_integer()->get();
    if (v < 0 || v > 0xFFFFFFFFLL) fail(&n, field, "raw flags must fit 32 bits");
    return std::uint32_t(v);
  };
  if (node->is_integer()) return raw(*node);
  if (!node->is_array()) fail(node, field, "must be a list of flag names or a number");
  std::uint32_t bits = 0;
  for (const toml::node& element : *node->as_array()) {
    if (element.is_integer()) {
      bits |= raw(element);
      continue;
    }
    if (!element.is_string()) fail(&element, field, "must be a list of flag names");
    const std::string& name = element.as_string()->get();
    const auto* known = std::find_if(std::begin(kFlagNames), std::end(kFlagNames),
                                     [&](const FlagName& f) { return name == f.name; });
    if (known == std::end(kFlagNames)) fail(&element, field, "unknown flag \"" + name + "\"");
    bits |= known->bit;
  }
  return bits;
}

ManifestFileType Loader::fileType(const toml::table& t, const std::string& field) {
  checkKeys(t, "items.file-types", field);
  ManifestFileType type;
  type.line = int(t.source().begin.line);
  note(&t, field);
  type.progId = text(t, "prog-id", field + ".prog-id", true);
  type.description = text(t, "description", field + ".description");
  type.iconIndex =
      std::int32_t(integer(t, "icon-index", field + ".icon-index", INT32_MIN, INT32_MAX, 0));
  type.shellExKey = text(t, "shell-ex-key", field + ".shell-ex-key");
  const bool hasHandler = t.contains("handler-item");
  if (type.shellExKey.empty() && hasHandler) {
    fail(t.get("handler-item"), field + ".handler-item", "needs shell-ex-key");
  }
  if (!type.shellExKey.empty() && !hasHandler) {
    fail(&t, field + ".handler-item", "missing: shell-ex-key names a handler item");
  }
  type.handlerItem =
      std::int32_t(integer(t, "handler-item", field + ".handler-item", INT32_MIN, INT32_MAX, 0));
  type.fixedExtensions = extensions(t, "extensions", field + ".extensions");
  type.optionalExtensions = extensions(t, "optional-extensions", field + ".optional-extensions");
  return type;
}

ManifestItem Loader::item(const toml::table& t, int index) {
  const std::string field = "items[" + std::to_string(index) + "]";
  checkKeys(t, "items", field);
  ManifestItem item;
  item.line = int(t.source().begin.line);
  note(&t, field);
  item.source = file(t, "source", field + ".source");
  item.fileName = text(t, "name", field + ".name");
  if (!t.contains("name")) {
    std::string bad;
    if (!utf8ToCp1252(item.source.filename().string(), item.fileName, &bad)) {
      fail(t.get("source"), field + ".source", "file name not writable in Windows-1252");
    }
  }
  item.flags = flags(t, field + ".flags");

  // A field whose flag is off would silently vanish from the package; say so.
  auto needsFlag = [&](const char* key, std::uint32_t bit, const char* flag) {
    if (t.contains(key) && (item.flags & bit) == 0) {
      fail(t.get(key), field + "." + key, std::string("needs the flag \"") + flag + "\"");
    }
  };
  needsFlag("menu-shortcut", kItemMenuShortcut, "menu-shortcut");
  needsFlag("desktop-shortcut", kItemDesktopShortcut, "desktop-shortcut");
  needsFlag("icon-item", kItemUninstaller, "uninstaller");
  needsFlag("uninstall-comment", kItemUninstaller, "uninstaller");
  needsFlag("class-id", kItemComServer, "com-server");
  needsFlag("server-name", kItemComServer, "com-server");
  needsFlag("application-title", kItemApplication, "application");
  needsFlag("file-types", kItemApplication, "application");
  needsFlag("dde", kItemApplication, "application");

  item.menuShortcutName = text(t, "menu-shortcut", field + ".menu-shortcut");
  item.desktopShortcutName = text(t, "desktop-shortcut", field + ".desktop-shortcut");
  if (item.flags & kItemUninstaller) {
    if (!t.contains("icon-item"))
      fail(&t, field + ".icon-item", "missing: the uninstaller needs it");
    item.iconItem =
        std::int32_t(integer(t, "icon-item", field + ".icon-item", INT32_MIN, INT32_MAX, -1));
    item.uninstallComment = text(t, "uninstall-comment", field + ".uninstall-comment");
  }
  if (item.flags & kItemComServer) {
    item.classId = text(t, "class-id", field + ".class-id", true);
    item.serverName = text(t, "server-name", field + ".server-name", true);
  }
  if (item.flags & kItemApplication) {
    // Few programs written today answer DDE, and for one that does not the shell
    // reports every open as failed: DDE only for an application that says so.
    const toml::node* dde = t.get("dde");
    if (dde != nullptr && !dde->is_boolean()) fail(dde, field + ".dde", "must be true or false");
    if (dde != nullptr && dde->as_boolean()->get()) {
      item.flags &= ~kItemNoDde;
    } else {
      item.flags |= kItemNoDde;
    }
    item.applicationTitle = text(t, "application-title", field + ".application-title");
    if (const toml::node* types = t.get("file-types")) {
      if (!types->is_array_of_tables()) {
        fail(types, field + ".file-types", "must be [[items.file-types]] tables");
      }
      int n = 0;
      for (const toml::node& entry : *types->as_array()) {
        const std::string typeField = field + ".file-types[" + std::to_string(n++) + "]";
        ManifestFileType type = fileType(*entry.as_table(), typeField);
        for (const ManifestFileType& other : item.fileTypes) {
          if (other.progId == type.progId) {
            fail(&entry, typeField + ".prog-id", "\"" + type.progId + "\" is listed twice");
          }
        }
        item.fileTypes.push_back(std::move(type));
      }
    }
  }
  return item;
}

Manifest Loader::load() {
  toml::table root;
  try {
    root = toml::parse_file(manifest_.path.string());
  } catch (const toml::parse_error& e) {
    throw ManifestError(manifest_.path.string() + ":" + std::to_string(e.source().begin.line) +
                        ": " + std::string(e.description()));
  }
  checkKeys(root, "", "");

  const toml::table& product = section(root, "product", true);
  note(&product, "product");
  checkKeys(product, "product", "product");
  manifest_.displayName = text(product, "name", "product.name", true);
  shown(product.get("name"), "product.name", 1);
  manifest_.companyName = text(product, "company", "product.company");
  manifest_.companyUrl = text(product, "company-url", "product.company-url");
  manifest_.productUrl = text(product, "product-url", "product.product-url");
  manifest_.settingsKeyName = product.contains("settings-key")
                                  ? text(product, "settings-key", "product.settings-key")
                                  : manifest_.displayName;
  manifest_.installFolderName = text(product, "install-folder", "product.install-folder", true);
  shown(product.get("install-folder"), "product.install-folder", 1);
  manifest_.spareText = text(product, "spare-text", "product.spare-text");

  const toml::table& pictures = section(root, "pictures", true);
  checkKeys(pictures, "pictures", "pictures");
  manifest_.sidePicture = file(pictures, "side", "pictures.side");
  manifest_.logoPicture = file(pictures, "logo", "pictures.logo");
  if (pictures.contains("side-2x")) {
    manifest_.sidePicture2x = file(pictures, "side-2x", "pictures.side-2x");
  }
  if (pictures.contains("logo-2x")) {
    manifest_.logoPicture2x = file(pictures, "logo-2x", "pictures.logo-2x");
  }

  const toml::table& licence = section(root, "licence", true);
  checkKeys(licence, "licence", "licence");
  manifest_.licence = file(licence, "file", "licence.file");
  unwritableInLicence();
  manifest_.shownTexts.push_back({"licence text", manifest_.licence, {}, 2, ""});

  if (root.contains("texts")) {
    const toml::table& texts = section(root, "texts", false);
    note(&texts, "texts");
    checkKeys(texts, "texts", "texts");
    manifest_.hasTexts = true;
    manifest_.windowName = text(texts, "window-name", "texts.window-name");
    manifest_.headerTitle = text(texts, "header", "texts.header");
    manifest_.welcomeText = text(texts, "welcome", "texts.welcome");
    shown(texts.get("window-name"), "texts.window-name", 0);
    shown(texts.get("header"), "texts.header", 0);
    shown(texts.get("welcome"), "texts.welcome", 1);
  }

  if (const toml::node* items = root.get("items")) {
    if (!items->is_array_of_tables()) fail(items, "items", "must be [[items]] tables");
    int index = 0;
    for (const toml::node& entry : *items->as_array()) {
      manifest_.items.push_back(item(*entry.as_table(), index++));
    }
  }
  if (!unwritable_.empty()) failUnwritable();
  checkManifestRules(manifest_);
  return std::move(manifest_);
}

}  // namespace

int Manifest::lineOf(const std::string& field, const std::string& fallback) const {
  if (auto at = lines.find(field); at != lines.end()) return at->second;
  if (auto at = lines.find(fallback); at != lines.end()) return at->second;
  return 0;
}

std::string Manifest::complaint(const std::string& field, const std::string& fallback,
                                const std::string& message) const {
  std::string where = path.string();
  if (const int line = lineOf(field, fallback); line > 0) where += ":" + std::to_string(line);
  return where + ": " + field + ": " + message;
}

Manifest loadManifest(const std::filesystem::path& path) {
  return Loader(path).load();
}

}  // namespace kpack
