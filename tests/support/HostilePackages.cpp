#include "support/HostilePackages.h"

#include "package/PackageBytes.h"

namespace {

struct Fields {
  std::string displayName = "Hostile Product";
  std::string company = "Hostile Vendor";
  std::string settingsKey = "Hostile";
  std::string installFolder = "Hostile Product";
  std::string appFile = "Hostile.exe";
  std::string serverFile = "HostileShell.dll";
  std::string helperFile = "hostilehelper.dll";
  std::string menuShortcut = "Hostile";
  std::string desktopShortcut = "";
  std::string applicationTitle = "Hostile";
  std::string progId = "Hostile.Doc";
  std::string fixedExtension = "hst";
  std::string optionalExtension = "hso";
  std::string serverName = "Hostile Shell";
};

std::vector<unsigned char> build(const Fields& f) {
  PackageBytes p;
  PackageBytes::Texts texts;
  texts.displayName = f.displayName;
  texts.company = f.company;
  texts.moreUrl = "https://example.com/hostile";
  texts.settingsKey = f.settingsKey;
  texts.installFolder = f.installFolder;
  texts.licence = {0};
  p.header(texts);
  p.u32(4);
  p.item(f.appFile, 0x04 | 0x08 | 0x40, "MZ hostile")
      .text(f.menuShortcut)
      .text(f.desktopShortcut)
      .text(f.applicationTitle);
  p.u32(1)
      .text(f.progId)
      .text("Hostile document")
      .u32(1)
      .text("{BB2E617C-0920-11D1-9A0B-00C04FC2D6C1}");
  p.u32(1).list({f.fixedExtension}).list({f.optionalExtension});
  p.item(f.serverFile, 0x04 | 0x80, "shell")
      .text(f.menuShortcut + "2")
      .text("{7D5E4C32-9A8F-416D-C3E4-F50617283940}")
      .text(f.serverName);
  p.item("Uninstall.exe", 0x20, "uninstall").u32(0).text("Removes it");
  p.item(f.helperFile, 0x02, "helper");
  return p.bytes;
}

const std::vector<std::string>& hostileTexts() {
  static const std::vector<std::string> texts = {
      "",
      ".",
      "..",
      "..\\..\\..\\..\\Windows\\System32\\evil",
      "../../../../Windows/System32/evil",
      "a\\..\\..\\..\\b",
      "\\",
      "/",
      "\\evil",
      "C:\\Windows\\System32\\evil",
      "C:evil",
      "D:\\evil",
      "\\\\server\\share\\evil",
      "evil\\",
      "x\\..\\..",
      // Keys of another program installed before.
      "oth\\OpenWithProgids",
      "Other.Doc\\shell\\open\\command",
      std::string(1024, 'A'),
      [] {
        std::string s;
        while (s.size() + 3 <= 1024) s += "..\\";
        return s + std::string(1024 - s.size(), '.');
      }(),
  };
  return texts;
}

}  // namespace

std::vector<HostilePackage> hostilePackages() {
  struct Field {
    const char* name;
    std::string Fields::*text;
  };
  static const Field kFields[] = {
      {"displayName", &Fields::displayName},
      {"companyName", &Fields::company},
      {"settingsKeyName", &Fields::settingsKey},
      {"installFolderName", &Fields::installFolder},
      {"fileName", &Fields::appFile},
      {"server fileName", &Fields::serverFile},
      {"system copy fileName", &Fields::helperFile},
      {"menuShortcutName", &Fields::menuShortcut},
      {"desktopShortcutName", &Fields::desktopShortcut},
      {"applicationTitle", &Fields::applicationTitle},
      {"progId", &Fields::progId},
      {"fixed extension", &Fields::fixedExtension},
      {"optional extension", &Fields::optionalExtension},
      {"serverName", &Fields::serverName},
  };
  std::vector<HostilePackage> out;
  out.push_back({"no hostile text", build(Fields())});
  for (const Field& field : kFields) {
    for (const std::string& text : hostileTexts()) {
      Fields f;
      f.*field.text = text;
      const std::string shown =
          text.size() > 40 ? text.substr(0, 12) + "... (" + std::to_string(text.size()) + " bytes)"
                           : text;
      out.push_back({std::string(field.name) + " \"" + shown + "\"", build(f)});
    }
  }
  return out;
}

std::vector<unsigned char> otherProgramPackage() {
  PackageBytes p;
  p.u32(0x91827364).u32(1).text("Other Product").text("Other Vendor").text("https://example.org");
  p.text("https://example.org/other").text("Other").text("Other Product").text("");
  p.blob(testdata::EncodeSolidJpeg(16, 32, 1, 2, 3)).blob(testdata::EncodeSolidGreyJpeg(8, 8, 9));
  p.blob({0}).u32(3);
  p.item("Other.exe", 0x04 | 0x08 | 0x40, "other").text("").text("").text("Other");
  p.u32(1).text("Other.Doc").text("Other document").u32(0).text("").u32(0);
  p.list({"txt", "oth"}).list({"oto"});
  p.item("Uninstall.exe", 0x20, "other uninstall").u32(0).text("Removes the other");
  p.item("otherhelper.dll", 0x02, "other helper");
  return p.bytes;
}

std::vector<unsigned char> fullDrivePackage() {
  PackageBytes p;
  p.header().u32(3).item("small.txt", 0, "fits");
  p.item("big.bin", 0, PackageBytes::noise(1 << 20, 5)).item("after.txt", 0, "never");
  return p.bytes;
}
