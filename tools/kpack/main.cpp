// kpack: builds, checks and lists install packages.
//
//   kpack build MANIFEST.toml -o OUT.bin [--level standard|max] [--threads N] [--strict]
//   kpack setup MANIFEST.toml [-o OUT.exe] [--skin SKIN.bin [--glyphs SKIN.glyphs]]
//               [--stub STUB.exe]
//               [--sign CERT.pfx [--password-file F] [--timestamp URL]]
//               [--level standard|max] [--threads N] [--strict]
//   kpack check FILE [--strict]   (a package, a Setup.exe or a host setup)
//   kpack list FILE
//   kpack install FILE --prefix DIR [--parent WINPATH] [--uncheck LIST] [--cancel-after N]
//   kpack registry FILE.reg [KEY]
//   kpack texts MANIFEST.toml -o DIR   (the [texts] as files for a build's resources)
//   kpack winget SETUP.exe --id PUBLISHER.PRODUCT --url URL [--description TEXT]
//                [--license NAME] [-o DIR]
//   kpack schema          (the manifests' JSON Schema, docs/manifest.schema.json)
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <unistd.h>
#include <vector>

#include "common/JsonReport.h"
#include "common/WholeFile.h"
#include "kpack/BuildCommand.h"
#include "kpack/InstallCommand.h"
#include "kpack/Manifest.h"
#include "kpack/ManifestKeys.h"
#include "kpack/PackageJson.h"
#include "kpack/PageWarnings.h"
#include "kpack/RegistryCommand.h"
#include "kpack/ScaledSkins.h"
#include "kpack/SetupCommand.h"
#include "kpack/SetupTextsWriter.h"
#include "kpack/WingetCommand.h"
#include "package/InstallModel.h"
#include "package/PackageFormat.h"
#include "package/ProductExtension.h"
#include "platform/ProgramResources.h"

namespace {

constexpr int kExitInvalid = 1;
constexpr int kExitUsage = 2;

// Reads FILE's package into `model`, which refers to `bytes` from then on; the
// exit code when that fails, else -1.
int readModel(const std::string& path, std::vector<unsigned char>& bytes, InstallModel& model) {
  if (!tools::readWholeFile(path, bytes)) {
    std::cerr << "kpack: cannot read " << path << "\n";
    return kExitUsage;
  }
  // A built setup carries its package as resource RC_DATA 112.
  if (platform::isProgramImage(bytes)) {
    const std::vector<unsigned char> program = std::move(bytes);
    std::string error;
    if (!platform::findProgramResource(program, kPackageResourceId, bytes, error)) {
      std::cerr << "kpack: invalid package: " << error << "\n";
      return kExitInvalid;
    }
  }
  std::uint32_t position = 0;
  if (bytes.size() > 0xFFFFFFF0u) {
    std::cerr << "kpack: invalid package: too large\n";
    return kExitInvalid;
  }
  if (!model.readPackage(ByteView(bytes.data(), std::uint32_t(bytes.size())), position)) {
    std::cerr << "kpack: invalid package: " << model.failureReason() << "\n";
    return kExitInvalid;
  }
  return -1;
}

// How a package is compressed, for both commands that build one.
void addBuildOptions(CLI::App* command, kpack::BuildOptions& options) {
  command
      ->add_option("--level", options.level,
                   "standard: files up to 1 MiB at libdeflate's level 12, larger ones at zlib's "
                   "best; max: every file at libdeflate's level 12, smaller and slower")
      ->transform(CLI::CheckedTransformer(
          std::map<std::string, kpack::CompressionLevel>{
              {"standard", kpack::CompressionLevel::Standard},
              {"max", kpack::CompressionLevel::Max}},
          CLI::ignore_case));
  command->add_option("--threads", options.threads,
                      "Files compressed side by side (default: one per core)");
  command->add_flag("--strict", options.strict,
                    "Make the warnings about the pages (what does not fit, characters the skin "
                    "cannot draw) errors: nothing is written then");
}

// The page check of `check` (a package or a built setup): over the setup's own
// skins, or the default skin for a bare package. The exit status it asks for:
// 0, or 1 when the pages cannot work or --strict meets a warning.
int checkPagesOf(const std::string& path, InstallModel& model, bool strict) {
  // A built setup is checked in every language of its string table and at every
  // display scale it carries a skin for, a package in our words at 100 %.
  std::vector<unsigned char> image;
  if (!tools::readWholeFile(path, image) || !platform::isProgramImage(image)) image.clear();
  std::vector<std::uint16_t> languages = kpack::stringLanguages(image);
  if (languages.empty()) languages.push_back(platform::kEnglishLanguage);
  std::vector<SetupTexts> spoken(languages.size());
  std::size_t count = 0;
  const texts::TextEntry* entries = texts::catalog(count);
  for (std::size_t k = 0; k < languages.size(); ++k) {
    spoken[k].language = languages[k];
    for (std::size_t i = 0; i < count; ++i) {
      std::string text;
      if (platform::findProgramString(image, entries[i].id, text, languages[k])) {
        spoken[k].set(entries[i].id, text.c_str());
      }
    }
  }
  std::vector<int> scales = kpack::carriedScales(image);
  if (scales.empty()) scales.push_back(100);
  tools::Warnings warnings("kpack", strict);
  for (const int percent : scales) {
    ByteStream skin, glyphs;
    std::string skinName, error;
    SkinLists lists;
    bool checked = kpack::skinForCheck(path, image, percent, skin, glyphs, skinName, error) &&
                   kpack::loadSkinForPages(skin, &glyphs, skinName, lists, error);
    for (std::size_t k = 0; checked && k < languages.size(); ++k) {
      const std::string name =
          languages.size() > 1 ? kpack::languageNames({languages[k]}) : std::string();
      checked = kpack::warnAboutPages(model, lists, percent, spoken[k], name, "texts", skinName,
                                      nullptr, path, false, warnings, error);
    }
    if (!checked) {
      std::cerr << "kpack: " << error << "\n";
      return kExitInvalid;
    }
  }
  if (warnings.Failed()) {
    std::cerr << "kpack: " << warnings.Summary() << "\n";
    return kExitInvalid;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"kpack: builds, checks and lists install packages"};
  app.set_version_flag("--version", std::string("kpack ") + KESTRANE_VERSION);
  app.require_subcommand(1);

  std::string manifest, output, file;
  CLI::App* buildCommand = app.add_subcommand("build", "Build a package resource from a manifest");
  buildCommand->add_option("manifest", manifest, "The TOML manifest")->required();
  buildCommand->add_option("-o,--output", output, "The package file to write")->required();
  kpack::BuildOptions buildOptions;
  addBuildOptions(buildCommand, buildOptions);

  CLI::App* setupCommand = app.add_subcommand(
      "setup", "Make a finished Windows setup from a manifest, without a compiler");
  kpack::SetupArguments setup;
  setupCommand->add_option("manifest", setup.manifest, "The TOML manifest")->required();
  setupCommand->add_option("-o,--output", setup.output,
                           "The setup to write (default: the settings key followed by Setup.exe)");
  setupCommand->add_option("--skin", setup.skin, "A skin resource to carry instead of the default");
  setupCommand->add_option("--glyphs", setup.glyphs,
                           "The high glyphs of the skin's fonts (default: the file kskin build "
                           "wrote beside the skin, if there is one)");
  setupCommand->add_option("--stub", setup.stub,
                           std::string("The setup stub (default: ") + kpack::kStubName +
                               " beside kpack, or in ../share/kestrane)");
  addBuildOptions(setupCommand, setup.build);
  CLI::Option* signOption =
      setupCommand->add_option("--sign", setup.certificate, "Sign with this PKCS#12 (.pfx) file");
  setupCommand->add_option("--password-file", setup.passwordFile, "The certificate's password")
      ->needs(signOption);
  setupCommand->add_option("--timestamp", setup.timestampUrl, "A time-stamp server's address")
      ->needs(signOption);

  CLI::App* checkCommand =
      app.add_subcommand("check", "Read a package or setup and describe it as JSON");
  checkCommand->add_option("file", file, "A package, Setup.exe or host setup")->required();
  bool strictCheck = false;
  checkCommand->add_flag("--strict", strictCheck,
                         "Exit with 1 when a warning about the pages is said");

  CLI::App* listCommand = app.add_subcommand("list", "List the items of a package or setup");
  listCommand->add_option("file", file, "A package, Setup.exe or host setup")->required();

  CLI::App* installCommand =
      app.add_subcommand("install", "Run the setup's install pass into an emulated machine");
  installCommand->add_option("file", file, "A package, Setup.exe or host setup")->required();
  std::string prefix;
  kpack::InstallArguments install;
  installCommand->add_option("--prefix", prefix, "Folder of the emulated machine")->required();
  installCommand->add_option("--parent", install.parentFolder,
                             "Windows folder that receives the install folder");
  installCommand
      ->add_option("--uncheck", install.unchecked,
                   "Optional extensions to leave unassociated, by name (txt,log) or by "
                   "position in their sorted list")
      ->delimiter(',');
  installCommand
      ->add_option("--cancel-after", install.cancelAfter,
                   "Cancel while the N-th progress message is handled")
      ->check(CLI::NonNegativeNumber);

  CLI::App* registryCommand =
      app.add_subcommand("registry", "Read a registry export (.reg) and describe its keys as JSON");
  std::string registryKey;
  registryCommand->add_option("file", file, "A registry export, such as a prefix's registry.reg")
      ->required();
  registryCommand->add_option("key", registryKey,
                              "Only this key and the keys below it (HKLM\\Software\\...)");

  CLI::App* textsCommand = app.add_subcommand(
      "texts", "Write a manifest's [texts] as string-table files for a build's resources");
  textsCommand->add_option("manifest", manifest, "The TOML manifest")->required();
  textsCommand->add_option("-o,--output", output, "The folder to write into")->required();
  CLI::App* wingetCommand = app.add_subcommand(
      "winget", "Write the winget package manifest of a built setup (three YAML files)");
  kpack::WingetArguments winget;
  wingetCommand->add_option("setup", file, "The built (and signed) Setup.exe")->required();
  wingetCommand->add_option("--id", winget.id, "The package identifier, PUBLISHER.PRODUCT")
      ->required();
  wingetCommand->add_option("--url", winget.url, "The address the setup is downloaded from")
      ->required();
  wingetCommand->add_option("--description", winget.description,
                            "The short description (default: the product's name)");
  wingetCommand->add_option("--license", winget.license,
                            "The licence's name (default: Proprietary)");
  wingetCommand->add_option("-o,--output", winget.output, "The folder to write into (default: .)");

  CLI::App* schemaCommand = app.add_subcommand(
      "schema", "Print the JSON Schema of manifests, for editors (docs/manifest.schema.json)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : kExitUsage;
  }

  if (*buildCommand) return kpack::buildCommand(manifest, output, buildOptions);
  if (*setupCommand) return kpack::setupCommand(setup, argv[0]);
  if (*textsCommand) return kpack::textsCommand(manifest, output);
  if (*registryCommand) return kpack::registryCommand(file, registryKey, std::cout);
  if (*schemaCommand) {
    tools::writeJsonReport(kpack::manifestSchema(), std::cout);
    return std::cout.good() ? 0 : kExitUsage;
  }
  // The emulated machine is chosen before anything touches it.
  if (*installCommand) setenv("KESTRANE_PREFIX", prefix.c_str(), 1);
  std::vector<unsigned char> packageBytes;  // outlives the model, whose items refer to it
  InstallModel model;
  if (const int failed = readModel(file, packageBytes, model); failed >= 0) {
    return *installCommand ? kExitUsage : failed;
  }
  // A built setup carries its extension, read as the setup reads it, against
  // the package it carries; the install pass writes what it says.
  std::vector<unsigned char> image;
  const bool program = tools::readWholeFile(file, image) && platform::isProgramImage(image);
  std::vector<unsigned char> extension;
  std::string none;
  if (program && platform::findProgramResource(image, kExtensionResourceId, extension, none)) {
    // Past the limit it is ignored whatever its length.
    const std::size_t size = std::min<std::size_t>(extension.size(), kMaxExtensionSize + 1);
    model.extension.read(ByteView(extension.data(), std::uint32_t(size)),
                         ByteView(packageBytes.data(), std::uint32_t(packageBytes.size())));
  }
  if (*installCommand) return kpack::installPackage(model, install);
  if (*wingetCommand) {
    winget.setup = file;
    if (!program) {
      std::cerr << "kpack: " << file << " is not a built setup\n";
      return kExitInvalid;
    }
    return kpack::wingetCommand(winget, model, image);
  }
  // A built setup names the languages it speaks.
  std::vector<std::string> languages;
  if (program) {
    for (std::uint16_t language : kpack::stringLanguages(image)) {
      languages.push_back(kpack::languageNames({language}));
    }
  }
  const std::vector<std::string>* spoken = languages.empty() ? nullptr : &languages;
  if (*checkCommand) {
    kpack::writePackageJson(model, std::cout, kpack::carriedScales(file), spoken);
    if (!std::cout.good()) return kExitUsage;
    std::cout.flush();
    return checkPagesOf(file, model, strictCheck);
  } else {
    kpack::writePackageTable(model, std::cout, kpack::carriedScales(file), spoken);
  }
  return std::cout.good() ? 0 : kExitUsage;
}
