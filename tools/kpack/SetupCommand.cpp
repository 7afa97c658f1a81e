#include "kpack/SetupCommand.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "common/Cp1252.h"
#include "common/PeResourceWriter.h"
#include "common/WholeFile.h"
#include "kpack/BuildCommand.h"
#include "kpack/LargePictures.h"
#include "kpack/ScaledSkins.h"
#include "kpack/SetupTextsWriter.h"
#include "kpack/VersionInfo.h"
#include "package/PackageFormat.h"
#include "package/ProductExtension.h"
#include "platform/ProgramResources.h"
#include "render/Skin.h"

namespace fs = std::filesystem;

namespace kpack {
namespace {

constexpr int kExitInvalid = 1;
constexpr int kExitUsage = 2;

int complain(int status, const std::string& message) {
  std::cerr << "kpack: " << message << "\n";
  return status;
}

// The skins for larger display scales the setup will carry, with their glyphs
// kept in `kept`: those in `resources` (a vendor's skin), else the stub's own.
std::vector<ScaledSkinCheck> scaledSkinsOf(const std::vector<tools::PeResource>* resources,
                                           const std::vector<unsigned char>& stub,
                                           std::deque<ByteStream>& kept) {
  const auto load = [&](int id, ByteStream& into) {
    std::vector<unsigned char> bytes;
    std::string none;
    if (resources == nullptr) {
      if (!platform::findProgramResource(stub, id, bytes, none)) return;
    } else {
      for (const tools::PeResource& r : *resources) {
        if (r.type == "RC_DATA" && r.id == id) bytes = r.data;
      }
    }
    if (!bytes.empty()) into.appendBytes(std::uint32_t(bytes.size()), bytes.data());
  };
  std::vector<ScaledSkinCheck> scaled;
  for (const ScaledSkinResource& at : kScaledSkinResources) {
    ByteStream& skin = kept.emplace_back();
    ByteStream& glyphs = kept.emplace_back();
    load(at.skinId, skin);
    load(at.highGlyphsId, glyphs);
    if (skin.size() > 0) scaled.push_back({at.percent, &skin, &glyphs});
  }
  return scaled;
}

// Where the stub may be, in order: the one named on the command line; else the
// one beside kpack (a build tree, or `cmake --install`), then the one of an
// installed package (bin/kpack with share/kestrane/ beside bin/).
std::vector<fs::path> stubPlaces(const SetupArguments& arguments, const std::string& program) {
  if (!arguments.stub.empty()) return {arguments.stub};
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) self = fs::absolute(program, ec);
  const fs::path bin = self.parent_path();
  return {bin / kStubName, bin.parent_path() / "share" / "kestrane" / kStubName};
}

// A skin is used only if the program's own reader takes all of it.
bool checkSkin(const std::vector<unsigned char>& bytes, ByteStream& skin, std::string& error) {
  PictureList pictures;
  SpriteList sprites, standalone;
  FontList fonts;
  std::uint32_t position = 0;
  if (bytes.size() > 0xFFFFFFF0u ||
      skin.appendBytes(std::uint32_t(bytes.size()), bytes.data()) != S_OK) {
    error = "too large";
    return false;
  }
  if (!pictures.LoadSkin(skin, position, sprites, fonts, standalone)) {
    error = "the setup's skin reader refuses it";
    return false;
  }
  if (position != bytes.size()) {
    error = "it has " + std::to_string(bytes.size() - position) + " bytes after the skin";
    return false;
  }
  return true;
}

// The high glyphs go with their skin only if the program's reader takes all of
// them over its fonts. Empty bytes are none.
bool checkHighGlyphs(const std::vector<unsigned char>& bytes, const ByteStream& skin,
                     std::string& error) {
  if (bytes.empty()) return true;
  PictureList pictures;
  SpriteList sprites, standalone;
  FontList fonts;
  std::uint32_t position = 0;
  ByteStream glyphs;
  if (!pictures.LoadSkin(skin, position, sprites, fonts, standalone) ||
      bytes.size() > 0xFFFFFFF0u ||
      glyphs.appendBytes(std::uint32_t(bytes.size()), bytes.data()) != S_OK) {
    error = "too large";
    return false;
  }
  position = 0;
  if (!LoadHighGlyphs(glyphs, position, fonts) || position != glyphs.size()) {
    error = "the setup's skin reader refuses them";
    return false;
  }
  return true;
}

// A program, as a linker would leave it: `wine` does not mind, a file manager does.
void makeRunnable(const std::string& path) {
  std::error_code ignored;
  fs::permissions(path, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, ignored);
}

// The one line a finished setup is announced with: where, how large, signed or
// not.
int announce(const std::string& output, bool isSigned) {
  makeRunnable(output);
  std::error_code error;
  const std::uintmax_t size = fs::file_size(output, error);
  std::cout << "kpack: wrote " << output << " (" << (error ? 0 : size) << " bytes, "
            << (isSigned ? "signed" : "not signed") << ")" << std::endl;
  return 0;
}

std::string quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// What a signature carries besides the certificate: the product's name and web
// address, which Windows shows in its prompt before the program runs.
struct Signer {
  const SetupArguments& arguments;
  std::string description;  // UTF-8
  std::string url;
};

// Signs `in` into `out` with osslsigncode, using only options that
// Debian 12's 2.5 and the backported 2.9 both take. `what` names the program in
// the error.
bool sign(const Signer& signer, const std::string& in, const std::string& out,
          const std::string& what, std::string& error) {
  if (std::system("command -v osslsigncode >/dev/null 2>&1") != 0) {
    error = "osslsigncode is not installed (scripts/bootstrap installs it)";
    return false;
  }
  const SetupArguments& arguments = signer.arguments;
  std::string command = "osslsigncode sign -pkcs12 " + quoted(arguments.certificate);
  if (!arguments.passwordFile.empty()) command += " -readpass " + quoted(arguments.passwordFile);
  command += " -h sha256";
  if (!signer.description.empty()) command += " -n " + quoted(signer.description);
  if (!signer.url.empty()) command += " -i " + quoted(signer.url);
  if (!arguments.timestampUrl.empty()) command += " -t " + quoted(arguments.timestampUrl);
  // Its own report ("Succeeded") is kept from the user unless it failed.
  const std::string log = out + ".log";
  command += " -in " + quoted(in) + " -out " + quoted(out) + " >" + quoted(log) + " 2>&1";
  const bool signedOk = std::system(command.c_str()) == 0;
  std::vector<unsigned char> report;
  if (!signedOk && tools::readWholeFile(log, report)) {
    std::cerr.write(reinterpret_cast<const char*>(report.data()), std::streamsize(report.size()));
  }
  std::remove(log.c_str());
  if (signedOk) return true;
  error = "osslsigncode could not sign " + what + " (see above)";
  return false;
}

// Signs a program held in memory, through two scratch files beside `output`.
bool signInMemory(const Signer& signer, std::vector<unsigned char>& program,
                  const std::string& output, const std::string& what, std::string& error) {
  const std::string in = output + ".uninstaller.tmp", out = output + ".uninstaller.signed.tmp";
  bool ok = tools::writeWholeFile(in, program, error) && sign(signer, in, out, what, error);
  if (ok && !tools::readWholeFile(out, program)) {
    error = "cannot read back the signed " + what;
    ok = false;
  }
  std::remove(in.c_str());
  std::remove(out.c_str());
  return ok;
}

// The extension resource for the package among `resources`: the manifest's
// entries bound to it, or nothing when the manifest gives none.
std::vector<unsigned char> productExtensionOf(const Manifest& manifest,
                                              const std::vector<tools::PeResource>& resources) {
  std::vector<ExtensionEntry> entries;
  if (!manifest.version.empty()) {
    entries.push_back({kTagProductVersion,
                       ByteView(reinterpret_cast<const unsigned char*>(manifest.version.data()),
                                std::uint32_t(manifest.version.size()))});
  }
  for (const tools::PeResource& resource : resources) {
    if (entries.empty() || resource.type != "RC_DATA" || resource.id != kPackageResourceId)
      continue;
    return writeProductExtension(
        entries, ByteView(resource.data.data(), std::uint32_t(resource.data.size())));
  }
  return {};
}

}  // namespace

std::string defaultSetupName(const std::string& settingsKey) {
  std::string name;
  for (unsigned char c : settingsKey) {
    if (c > ' ' && c != 0x7F && std::string("\\/:*?\"<>|").find(char(c)) == std::string::npos) {
      name += char(c);
    }
  }
  while (!name.empty() && name.front() == '.') name.erase(0, 1);
  return name.empty() ? std::string() : tools::cp1252ToUtf8(name) + "Setup.exe";
}

int setupCommand(const SetupArguments& arguments, const std::string& program) {
  if (arguments.certificate.empty() &&
      (!arguments.passwordFile.empty() || !arguments.timestampUrl.empty())) {
    return complain(kExitUsage, "--password-file and --timestamp go with --sign");
  }
  Manifest manifest;
  try {
    manifest = loadManifest(arguments.manifest);
  } catch (const ManifestError& e) {
    return complain(kExitInvalid, e.what());
  }
  std::string output = arguments.output;
  if (output.empty()) {
    output = defaultSetupName(manifest.settingsKeyName);
    if (output.empty()) {
      return complain(kExitUsage, "the settings key makes no file name; name the setup with -o");
    }
  }
  std::string leaf = fs::path(output).filename().string();
  for (char& c : leaf) c = char(std::tolower((unsigned char)c));
  if (leaf == "setup.exe") {
    return complain(kExitUsage,
                    "a setup may not be called " + fs::path(output).filename().string() +
                        ": Windows treats that name specially; name it after the product");
  }

  const std::vector<fs::path> places = stubPlaces(arguments, program);
  fs::path stubPath;
  std::vector<unsigned char> image;
  for (const fs::path& place : places) {
    if (tools::readWholeFile(place.string(), image)) {
      stubPath = place;
      break;
    }
  }
  if (stubPath.empty()) {
    std::string looked;
    for (const fs::path& place : places) {
      looked += (looked.empty() ? "" : " nor at ") + place.string();
    }
    return complain(kExitUsage,
                    "no setup stub at " + looked +
                        "; the Windows build puts one beside kpack, or name one with --stub FILE");
  }
  std::vector<tools::PeResource> resources;
  ByteStream skin;
  std::string error;
  std::vector<unsigned char> skinBytes;
  std::vector<unsigned char> glyphBytes;
  if (!arguments.skin.empty()) {
    if (!tools::readWholeFile(arguments.skin, skinBytes)) {
      return complain(kExitUsage, "cannot read " + arguments.skin);
    }
    if (!checkSkin(skinBytes, skin, error)) {
      return complain(kExitInvalid, "invalid skin " + arguments.skin + ": " + error);
    }
    // The stub's high glyphs are drawn for its own fonts: a skin of the vendor's
    // carries its own or none (an empty resource).
    std::string glyphsPath = arguments.glyphs;
    std::error_code ec;
    const fs::path beside = fs::path(arguments.skin).replace_extension(".glyphs");
    if (glyphsPath.empty() && fs::is_regular_file(beside, ec)) glyphsPath = beside.string();
    if (!glyphsPath.empty() && !tools::readWholeFile(glyphsPath, glyphBytes)) {
      return complain(kExitUsage, "cannot read " + glyphsPath);
    }
    if (!checkHighGlyphs(glyphBytes, skin, error)) {
      return complain(kExitInvalid, "invalid glyphs " + glyphsPath + ": " + error);
    }
  } else if (!arguments.glyphs.empty()) {
    return complain(kExitUsage, "--glyphs goes with --skin");
  } else {
    std::vector<unsigned char> stubSkin;
    if (!platform::findProgramResource(image, kSkinResourceId, stubSkin, error)) {
      return complain(kExitInvalid, "the stub " + stubPath.string() + " carries no skin (" + error +
                                        "); give one with --skin");
    }
    if (!checkSkin(stubSkin, skin, error)) {
      return complain(kExitInvalid, "the stub's skin is invalid: " + error);
    }
  }

  // Signed, the uninstaller is signed inside the package too: kpack rewrites it,
  // so the vendor cannot sign it beforehand.
  const Signer signer{arguments, tools::cp1252ToUtf8(manifest.displayName),
                      tools::cp1252ToUtf8(manifest.productUrl)};
  BuildOptions build = arguments.build;
  if (!arguments.certificate.empty()) {
    build.finishUninstaller = [&](std::vector<unsigned char>& program, std::string& why) {
      return signInMemory(signer, program, output, "the uninstaller", why);
    };
  }
  // The skins for larger display scales: the vendor's beside theirs, else the
  // stub's own; the pages are checked over each.
  if (!skinBytes.empty() && !addScaledSkins(arguments.skin, skin, resources, error)) {
    return complain(kExitInvalid, error);
  }
  std::deque<ByteStream> scaledBytes;
  const std::vector<ScaledSkinCheck> scaled =
      scaledSkinsOf(skinBytes.empty() ? nullptr : &resources, image, scaledBytes);
  try {
    ByteStream glyphs;
    if (!glyphBytes.empty())
      glyphs.appendBytes(std::uint32_t(glyphBytes.size()), glyphBytes.data());
    // The stub's own skin goes with its own glyphs.
    std::vector<unsigned char> stubGlyphs;
    if (arguments.skin.empty() &&
        platform::findProgramResource(image, kHighGlyphsResourceId, stubGlyphs, error) &&
        !stubGlyphs.empty()) {
      glyphs.appendBytes(std::uint32_t(stubGlyphs.size()), stubGlyphs.data());
    }
    resources.push_back({"RC_DATA", kPackageResourceId,
                         packManifest(manifest, &skin, build,
                                      arguments.skin.empty() ? "the stub's skin" : arguments.skin,
                                      &glyphs, scaled)});
    resources.push_back({"RC_DATA", kLargePicturesResourceId, largePictures(manifest)});
  } catch (const ManifestError& e) {
    return complain(kExitInvalid, e.what());
  }
  // What the package has no field for goes into the extension resource, bound to
  // the package just made. A manifest that needs none makes a setup without one,
  // the one kpack made before there was an extension; a stub's own, made for
  // another package, is written anew as empty, as its skins are.
  const std::vector<unsigned char> extension = productExtensionOf(manifest, resources);
  std::vector<unsigned char> stubExtension;
  std::string none;
  if (!extension.empty() ||
      platform::findProgramResource(image, kExtensionResourceId, stubExtension, none)) {
    resources.push_back({"RC_DATA", kExtensionResourceId, extension});
  }
  for (tools::PeResource& version : versionResourceFor(manifest, "Setup")) {
    resources.push_back(std::move(version));
  }
  if (!skinBytes.empty()) {
    resources.push_back({"RC_DATA", kSkinResourceId, std::move(skinBytes)});
    resources.push_back({"RC_DATA", kHighGlyphsResourceId, std::move(glyphBytes)});
  }
  if (!tools::writePeResources(image, resources, error) ||
      !writeSetupStrings(image, setupLanguages(manifest), error)) {
    return complain(kExitInvalid, "cannot use the stub " + stubPath.string() + ": " + error);
  }
  if (const std::string note = textsNote(manifest); !note.empty()) {
    std::cerr << "kpack: " << note << "\n";
  }

  if (arguments.certificate.empty()) {
    if (!tools::writeWholeFile(output, image, error)) return complain(kExitUsage, error);
    return announce(output, false);
  }
  // Signed into a second temporary file: the output is replaced only by a setup
  // that carries its signature.
  const std::string unsignedPath = output + ".unsigned.tmp", signedPath = output + ".signed.tmp";
  if (!tools::writeWholeFile(unsignedPath, image, error)) return complain(kExitUsage, error);
  const bool signedOk = sign(signer, unsignedPath, signedPath, "the setup", error);
  std::remove(unsignedPath.c_str());
  if (!signedOk) {
    std::remove(signedPath.c_str());
    return complain(kExitInvalid, error);
  }
  if (std::rename(signedPath.c_str(), output.c_str()) != 0) {
    std::remove(signedPath.c_str());
    return complain(kExitUsage, "cannot write " + output);
  }
  return announce(output, true);
}

}  // namespace kpack
