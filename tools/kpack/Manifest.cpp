#include "kpack/Manifest.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cctype>

#include "base/SortedStringSet.h"
#include "common/ClosestName.h"
#include "common/Cp1252.h"
#include "kpack/ManifestKeys.h"
#include "kpack/ManifestRules.h"
#include "kpack/ShippedLanguages.h"
#include "package/InstallModel.h"
#include "package/PackageFormat.h"
#include "package/ProductVersion.h"
#include "platform/Languages.h"
#include "texts/FormatCheck.h"
#include "texts/TextCatalog.h"

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

  // The texts of [texts] (`language` empty) or of [texts.TAG], by text id.
  std::map<int, std::string> texts(const toml::table& t, const std::string& field,
                                   const std::string& language);
  // The language a tag at `at` names, refusing one the setup cannot speak.
  const platform::LanguageInfo& language(const toml::node* at, const std::string& field,
                                         const std::string& tag);
  // `languages` and [texts.TAG], into manifest_.languages.
  void languages(const toml::table& root, const toml::table& texts);

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
  if (c < 0x80) return true;
  // One character as UTF-8, through the one converter.
  std::string utf8, ansi;
  tools::appendUtf8(utf8, c);
  return tools::utf8ToCp1252(utf8, ansi);
}

void Loader::shown(const toml::node* at, const std::string& field, int font) {
  if (at == nullptr || !at->is_string()) return;
  std::string ansi;
  tools::utf8ToCp1252(at->as_string()->get(), ansi);
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
  tools::utf8ToCp1252(utf8, ansi, &bad);
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
  if (!tools::utf8ToCp1252(node->as_string()->get(), ansi)) {
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
    if (!tools::utf8ToCp1252(element.as_string()->get(), ansi, &bad)) {
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

// "%s, %s" for the conversion letters "ss"; "none" for none.
std::string conversionList(const std::string& letters) {
  if (letters.empty()) return "none";
  std::string out;
  for (char c : letters) out += std::string(out.empty() ? "" : ", ") + "%" + c;
  return out;
}

// The skin font a page draws the text of `id` in; -1 for a text no page draws
// (the message boxes, the uninstaller).
int fontOfText(int id) {
  if (id == texts::WindowName || id == texts::HeaderTitle) return 0;
  if (id >= texts::Back && id <= texts::Finish) return 0;
  return id < texts::Back ? 1 : -1;
}

std::map<int, std::string> Loader::texts(const toml::table& t, const std::string& field,
                                         const std::string& language) {
  std::map<int, std::string> out;
  for (const auto& [key, node] : t) {
    const std::string name(key.str());
    // [texts.TAG] under [texts]: read by languages().
    if (language.empty() && node.is_table()) continue;
    const std::string where = field + "." + name;
    // Not a text of the catalogue: it goes into every language's damaged-file message.
    if (language.empty() && name == "download-url") {
      manifest_.downloadUrl = text(t, name.c_str(), where);
      if (manifest_.downloadUrl.empty()) fail(&node, where, "empty: leave the key out");
      continue;
    }
    const texts::TextEntry* entry = texts::findText(name.c_str());
    if (entry == nullptr || manifestKeys().find("texts", name) == nullptr) {
      fail(&node, where, "unknown key" + manifestKeys().didYouMean("texts", name));
    }
    const std::size_t unwritableBefore = unwritable_.size();
    std::string ansi = text(t, name.c_str(), where);
    // Its characters are named at the end, with the others.
    if (unwritable_.size() > unwritableBefore) continue;
    if (ansi.empty()) fail(&node, where, "empty: leave the key out to keep ours");
    if (!texts::sameConversions(ansi.c_str(), entry->english)) {
      std::string expected, found;
      texts::conversionsOf(entry->english, expected);
      const bool plain = texts::conversionsOf(ansi.c_str(), found);
      fail(&node, where,
           (language.empty() ? std::string("the text") : "the " + language + " text") +
               " must have the conversions of ours, in the same order: " +
               conversionList(expected) + "; it has " +
               (plain ? conversionList(found)
                      : "a % that is none of %s, %d, %u and %% (write %% for a percent sign)"));
    }
    if (const int font = fontOfText(entry->id); font >= 0) shown(&node, where, font);
    out[int(entry->id)] = ansi;
  }
  return out;
}

const platform::LanguageInfo& Loader::language(const toml::node* at, const std::string& field,
                                               const std::string& tag) {
  const platform::LanguageInfo* info = platform::findLanguage(tag.c_str());
  if (info == nullptr) {
    std::size_t count = 0;
    const platform::LanguageInfo* all = platform::languages(count);
    std::vector<const char*> tags;
    for (std::size_t i = 0; i < count; ++i) tags.push_back(all[i].tag);
    std::string meant = tools::closestName(tag, tags);
    // A language named in English ("german") means its tag; the first of a name
    // is the language alone ("portuguese": "pt" before "pt-PT").
    std::string lower(tag);
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    for (std::size_t i = count; i-- > 0;) {
      std::string name(all[i].name);
      for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
      if (name == lower || name.rfind(lower + " (", 0) == 0) meant = all[i].tag;
    }
    fail(at, field,
         "\"" + tag + "\" is not a language tag kpack knows" +
             (meant.empty() ? std::string(" (tags such as \"de\", \"de-AT\", \"pt-BR\")")
                            : "; did you mean \"" + meant + "\"?"));
  }
  if (info->id == platform::kEnglishLanguage) {
    fail(at, field, "English is the language of [texts] itself");
  }
  if (!info->westernLetters) {
    fail(at, field,
         std::string(info->name) +
             " cannot be added yet: the setup draws its text in Windows-1252, which lacks " +
             "letters " + info->name + " needs");
  }
  return *info;
}

void Loader::languages(const toml::table& root, const toml::table& ownTexts) {
  std::vector<const platform::LanguageInfo*> chosen;
  const auto add = [&](const toml::node* at, const std::string& field,
                       const platform::LanguageInfo& info) {
    for (const platform::LanguageInfo* other : chosen) {
      if (other->id == info.id) fail(at, field, std::string(info.name) + " is listed twice");
    }
    chosen.push_back(&info);
  };
  const toml::node* list = root.get("languages");
  if (list == nullptr) {
    std::size_t count = 0;
    const ShippedLanguage* shipped = shippedLanguages(count);
    for (std::size_t i = 0; i < count; ++i) {
      if (const platform::LanguageInfo* info = platform::findLanguage(shipped[i].tag)) {
        chosen.push_back(info);
      }
    }
  } else {
    if (!list->is_array()) fail(list, "languages", "must be a list of language tags");
    note(list, "languages");
    for (const toml::node& element : *list->as_array()) {
      if (!element.is_string()) fail(&element, "languages", "must be a list of language tags");
      const std::string tag = element.as_string()->get();
      const platform::LanguageInfo& info = language(&element, "languages", tag);
      if (findShippedLanguage(info.id) == nullptr && !ownTexts.contains(tag)) {
        fail(&element, "languages",
             "kpack has no " + std::string(info.name) + " translation: give its texts in [texts." +
                 tag + "]");
      }
      add(&element, "languages", info);
    }
  }
  std::map<std::uint16_t, const toml::table*> own;
  for (const auto& [key, node] : ownTexts) {
    if (!node.is_table()) continue;
    const std::string tag(key.str());
    const std::string field = "texts." + tag;
    note(&node, field);
    const platform::LanguageInfo& info = language(&node, field, tag);
    const bool listed = std::find(chosen.begin(), chosen.end(), &info) != chosen.end();
    if (!listed && findShippedLanguage(info.id) != nullptr) {
      fail(&node, field,
           std::string(info.name) + " is not among `languages`: add \"" + tag +
               "\" to the list, or leave [" + field + "] out");
    }
    if (own.count(info.id) != 0) fail(&node, field, std::string(info.name) + " is given twice");
    if (!listed) add(&node, field, info);
    own[info.id] = node.as_table();
  }
  for (const platform::LanguageInfo* info : chosen) {
    ManifestLanguage language{info->tag, info->id, info->name, {}, {}};
    if (const ShippedLanguage* shipped = findShippedLanguage(info->id)) {
      language.shipped = shippedTexts(*shipped);
    }
    if (const auto at = own.find(info->id); at != own.end()) {
      language.own = texts(*at->second, language.field(), info->name);
    }
    manifest_.languages.push_back(std::move(language));
  }
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
    if (!tools::utf8ToCp1252(item.source.filename().string(), item.fileName, &bad)) {
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

// What a TOML syntax error most likely means, in the manifest writer's words; empty
// when the parser's own text is the best we have.
std::string syntaxHint(const std::string& description) {
  const struct {
    const char* said;  // a part of the parser's text
    const char* hint;
  } hints[] = {
      {"control characters", "a quote is not closed on this line"},
      {"could not determine value type", "a text needs quotes around it (name = \"Demo\")"},
      {"expected a comment or whitespace",
       "something follows the value on this line; one key = value a line, # starts a comment"},
      {"table header", "a section name is not closed with ]"},
      {"expected value", "the key has no value after ="},
      {"cannot redefine", "a key or section is given twice"},
      {"expected bare key", "a key name has a character keys cannot hold, or a line holds no key"},
      {"expected '='", "a key has no = after it"},
  };
  for (const auto& h : hints) {
    if (description.find(h.said) != std::string::npos) return h.hint;
  }
  return {};
}

Manifest Loader::load() {
  toml::table root;
  try {
    root = toml::parse_file(manifest_.path.string());
  } catch (const toml::parse_error& e) {
    const std::string description(e.description());
    const std::string hint = syntaxHint(description);
    throw ManifestError(manifest_.path.string() + ":" + std::to_string(e.source().begin.line) +
                        ": " + (hint.empty() ? description : hint + " (" + description + ")"));
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
  // The uninstall entry's Contact travels in the package's spare text.
  const std::string contact = text(product, "contact", "product.contact");
  manifest_.spareText = text(product, "spare-text", "product.spare-text");
  if (product.contains("contact") && product.contains("spare-text")) {
    fail(product.get("contact"), "product.contact",
         "give contact or spare-text, not both: they are the same text of the package");
  }
  if (product.contains("contact")) manifest_.spareText = contact;
  manifest_.version = text(product, "version", "product.version");
  ProductVersion version;
  if (product.contains("version") && !parseProductVersion(manifest_.version.c_str(), version)) {
    fail(product.get("version"), "product.version",
         "\"" + manifest_.version +
             "\" is not a version: write MAJOR.MINOR[.PATCH[.BUILD]], numbers of 0 to 65535, "
             "for example \"2.1.0\"");
  }

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

  const toml::table& ownTexts = section(root, "texts", false);
  if (root.contains("texts")) {
    note(&ownTexts, "texts");
    manifest_.hasTexts = true;
    manifest_.englishTexts = texts(ownTexts, "texts", "");
    const auto given = [&](int id) {
      const auto at = manifest_.englishTexts.find(id);
      return at == manifest_.englishTexts.end() ? std::string() : at->second;
    };
    manifest_.windowName = given(texts::WindowName);
    manifest_.headerTitle = given(texts::HeaderTitle);
    manifest_.welcomeText = given(texts::WelcomeText);
  }
  languages(root, ownTexts);

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
