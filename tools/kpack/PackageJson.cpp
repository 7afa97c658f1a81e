#include "kpack/PackageJson.h"

#include <cstdio>
#include <string>

#include "kpack/Cp1252.h"
#include "kpack/Json.h"
#include "kpack/Manifest.h"

namespace kpack {
namespace {

std::string utf8(const SetupString& s) {
  return cp1252ToUtf8(std::string_view(s.text(), std::size_t(s.length())));
}

void picture(JsonWriter& json, const char* name, const Image& image) {
  json.key(name);
  json.beginObject();
  json.key("width");
  json.value(std::int64_t(image.Width()));
  json.key("height");
  json.value(std::int64_t(image.Height()));
  json.key("bitsPerPixel");
  json.value(std::int64_t(image.BitsPerPixel()));
  json.endObject();
}

void extensions(JsonWriter& json, const char* name, const ExtensionSet& set) {
  json.key(name);
  json.beginArray();
  for (int i = 0; i < set.count(); ++i) json.value(utf8(*set.at(i)));
  json.endArray();
}

void text(JsonWriter& json, const char* name, const SetupString& s) {
  json.key(name);
  json.value(utf8(s));
}

void number(JsonWriter& json, const char* name, std::int64_t v) {
  json.key(name);
  json.value(v);
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

}  // namespace

void writePackageJson(const InstallModel& model, std::ostream& out) {
  JsonWriter json(out);
  json.beginObject();
  text(json, "displayName", model.displayName);
  text(json, "companyName", model.companyName);
  text(json, "companyUrl", model.companyUrl);
  text(json, "productUrl", model.productUrl);
  text(json, "settingsKeyName", model.settingsKeyName);
  text(json, "installFolderName", model.installFolderName);
  text(json, "spareText", model.spareText);
  picture(json, "sidePicture", model.sidePicture);
  picture(json, "logoPicture", model.logoPicture);
  number(json, "licenceBytes", model.licenceText.size());
  number(json, "selectableItem", model.selectableItem);
  number(json, "selectableType", model.selectableType);
  json.key("items");
  json.beginArray();
  for (int i = 0; i < model.itemCount(); ++i) {
    const InstallItem& item = *model.itemAt(i);
    json.beginObject();
    text(json, "fileName", item.fileName);
    number(json, "flags", item.flags);
    number(json, "unpackedSize", item.unpackedSize);
    number(json, "packedSize", item.packedData.size());
    text(json, "menuShortcutName", item.menuShortcutName);
    text(json, "desktopShortcutName", item.desktopShortcutName);
    number(json, "iconItem", item.iconItem);
    text(json, "uninstallComment", item.uninstallComment);
    text(json, "classId", item.classId);
    text(json, "serverName", item.serverName);
    text(json, "applicationTitle", item.applicationTitle);
    json.key("fileTypes");
    json.beginArray();
    for (int t = 0; t < item.fileTypes.count(); ++t) {
      const FileTypeEntry& type = *item.fileTypes.at(t);
      json.beginObject();
      text(json, "progId", type.progId);
      text(json, "typeDescription", type.typeDescription);
      number(json, "iconIndex", type.iconIndex);
      text(json, "shellExKey", type.shellExKey);
      number(json, "handlerItem", type.handlerItem);
      extensions(json, "fixedExtensions", type.fixedExtensions);
      extensions(json, "optionalExtensions", type.optionalExtensions);
      json.endObject();
    }
    json.endArray();
    json.endObject();
  }
  json.endArray();
  json.endObject();
}

void writePackageTable(const InstallModel& model, std::ostream& out) {
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
}

}  // namespace kpack
