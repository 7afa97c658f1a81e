// The version resource (VS_VERSIONINFO, resource type 16, id 1) that Explorer's
// Properties and every deployment tool read from a program: a fixed part with the
// numeric version, and a table of texts in US English, UTF-16.
//
//   VS_VERSIONINFO     length, 52, 0, "VS_VERSION_INFO", VS_FIXEDFILEINFO
//     StringFileInfo   length, 0, 1, "StringFileInfo"
//       StringTable    length, 0, 1, "040904B0" (US English, UTF-16)
//         String       length, characters with the terminator, 1, name, value
//     VarFileInfo      length, 0, 1, "VarFileInfo"
//       Var            length, 4, 0, "Translation", 0x0409 0x04B0
//
// Every block starts on a 32-bit boundary and its length counts its children,
// not the padding after it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "package/ProductVersion.h"

namespace tools {

constexpr std::uint16_t kVersionResourceType = 16;  // RT_VERSION
constexpr std::uint16_t kVersionResourceId = 1;

// The resource for a program of `version` whose texts are `strings` (name,
// value; UTF-8), in their order: ProductName, ProductVersion, CompanyName,
// FileDescription, FileVersion, LegalCopyright and the like. A text with an
// empty value is left out.
std::vector<std::uint8_t> versionResource(
    const ProductVersion& version, const std::vector<std::pair<std::string, std::string>>& strings);

}  // namespace tools
