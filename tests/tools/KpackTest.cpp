// The package builder: manifests in, packages the setup's reader accepts out.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/Inflate.h"
#include "common/Cp1252.h"
#include "common/JsonReport.h"
#include "common/WholeFile.h"
#include "kpack/Manifest.h"
#include "kpack/ManifestKeys.h"
#include "kpack/PackageWriter.h"
#include "kpack/PageCharacters.h"
#include "kpack/SetupTextsWriter.h"
#include "package/InstallModel.h"
#include "package/PackageBytes.h"
#include "package/PackageFormat.h"
#include "platform/ProgramResources.h"
#include "support/EncodeJpeg.h"
#include "support/LinkProbe.h"
#include "support/ProgramImages.h"
#include "support/RegExport.h"
#include "support/RunProcess.h"
#include "texts/TextCatalog.h"

namespace fs = std::filesystem;

namespace {

// The uninstall entry's EstimatedSize line: the installed files' size, from the files
// themselves, in KiB rounded up.
std::string estimatedSizeLine(const fs::path& folder) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) bytes += entry.file_size();
  }
  char line[64];
  std::snprintf(line, sizeof line, "\"EstimatedSize\"=dword:%08x\r\n",
                unsigned((bytes + 1023) / 1024));
  return line;
}

// Six items: an application with seven document types, a help file, a data file,
// a COM server, the uninstaller and a file for the system folder.
const char* kFullManifest = R"(
[product]
name = "Demo Product"
company = "Kestrane Démo"
company-url = "https://example.com"
product-url = "https://example.com/demo"
settings-key = "Demo"
install-folder = "Demo Product"
contact = "Customer Support"

[pictures]
side = "side.jpg"
logo = "logo.jpg"

[licence]
file = "LICENCE.txt"

[[items]]
source = "Demo.exe"
flags = ["menu-shortcut", "desktop-shortcut", "run-after-setup", "application"]
menu-shortcut = "Demo Product"
desktop-shortcut = "Demo"
application-title = "Demo Product"
  [[items.file-types]]
  prog-id = "Demo.Text"
  description = "Demo Text"
  icon-index = 1
  extensions = ["dtx"]
  optional-extensions = ["txt", ".log", "ini"]
  [[items.file-types]]
  prog-id = "Demo.Doc"
  description = "Demo Document"
  extensions = [".demo", "dmo"]
  shell-ex-key = "{BB2E617C-0920-11D1-9A0B-00C04FC2D6C1}"
  handler-item = 3
  [[items.file-types]]
  prog-id = "Demo.Picture"
  description = "Demo Picture"
  extensions = ["dpic"]
  [[items.file-types]]
  prog-id = "Demo.Movie"
  description = "Demo Movie"
  extensions = ["dmov"]
  [[items.file-types]]
  prog-id = "Demo.Sound"
  description = "Demo Sound"
  extensions = ["dsnd"]
  [[items.file-types]]
  prog-id = "Demo.Sheet"
  description = "Demo Sheet"
  extensions = ["dsht"]
  [[items.file-types]]
  prog-id = "Demo.Archive"
  description = "Demo Archive"
  extensions = ["darc", "zip"]

[[items]]
source = "docs/Demo.chm"
name = "Demo Help.chm"
flags = ["menu-shortcut"]

[[items]]
source = "demo.dat"
flags = ["cancel-system-copy", 256]

[[items]]
source = "DemoShell.dll"
flags = ["com-server"]
class-id = "{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}"
server-name = "Demo Shell Extension"

[[items]]
source = "Uninstall.exe"
flags = ["uninstaller"]
icon-item = 0
uninstall-comment = "Removes Demo Product"

[[items]]
source = "demohelper.dll"
flags = 2
)";

class Kpack : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kpack-test-" + std::to_string(getpid()));
    fs::create_directories(dir_ / "docs");
    write("side.jpg", testdata::EncodeSolidJpeg(164, 314, 0x20, 0x40, 0x80));
    write("logo.jpg", testdata::EncodeSolidJpeg(49, 49, 0xC0, 0x80, 0x20));
    writeText("LICENCE.txt", "Licence caf\xC3\xA9\nline two\r\nend");
    for (const char* name :
         {"Demo.exe", "docs/Demo.chm", "DemoShell.dll", "Uninstall.exe", "demohelper.dll"}) {
      writeText(name, std::string(3000, 'x') + name);
    }
    writeText("demo.dat", "");
  }
  void TearDown() override { fs::remove_all(dir_); }

  void write(const std::string& name, const std::vector<unsigned char>& bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  void writeText(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  fs::path manifest(const std::string& text) {
    writeText("manifest.toml", text);
    return dir_ / "manifest.toml";
  }
  // The error for a manifest, or "" when it loads and builds.
  std::string errorFor(const std::string& text) {
    try {
      kpack::buildPackage(kpack::loadManifest(manifest(text)));
      return "";
    } catch (const kpack::ManifestError& e) {
      return e.what();
    }
  }

  fs::path dir_;
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Runs kpack with `arguments`; its standard output and error, and its exit status
// in `status`.
std::string runKpack(const std::string& arguments, int& status) {
  std::string output;
  status = runBounded(std::string(KPACK_PATH) + " " + arguments, output);
  return output;
}

}  // namespace

TEST_F(Kpack, FullManifestReadsBackWhole) {
  int calls = 0;
  const auto bytes = kpack::buildPackage(kpack::loadManifest(manifest(kFullManifest)),
                                         [&](int, std::uint64_t done, std::uint64_t total) {
                                           ++calls;
                                           EXPECT_LE(done, total);
                                         });
  EXPECT_GT(calls, 0);
  ByteStream stream;
  stream.appendBytes(std::uint32_t(bytes.size()), bytes.data());
  InstallModel model;
  std::uint32_t position = 0;
  ASSERT_TRUE(model.readPackage(stream, position)) << model.failureReason();
  EXPECT_EQ(position, stream.size());

  EXPECT_EQ(model.companyName, "Kestrane D\xE9mo");  // Windows-1252
  EXPECT_EQ(model.installFolderName, "Demo Product");
  EXPECT_EQ(model.spareText, "Customer Support");
  EXPECT_EQ(model.sidePicture.Width(), 164);
  EXPECT_EQ(model.logoPicture.Height(), 49);
  const std::string licence(reinterpret_cast<const char*>(model.licenceText.bytes()),
                            model.licenceText.size());
  EXPECT_EQ(licence, std::string("Licence caf\xE9\r\nline two\r\nend\0", 28));

  ASSERT_EQ(model.itemCount(), 6);
  const InstallItem& app = *model.itemAt(0);
  EXPECT_EQ(app.flags, 0x5Cu | kItemNoDde);  // an application without "dde = true"
  const kpack::Manifest speaksDde =
      kpack::loadManifest(manifest(replaced(kFullManifest, "application-title = \"Demo Product\"",
                                            "application-title = \"Demo Product\"\ndde = true")));
  EXPECT_EQ(speaksDde.items.at(0).flags, 0x5Cu);
  EXPECT_EQ(app.fileTypes.count(), 7);
  EXPECT_EQ(app.packedData.bytes()[0], 0x78);
  EXPECT_EQ(app.packedData.bytes()[1], 0xDA);
  EXPECT_EQ(app.unpackedSize, 3000u + 8);
  EXPECT_EQ(model.selectableItem, 0);
  EXPECT_EQ(app.fileTypes.at(model.selectableType)->progId, "Demo.Text");
  EXPECT_EQ(model.itemAt(1)->fileName, "Demo Help.chm");
  EXPECT_EQ(model.itemAt(2)->flags, 0x101u);
  EXPECT_EQ(model.itemAt(2)->unpackedSize, 0u);
  EXPECT_TRUE(model.itemAt(3)->isComServer());
  EXPECT_EQ(model.itemAt(4)->uninstallComment, "Removes Demo Product");
  EXPECT_EQ(model.itemAt(5)->flags, 0x02u);
}

TEST_F(Kpack, ThePackageIsTheSameOnAnyNumberOfThreads) {
  // Files of several sizes, so that the threads finish them out of order; the
  // last is larger than the standard level gives its stronger encoder, so both
  // encoders meet in one package.
  const auto content = [](int i) {
    std::string text = PackageBytes::noise(std::size_t(i) * 500, std::uint32_t(i));
    const int lines = i == 5 ? 200000 : i * 3000;
    for (int line = 0; line < lines; ++line) text += "part " + std::to_string(line % 7) + "\n";
    return text;
  };
  for (int i = 0; i < 6; ++i) writeText("part" + std::to_string(i) + ".dat", content(i));
  std::string text = R"(
[product]
name = "Parts"
company = "Kestrane"
settings-key = "Parts"
install-folder = "Parts"
[pictures]
side = "side.jpg"
logo = "logo.jpg"
[licence]
file = "LICENCE.txt"
)";
  for (int i = 5; i >= 0; --i)
    text += "[[items]]\nsource = \"part" + std::to_string(i) + ".dat\"\n";
  const kpack::Manifest parts = kpack::loadManifest(manifest(text));
  kpack::BuildOptions options;
  options.threads = 1;
  const auto one = kpack::buildPackage(parts, {}, options);
  options.threads = 3;
  EXPECT_EQ(kpack::buildPackage(parts, {}, options), one);

  // The strongest level still writes zlib streams that the setup inflates back
  // to each file; here it may not be larger.
  options.level = kpack::CompressionLevel::Max;
  const auto max = kpack::buildPackage(parts, {}, options);
  EXPECT_LT(max.size(), one.size());
  for (const auto* package : {&one, &max}) {
    InstallModel model;
    std::uint32_t position = 0;
    ASSERT_TRUE(
        model.readPackage(ByteView(package->data(), std::uint32_t(package->size())), position))
        << model.failureReason();
    for (int i = 0; i < model.itemCount(); ++i) {
      const InstallItem& item = *model.itemAt(i);
      EXPECT_EQ(item.packedData.bytes()[0], 0x78);
      ByteStream plain;
      ASSERT_EQ(inflateStream(item.packedData, &plain), S_OK);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(plain.bytes()), plain.size()),
                content(5 - i));
    }
  }
}

TEST_F(Kpack, ErrorsNameTheLineAndField) {
  const struct {
    std::string from, to, expected;
  } cases[] = {
      {"application-title = \"Demo Product\"", "application-title = \"Demo Product\"\ndde = 1",
       "items[0].dde: must be true or false"},
      {"flags = [\"menu-shortcut\"]", "flags = [\"menu-shortcut\"]\ndde = true",
       "items[1].dde: needs the flag \"application\""},
      {"contact", "contcat",
       "manifest.toml:9: product.contcat: unknown key; did you mean \"contact\"?"},
      {"contact =", "spare-text = \"x\"\ncontact =", "give contact or spare-text, not both"},
      {"company-url", "compnay-url",
       "product.compnay-url: unknown key; did you mean \"company-url\"?"},
      {"[licence]", "[license]", "license: unknown key; did you mean \"licence\"?"},
      {"extensions = [\"dpic\"]", "extension = [\"dpic\"]",
       "items[0].file-types[2].extension: unknown key; did you mean \"extensions\"?"},
      {"\"run-after-setup\"", "\"run-later\"", "items[0].flags: unknown flag \"run-later\""},
      {"desktop-shortcut\", \"run", "run", "items[0].desktop-shortcut: needs the flag"},
      {"install-folder = \"Demo Product\"", "install-folder = \"..\"", "product.install-folder"},
      {"install-folder = \"Demo Product\"", "install-folder = \"C:Demo\"",
       "product.install-folder"},
      {"server-name = \"Demo Shell Extension\"", "", "items[3].server-name: missing"},
      {"{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}", "2E8A3B9C",
       "items[3].class-id: must be a braced GUID"},
      {"handler-item = 3", "handler-item = 2",
       "file-types[1].handler-item: 2 is not a com-server item"},
      {"[\".demo\", \"dmo\"]", "[\".demo\", \"DEMO\"]",
       "extension \"DEMO\" is empty or listed twice"},
      {"[\"dsnd\"]", "[\"..\"]", "file-types[4].extensions: extension \"..\" is empty"},
      {"[\"dsnd\"]", "[\"txt\\\\shell\"]",
       "file-types[4].extensions: extension \"txt\\shell\" must be one name"},
      {"prog-id = \"Demo.Movie\"", "prog-id = \"Demo.Text\"", "\"Demo.Text\" is listed twice"},
      {"prog-id = \"Demo.Movie\"", "prog-id = \"HKCR\\\\x\"", "prog-id: must be a key of its own"},
      {"prog-id = \"Demo.Movie\"", "prog-id = \"CLSID\"", "prog-id: must be a key of its own"},
      {"icon-item = 0", "icon-item = 6", "items[4].icon-item: 6 is not the index of an item"},
      {"icon-item = 0\n", "", "items[4].icon-item: missing"},
      {"name = \"Demo Product\"", "name = \"Demo \xE2\x84\xA2 \xE6\x97\xA5\"",
       "manifest.toml:3:16: product.name: U+65E5 '\xE6\x97\xA5' cannot be written in Windows-1252"},
      {"contact = \"Customer Support\"", "spare-text = \"" + std::string(1025, 's') + "\"",
       "longer than 1024"},
      {"contact = \"Customer Support\"", "contact = \"Customer Support\"\nversion = \"2.1.65536\"",
       "manifest.toml:10: product.version: \"2.1.65536\" is not a version"},
      {"contact = \"Customer Support\"", "contact = \"Customer Support\"\nversion = \"2\"",
       "product.version: \"2\" is not a version"},
      {"contact = \"Customer Support\"", "contact = \"Customer Support\"\nversion = \"v2.1\"",
       "product.version: \"v2.1\" is not a version"},
      {"name = \"Demo Help.chm\"", "name = \"docs\\\\\"",
       "items[1].name: \"docs\\\" names no file"},
      {"source = \"demo.dat\"", "source = \"missing.dat\"", "items[2].source: no such file"},
      {"logo = \"logo.jpg\"", "logo = \"LICENCE.txt\"", "manifest.toml:13: pictures.logo: "},
      {"side = \"side.jpg\"", "side = \"fake.jpg\"", "manifest.toml:12: pictures.side: "},
      {"side = \"side.jpg\"", "side = \"fake.jpg\"",
       "fake.jpg is a PNG picture, not a JPEG: save it as"},
      {"logo = \"logo.jpg\"", "logo = \"fake.gif\"", "fake.gif is a GIF picture, not a JPEG"},
      {"logo = \"logo.jpg\"", "logo = \"LICENCE.txt\"",
       "LICENCE.txt is not a picture the setup can read"},
      {"logo = \"logo.jpg\"", "logo = \"logo.jpg\"\nlogo-2x = \"side.jpg\"",
       "manifest.toml:14: pictures.logo-2x: side.jpg is 164 x 314 pixels; it must be twice "
       "logo.jpg, 98 x 98"},
      {"logo = \"logo.jpg\"", "logo = \"logo.jpg\"\nside-2x = \"fake.jpg\"",
       "pictures.side-2x: " + (dir_ / "fake.jpg").string() + " is a PNG picture"},
      {"flags = 2", "flags = -1", "items[5].flags: raw flags must fit 32 bits"},
      {"[[items]]\nsource = \"demohelper.dll\"", "[items2]\nsource = \"demohelper.dll\"",
       "items2: unknown key"},
      // Languages: by tag, the ones the setup can draw, each once, in the words
      // of kpack or of [texts.TAG]; texts by the catalogue's keys.
      {"[product]", "languages = [\"pl\"]\n[product]",
       "manifest.toml:2: languages: Polish cannot be added yet: the setup draws its text in "
       "Windows-1252, which lacks letters Polish needs"},
      {"[product]", "languages = [\"de\", \"xx-YY\"]\n[product]",
       "languages: \"xx-YY\" is not a language tag kpack knows"},
      {"[product]", "languages = [\"is\"]\n[product]",
       "languages: kpack has no Icelandic translation: give its texts in [texts.is]"},
      {"[product]", "languages = [\"de\", \"de-DE\"]\n[product]", "is listed twice"},
      {"[product]", "languages = [\"german\"]\n[product]", "did you mean \"de\"?"},
      // A syntax error is named by its likely cause, at its line.
      {"name = \"Demo Product\"", "name = \"Demo Product",
       "manifest.toml:3: a quote is not closed"},
      {"name = \"Demo Product\"", "name = Demo", "manifest.toml:3: a text needs quotes"},
      {"[product]", "languages = \"de\"\n[product]", "languages: must be a list of language tags"},
      {"[pictures]", "[texts]\nnxet = \"Go on\"\n[pictures]",
       "texts.nxet: unknown key; did you mean \"next\"?"},
      {"[pictures]", "[texts]\nnext = \"\"\n[pictures]", "texts.next: empty"},
      {"[pictures]", "[texts.de]\nfolder = \"Ordner: %d\"\n[pictures]",
       "texts.de.folder: the German text must have the conversions of ours, in the same order: "
       "%s, %s; it has %d"},
      {"[pictures]", "[texts]\nerror = \"Failed: %s %n\"\n[pictures]",
       "texts.error: the text must have the conversions of ours, in the same order: %s; it has a "
       "% that is none of"},
      {"[pictures]", "[texts.el]\nnext = \"Next\"\n[pictures]",
       "texts.el: Greek cannot be added yet"},
      {"[pictures]", "[texts.en]\nnext = \"Go\"\n[pictures]",
       "texts.en: English is the language of [texts] itself"},
      {"[pictures]", "[texts.de]\nfolder = \"\xE2\x86\x92 %s %s\"\n[pictures]",
       "texts.de.folder: U+2192"},
      {"[pictures]", "[texts.de]\nnetx = \"Weiter\"\n[pictures]",
       "texts.de.netx: unknown key; did you mean \"next\"?"},
  };
  writeText("fake.jpg", std::string("\x89PNG\r\n\x1A\n") + std::string(40, '\0'));
  writeText("fake.gif", "GIF89a" + std::string(40, '\0'));
  for (const auto& c : cases) {
    const std::string error = errorFor(replaced(kFullManifest, c.from, c.to));
    EXPECT_NE(error.find(c.expected), std::string::npos) << "got: " << error;
  }
  EXPECT_NE(errorFor("[product\n").find("manifest.toml:1:"), std::string::npos);
  EXPECT_EQ(errorFor(kFullManifest), "");
}

// The reader and the table of keys that the schema is made from agree: each key
// of the table, taken out of the full manifest or given a value of another type,
// is refused as the table says.
TEST_F(Kpack, TheReaderKeepsToItsTableOfKeys) {
  const tools::KeyTable& table = kpack::manifestKeys();
  for (const tools::Key& key : table.keys) {
    if (key.type == tools::KeyType::Table || key.type == tools::KeyType::Tables) continue;
    // The first table of the key's section in the manifest, and the key's line in it.
    std::string header;
    for (const tools::Key& parent : table.keys) {
      if (tools::sectionHeldBy(parent) != key.section) continue;
      header = parent.type == tools::KeyType::Table ? "[" + std::string(key.section) + "]\n"
                                                    : "[[" + std::string(key.section) + "]]\n";
    }
    const std::string full = kFullManifest;
    const std::size_t start = full.find(header);
    if (start == std::string::npos) continue;
    const std::size_t body = start + header.size();
    const std::string assignment = std::string(key.name) + " =";
    std::size_t line = std::string::npos, end = body;
    for (std::size_t at = body; at < full.size(); at = end + 1) {
      end = std::min(full.find('\n', at), full.size());
      const std::size_t indent = full.find_first_not_of(' ', at);
      if (full.compare(indent, assignment.size(), assignment) == 0) {
        line = at;
        break;
      }
    }
    const std::string field = std::string(key.name) + ": ";
    const char* value = key.type == tools::KeyType::Integer ? "\"1\"" : "1";
    if (key.type == tools::KeyType::Flags) value = "\"x\"";
    const std::string replacement = std::string(key.name) + " = " + value;
    std::string wrong = full;
    if (line != std::string::npos) {
      wrong.replace(line, end - line, replacement);
    } else {
      wrong.insert(body, replacement + "\n");
    }
    const std::string typeError = errorFor(wrong);
    EXPECT_NE(typeError.find(field + "must be"), std::string::npos)
        << key.section << "." << key.name << " = " << value << ": " << typeError;
    if (key.required) {
      ASSERT_NE(line, std::string::npos) << key.section << "." << key.name;
      std::string without = full;
      without.erase(line, end + 1 - line);
      const std::string error = errorFor(without);
      EXPECT_NE(error.find(field + "missing"), std::string::npos)
          << key.section << "." << key.name << " left out: " << error;
    }
  }
}

namespace {

// The 1-based line of the first line of `text` holding `marker`.
int lineOf(const std::string& text, const std::string& marker) {
  const std::size_t at = text.find(marker);
  EXPECT_NE(at, std::string::npos) << marker;
  return 1 + int(std::count(text.begin(), text.begin() + std::ptrdiff_t(at), '\n'));
}

}  // namespace

// Manifests the setup would accept and then install only in part, without a word
// to the user: kpack build refuses each, naming file, line and field.
TEST_F(Kpack, RefusesWhatWouldInstallIncompletely) {
  const struct {
    std::string from, to;
    std::string lineMarker;  // the complaint's line: the first line holding this
    int lineOffset;          // ... moved by this many lines
    std::string fieldAndMessage;
  } cases[] = {
      {"  description = \"Demo Sound\"\n", "", "prog-id = \"Demo.Sound\"", -1,
       "items[0].file-types[4].description: missing: without a description the type's ProgID"},
      {"description = \"Demo Sheet\"", "description = \"\"", "description = \"\"", 0,
       "items[0].file-types[5].description: is empty: "},
      {"company-url = \"https://example.com\"", "company-url = \"\"", "company-url", 0,
       "product.company-url: is empty: the uninstall entry of items[4] is written only when"},
      {"product-url = \"https://example.com/demo\"\n", "", "[product]", 0,
       "product.product-url: missing: the uninstall entry of items[4]"},
      {"uninstall-comment = \"Removes Demo Product\"\n", "", "source = \"Uninstall.exe\"", -1,
       "items[4].uninstall-comment: missing: the uninstall entry of items[4]"},
      {"install-folder = \"Demo Product\"", "install-folder = \"Kestrane\\\\Demo Product\"",
       "install-folder", 0,
       "product.install-folder: \"Kestrane\\Demo Product\" has a subfolder part; the setup "
       "creates only the last folder"},
      {"name = \"Demo Product\"", "name = \"Kestrane\\\\Demo\"", "name = \"Kestrane", 0,
       "product.name: holds a backslash, so the product's Start-menu folder would lie in a "
       "folder that does not exist, and the menu shortcut of items[0] could not be made"},
      {"company = \"Kestrane D\xC3\xA9mo\"", "company = \"\"", "company = \"\"", 0,
       "product.company: is empty: the program settings are saved under "
       "HKLM\\Software\\<company>\\<settings-key>"},
      {"settings-key = \"Demo\"", "settings-key = \"\"", "settings-key", 0,
       "product.settings-key: is empty: the program settings"},
      {"settings-key = \"Demo\"", "settings-key = \"Demo\\\\2\"", "settings-key", 0,
       "product.settings-key: \"Demo\\2\" must name one registry key, without a backslash"},
      {"name = \"Demo Product\"", "name = \"\"", "name = \"\"", 0, "product.name: is empty: "},
      {"name = \"Demo Product\"", "name = \"Demo: The Product\"", "name = \"Demo:", 0,
       "product.name: holds ':', which Windows does not allow in a file name"},
      {"name = \"Demo Product\"", "name = \"Demo|Product\"", "name = \"Demo|", 0,
       "product.name: holds '|'"},
      {"name = \"Demo Product\"", "name = \"Demo\\tProduct\"", "name = \"Demo\\t", 0,
       "product.name: holds control character 9"},
      {"name = \"Demo Product\"", "name = \"Demo Inc.\"", "name = \"Demo Inc.", 0,
       "product.name: ends in a dot or a blank"},
      {"name = \"Demo Product\"", "name = \"Demo \"", "name = \"Demo \"", 0,
       "product.name: ends in a dot or a blank"},
      {"name = \"Demo Product\"", "name = \"Demo\\\\\"", "name = \"Demo\\\\", 0,
       "product.name: ends in a backslash"},
      {"application-title = \"Demo Product\"\n", "", "source = \"Demo.exe\"", -1,
       "items[0].application-title: missing: without it the application's entry under "
       "Applications\\ is not written"},
      // The type first in ProgID order is offered, whatever the manifest's order:
      // Demo.Zoo comes after Demo.Text, Demo.Archive before it.
      {"prog-id = \"Demo.Movie\"", "prog-id = \"Demo.Zoo\"\noptional-extensions = [\"bak\"]",
       "optional-extensions = [\"bak\"]", 0,
       "items[0].file-types[3].optional-extensions: only one file type can offer optional "
       "extensions, and the setup offers those of items[0].file-types[0] (\"Demo.Text\"); these "
       "would be neither offered nor associated"},
      {"extensions = [\"darc\", \"zip\"]",
       "extensions = [\"darc\"]\noptional-extensions = [\"zip\"]", "optional-extensions = [\"txt\"",
       0,
       "items[0].file-types[0].optional-extensions: only one file type can offer optional "
       "extensions, and the setup offers those of items[0].file-types[6] (\"Demo.Archive\")"},
      {"source = \"demo.dat\"", "source = \"demo.dat\"\nname = \"bin\\\\DEMO.exe\"", "name = \"bin",
       0,
       "items[2].name: \"DEMO.exe\" is also the file of items[0], which this item would "
       "overwrite"},
  };
  for (const auto& c : cases) {
    const std::string text = replaced(kFullManifest, c.from, c.to);
    const fs::path path = manifest(text);
    int status = -1;
    const std::string out =
        runKpack("build " + path.string() + " -o " + (dir_ / "refused.bin").string(), status);
    EXPECT_EQ(status, 1) << c.to;
    const std::string expected = "kpack: " + path.string() + ":" +
                                 std::to_string(lineOf(text, c.lineMarker) + c.lineOffset) + ": " +
                                 c.fieldAndMessage;
    EXPECT_EQ(out.substr(0, expected.size()), expected) << c.to;
    EXPECT_FALSE(fs::exists(dir_ / "refused.bin")) << c.to;
  }

  // What the rules leave alone: a backslash in the name of a product without menu
  // shortcuts, and one item whose name differs from another's only in its folder.
  std::string allowed =
      replaced(kFullManifest, "name = \"Demo Product\"", "name = \"Demo\\\\Product\"");
  allowed = replaced(allowed, "\"menu-shortcut\", \"desktop", "\"desktop");
  allowed = replaced(allowed, "flags = [\"menu-shortcut\"]", "flags = []");
  allowed = replaced(allowed, "menu-shortcut = \"Demo Product\"\n", "");
  EXPECT_EQ(errorFor(allowed), "");
}

TEST(Cp1252, ConvertsBothWays) {
  std::string ansi;
  std::string bad;
  ASSERT_TRUE(
      tools::utf8ToCp1252("\xE2\x82\xAC \xC3\xBC \xC5\xA1", ansi));  // euro, u umlaut, s caron
  EXPECT_EQ(ansi, "\x80 \xFC \x9A");
  EXPECT_EQ(tools::cp1252ToUtf8(ansi), "\xE2\x82\xAC \xC3\xBC \xC5\xA1");
  EXPECT_FALSE(tools::utf8ToCp1252("\xE6\x97\xA5", ansi, &bad));
  EXPECT_EQ(bad, "U+65E5");
  for (const char* malformed : {"\xC3", "\xC0\x80", "\xED\xA0\x80", "\xFF", "a\xE2\x82"}) {
    EXPECT_FALSE(tools::utf8ToCp1252(malformed, ansi, &bad)) << malformed;
  }
  for (int b = 0; b < 256; ++b) {  // every byte survives the round trip
    const std::string one(1, char(b));
    ASSERT_TRUE(tools::utf8ToCp1252(tools::cp1252ToUtf8(one), ansi)) << b;
    EXPECT_EQ(ansi, one);
  }
}

TEST(ProgramResources, FindsResourcesInHostPrograms) {
  std::vector<unsigned char> out;
  std::string error;
  const std::vector<unsigned char> bare = {0x64, 0x73, 0x82, 0x91, 1, 0, 0, 0};
  EXPECT_FALSE(platform::isProgramImage(bare));

  // This test program carries RC_DATA 200 in its own .kres section.
  std::ifstream self("/proc/self/exe", std::ios::binary);
  const std::vector<unsigned char> image((std::istreambuf_iterator<char>(self)),
                                         std::istreambuf_iterator<char>());
  ASSERT_TRUE(platform::isProgramImage(image));
  ASSERT_TRUE(platform::findProgramResource(image, 200, out, error)) << error;
  EXPECT_EQ(out[0], 0x78);                                              // a zlib stream
  EXPECT_FALSE(platform::findProgramResource(image, 113, out, error));  // one it does not carry

  std::vector<unsigned char> damaged = image;
  for (std::size_t at : {0x28u, 0x3Au, 0x3Cu, 0x3Eu}) damaged[at] ^= 0xFF;
  EXPECT_FALSE(platform::findProgramResource(damaged, 200, out, error));
  EXPECT_FALSE(platform::findProgramResource({'M', 'Z'}, 112, out, error));
  EXPECT_FALSE(platform::findProgramResource({}, 112, out, error));
}

namespace {

void putLittleEndian(std::vector<unsigned char>& b, std::size_t at, std::uint64_t v, int n) {
  for (int i = 0; i < n; ++i) b.at(at + std::size_t(i)) = (unsigned char)(v >> (8 * i));
}

std::string resourceText(const std::vector<unsigned char>& image, int id) {
  std::vector<unsigned char> out;
  std::string error;
  if (!platform::findProgramResource(image, id, out, error)) return "(" + error + ")";
  return std::string(out.begin(), out.end());
}

// Every shorter copy of `image` is refused with a reason, or, when the cut leaves
// what the reader looks at, still gives the whole resource; none is read past its end.
void expectTruncationsSafe(const std::vector<unsigned char>& image) {
  for (std::size_t n = 0; n < image.size(); n += 3) {
    const std::vector<unsigned char> cut(image.begin(), image.begin() + std::ptrdiff_t(n));
    const std::string text = resourceText(cut, 112);
    EXPECT_TRUE(text == "package" || (text.front() == '(' && text.size() > 2)) << n << ": " << text;
  }
}

}  // namespace

TEST(ProgramResources, FindsResourcesInWindowsPrograms) {
  const std::vector<unsigned char> image = testdata::peImage();
  ASSERT_TRUE(platform::isProgramImage(image));
  EXPECT_EQ(resourceText(image, 112), "package");
  EXPECT_EQ(resourceText(image, 200).substr(0, 2), "\x78\x9c");
  EXPECT_EQ(resourceText(image, 113), "(the setup has no such resource)");

  const std::size_t rsrc = testdata::kPeResourceOffset;
  std::vector<unsigned char> otherType = image;
  otherType.at(rsrc + testdata::kPeTypeNameAt + 2 + 2 * 6) = 'X';  // RC_DATX
  EXPECT_EQ(resourceText(otherType, 112), "(the setup has no such resource)");
  std::vector<unsigned char> longName = image;
  putLittleEndian(longName, rsrc + testdata::kPeTypeNameAt, 0xFFFF, 2);
  EXPECT_EQ(resourceText(longName, 112), "(damaged resource name)");
  std::vector<unsigned char> oversized = image;
  putLittleEndian(oversized, rsrc + testdata::kPeDataEntriesAt + 4, 0x1000, 4);
  EXPECT_EQ(resourceText(oversized, 112), "(resource data outside the image)");
  std::vector<unsigned char> pastTheEnd = image;
  putLittleEndian(pastTheEnd, 0x40 + 24 + 224 + 20, 0xFFFFFF00u, 4);  // the section's bytes
  EXPECT_EQ(resourceText(pastTheEnd, 112), "(section 1's data is not in the file)");
  expectTruncationsSafe(image);
}

TEST(ProgramResources, FindsResourcesInBothElfClasses) {
  for (bool is64 : {true, false}) {
    const std::vector<unsigned char> image = testdata::elfImage(is64);
    ASSERT_TRUE(platform::isProgramImage(image));
    EXPECT_EQ(resourceText(image, 112), "package") << is64;
    EXPECT_EQ(resourceText(image, 113), "(the host setup has no such resource)") << is64;
    expectTruncationsSafe(image);
  }

  // A section-name table that lies outside the file is damage, even where an
  // offset into it wraps around to the bytes ".kres".
  std::vector<unsigned char> wrapped = testdata::elfImage(true);
  const std::size_t table = 0x100, names = table + 64, kres = table + 2 * 64;
  ASSERT_EQ(std::string(reinterpret_cast<const char*>(&wrapped.at(0x40 + 11))), ".kres");
  putLittleEndian(wrapped, kres, 0x1000, 4);
  putLittleEndian(wrapped, names + 0x18, std::uint64_t(0x40 + 11) - 0x1000, 8);
  putLittleEndian(wrapped, names + 0x20, 0x2000, 8);
  EXPECT_EQ(resourceText(wrapped, 112), "(damaged ELF section table)");
}

TEST_F(Kpack, CommandLine) {
  int status = -1;
  const std::string out = (dir_ / "package.bin").string();
  runKpack("build " + manifest(kFullManifest).string() + " -o " + out, status);
  ASSERT_EQ(status, 0);

  const std::string json = runKpack("check " + out, status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(json.find("\"companyName\": \"Kestrane D\xC3\xA9mo\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"sidePicture\": {\n    \"width\": 164,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"optionalExtensions\": [\n            \"ini\",\n            \"log\","),
            std::string::npos)
      << json;

  const std::string table = runKpack("list " + out, status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(table.find("menu-shortcut desktop-shortcut run-after-setup application"),
            std::string::npos)
      << table;

  writeText("broken.bin", "\x64\x73\x82\x91\x02");
  EXPECT_EQ(runKpack("check " + (dir_ / "broken.bin").string(), status),
            "kpack: invalid package: version: data ends (at byte 4)\n");
  EXPECT_EQ(status, 1);
  runKpack("check " + (dir_ / "absent.bin").string(), status);
  EXPECT_EQ(status, 2);
  runKpack("check", status);
  EXPECT_EQ(status, 2);
  runKpack("build " + manifest("[product]\nname = 1\n").string() + " -o " + out, status);
  EXPECT_EQ(status, 1);
}

// A worked export, as the registry editor writes it (UTF-16LE, CR LF): a string
// with a backslash and quotes, a DWORD, an empty REG_NONE in a subkey, a line
// that does not parse (skipped, as the setup's reader skips it) and a key that
// the filter leaves out.
TEST_F(Kpack, RegistryReadsAnExportAsJson) {
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Demo]\r\n"
      "@=\"Demo Product\"\r\n"
      "\"Count\"=dword:0000002a\r\n"
      "\"Broken\"=dword:xyz\r\n"
      "\"Path\"=\"C:\\\\Program Files\\\\Demo \\\"one\\\"\"\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Demo\\Sub]\r\n"
      "\"Empty\"=hex(0):\r\n\r\n"
      "[HKEY_CURRENT_USER\\Other]\r\n"
      "\"x\"=\"y\"\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char c : text) utf16 += std::string{c, '\0'};
  writeText("export.reg", utf16);
  const std::string file = (dir_ / "export.reg").string();

  int status = -1;
  // The unreadable DWORD is left out, as the setup's reader leaves it.
  const std::string demo = runKpack("registry " + file + " 'hklm\\software\\demo'", status);
  ASSERT_TRUE(nlohmann::json::accept(demo)) << demo;
  EXPECT_EQ(nlohmann::json::parse(demo), nlohmann::json::parse(R"({"keys": [
      {"key": "HKEY_LOCAL_MACHINE\\Software\\Demo", "values": [
        {"name": "", "type": "REG_SZ", "data": "Demo Product"},
        {"name": "Count", "type": "REG_DWORD", "data": 42},
        {"name": "Path", "type": "REG_SZ", "data": "C:\\Program Files\\Demo \"one\""}]},
      {"key": "HKEY_LOCAL_MACHINE\\Software\\Demo\\Sub", "values": [
        {"name": "Empty", "type": "REG_NONE", "data": ""}]}]})"));
  EXPECT_EQ(status, 0);
  const std::string whole = runKpack("registry " + file, status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(whole.find("\"key\": \"HKEY_CURRENT_USER\\\\Other\""), std::string::npos) << whole;
  EXPECT_EQ(runKpack("registry " + file + " 'HKLM\\Software\\Absent'", status),
            "{\n  \"keys\": []\n}\n");
  EXPECT_EQ(status, 0);

  // Damaged: the same text without its byte-order mark, or cut inside the header.
  writeText("plain.reg", text);
  writeText("cut.reg", utf16.substr(0, 20));
  for (const char* name : {"plain.reg", "cut.reg"}) {
    const std::string path = (dir_ / name).string();
    EXPECT_EQ(runKpack("registry " + path, status),
              "kpack: " + path +
                  " is not a registry export (UTF-16LE with a byte-order mark, version 5.00)\n");
    EXPECT_EQ(status, 1);
  }
  runKpack("registry " + (dir_ / "absent.reg").string(), status);
  EXPECT_EQ(status, 2);
  runKpack("registry " + file + " 'HKLM\\\\Software'", status);
  EXPECT_EQ(status, 2);
}

TEST_F(Kpack, WarnsWhenTheOfferedExtensionsOverflowThePage) {
  const std::string out = (dir_ / "package.bin").string();
  int status = -1;
  // Nothing to warn of: it says only what it wrote.
  const std::string wrote =
      runKpack("build " + manifest(kFullManifest).string() + " -o " + out, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(wrote, "kpack: wrote " + out + " (" + std::to_string(fs::file_size(out)) + " bytes)\n");
  EXPECT_EQ(runKpack("--version", status).rfind("kpack ", 0), 0u);
  EXPECT_EQ(status, 0);

  std::string many;
  for (int i = 0; i < 60; ++i) many += (i ? ", \"x" : "\"x") + std::to_string(i) + "\"";
  const std::string text =
      replaced(kFullManifest, "[\"txt\", \".log\", \"ini\"]", "[" + many + "]");
  const std::string path = manifest(text).string();
  const std::string warning = runKpack("build " + path + " -o " + out, status);
  EXPECT_EQ(status, 0);  // a skin of the vendor's own may show them all
  const std::string head = "kpack: warning: " + path + ":" +
                           std::to_string(lineOf(text, "optional-extensions")) +
                           ": items[0].file-types[0].optional-extensions: 60 extensions, but the "
                           "default skin's file-type page shows only ";
  ASSERT_EQ(warning.substr(0, head.size()), head) << warning;
  const int fit = std::atoi(warning.c_str() + head.size());
  EXPECT_GT(fit, 3);  // a few rows of several boxes
  EXPECT_LT(fit, 60);
  EXPECT_TRUE(fs::exists(out));
}

// Texts in other words than ours are laid out in their language: one too wide
// for its place, and a navigation caption the bar cannot hold, are said at
// their lines with the language and the page; --strict refuses them. The
// shipped translations, all ten of which the manifest speaks, fit.
TEST_F(Kpack, WarnsOfTranslationsThatDoNotFit) {
  const std::string out = (dir_ / "package.bin").string();
  const std::string text =
      replaced(kFullManifest, "[pictures]",
               "[texts.de]\nwelcome = \"Vielen herzlichen Dank, dass Sie sich heute wieder einmal "
               "f\xC3\xBCr "
               "unsere Software entschieden haben\"\nnext = \"Weiter zur folgenden Seite, und von "
               "dort immer weiter bis zum Ende\"\n"
               "[texts.is]\nnext = \"\xC3\x81"
               "fram\"\n[pictures]");
  const std::string path = manifest(text).string();
  int status = -1;
  const std::string output = runKpack("build " + path + " -o " + out, status);
  EXPECT_EQ(status, 0) << output;
  const std::string welcome = "kpack: warning: " + path + ":" +
                              std::to_string(lineOf(text, "welcome =")) +
                              ": texts.de.welcome: the text \"welcome\" does not fit its place: "
                              "German: Welcome: the text \"Vielen herzlichen Dank, dass Sie...\" "
                              "runs ";
  EXPECT_NE(output.find(welcome), std::string::npos) << output;
  const std::string next =
      "kpack: warning: " + path + ":" + std::to_string(lineOf(text, "next = \"Weiter")) +
      ": texts.de.next: German: the navigation bar cannot hold its captions side by side on "
      "Welcome, InstallFolder, FileTypes; the widest, \"next\" (\"Weiter zur folgenden "
      "Seite, und ...\"), is ";
  EXPECT_NE(output.find(next), std::string::npos) << output;
  std::size_t warnings = 0;
  for (std::size_t at = 0; (at = output.find("warning:", at)) != std::string::npos; ++at) {
    ++warnings;
  }
  // Beside them, at the line of the texts, each text that still names Kestrane; the
  // damaged-file message names the company-url instead, in every language.
  const std::string named =
      "kpack: warning: " + path + ":" + std::to_string(lineOf(text, "[texts.de]")) + ": texts.";
  for (const char* key : {"window-name", "header", "welcome", "fatal-caption"}) {
    EXPECT_NE(output.find(named + key + ": still names Kestrane in English, Danish, "),
              std::string::npos)
        << key << " in " << output;
  }
  EXPECT_EQ(warnings, 6u) << output;
  runKpack("build --strict " + path + " -o " + out, status);
  EXPECT_EQ(status, 1);

  // The vendor's words for them leave no Kestrane anywhere, the damaged-file
  // message with its caption included, in any language.
  const kpack::Manifest vendor = kpack::loadManifest(manifest(
      replaced(text, "[texts.de]",
               "[texts]\nwindow-name = \"Nordwind Setup\"\nheader = \"Nordwind\"\nwelcome = "
               "\"Hello\"\ndownload-url = \"https://nordwind.example/get\"\n[texts.de]")));
  EXPECT_EQ(kpack::textsNamingUs(vendor), std::vector<std::string>());
  const std::vector<kpack::SetupLanguage> languages = kpack::setupLanguages(vendor);
  EXPECT_EQ(languages.size(), 12u);
  for (const kpack::SetupLanguage& language : languages) {
    const std::string caption = language.texts.text(texts::FatalCaption);
    EXPECT_EQ(caption.rfind("Nordwind Setup - ", 0), 0u) << language.name << ": " << caption;
    const std::string fatal = language.texts.text(texts::FatalText);
    EXPECT_NE(fatal.find("https://nordwind.example/get"), std::string::npos)
        << language.name << ": " << fatal;
  }
}

// What the pages cannot show is named character by character: what Windows-1252
// cannot hold as one error listing all of them, what the skin's fonts lack as
// warnings (errors with --strict).
TEST_F(Kpack, NamesEveryCharacterThePagesCannotShow) {
  const std::string out = (dir_ / "package.bin").string();
  const std::string text = replaced(kFullManifest, "name = \"Demo Product\"",
                                    "name = \"Caf\xC3\xA9 \xE2\x86\x92 M\xC3\xBCller\"");
  const std::string path = manifest(text).string();
  const std::string licence = (dir_ / "LICENCE.txt").string();
  writeText("LICENCE.txt",
            "na\xC3\xAFve fa\xC3\xA7"
            "ade \xC2\xBD \xE2\x82\xAC"
            "5 \xC2\xABq\xC2\xBB\n"
            "\xC5\x82\xC3\xB3"
            "d\xC5\xBA ok\n");
  int status = -1;
  std::string report = runKpack("build " + path + " -o " + out, status);
  EXPECT_EQ(status, 1);
  for (const std::string& line :
       {path + ":3:14: product.name: U+2192 '\xE2\x86\x92' cannot be written in Windows-1252",
        licence + ":2:1: licence text: U+0142 '\xC5\x82' cannot",
        licence + ":2:4: licence text: U+017A '\xC5\xBA' cannot", std::string("kpack: hint: ")}) {
    EXPECT_NE(report.find(line), std::string::npos) << line << "\ngot: " << report;
  }

  // Held by the code page, not drawn by the default skin's fonts: a control
  // character, and the byte the code page leaves undefined.
  writeText("LICENCE.txt",
            "na\xC3\xAFve fa\xC3\xA7"
            "ade\nok \x01 \xC2\x81\n");
  const std::string fine = manifest(replaced(kFullManifest, "Demo Product\"\ncompany",
                                             "Caf\xC3\xA9 M\xC3\xBCller\"\ncompany"))
                               .string();
  report = runKpack("build " + fine + " -o " + out, status);
  EXPECT_EQ(status, 0) << report;
  EXPECT_EQ(report, "kpack: warning: " + licence +
                        ":2:4: licence text: U+0001 is not in the skin's font 2: the page leaves "
                        "it out\nkpack: warning: " +
                        licence +
                        ":2:6: licence text: U+0081 is not in the skin's font 2: the page leaves "
                        "it out\nkpack: wrote " +
                        out + " (" + std::to_string(fs::file_size(out)) + " bytes)\n");
  report = runKpack("build --strict " + fine + " -o " + out, status);
  EXPECT_EQ(status, 1) << report;
  EXPECT_NE(report.find("2 warnings, made errors by --strict"), std::string::npos) << report;

  // A skin without the high glyphs draws none of the accents.
  ByteStream skin;
  std::vector<unsigned char> skinBytes;
  ASSERT_TRUE(tools::readWholeFile(KESTRANE_DEFAULT_SKIN, skinBytes));
  skin.appendBytes(std::uint32_t(skinBytes.size()), skinBytes.data());
  const std::vector<std::string> warnings =
      kpack::undrawableCharacters(kpack::loadManifest(fine), skin, nullptr);
  std::string all;
  for (const std::string& w : warnings) all += w + "\n";
  EXPECT_NE(all.find(fine + ":3:12: product.name: U+00E9 '\xC3\xA9' is not in the skin's font 1"),
            std::string::npos)
      << all;
  EXPECT_NE(all.find(licence + ":1:3: licence text: U+00EF"), std::string::npos) << all;
}

// Pictures of other sizes than the pages are laid out for are allowed; where they
// make a page go wrong, kpack build and setup warn at the manifest's line with
// the fix, kpack check says the same of a built setup, and --strict refuses them.
// So does a product name too wide for its page. Only a layout that cannot work
// at all is an error without --strict.
TEST_F(Kpack, WarnsWhenThePicturesDoNotFitThePages) {
  const std::string out = (dir_ / "package.bin").string();
  const std::string longName =
      "name = \"Demo Product With A Name Far Too Long For Any Page Of Any Setup\"";
  const struct {
    const char* file;  // a picture of width x height, or none
    int width, height;
    std::string from, to;  // and a change of the manifest
    const char* field;     // the warning names its line
    const char* warning;
    const char* finding;
    const char* fix;
    int status;
  } cases[] = {
      {"side.jpg", 200, 300, "", "",
       "side = ", "pictures.side: the side picture is 200 x 300 pixels: ",
       "every page: the side picture ends 14 pixels above the bottom of the page",
       ". Fix: make it 164 x 314, the size the layout expects\n", 0},
      {"side.jpg", 300, 314, "", "",
       "side = ", "pictures.side: the side picture is 300 x 314 pixels: ",
       "past the right edge of the text column (x 310 to 490)",
       ". Fix: make it 164 x 314, the size the layout expects\n", 0},
      {"side.jpg", 480, 314, "", "",
       "side = ", "pictures.side: the side picture is 480 pixels wide",
       "leaves the pages no room for their text", ": make it 164 x 314", 1},
      {nullptr, 0, 0, "name = \"Demo Product\"", longName,
       "name = ", "product.name: the product's name is too wide for the Welcome page: ",
       "Welcome: the product's name \"Demo Product With A Name Far Too...\" ",
       ". Fix: shorten it, or put a \"-\" where it may break onto a second line\n", 0},
      {"logo.jpg", 100, 100, "", "", "logo = ", "pictures.logo: the logo is 100 x 100 pixels: ",
       "Welcome: the logo covers the text \"Thank you",
       ". Fix: make it 49 x 49, the size the layout expects\n", 0},
  };
  for (const auto& c : cases) {
    SetUp();  // the pictures of the sizes the pages are laid out for
    if (c.file != nullptr) {
      write(c.file, testdata::EncodeSolidJpeg(c.width, c.height, 0x20, 0x40, 0x80));
    }
    const std::string text = c.from.empty() ? kFullManifest : replaced(kFullManifest, c.from, c.to);
    const std::string path = manifest(text).string();
    const std::string head = path + ":" + std::to_string(lineOf(text, c.field)) + ": " + c.warning;
    int status = -1;
    std::string output = runKpack("build " + path + " -o " + out, status);
    EXPECT_EQ(status, c.status) << output;
    EXPECT_NE(output.find(std::string(c.status == 0 ? "kpack: warning: " : "kpack: ") + head),
              std::string::npos)
        << output;
    EXPECT_NE(output.find(c.finding), std::string::npos) << output;
    EXPECT_NE(output.find(c.fix), std::string::npos) << output;
    if (c.status != 0) continue;

    fs::remove(out);
    output = runKpack("build --strict " + path + " -o " + out, status);
    EXPECT_EQ(status, 1) << output;
    EXPECT_EQ(output.rfind("kpack: error: " + head, 0), 0u) << output;
    EXPECT_FALSE(fs::exists(out));
  }

  // The last case's setup, and what kpack check says of it. Larger originals of
  // its pictures go along beside the package.
  const std::string setup = (dir_ / "ProductSetup.exe").string();
  const fs::path stub = fs::path(KESTRANE_DEMO_PRODUCT) / "bin" / "DemoApp.exe";
  int status = -1;
  const std::vector<unsigned char> side2x = testdata::EncodeSolidJpeg(328, 628, 1, 2, 3),
                                   logo2x = testdata::EncodeSolidJpeg(200, 200, 3, 2, 1);
  write("side-2x.jpg", side2x);
  write("logo-2x.jpg", logo2x);
  const std::string path =
      manifest(
          replaced(kFullManifest, "logo = \"logo.jpg\"",
                   "logo = \"logo.jpg\"\nside-2x = \"side-2x.jpg\"\nlogo-2x = \"logo-2x.jpg\""))
          .string();
  std::string output = runKpack("setup " + path + " --stub '" + stub.string() + "' --skin " +
                                    KESTRANE_DEFAULT_SKIN + " -o " + setup,
                                status);
  ASSERT_EQ(status, 0) << output;
  EXPECT_NE(output.find("kpack: warning: " + path + ":13: pictures.logo: the logo is 100 x 100"),
            std::string::npos)
      << output;
  output = runKpack("check " + setup + " >/dev/null", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(output.rfind("kpack: warning: " + setup + ": pictures.logo: the logo is 100 x 100", 0),
            0u)
      << output;
  runKpack("check --strict " + setup + " >/dev/null", status);
  EXPECT_EQ(status, 1);
  std::vector<unsigned char> large, expected = {2, 0, 0, 0};
  for (const auto* jpeg : {&side2x, &logo2x}) {
    for (int i = 0; i < 4; ++i) expected.push_back((unsigned char)(jpeg->size() >> (8 * i)));
    expected.insert(expected.end(), jpeg->begin(), jpeg->end());
  }
  std::vector<unsigned char> image;
  std::string error;
  ASSERT_TRUE(tools::readWholeFile(setup, image));
  ASSERT_TRUE(platform::findProgramResource(image, 124, large, error)) << error;
  EXPECT_TRUE(large == expected);
}

// Package texts are Windows-1252, where every byte 0x80..0xFF is a character; the
// report must carry each of them as valid UTF-8, whatever the byte.
TEST_F(Kpack, CheckReportsEveryHighByteAsUtf8) {
  std::string high;
  for (int b = 0x80; b <= 0xFF; ++b) high += char(b);
  const std::string name = "High " + tools::cp1252ToUtf8(high);
  const std::string out = (dir_ / "package.bin").string();
  int status = -1;
  runKpack(
      "build " +
          manifest(replaced(kFullManifest, "name = \"Demo Product\"", "name = \"" + name + "\""))
              .string() +
          " -o " + out,
      status);
  ASSERT_EQ(status, 0);
  // The name is too wide for Welcome: the page check's warning goes elsewhere.
  const std::string json = runKpack("check " + out + " 2>/dev/null", status);
  EXPECT_EQ(status, 0);
  ASSERT_TRUE(nlohmann::json::accept(json)) << json;
  EXPECT_EQ(nlohmann::json::parse(json)["displayName"], name);

  // Should bytes that are not UTF-8 reach the writer anyway, they are replaced,
  // never thrown out of the tool.
  std::ostringstream report;
  tools::writeJsonReport({{"name", std::string("\x80 kept \xFF")}}, report);
  ASSERT_TRUE(nlohmann::json::accept(report.str())) << report.str();
  EXPECT_EQ(nlohmann::json::parse(report.str())["name"], "\xEF\xBF\xBD kept \xEF\xBF\xBD");
}

TEST_F(Kpack, InstallRunsThePassHeadless) {
  // Two bodies of exactly 20,000 and 50,000 packed bytes whose streams fill them.
  const std::string first = PackageBytes::noise(19900, 3), second = PackageBytes::noise(49900, 4);
  PackageBytes p;
  p.header().u32(2);
  p.text("first.bin").u32(0).u32(19900).blob(PackageBytes::paddedBody(first, 20000));
  p.text("data\\second.bin").u32(0).u32(49900).blob(PackageBytes::paddedBody(second, 50000));
  write("install.bin", p.bytes);
  const std::string package = (dir_ / "install.bin").string();
  const fs::path prefix = dir_ / "prefix";

  int status = -1;
  EXPECT_EQ(runKpack("install " + package + " --prefix " + prefix.string(), status),
            "done 0\nprogress 0\nprogress 23\nprogress 28\nprogress 51\nprogress 75\nprogress 98\n"
            "done 1\n");
  EXPECT_EQ(status, 0);
  const fs::path installed = prefix / "drive_c/Program Files/Demo Product";
  std::ifstream in(installed / "second.bin", std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, second);
  EXPECT_EQ(fs::file_size(installed / "first.bin"), 19900u);

  EXPECT_EQ(
      runKpack("install " + package + " --prefix " + prefix.string() + " --cancel-after 3", status),
      "done 0\nprogress 0\nprogress 23\nprogress 28\nerror 2 data\\second.bin\n");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(runKpack("install " + package + " --prefix " + prefix.string() + " --parent 'D:\\Apps'",
                     status),
            "done 0\nerror 1 D:\\Apps\\Demo Product\n");
  EXPECT_EQ(status, 1);

  writeText("junk.bin", "junk");
  EXPECT_EQ(
      runKpack("install " + (dir_ / "junk.bin").string() + " --prefix " + prefix.string(), status),
      "kpack: invalid package: not a package: wrong magic number (at byte 4)\n");
  EXPECT_EQ(status, 2);
  runKpack("install " + package + " --prefix " + prefix.string() + " --uncheck 1,100", status);
  EXPECT_EQ(status, 2);
}

TEST_F(Kpack, InstallLeavesFilesRegistryAndLinks) {
  const std::string out = (dir_ / "full.bin").string();
  int status = -1;
  runKpack("build " + manifest(kFullManifest).string() + " -o " + out, status);
  ASSERT_EQ(status, 0);
  const fs::path prefix = dir_ / "full-prefix";
  EXPECT_EQ(runKpack("install " + out + " --prefix " + prefix.string(), status).substr(0, 7),
            "done 0\n");
  EXPECT_EQ(status, 0);

  const fs::path drive = prefix / "drive_c";
  const fs::path installed = drive / "Program Files/Demo Product";
  for (const char* name : {"Demo.exe", "Demo Help.chm", "demo.dat", "DemoShell.dll",
                           "Uninstall.exe", "demohelper.dll"}) {
    EXPECT_TRUE(fs::is_regular_file(installed / name)) << name;
  }
  EXPECT_TRUE(fs::is_regular_file(drive / "Windows/System32/demohelper.dll"));
  EXPECT_FALSE(fs::exists(drive / "Windows/System32/demo.dat"));  // cancelled

  const std::string reg = regExportText((prefix / "registry.reg").string());
  const std::string app = "C:\\\\Program Files\\\\Demo Product\\\\";
  const std::string classes = "HKEY_LOCAL_MACHINE\\Software\\Classes\\";
  const struct {
    std::string key;
    std::string lines;
  } expected[] = {
      {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo Product",
       "\"DisplayName\"=\"Demo Product\"\r\n"
       "\"UninstallString\"=\"\\\"" +
           app +
           "Uninstall.exe\\\"\"\r\n"
           "\"DisplayIcon\"=\"\\\"" +
           app +
           "Demo.exe\\\"\"\r\n"
           "\"Publisher\"=\"Kestrane D\xC3\xA9mo\"\r\n"
           "\"URLInfoAbout\"=\"https://example.com\"\r\n"
           "\"Comments\"=\"Removes Demo Product\"\r\n"
           "\"URLUpdateInfo\"=\"https://example.com/demo\"\r\n"
           "\"HelpLink\"=\"https://example.com/demo\"\r\n"
           "\"Contact\"=\"Customer Support\"\r\n"
           "\"Language\"=dword:00000000\r\n\"NoModify\"=dword:00000001\r\n"
           "\"NoRepair\"=dword:00000001\r\n\"WindowsInstaller\"=dword:00000000\r\n" +
           estimatedSizeLine(installed) + "\"QuietUninstallString\"=\"\\\"" + app +
           "Uninstall.exe\\\" /quiet\"\r\n"},
      {classes + "Applications\\Demo.exe", "@=\"Demo Product\"\r\n"},
      {classes + "Demo.Text\\shell\\open\\command",
       "@=\"\\\"" + app + "Demo.exe\\\" \\\"%1\\\"\"\r\n"},
      {classes + "Demo.Text\\DefaultIcon", "@=\"" + app + "Demo.exe,1\"\r\n"},
      {classes + "Demo.Doc\\shellex\\{BB2E617C-0920-11D1-9A0B-00C04FC2D6C1}",
       "@=\"{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}\"\r\n"},
      {classes + ".demo", "@=\"Demo.Doc\"\r\n"},
      {classes + ".txt", "@=\"Demo.Text\"\r\n"},  // offered and checked
      {classes + ".txt\\OpenWithProgids", "\"Demo.Text\"=hex(0):\r\n"},
      {classes + ".zip", "@=\"Demo.Archive\"\r\n"},
      {classes + "CLSID\\{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}\\InProcServer32",
       "@=\"\\\"" + app + "DemoShell.dll\\\"\"\r\n\"ThreadingModel\"=\"Apartment\"\r\n"},
      {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Shell "
       "Extensions\\Approved",
       "\"{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}\"=\"Demo Shell Extension\"\r\n"},
      {"HKEY_LOCAL_MACHINE\\Software\\Kestrane D\xC3\xA9mo\\Demo\\Install",
       "\"CurrentUser\"=dword:00000000\r\n\"StartMenuEntry\"=dword:00000001\r\n"
       "\"TopMenuEntry\"=dword:00000001\r\n\"DesktopIcon\"=dword:00000001\r\n"
       "\"ParentFolder\"=\"C:\\\\Program Files\"\r\n\"ParentMenuEntry\"=\"\"\r\n"
       "\"AppFile\"=\"" +
           app + "Demo.exe\"\r\n"},
  };
  for (const auto& e : expected) EXPECT_EQ(regExportKey(reg, e.key), e.lines) << e.key;

  const fs::path menu = drive / "ProgramData/Microsoft/Windows/Start Menu/Programs/Demo Product";
  const struct {
    fs::path link;
    const char* target;
  } links[] = {
      {menu / "Demo Product.lnk", "C:\\Program Files\\Demo Product\\Demo.exe"},
      {menu / "Demo Help.lnk", "C:\\Program Files\\Demo Product\\Demo Help.chm"},
      {drive / "Users/Public/Desktop/Demo.lnk", "C:\\Program Files\\Demo Product\\Demo.exe"},
  };
  for (const auto& l : links) {
    LinkFacts facts;
    ASSERT_TRUE(readLinkFile(l.link.string(), facts)) << l.link;
    EXPECT_EQ(facts.target, l.target);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(menu), fs::directory_iterator()), 2);
}
