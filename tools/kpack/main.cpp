// kpack: builds, checks and lists install packages.
//
//   kpack build MANIFEST.toml -o OUT.bin [--level standard|max] [--threads N]
//   kpack check FILE      (a package, a Setup.exe or a host setup)
//   kpack list FILE
//   kpack install FILE --prefix DIR [--parent WINPATH] [--uncheck LIST] [--cancel-after N]
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <unistd.h>

#include "common/ProgramResources.h"
#include "kpack/InstallCommand.h"
#include "kpack/Manifest.h"
#include "kpack/ManifestRules.h"
#include "kpack/PackageJson.h"
#include "kpack/PackageWriter.h"
#include "package/InstallModel.h"
#include "package/PackageFormat.h"
#include "render/Skin.h"

namespace {

constexpr int kExitInvalid = 1;
constexpr int kExitUsage = 2;

// Large payloads take a while to compress: report every tenth of the way.
class ProgressReport {
 public:
  void operator()(int, std::uint64_t done, std::uint64_t total) {
    if (total < (16u << 20)) return;
    const int tenth = int(done * 10 / total);
    if (tenth == shown_) return;
    shown_ = tenth;
    std::fprintf(stderr, "kpack: compressed %d%% (%.1f of %.1f MB)\n", tenth * 10, done / 1e6,
                 total / 1e6);
  }

 private:
  int shown_ = 0;
};

// kpack carries the default skin (RC_DATA 116) to tell whether the offered
// extensions fit its file-type page.
void warnAboutGrid(const kpack::Manifest& manifest, const std::vector<unsigned char>& package) {
  ByteStream skin;
  InstallModel model;
  std::uint32_t position = 0;
  if (skin.loadResourceData(kSkinResourceId, nullptr) != S_OK || package.size() > 0xFFFFFFF0u ||
      !model.readPackage(ByteView(package.data(), std::uint32_t(package.size())), position)) {
    return;
  }
  const std::string warning = kpack::checkBoxGridWarning(manifest, model, skin);
  if (!warning.empty()) std::cerr << "kpack: warning: " << warning << "\n";
}

int build(const std::string& manifestPath, const std::string& outPath,
          const kpack::BuildOptions& options) {
  try {
    const kpack::Manifest manifest = kpack::loadManifest(manifestPath);
    ProgressReport report;
    const auto bytes = kpack::buildPackage(manifest, std::ref(report), options);
    warnAboutGrid(manifest, bytes);
    const std::string temporary = outPath + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out || std::rename(temporary.c_str(), outPath.c_str()) != 0) {
      std::remove(temporary.c_str());
      std::cerr << "kpack: cannot write " << outPath << "\n";
      return kExitUsage;
    }
    return 0;
  } catch (const kpack::ManifestError& e) {
    std::cerr << "kpack: " << e.what() << "\n";
    return kExitInvalid;
  }
}

// Reads FILE whole, in one read of its known size; false when it cannot be read or
// is too large for a package.
bool readFile(const std::string& path, ByteStream& bytes) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  const std::streamoff size = in.tellg();
  if (size < 0 || std::uint64_t(size) > 0xFFFFFFF0u || bytes.setSize(std::uint32_t(size)) != S_OK) {
    return false;
  }
  in.seekg(0);
  return in.read(reinterpret_cast<char*>(bytes.bytes()), size).gcount() == size;
}

// Reads FILE's package into `model`, which refers to `bytes` from then on; the
// exit code when that fails, else -1.
int readModel(const std::string& path, ByteStream& bytes, InstallModel& model) {
  if (!readFile(path, bytes)) {
    std::cerr << "kpack: cannot read " << path << "\n";
    return kExitUsage;
  }
  // A built setup carries its package as resource RC_DATA 112.
  const std::vector<unsigned char> head(bytes.bytes(), bytes.bytes() + std::min(bytes.size(), 4u));
  if (tools::isProgramImage(head)) {
    const std::vector<unsigned char> program(bytes.bytes(), bytes.bytes() + bytes.size());
    std::vector<unsigned char> package;
    std::string error;
    if (!tools::findProgramResource(program, kPackageResourceId, package, error)) {
      std::cerr << "kpack: invalid package: " << error << "\n";
      return kExitInvalid;
    }
    bytes.clear();
    bytes.appendBytes(std::uint32_t(package.size()), package.data());
  }
  std::uint32_t position = 0;
  if (!model.readPackage(bytes.view(), position)) {
    std::cerr << "kpack: invalid package: " << model.failureReason() << "\n";
    return kExitInvalid;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"kpack: builds, checks and lists install packages"};
  app.require_subcommand(1);

  std::string manifest, output, file;
  CLI::App* buildCommand = app.add_subcommand("build", "Build a package resource from a manifest");
  buildCommand->add_option("manifest", manifest, "The TOML manifest")->required();
  buildCommand->add_option("-o,--output", output, "The package file to write")->required();
  kpack::BuildOptions buildOptions;
  buildCommand
      ->add_option("--level", buildOptions.level,
                   "standard: zlib's best; max: libdeflate's level 12, smaller and slower")
      ->transform(CLI::CheckedTransformer(
          std::map<std::string, kpack::CompressionLevel>{
              {"standard", kpack::CompressionLevel::Standard},
              {"max", kpack::CompressionLevel::Max}},
          CLI::ignore_case));
  buildCommand->add_option("--threads", buildOptions.threads,
                           "Files compressed side by side (default: one per core)");

  CLI::App* checkCommand =
      app.add_subcommand("check", "Read a package or setup and describe it as JSON");
  checkCommand->add_option("file", file, "A package, Setup.exe or host setup")->required();

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
                   "Optional extensions to leave unassociated, by position")
      ->delimiter(',');
  installCommand
      ->add_option("--cancel-after", install.cancelAfter,
                   "Cancel while the N-th progress message is handled")
      ->check(CLI::NonNegativeNumber);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : kExitUsage;
  }

  if (*buildCommand) return build(manifest, output, buildOptions);
  // The emulated machine is chosen before anything touches it.
  if (*installCommand) setenv("KESTRANE_PREFIX", prefix.c_str(), 1);
  ByteStream packageBytes;  // outlives the model, whose items refer to it
  InstallModel model;
  if (const int failed = readModel(file, packageBytes, model); failed >= 0) {
    return *installCommand ? kExitUsage : failed;
  }
  if (*installCommand) return kpack::installPackage(model, install);
  if (*checkCommand) {
    kpack::writePackageJson(model, std::cout);
  } else {
    kpack::writePackageTable(model, std::cout);
  }
  return std::cout.good() ? 0 : kExitUsage;
}
