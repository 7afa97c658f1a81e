// What ties the builder to the setup: for manifests made up from a fixed seed,
// either `kpack build` refuses the manifest, or `kpack install` of its package
// writes every file, link, key and value the manifest asks for.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/RegFile.h"
#include "platform/RegistryTree.h"
#include "platform/WinDefs.h"
#include "support/EncodeJpeg.h"
#include "support/RunProcess.h"

namespace fs = std::filesystem;

namespace {

constexpr int kManifests = 48;
constexpr unsigned kSeed = 20261207;

// A text key of the manifest: left out, or given with this text.
struct Key {
  bool given = false;
  std::string text;
};

struct PlannedType {
  std::string progId;
  Key description;
  std::vector<std::string> fixed, optional;
};

struct PlannedItem {
  std::string source;
  Key name;
  std::vector<std::string> flags;
  std::string menuShortcut, desktopShortcut, classId;
  Key title, comment;
  std::vector<PlannedType> types;

  bool has(const char* flag) const {
    for (const std::string& f : flags) {
      if (f == flag) return true;
    }
    return false;
  }
  // The file as installed: the last part of its name.
  std::string installedName() const {
    const std::string& n = name.given ? name.text : source;
    return n.substr(n.find_last_of('\\') + 1);
  }
};

struct Plan {
  std::string name, installFolder;
  Key company, companyUrl, productUrl, settingsKey;
  std::vector<PlannedItem> items;
};

class Dice {
 public:
  explicit Dice(unsigned seed) : rng_(seed) {}
  int below(int n) { return int(rng_() % unsigned(n)); }
  bool oneIn(int n) { return below(n) == 0; }
  // Whether to spoil the next field: never in a clean manifest, else one in
  // `faultsOneIn`.
  bool fault() { return faultsOneIn_ > 0 && oneIn(faultsOneIn_); }
  void setFaults(int oneInN) { faultsOneIn_ = oneInN; }
  // `usual`, or when spoilt empty or left out.
  Key key(const std::string& usual) {
    if (!fault()) return Key{true, usual};
    return oneIn(2) ? Key{true, ""} : Key{false, ""};
  }
  template <typename T>
  const T& pick(const std::vector<T>& from) {
    return from[std::size_t(below(int(from.size())))];
  }

 private:
  std::mt19937 rng_;
  int faultsOneIn_ = 0;
};

Plan makePlan(Dice& dice) {
  Plan plan;
  // Half the manifests are meant to build; the others have a few fields spoilt.
  dice.setFaults(dice.oneIn(2) ? 0 : 5);
  plan.name = dice.fault()
                  ? dice.pick(std::vector<std::string>{"Kestrane\\Demo", "", "Demo: Two", "Demo.",
                                                       "Demo ", "Demo\\", "Demo?", "Demo\x01"})
                  : "Demo Product";
  plan.installFolder = dice.fault() ? "Vendor\\App" : "Demo Product";
  plan.company = dice.key("Kestrane");
  plan.companyUrl = dice.key("https://example.com");
  plan.productUrl = dice.key("https://example.com/demo");
  plan.settingsKey = dice.oneIn(2) ? Key{} : dice.key("Demo Settings");
  const int count = 1 + dice.below(4);
  for (int i = 0; i < count; ++i) {
    PlannedItem item;
    const std::string n = std::to_string(i);
    switch (dice.below(5)) {
      case 0:
      case 1:
        item.source = "App" + n + ".exe";
        item.flags = {"application", "run-after-setup"};
        if (dice.oneIn(2)) item.flags.push_back("menu-shortcut");
        if (dice.oneIn(2)) item.flags.push_back("desktop-shortcut");
        item.title = dice.key("Demo App " + n);
        for (int k = 0, types = 1 + dice.below(3); k < types; ++k) {
          const std::string tag = n + std::to_string(k);
          PlannedType type;
          type.progId = "Gen" + n + ".Type" + std::to_string(k);
          type.description = dice.key("Generated type " + tag);
          type.fixed = {"gf" + tag};
          if (dice.oneIn(3)) type.optional = {"oa" + tag, "ob" + tag};
          item.types.push_back(type);
        }
        break;
      case 2:
        item.source = "Help" + n + ".chm";
        item.flags = {"menu-shortcut"};
        item.menuShortcut = dice.oneIn(2) ? "" : "Help " + n;
        if (dice.oneIn(2)) {
          item.flags.push_back("desktop-shortcut");
          item.desktopShortcut = "Read me " + n;
        }
        break;
      case 3:
        item.source = "Uninstall" + n + ".exe";
        item.flags = {"uninstaller"};
        item.comment = dice.key("Removes the demo");
        break;
      default:
        item.source = "Server" + n + ".dll";
        item.flags = {"com-server"};
        item.classId = "{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B2" + n + "}";
        break;
    }
    if (i > 0 && dice.fault()) {
      item.name = Key{true, "sub\\" + plan.items[0].installedName()};
    }
    plan.items.push_back(item);
  }
  return plan;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string quotedList(const std::vector<std::string>& texts) {
  std::string out = "[";
  for (std::size_t i = 0; i < texts.size(); ++i) out += (i ? ", " : "") + quoted(texts[i]);
  return out + "]";
}

void writeKey(std::string& out, const char* name, const Key& key) {
  if (key.given) out += std::string(name) + " = " + quoted(key.text) + "\n";
}

std::string manifestText(const Plan& plan) {
  std::string out = "[product]\nname = " + quoted(plan.name) + "\n";
  writeKey(out, "company", plan.company);
  writeKey(out, "company-url", plan.companyUrl);
  writeKey(out, "product-url", plan.productUrl);
  writeKey(out, "settings-key", plan.settingsKey);
  out += "install-folder = " + quoted(plan.installFolder) + "\n";
  out +=
      "[pictures]\nside = \"side.jpg\"\nlogo = \"logo.jpg\"\n[licence]\nfile = \"LICENCE.txt\"\n";
  for (const PlannedItem& item : plan.items) {
    out += "[[items]]\nsource = " + quoted(item.source) + "\n";
    writeKey(out, "name", item.name);
    out += "flags = " + quotedList(item.flags) + "\n";
    if (item.has("menu-shortcut") && !item.has("application")) {
      out += "menu-shortcut = " + quoted(item.menuShortcut) + "\n";
    }
    if (item.has("desktop-shortcut") && !item.has("application")) {
      out += "desktop-shortcut = " + quoted(item.desktopShortcut) + "\n";
    }
    if (item.has("uninstaller")) {
      out += "icon-item = 0\n";
      writeKey(out, "uninstall-comment", item.comment);
    }
    if (item.has("com-server")) {
      out += "class-id = " + quoted(item.classId) + "\nserver-name = \"Generated server\"\n";
    }
    writeKey(out, "application-title", item.title);
    for (const PlannedType& type : item.types) {
      out += "  [[items.file-types]]\n  prog-id = " + quoted(type.progId) + "\n";
      writeKey(out, "  description", type.description);
      out += "  extensions = " + quotedList(type.fixed) + "\n";
      if (!type.optional.empty()) {
        out += "  optional-extensions = " + quotedList(type.optional) + "\n";
      }
    }
  }
  return out;
}

// The link file's name for a title: its text before the last dot, then ".lnk".
std::string linkName(const std::string& title) {
  const std::size_t dot = title.find_last_of('.');
  return (dot == std::string::npos ? title : title.substr(0, dot)) + ".lnk";
}

// The installed machine's registry, read back from registry.reg.
class Registry {
 public:
  explicit Registry(const fs::path& prefix) {
    std::ifstream in(prefix / "registry.reg", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    read_ = regfile::importRegistry(bytes, top_);
  }
  bool read() const { return read_; }

  // A REG_SZ's text without its terminator; "<missing>" or "<type N>" otherwise.
  std::string text(const std::string& key, const std::string& value) const {
    const regtree::Value* v = find(key, value);
    if (v == nullptr) return "<missing>";
    if (v->type != REG_SZ) return "<type " + std::to_string(v->type) + ">";
    std::string data = v->data;
    if (!data.empty() && data.back() == '\0') data.pop_back();
    return data;
  }

 private:
  const regtree::Value* find(const std::string& key, const std::string& value) const {
    std::vector<std::string> parts;
    if (!regtree::splitKeyPath(key, parts)) return nullptr;
    std::shared_ptr<regtree::Key> at;
    const regtree::Key* k = &top_;
    for (const std::string& part : parts) {
      at = k->subkey(part);
      if (at == nullptr) return nullptr;
      k = at.get();
    }
    return k->value(value);
  }

  regtree::Key top_{""};
  bool read_ = false;
};

// Everything the manifest asks for that the install left out, one line each.
std::string whatIsMissing(const Plan& plan, const fs::path& prefix) {
  std::string missing;
  auto expect = [&](bool ok, const std::string& what) {
    if (!ok) missing += "  " + what + "\n";
  };
  auto expectText = [&](const std::string& got, const std::string& want, const std::string& what) {
    if (got != want) missing += "  " + what + ": \"" + got + "\", not \"" + want + "\"\n";
  };
  const fs::path drive = prefix / "drive_c";
  fs::path folder = drive / "Program Files";
  folder /= plan.installFolder;  // one level: kpack refuses a subfolder part
  const fs::path menu = drive / "ProgramData/Microsoft/Windows/Start Menu/Programs" / plan.name;
  const fs::path desktop = drive / "Users/Public/Desktop";
  const Registry reg(prefix);
  expect(reg.read(), "registry.reg reads");
  const std::string classes = "HKEY_LOCAL_MACHINE\\Software\\Classes\\";
  const std::string company = plan.company.text;
  const std::string settings = plan.settingsKey.given ? plan.settingsKey.text : plan.name;

  // The first type with optional extensions is offered, and kpack install checks
  // every box. (Types are planned in ProgID order.)
  const PlannedType* offered = nullptr;
  for (const PlannedItem& item : plan.items) {
    for (const PlannedType& type : item.types) {
      if (offered == nullptr && !type.optional.empty()) offered = &type;
    }
  }
  for (const PlannedItem& item : plan.items) {
    const std::string file = item.installedName();
    expect(fs::is_regular_file(folder / file), "file " + file);
    if (item.has("menu-shortcut")) {
      const std::string title = item.menuShortcut.empty() ? file : item.menuShortcut;
      expect(fs::is_regular_file(menu / linkName(title)), "menu link for " + file);
    }
    if (item.has("desktop-shortcut")) {
      const std::string title = item.desktopShortcut.empty() ? file : item.desktopShortcut;
      expect(fs::is_regular_file(desktop / linkName(title)), "desktop link for " + file);
    }
    if (item.has("uninstaller")) {
      const std::string entry =
          "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
          plan.name.substr(plan.name.find_last_of('\\') + 1);
      expectText(reg.text(entry, "DisplayName"), plan.name, "uninstall entry");
      expectText(reg.text(entry, "Comments"), item.comment.text, "uninstall comment");
      expectText(reg.text(entry, "URLUpdateInfo"), plan.productUrl.text, "uninstall address");
    }
    if (item.has("com-server")) {
      expectText(reg.text(classes + "CLSID\\" + item.classId, ""), "Generated server",
                 "class of " + file);
    }
    if (item.has("application")) {
      expectText(reg.text(classes + "Applications\\" + file, ""), item.title.text,
                 "application entry of " + file);
    }
    for (const PlannedType& type : item.types) {
      expectText(reg.text(classes + type.progId, ""), type.description.text, type.progId);
      std::vector<std::string> owned = type.fixed;
      if (&type == offered) owned.insert(owned.end(), type.optional.begin(), type.optional.end());
      for (const std::string& ext : owned) {
        expectText(reg.text(classes + "." + ext, ""), type.progId, "owner of ." + ext);
      }
    }
  }
  expectText(reg.text("HKEY_LOCAL_MACHINE\\Software\\" + company + "\\" + settings + "\\Install",
                      "ParentFolder"),
             "C:\\Program Files", "settings");
  return missing;
}

}  // namespace

TEST(KpackProperty, WhatBuildsInstallsWhole) {
  const fs::path dir = fs::path(KESTRANE_TEST_BINARY_DIR) / "kpack-property";
  fs::remove_all(dir);
  fs::create_directories(dir);
  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
  };
  for (const auto& [name, jpeg] :
       {std::pair{"side.jpg", testdata::EncodeSolidJpeg(164, 314, 0x20, 0x40, 0x80)},
        std::pair{"logo.jpg", testdata::EncodeSolidJpeg(49, 49, 0xC0, 0x80, 0x20)}}) {
    write(name, std::string(jpeg.begin(), jpeg.end()));
  }
  write("LICENCE.txt", "Licence\n");
  for (int i = 0; i < 4; ++i) {
    for (const char* kind : {"App%d.exe", "Help%d.chm", "Uninstall%d.exe", "Server%d.dll"}) {
      char name[32];
      std::snprintf(name, sizeof name, kind, i);
      write(name, std::string(500, 'x') + name);
    }
  }

  Dice dice(kSeed);
  int built = 0, refused = 0;
  for (int n = 0; n < kManifests; ++n) {
    const Plan plan = makePlan(dice);
    const std::string text = manifestText(plan);
    const fs::path manifest = dir / ("m" + std::to_string(n) + ".toml");
    const fs::path package = dir / ("m" + std::to_string(n) + ".bin");
    write(manifest.filename().string(), text);
    std::string out;
    const int status = runBounded(std::string(KPACK_PATH) + " build '" + manifest.string() +
                                      "' -o '" + package.string() + "'",
                                  out);
    if (status == 1) {
      ++refused;
      // Refused the way every refusal is worded: file, line, field.
      EXPECT_EQ(out.rfind("kpack: " + manifest.string() + ":", 0), 0u) << out;
      continue;
    }
    ASSERT_EQ(status, 0) << out << text;
    ++built;
    const fs::path prefix = dir / ("prefix" + std::to_string(n));
    const int installed = runBounded(std::string(KPACK_PATH) + " install '" + package.string() +
                                         "' --prefix '" + prefix.string() + "'",
                                     out);
    EXPECT_EQ(installed, 0) << out << text;
    const std::string missing = whatIsMissing(plan, prefix);
    EXPECT_EQ(missing, "") << "manifest " << manifest << ":\n" << text;
    if (missing.empty() && installed == 0) fs::remove_all(prefix);
  }
  // Both answers must come up often enough for the property to say something.
  EXPECT_GE(built, kManifests / 6);
  EXPECT_GE(refused, kManifests / 6);
}
