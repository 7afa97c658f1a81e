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

  Manifest manifest_;
  toml::table empty_;
};

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
  std::string bad;
  if (!utf8ToCp1252(node->as_string()->get(), ansi, &bad)) {
    fail(node, field, "character " + bad + " cannot be written in Windows-1252");
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
      fail(&element, field, "character " + bad + " cannot be written in Windows-1252");
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
  manifest_.companyName = text(product, "company", "product.company");
  manifest_.companyUrl = text(product, "company-url", "product.company-url");
  manifest_.productUrl = text(product, "product-url", "product.product-url");
  manifest_.settingsKeyName = product.contains("settings-key")
                                  ? text(product, "settings-key", "product.settings-key")
                                  : manifest_.displayName;
  manifest_.installFolderName = text(product, "install-folder", "product.install-folder", true);
  manifest_.spareText = text(product, "spare-text", "product.spare-text");

  const toml::table& pictures = section(root, "pictures", true);
  checkKeys(pictures, "pictures", "pictures");
  manifest_.sidePicture = file(pictures, "side", "pictures.side");
  manifest_.logoPicture = file(pictures, "logo", "pictures.logo");

  const toml::table& licence = section(root, "licence", true);
  checkKeys(licence, "licence", "licence");
  manifest_.licence = file(licence, "file", "licence.file");

  if (const toml::node* items = root.get("items")) {
    if (!items->is_array_of_tables()) fail(items, "items", "must be [[items]] tables");
    int index = 0;
    for (const toml::node& entry : *items->as_array()) {
      manifest_.items.push_back(item(*entry.as_table(), index++));
    }
  }
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
