#include "kpack/WingetCommand.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "base/Sha256.h"
#include "common/Cp1252.h"
#include "package/ProductExtension.h"
#include "system/UninstallEntry.h"

namespace kpack {
namespace {

// The schema version the files name; winget reads older ones too.
constexpr char kManifestVersion[] = "1.6.0";
constexpr char kLocale[] = "en-US";

// A YAML scalar in double quotes, escaped as YAML's double-quoted style asks.
std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string hex(const Sha256Digest& digest) {
  std::string out;
  char digits[3];
  for (const unsigned char byte : digest) {
    std::snprintf(digits, sizeof digits, "%02X", unsigned(byte));
    out += digits;
  }
  return out;
}

bool writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << "# Made by kpack winget; see https://aka.ms/winget-manifest.schema\n" << text;
  return static_cast<bool>(out.flush());
}

}  // namespace

int wingetCommand(const WingetArguments& arguments, const InstallModel& model,
                  const std::vector<unsigned char>& image) {
  // The identifier is what winget's schema allows: two to eight parts joined by
  // dots, none empty; the address one it can download.
  const std::string& id = arguments.id;
  const bool idOk = id.find('.') != std::string::npos && id.front() != '.' && id.back() != '.' &&
                    id.find("..") == std::string::npos && id.size() <= 128 &&
                    id.find_first_of(" \t\\/:*?\"<>|") == std::string::npos;
  if (!idOk) {
    std::cerr << "kpack: --id " << id << ": write PUBLISHER.PRODUCT, for example Contoso.Viewer\n";
    return 1;
  }
  if (arguments.url.rfind("https://", 0) != 0 && arguments.url.rfind("http://", 0) != 0) {
    std::cerr << "kpack: --url " << arguments.url
              << ": the address winget downloads the setup from, https://...\n";
    return 1;
  }
  SetupString versionText;
  ProductVersion version;
  if (!productVersion(model.extension, versionText, version)) {
    std::cerr << "kpack: " << arguments.setup
              << " has no version: give [product] version in its manifest and make it again\n";
    return 1;
  }
  SetupString entryKey;
  uninstallEntryKey(model.displayName.text(), entryKey);
  const char* slash = std::strrchr(entryKey.text(), '\\');
  const std::string productCode = tools::cp1252ToUtf8(slash != nullptr ? slash + 1 : "");
  const std::string name = tools::cp1252ToUtf8(model.displayName.text());
  const std::string publisher = tools::cp1252ToUtf8(model.companyName.text());
  const std::string head = "PackageIdentifier: " + quoted(arguments.id) +
                           "\nPackageVersion: " + quoted(versionText.text()) + "\n";
  const std::string tail =
      std::string("ManifestType: %s\nManifestVersion: ") + kManifestVersion + "\n";
  auto typed = [&](const char* type) {
    std::string t = tail;
    t.replace(t.find("%s"), 2, type);
    return t;
  };

  const std::string versionFile = head + "DefaultLocale: " + kLocale + "\n" + typed("version");
  const std::string installerFile =
      head +
      "InstallerType: exe\n"
      "Scope: machine\n"
      "InstallModes:\n  - interactive\n  - silent\n  - silentWithProgress\n"
      "InstallerSwitches:\n"
      "  Silent: /quiet\n"
      "  SilentWithProgress: /passive\n"
      "  Log: /log=\"<LOGPATH>\"\n"
      "  InstallLocation: /dir=\"<INSTALLPATH>\"\n"
      "ExpectedReturnCodes:\n"
      "  - InstallerReturnCode: 1602\n    ReturnResponse: cancelledByUser\n"
      "  - InstallerReturnCode: 1618\n    ReturnResponse: installInProgress\n"
      "  - InstallerReturnCode: 1633\n    ReturnResponse: systemNotSupported\n"
      "  - InstallerReturnCode: 1638\n    ReturnResponse: downgrade\n"
      "  - InstallerReturnCode: 1639\n    ReturnResponse: invalidParameter\n"
      "UpgradeBehavior: install\n"
      "ProductCode: " +
      quoted(productCode) +
      "\nAppsAndFeaturesEntries:\n"
      "  - DisplayName: " +
      quoted(name) + "\n    Publisher: " + quoted(publisher) +
      "\n    DisplayVersion: " + quoted(versionText.text()) +
      "\n    ProductCode: " + quoted(productCode) +
      "\nInstallers:\n"
      "  - Architecture: x86\n    InstallerUrl: " +
      quoted(arguments.url) + "\n    InstallerSha256: " + hex(sha256(image.data(), image.size())) +
      "\n" + typed("installer");
  const std::string description = arguments.description.empty() ? name : arguments.description;
  std::string localeFile = head + "PackageLocale: " + kLocale +
                           "\nPublisher: " + quoted(publisher) + "\nPackageName: " + quoted(name) +
                           "\nLicense: " + quoted(arguments.license) +
                           "\nShortDescription: " + quoted(description) + "\n";
  if (!model.companyUrl.isEmpty()) {
    localeFile += "PublisherUrl: " + quoted(tools::cp1252ToUtf8(model.companyUrl.text())) + "\n";
  }
  if (!model.productUrl.isEmpty()) {
    localeFile += "PackageUrl: " + quoted(tools::cp1252ToUtf8(model.productUrl.text())) + "\n";
  }
  localeFile += typed("defaultLocale");

  const std::filesystem::path folder(arguments.output);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const struct {
    std::string name;
    const std::string& text;
  } files[] = {{arguments.id + ".yaml", versionFile},
               {arguments.id + ".installer.yaml", installerFile},
               {arguments.id + ".locale." + kLocale + ".yaml", localeFile}};
  for (const auto& file : files) {
    if (!writeFile(folder / file.name, file.text)) {
      std::cerr << "kpack: cannot write " << (folder / file.name).string() << "\n";
      return 1;
    }
    std::cout << "kpack: wrote " << (folder / file.name).string() << "\n";
  }
  return 0;
}

}  // namespace kpack
