#include "kpack/VersionInfo.h"

#include "common/Cp1252.h"
#include "common/VersionResource.h"
#include "package/ProductVersion.h"

namespace kpack {

// US English: the language of the one string table the resource holds.
constexpr std::uint16_t kVersionLanguage = 0x0409;

std::vector<tools::PeResource> versionResourceFor(const Manifest& manifest, const char* role) {
  ProductVersion version;
  if (!parseProductVersion(manifest.version.c_str(), version)) return {};
  const std::string name = tools::cp1252ToUtf8(manifest.displayName);
  const std::vector<std::pair<std::string, std::string>> strings = {
      {"CompanyName", tools::cp1252ToUtf8(manifest.companyName)},
      {"FileDescription", name + " " + role},
      {"FileVersion", manifest.version},
      {"ProductName", name},
      {"ProductVersion", manifest.version},
  };
  return {{"#" + std::to_string(tools::kVersionResourceType), tools::kVersionResourceId,
           tools::versionResource(version, strings), kVersionLanguage}};
}

}  // namespace kpack
