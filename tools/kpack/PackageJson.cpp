#include "kpack/PackageJson.h"

#include <cstdio>
#include <string>

#include "common/Cp1252.h"
#include "common/JsonReport.h"
#include "kpack/Manifest.h"

namespace kpack {
namespace {

std::string utf8(const SetupString& s) {
  return tools::cp1252ToUtf8(std::string_view(s.text(), std::size_t(s.length())));
}

tools::JsonReport picture(const Image& image) {
  return {
      {"width", image.Width()}, {"height", image.Height()}, {"bitsPerPixel", image.BitsPerPixel()}};
}

tools::JsonReport extensions(const ExtensionSet& set) {
  tools::JsonReport list = tools::JsonReport::array();
  for (int i = 0; i < set.count(); ++i) list.push_back(utf8(*set.at(i)));
  return list;
}

std::string flagNames(std::uint32_t flags) {
  std::string names;
  for (const FlagName& f : kFlagNames) {
    if ((flags & f.bit) == 0) continue;
    if (!names.empty()) names += ' ';
    names += f.name;
    flags &= ~f.bit;
  }
  if (flags != 0) {
    char raw[16];
    std::snprintf(raw, sizeof raw, "%s0x%X", names.empty() ? "" : " ", unsigned(flags));
    names += raw;
  }
  return names.empty() ? "-" : names;
}

// The extension a built setup carries: its entries, by tag name where this kpack
// knows the tag and by number where it does not, with the value in hex, and
// what the known ones say; or why the setup ignores it.
tools::JsonReport extensionReport(const ProductExtension& extension) {
  if (*extension.failureReason() != 0) return {{"ignored", extension.failureReason()}};
  tools::JsonReport entries = tools::JsonReport::array();
  for (const ExtensionEntry& entry : extension.entries()) {
    std::string hex;
    char digits[3];
    for (std::uint32_t i = 0; i < entry.value.size(); ++i) {
      std::snprintf(digits, sizeof digits, "%02x", unsigned(entry.value.bytes()[i]));
      hex += digits;
    }
    const char* name = extensionTagName(entry.tag);
    tools::JsonReport tag =
        name != nullptr ? tools::JsonReport(name) : tools::JsonReport(entry.tag);
    entries.push_back({{"tag", std::move(tag)}, {"value", hex}});
  }
  tools::JsonReport report = {{"entries", std::move(entries)}};
  // What the entries mean, as the setup reads them.
  SetupString version;
  ProductVersion numbers;
  if (productVersion(extension, version, numbers)) report["version"] = version.text();
  return report;
}

}  // namespace

void writePackageJson(const InstallModel& model, std::ostream& out, const std::vector<int>& scales,
                      const std::vector<std::string>* languages) {
  tools::JsonReport items = tools::JsonReport::array();
  for (int i = 0; i < model.itemCount(); ++i) {
    const InstallItem& item = *model.itemAt(i);
    tools::JsonReport types = tools::JsonReport::array();
    for (int t = 0; t < item.fileTypes.count(); ++t) {
      const FileTypeEntry& type = *item.fileTypes.at(t);
      types.push_back({{"progId", utf8(type.progId)},
                       {"typeDescription", utf8(type.typeDescription)},
                       {"iconIndex", type.iconIndex},
                       {"shellExKey", utf8(type.shellExKey)},
                       {"handlerItem", type.handlerItem},
                       {"fixedExtensions", extensions(type.fixedExtensions)},
                       {"optionalExtensions", extensions(type.optionalExtensions)}});
    }
    items.push_back({{"fileName", utf8(item.fileName)},
                     {"flags", item.flags},
                     {"unpackedSize", item.unpackedSize},
                     {"packedSize", item.packedData.size()},
                     {"menuShortcutName", utf8(item.menuShortcutName)},
                     {"desktopShortcutName", utf8(item.desktopShortcutName)},
                     {"iconItem", item.iconItem},
                     {"uninstallComment", utf8(item.uninstallComment)},
                     {"classId", utf8(item.classId)},
                     {"serverName", utf8(item.serverName)},
                     {"applicationTitle", utf8(item.applicationTitle)},
                     {"fileTypes", std::move(types)}});
  }
  tools::JsonReport report = {{"displayName", utf8(model.displayName)},
                              {"companyName", utf8(model.companyName)},
                              {"companyUrl", utf8(model.companyUrl)},
                              {"productUrl", utf8(model.productUrl)},
                              {"settingsKeyName", utf8(model.settingsKeyName)},
                              {"installFolderName", utf8(model.installFolderName)},
                              {"spareText", utf8(model.spareText)},
                              {"sidePicture", picture(model.sidePicture)},
                              {"logoPicture", picture(model.logoPicture)},
                              {"licenceBytes", model.licenceText.size()},
                              {"selectableItem", model.selectableItem},
                              {"selectableType", model.selectableType},
                              {"items", std::move(items)}};
  if (!scales.empty()) report["scales"] = scales;
  if (languages != nullptr) report["languages"] = *languages;
  if (std::string(model.extension.failureReason()) != kNoExtension) {
    report["extension"] = extensionReport(model.extension);
  }
  tools::writeJsonReport(report, out);
}

void writePackageTable(const InstallModel& model, std::ostream& out, const std::vector<int>& scales,
                       const std::vector<std::string>* languages) {
  char line[512];
  std::snprintf(line, sizeof line, "%s (%s), installs into \"%s\"\n\n",
                utf8(model.displayName).c_str(), utf8(model.companyName).c_str(),
                utf8(model.installFolderName).c_str());
  out << line;
  std::snprintf(line, sizeof line, "%3s  %-28s %12s %12s %6s  %s\n", "#", "file", "size", "packed",
                "ratio", "flags");
  out << line;
  std::uint64_t unpacked = 0, packed = 0;
  for (int i = 0; i < model.itemCount(); ++i) {
    const InstallItem& item = *model.itemAt(i);
    unpacked += item.unpackedSize;
    packed += item.packedData.size();
    const double ratio =
        item.unpackedSize ? 100.0 * item.packedData.size() / item.unpackedSize : 0.0;
    std::snprintf(line, sizeof line, "%3d  %-28s %12u %12u %5.1f%%  %s\n", i,
                  utf8(item.fileName).c_str(), unsigned(item.unpackedSize),
                  unsigned(item.packedData.size()), ratio, flagNames(item.flags).c_str());
    out << line;
    for (int t = 0; t < item.fileTypes.count(); ++t) {
      const FileTypeEntry& type = *item.fileTypes.at(t);
      std::string exts;
      for (int k = 0; k < type.fixedExtensions.count(); ++k)
        exts += " ." + utf8(*type.fixedExtensions.at(k));
      for (int k = 0; k < type.optionalExtensions.count(); ++k) {
        exts += " (." + utf8(*type.optionalExtensions.at(k)) + ")";
      }
      std::snprintf(line, sizeof line, "     type %-24s%s\n", utf8(type.progId).c_str(),
                    exts.c_str());
      out << line;
    }
  }
  const double ratio = unpacked ? 100.0 * double(packed) / double(unpacked) : 0.0;
  std::snprintf(line, sizeof line, "\n%d items, %llu bytes, %llu packed (%.1f%%)\n",
                model.itemCount(), (unsigned long long)unpacked, (unsigned long long)packed, ratio);
  out << line;
  if (languages != nullptr) {
    std::string names;
    for (const std::string& name : *languages) names += (names.empty() ? "" : ", ") + name;
    out << "speaks " << names << "\n";
  }
  if (scales.empty()) return;
  out << "drawn for display scales:";
  for (std::size_t i = 0; i < scales.size(); ++i) out << (i ? ", " : " ") << scales[i] << " %";
  out << "\n";
}

}  // namespace kpack
