// kpack setup on the host: the demo manifest into a Windows program used as the
// stub (the demo's own viewer, which carries icons but no skin), read back with the
// tools' reader and kpack check; the stub found beside kpack; the names refused;
// and a signature that osslsigncode accepts, or an output left alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/Inflate.h"
#include "base/Sha256.h"
#include "common/PeResourceWriter.h"
#include "common/WholeFile.h"
#include "kpack/ScaledSkins.h"
#include "kpack/SetupCommand.h"
#include "kskin/SkinWriter.h"
#include "package/InstallModel.h"
#include "package/PackageFormat.h"
#include "package/ProductExtension.h"
#include "platform/ProgramResources.h"
#include "render/Skin.h"
#include "support/RunProcess.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string q(const fs::path& p) {
  return "'" + p.string() + "'";
}

std::string hexDigest(const Bytes& bytes) {
  std::string out;
  char digits[3];
  for (const unsigned char byte : sha256(bytes.data(), bytes.size())) {
    std::snprintf(digits, sizeof digits, "%02X", unsigned(byte));
    out += digits;
  }
  return out;
}

class KpackSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kpack-setup-test-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs `command` in the test's folder.
  std::string run(const std::string& command, int& status) {
    std::string output;
    status = runBounded("cd " + q(dir_) + " && " + command, output, 120);
    return output;
  }
  std::string kpackSetup(const std::string& arguments, int& status) {
    return run(std::string(KPACK_PATH) + " setup " + q(manifest_) + " " + arguments, status);
  }

  fs::path dir_;
  const fs::path manifest_ = fs::path(KESTRANE_DEMO_PRODUCT) / "demo.toml";
  const fs::path stub_ = fs::path(KESTRANE_DEMO_PRODUCT) / "bin" / "DemoApp.exe";
  const std::string withStub_ = "--stub " + q(stub_) + " --skin " + q(KESTRANE_DEFAULT_SKIN);
};

}  // namespace

TEST_F(KpackSetup, WritesPackageAndSkinIntoTheStub) {
  int status = -1;
  std::string output = kpackSetup(withStub_, status);
  ASSERT_EQ(status, 0) << output;
  // The default name: the settings key "Demo Product" without its blank.
  const fs::path setup = dir_ / "DemoProductSetup.exe";
  const Bytes image = readAll(setup);
  EXPECT_NE(output.find("kpack: wrote DemoProductSetup.exe (" + std::to_string(image.size()) +
                        " bytes, not signed)\n"),
            std::string::npos)
      << output;
  // The demo fits its pages.
  EXPECT_EQ(output.find("warning"), std::string::npos) << output;
  Bytes skin, package;
  std::string error;
  ASSERT_TRUE(platform::findProgramResource(image, 116, skin, error)) << error;
  EXPECT_TRUE(skin == readAll(KESTRANE_DEFAULT_SKIN));
  ASSERT_TRUE(platform::findProgramResource(image, 112, package, error)) << error;
  EXPECT_TRUE(package == readAll(KESTRANE_DEMO_PACKAGE));  // what kpack build makes

  // The skin's glyphs above 127 go with it; without [texts] the window keeps our
  // name, the pages our words, and kpack says so once.
  Bytes glyphs;
  ASSERT_TRUE(platform::findProgramResource(image, 117, glyphs, error)) << error;
  EXPECT_TRUE(glyphs == readAll(fs::path(KESTRANE_DEFAULT_SKIN).replace_extension(".glyphs")));
  // So do the skins drawn at 150 % and 200 % beside it, with their glyphs.
  for (const ScaledSkinResource& scale : kScaledSkinResources) {
    const fs::path file = kpack::scaledSkinPath(KESTRANE_DEFAULT_SKIN, scale.percent);
    Bytes scaled;
    ASSERT_TRUE(platform::findProgramResource(image, scale.skinId, scaled, error)) << error;
    EXPECT_TRUE(scaled == readAll(file)) << file;
    ASSERT_TRUE(platform::findProgramResource(image, scale.highGlyphsId, scaled, error)) << error;
    EXPECT_TRUE(scaled == readAll(fs::path(file).replace_extension(".glyphs"))) << file;
  }
  std::string text;
  EXPECT_TRUE(platform::findProgramString(image, 1, text));
  EXPECT_EQ(text, "Kestrane Setup");
  EXPECT_TRUE(platform::findProgramString(image, 3, text));
  EXPECT_EQ(text, "Kestrane Corp Setup");
  EXPECT_NE(output.find("note: no [texts]"), std::string::npos) << output;
  // It speaks the ten languages kpack ships, each of which fits the pages (no
  // warning above).
  EXPECT_TRUE(platform::findProgramString(image, 41, text, 0x0407));
  EXPECT_EQ(text, "Weiter");
  EXPECT_TRUE(platform::findProgramString(image, 3, text, 0x040C));
  EXPECT_EQ(text, "Installation de Kestrane Corp");

  output = run(std::string(KPACK_PATH) + " check --strict " + q(setup), status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("\"displayName\": \"Demo Product\""), std::string::npos) << output;
  EXPECT_NE(output.find("\"scales\": [\n    100,\n    150,\n    200\n  ]"), std::string::npos)
      << output;
  EXPECT_NE(output.find("\"languages\": [\n    \"English\",\n    \"Danish\",\n    \"German\""),
            std::string::npos)
      << output;
  output = run(std::string(KPACK_PATH) + " list " + q(setup), status);
  EXPECT_NE(output.find("\ndrawn for display scales: 100 %, 150 %, 200 %\n"), std::string::npos)
      << output;
  output = run(std::string(KSKIN_PATH) + " check " + q(setup), status);
  EXPECT_EQ(status, 0) << output;

  // Made again, it is the same file.
  output = kpackSetup(withStub_ + " -o again.exe", status);
  ASSERT_EQ(status, 0) << output;
  EXPECT_TRUE(readAll(dir_ / "again.exe") == image);

  // The demo's version goes into the extension resource, and kpack check shows
  // it. Given another extension, kpack check shows its entries (a tag it does
  // not know by number), or why the setup ignores it; kpack setup over such a
  // stub writes it anew, with the manifest's entries alone.
  output = run(std::string(KPACK_PATH) + " check " + q(setup), status);
  EXPECT_NE(output.find("\"version\": \"1.0\""), std::string::npos) << output;
  // A manifest without a version needs none: its setup carries no extension.
  {
    std::ifstream in(manifest_, std::ios::binary);
    std::string manifest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string version = "version = \"1.0\"\n";
    manifest.erase(manifest.find(version), version.size());
    const fs::path unversioned =
        manifest_.parent_path() / ("unversioned-" + dir_.filename().string() + ".toml");
    std::ofstream(unversioned, std::ios::binary) << manifest;
    output = run(std::string(KPACK_PATH) + " setup " + q(unversioned) + " " + withStub_ +
                     " -o unversioned.exe",
                 status);
    fs::remove(unversioned);
    ASSERT_EQ(status, 0) << output;
    Bytes carried;
    EXPECT_FALSE(platform::findProgramResource(readAll(dir_ / "unversioned.exe"),
                                               kExtensionResourceId, carried, error));
    // winget needs a version: the manifest key is named.
    output = run(std::string(KPACK_PATH) + " winget unversioned.exe --id Kestrane.Demo --url " +
                     "https://kestrane.example/setup.exe",
                 status);
    EXPECT_NE(status, 0);
    EXPECT_NE(output.find("give [product] version"), std::string::npos) << output;
  }

  // The winget manifest of the versioned setup holds what winget's schemas
  // require of each of its three files, and the hash of the setup's bytes.
  output = run(std::string(KPACK_PATH) + " winget " + q(setup) +
                   " --id Kestrane.Demo --url https://kestrane.example/setup.exe -o winget",
               status);
  ASSERT_EQ(status, 0) << output;
  const struct {
    const char* file;
    std::vector<std::string> lines;
  } wingetFiles[] = {
      {"Kestrane.Demo.yaml",
       {"PackageIdentifier: \"Kestrane.Demo\"", "PackageVersion: \"1.0\"", "DefaultLocale: en-US",
        "ManifestType: version", "ManifestVersion: 1.6.0"}},
      {"Kestrane.Demo.installer.yaml",
       {"InstallerType: exe", "  Silent: /quiet", "ProductCode: \"Demo Product\"",
        "  - InstallerReturnCode: 1639", "    DisplayVersion: \"1.0\"", "  - Architecture: x86",
        "    InstallerUrl: \"https://kestrane.example/setup.exe\"",
        "    InstallerSha256: " + hexDigest(image), "ManifestType: installer"}},
      {"Kestrane.Demo.locale.en-US.yaml",
       {"PackageLocale: en-US", "Publisher: \"Kestrane Demo Company\"",
        "PackageName: \"Demo Product\"", "License: \"Proprietary\"",
        "ShortDescription: \"Demo Product\"", "ManifestType: defaultLocale"}},
  };
  for (const auto& f : wingetFiles) {
    const Bytes bytes = readAll(dir_ / "winget" / f.file);
    const std::string text(bytes.begin(), bytes.end());
    for (const std::string& line : f.lines) {
      EXPECT_NE(text.find("\n" + line + "\n"), std::string::npos) << f.file << ": " << line;
    }
  }
  Bytes own;
  ASSERT_TRUE(platform::findProgramResource(image, kExtensionResourceId, own, error)) << error;
  const ByteView hi(reinterpret_cast<const unsigned char*>("hi"), 2);
  for (const bool forItsPackage : {false, true}) {
    const Bytes bound = forItsPackage ? package : Bytes{1};
    Bytes extended = image;
    ASSERT_TRUE(tools::writePeResources(
        extended,
        {{"RC_DATA", kExtensionResourceId,
          writeProductExtension({{0x7001, hi}},
                                ByteView(bound.data(), std::uint32_t(bound.size())))}},
        error))
        << error;
    ASSERT_TRUE(tools::writeWholeFile((dir_ / "extended.exe").string(), extended, error)) << error;
    output = run(std::string(KPACK_PATH) + " check " + q(dir_ / "extended.exe"), status);
    EXPECT_EQ(status, 0) << output;
    const char* shown = forItsPackage ? "\"tag\": 28673,\n        \"value\": \"6869\""
                                      : "\"ignored\": \"made for another package\"";
    EXPECT_NE(output.find(shown), std::string::npos) << output;
  }
  output =
      kpackSetup("--stub extended.exe --skin " + q(KESTRANE_DEFAULT_SKIN) + " -o anew.exe", status);
  ASSERT_EQ(status, 0) << output;
  Bytes anew;
  ASSERT_TRUE(
      platform::findProgramResource(readAll(dir_ / "anew.exe"), kExtensionResourceId, anew, error))
      << error;
  EXPECT_TRUE(anew == own);

  // Packed with the stronger encoder, the setup still reads.
  output = kpackSetup(withStub_ + " --level max -o smaller.exe", status);
  ASSERT_EQ(status, 0) << output;
  output = run(std::string(KPACK_PATH) + " check " + q(dir_ / "smaller.exe"), status);
  EXPECT_EQ(status, 0) << output;
}

// The vendor's words go into the string table; a skin of the vendor's without
// glyphs above 127 leaves the accents undrawn, which kpack warns of.
TEST_F(KpackSetup, WritesTheVendorsTextsAndWarnsOfUndrawnAccents) {
  const fs::path plain = fs::path(KESTRANE_TEST_BINARY_DIR) / "e2e" / "plain.toml";
  int status = -1;
  std::string output = run(
      std::string(KPACK_PATH) + " setup " + q(plain) + " " + withStub_ + " -o texts.exe", status);
  ASSERT_EQ(status, 0) << output;
  EXPECT_EQ(output.find("note:"), std::string::npos) << output;
  EXPECT_EQ(output.find("warning:"), std::string::npos) << output;
  const Bytes image = readAll(dir_ / "texts.exe");
  const struct {
    int id;
    const char* text;
  } strings[] = {{1, "Caf\xE9 M\xFCller Setup"},
                 {3, "Soci\xE9t\xE9 G\xE9n\xE9rale Setup"},
                 {4, "Merci d'avoir choisi nos logiciels.\nNous allons installer :"},
                 {57, "Caf\xE9 M\xFCller Setup - Fatal error"}};
  for (const auto& entry : strings) {
    std::string text;
    EXPECT_TRUE(platform::findProgramString(image, entry.id, text)) << entry.id;
    EXPECT_EQ(text, entry.text);
  }

  fs::copy_file(KESTRANE_DEFAULT_SKIN, dir_ / "bare.skin");
  output = run(std::string(KPACK_PATH) + " setup " + q(plain) + " --stub " + q(stub_) +
                   " --skin bare.skin -o bare.exe",
               status);
  ASSERT_EQ(status, 0) << output;
  EXPECT_NE(output.find("kpack: warning: " + plain.string() + ":"), std::string::npos) << output;
  EXPECT_NE(output.find(": product.name: U+00E9 '\xC3\xA9' is not in the skin's font 1"),
            std::string::npos)
      << output;
  // kpack's translations lose their letters too, said once a language, without
  // the header the vendor words in English for every language.
  EXPECT_NE(output.find(": kpack's German translation: the skin's fonts have no glyphs for "
                        "\xE2\x80\x9E \xE2\x80\x9C \xC3\xA4 \xC3\xB6 \xC3\xBC (welcome-guide, "
                        "change-location,"),
            std::string::npos)
      << output;
  EXPECT_EQ(output.find("translation: the skin's fonts have no glyphs for \xC2\xA1 \xC2\xBF "
                        "\xC3\xA1 \xC3\xAD \xC3\xB3 \xC3\xBA (window-name"),
            std::string::npos)
      << output;
  Bytes glyphs;
  std::string error;
  ASSERT_TRUE(platform::findProgramResource(readAll(dir_ / "bare.exe"), 117, glyphs, error))
      << error;
  EXPECT_TRUE(glyphs.empty());  // the stub's own would not fit the vendor's fonts
  // Nor would its scaled skins go with the vendor's: a skin alone is drawn at
  // 100 % only.
  for (const ScaledSkinResource& scale : kScaledSkinResources) {
    Bytes scaled;
    ASSERT_TRUE(
        platform::findProgramResource(readAll(dir_ / "bare.exe"), scale.skinId, scaled, error));
    EXPECT_TRUE(scaled.empty()) << scale.percent;
  }
  EXPECT_EQ(kpack::carriedScales((dir_ / "bare.exe").string()), std::vector<int>{100});
  EXPECT_TRUE(kpack::carriedScales(KESTRANE_DEMO_PACKAGE).empty());  // not a setup
  output = run(std::string(KPACK_PATH) + " setup " + q(plain) + " --stub " + q(stub_) +
                   " --skin bare.skin --strict -o strict.exe",
               status);
  EXPECT_EQ(status, 1) << output;
  EXPECT_FALSE(fs::exists(dir_ / "strict.exe"));
}

// The languages a manifest chooses, with a German text of the vendor's and a
// language of the vendor's own, go into the setup's string tables and into its
// uninstaller's, every text in each; the vendor's English header stays in every
// language that does not word it.
TEST_F(KpackSetup, WritesAStringTableForEveryLanguage) {
  const fs::path manifest =
      fs::path(KESTRANE_DEMO_PRODUCT) / ("languages-" + std::to_string(getpid()) + ".toml");
  std::string text = "languages = [\"de\", \"fr\"]\n";
  const Bytes demo = readAll(manifest_);
  text.append(demo.begin(), demo.end());
  text +=
      "\n[texts]\nheader = \"Demo Corp Setup\"\nwindow-name = \"Demo Setup\"\n"
      "welcome = \"Welcome.\"\ndownload-url = \"https://example.com/get\"\n"
      "[texts.de]\nnext = \"Vorw\xC3\xA4rts\"\n"
      "[texts.is]\nback = \"Til baka\"\nnext = \"\xC3\x81"
      "fram\"\n";
  std::ofstream(manifest, std::ios::binary) << text;
  int status = -1;
  std::string output = run(
      std::string(KPACK_PATH) + " setup " + q(manifest) + " " + withStub_ + " -o l.exe", status);
  fs::remove(manifest);
  ASSERT_EQ(status, 0) << output;
  EXPECT_EQ(output.find("warning"), std::string::npos) << output;
  const Bytes image = readAll(dir_ / "l.exe");

  // The uninstaller inside the package.
  Bytes packageBytes, uninstaller;
  std::string error;
  ASSERT_TRUE(platform::findProgramResource(image, 112, packageBytes, error)) << error;
  InstallModel model;
  std::uint32_t position = 0;
  ASSERT_TRUE(model.readPackage(ByteView(packageBytes.data(), std::uint32_t(packageBytes.size())),
                                position));
  for (int i = 0; i < model.itemCount(); ++i) {
    if ((model.itemAt(i)->flags & kItemUninstaller) == 0) continue;
    ByteStream plain;
    ASSERT_EQ(inflateStream(model.itemAt(i)->packedData, &plain), S_OK);
    uninstaller.assign(plain.bytes(), plain.bytes() + plain.size());
  }
  ASSERT_FALSE(uninstaller.empty());

  const struct {
    std::uint32_t language;
    int id;
    const char* text;  // null: no such entry
  } strings[] = {
      {0x0409, 41, "Next"},
      {0x0409, 3, "Demo Corp Setup"},
      {0x0407, 41, "Vorw\xE4rts"},  // the vendor's
      {0x0407, 40,
       "Zur\xFC"
       "ck"},                          // kpack's
      {0x0407, 3, "Demo Corp Setup"},  // the vendor's English header
      {0x040C, 41, "Suivant"},
      {0x040F, 40, "Til baka"},  // a language of the vendor's own
      {0x040F, 41,
       "\xC1"
       "fram"},
      {0x040F, 64, "Uninstall"},  // ours where it gives none
      // The damaged-file box names the vendor's window in every language.
      {0x0407, 57, "Demo Setup - Schwerwiegender Fehler"},
      {0x040F, 57, "Demo Setup - Fatal error"},
      {0x0406, 41, nullptr},  // Danish is left out
  };
  for (const Bytes* program : {&image, const_cast<const Bytes*>(&uninstaller)}) {
    for (const auto& entry : strings) {
      std::string found;
      EXPECT_EQ(platform::findProgramString(*program, entry.id, found, entry.language),
                entry.text != nullptr)
          << std::hex << entry.language << " " << std::dec << entry.id;
      if (entry.text != nullptr) {
        EXPECT_EQ(found, entry.text) << entry.language << " " << entry.id;
      }
    }
  }
  output = run(std::string(KPACK_PATH) + " list l.exe", status);
  EXPECT_NE(output.find("speaks English, German, French, Icelandic\n"), std::string::npos)
      << output;
}

TEST_F(KpackSetup, RefusesWhatCannotMakeASetup) {
  int status = -1;
  std::string output = kpackSetup(withStub_ + " -o SETUP.EXE", status);
  EXPECT_EQ(status, 2);
  EXPECT_NE(output.find("may not be called SETUP.EXE"), std::string::npos) << output;

  // A skin the setup's reader refuses, and a stub without a skin of its own.
  output = kpackSetup("--stub " + q(stub_) + " --skin " + q(KESTRANE_DEMO_PACKAGE) + " -o a.exe",
                      status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(output.find("invalid skin"), std::string::npos) << output;
  output = kpackSetup("--stub " + q(stub_) + " -o a.exe", status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(output.find("carries no skin"), std::string::npos) << output;
  // A scaled skin beside the skin that the reader refuses, or whose parts are
  // not the skin's.
  fs::copy_file(KESTRANE_DEFAULT_SKIN, dir_ / "vendor.skin");
  const kskin::Bytes noParts = kskin::WriteSkin(kskin::SkinContent{});
  for (const Bytes& wrong : {readAll(KESTRANE_DEMO_PACKAGE), readAll(stub_), noParts}) {
    std::ofstream(dir_ / "vendor@200.skin", std::ios::binary)
        .write(reinterpret_cast<const char*>(wrong.data()), std::streamsize(wrong.size()));
    output = kpackSetup("--stub " + q(stub_) + " --skin vendor.skin -o a.exe", status);
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("invalid skin vendor@200.skin"), std::string::npos) << output;
  }
  fs::copy_file(KESTRANE_DEFAULT_SKIN, dir_ / "vendor@200.skin",
                fs::copy_options::overwrite_existing);
  fs::copy_file(KESTRANE_DEFAULT_SKIN, dir_ / "vendor@200.glyphs");
  output = kpackSetup("--stub " + q(stub_) + " --skin vendor.skin -o a.exe", status);
  EXPECT_EQ(status, 1) << output;
  EXPECT_NE(output.find("refuses its high glyphs"), std::string::npos) << output;
  // A stub that is no Windows program.
  output = kpackSetup(
      "--stub " + q(KESTRANE_DEFAULT_SKIN) + " --skin " + q(KESTRANE_DEFAULT_SKIN) + " -o a.exe",
      status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(output.find("cannot use the stub"), std::string::npos) << output;
  EXPECT_FALSE(fs::exists(dir_ / "a.exe"));
  EXPECT_FALSE(fs::exists(dir_ / "SETUP.EXE"));

  output = kpackSetup("--password-file pw -o a.exe", status);
  EXPECT_EQ(status, 2) << output;

  // Without --stub, kpack looks beside itself.
  fs::create_directories(dir_ / "tools");
  fs::copy_file(KPACK_PATH, dir_ / "tools" / "kpack");
  output = run(q(dir_ / "tools" / "kpack") + " setup " + q(manifest_) + " -o a.exe", status);
  EXPECT_EQ(status, 2);
  EXPECT_NE(output.find("no setup stub at " + (dir_ / "tools" / kpack::kStubName).string() +
                        " nor at " + (dir_ / "share" / "kestrane" / kpack::kStubName).string()),
            std::string::npos)
      << output;
  fs::copy_file(stub_, dir_ / "tools" / kpack::kStubName);
  output = run(q(dir_ / "tools" / "kpack") + " setup " + q(manifest_) + " --skin " +
                   q(KESTRANE_DEFAULT_SKIN) + " -o a.exe",
               status);
  EXPECT_EQ(status, 0) << output;

  // Installed as a package lays it out: bin/kpack, share/kestrane/ for the stub.
  fs::create_directories(dir_ / "usr" / "bin");
  fs::create_directories(dir_ / "usr" / "share" / "kestrane");
  fs::copy_file(KPACK_PATH, dir_ / "usr" / "bin" / "kpack");
  fs::copy_file(stub_, dir_ / "usr" / "share" / "kestrane" / kpack::kStubName);
  output = run(q(dir_ / "usr" / "bin" / "kpack") + " setup " + q(manifest_) + " --skin " +
                   q(KESTRANE_DEFAULT_SKIN) + " -o b.exe",
               status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(readAll(dir_ / "b.exe"), readAll(dir_ / "a.exe"));
}

TEST(KpackSetupName, IsTheSettingsKeyAsAFileName) {
  EXPECT_EQ(kpack::defaultSetupName("Demo Product"), "DemoProductSetup.exe");
  EXPECT_EQ(kpack::defaultSetupName("A\\B/C:D*?\"<>|E"), "ABCDESetup.exe");
  EXPECT_EQ(kpack::defaultSetupName("Caf\xE9"), "Caf\xC3\xA9Setup.exe");
  EXPECT_EQ(kpack::defaultSetupName(".."), "");
  EXPECT_EQ(kpack::defaultSetupName(" \t"), "");
}

// A throwaway certificate signs the setup; osslsigncode accepts the signature
// against that certificate. A wrong password leaves the earlier setup as it was.
TEST_F(KpackSetup, SignsWithOsslsigncode) {
  int status = -1;
  std::string output;
  for (const char* tool : {"openssl", "osslsigncode"}) {
    run(std::string("command -v ") + tool, status);
    if (status != 0) GTEST_SKIP() << tool << " is not installed";
  }
  output =
      run("printf secret > pw && printf wrong > bad && "
          "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Kestrane Test Signer' "
          "-addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>&1 && "
          "openssl pkcs12 -export -inkey key.pem -in cert.pem -passout file:pw -out cert.pfx",
          status);
  ASSERT_EQ(status, 0) << output;

  output = kpackSetup(withStub_ + " -o Signed.exe --sign cert.pfx --password-file pw", status);
  ASSERT_EQ(status, 0) << output;
  EXPECT_NE(output.find("kpack: wrote Signed.exe ("), std::string::npos) << output;
  EXPECT_NE(output.find(" bytes, signed)"), std::string::npos) << output;
  output = run("osslsigncode verify -CAfile cert.pem -in Signed.exe", status);
  EXPECT_EQ(status, 0) << output;
  // The signature names the product and its address for Windows' prompt, and
  // the uninstaller inside, which kpack rewrote, is signed as well.
  EXPECT_NE(output.find("Text description: Demo Product"), std::string::npos) << output;
  EXPECT_NE(output.find("URL description: https://"), std::string::npos) << output;
  output = run(std::string(KPACK_PATH) + " install Signed.exe --prefix prefix", status);
  ASSERT_EQ(status, 0) << output;
  output =
      run("osslsigncode verify -CAfile cert.pem -in "
          "'prefix/drive_c/Program Files/Demo Product/Uninstall.exe'",
          status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("Text description: Demo Product"), std::string::npos) << output;

  const Bytes before = readAll(dir_ / "Signed.exe");
  output = kpackSetup(withStub_ + " -o Signed.exe --sign cert.pfx --password-file bad", status);
  EXPECT_EQ(status, 1) << output;
  EXPECT_TRUE(readAll(dir_ / "Signed.exe") == before);
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
  }
}
