#include "kpack/RegistryCommand.h"

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <vector>

#include "common/Cp1252.h"
#include "common/JsonReport.h"
#include "common/WholeFile.h"
#include "platform/RegFile.h"
#include "platform/RegistryTree.h"

namespace kpack {
namespace {

constexpr int kExitInvalid = 1;
constexpr int kExitUsage = 2;

constexpr std::uint32_t kNone = 0, kSz = 1, kExpandSz = 2, kBinary = 3, kDword = 4, kMultiSz = 7,
                        kQword = 11;

std::string typeName(std::uint32_t type) {
  switch (type) {
    case kNone:
      return "REG_NONE";
    case kSz:
      return "REG_SZ";
    case kExpandSz:
      return "REG_EXPAND_SZ";
    case kBinary:
      return "REG_BINARY";
    case kDword:
      return "REG_DWORD";
    case kMultiSz:
      return "REG_MULTI_SZ";
    case kQword:
      return "REG_QWORD";
  }
  char name[16];
  std::snprintf(name, sizeof name, "0x%X", unsigned(type));
  return name;
}

std::string hexBytes(const std::string& bytes) {
  std::string text;
  char pair[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(pair, sizeof pair, i == 0 ? "%02x" : ",%02x", unsigned((unsigned char)bytes[i]));
    text += pair;
  }
  return text;
}

tools::JsonReport valueData(const regtree::Value& value) {
  const std::string& data = value.data;
  if (value.type == kSz || value.type == kExpandSz) {
    // The text is kept with its terminator, as the API hands it over.
    const std::size_t end = !data.empty() && data.back() == '\0' ? data.size() - 1 : data.size();
    return tools::cp1252ToUtf8(std::string_view(data.data(), end));
  }
  if (value.type == kMultiSz) {
    tools::JsonReport texts = tools::JsonReport::array();
    std::size_t start = 0;
    while (start < data.size() && data[start] != '\0') {
      std::size_t end = data.find('\0', start);
      if (end == std::string::npos) end = data.size();
      texts.push_back(tools::cp1252ToUtf8(std::string_view(data.data() + start, end - start)));
      start = end + 1;
    }
    return texts;
  }
  if (value.type == kDword && data.size() == 4) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | (unsigned char)data[std::size_t(i)];
    return v;
  }
  return hexBytes(data);
}

void addKeys(const regtree::Key& key, const std::string& path, tools::JsonReport& keys) {
  tools::JsonReport values = tools::JsonReport::array();
  for (const regtree::Value& value : key.values()) {
    values.push_back({{"name", tools::cp1252ToUtf8(value.name)},
                      {"type", typeName(value.type)},
                      {"data", valueData(value)}});
  }
  keys.push_back({{"key", tools::cp1252ToUtf8(path)}, {"values", std::move(values)}});
  for (const auto& subkey : key.subkeys()) addKeys(*subkey, path + "\\" + subkey->name(), keys);
}

// The components of `key` with its root spelled out as the reader files it.
bool fullPath(const std::string& key, std::vector<std::string>& parts) {
  if (!regtree::splitKeyPath(key, parts) || parts.empty()) return false;
  static const struct {
    const char* shortName;
    std::vector<std::string> root;
  } kRoots[] = {
      {"HKLM", {"HKEY_LOCAL_MACHINE"}},
      {"HKCU", {"HKEY_CURRENT_USER"}},
      {"HKU", {"HKEY_USERS"}},
      {"HKCC", {"HKEY_CURRENT_CONFIG"}},
      {"HKCR", {"HKEY_LOCAL_MACHINE", "Software", "Classes"}},
      {"HKEY_CLASSES_ROOT", {"HKEY_LOCAL_MACHINE", "Software", "Classes"}},
  };
  for (const auto& root : kRoots) {
    if (regtree::compareNames(parts[0], root.shortName) == 0) {
      parts.erase(parts.begin());
      parts.insert(parts.begin(), root.root.begin(), root.root.end());
      break;
    }
  }
  return true;
}

}  // namespace

int registryCommand(const std::string& path, const std::string& key, std::ostream& out) {
  std::vector<unsigned char> bytes;
  if (!tools::readWholeFile(path, bytes)) {
    std::cerr << "kpack: cannot read " << path << "\n";
    return kExitUsage;
  }
  regtree::Key top("");
  if (!regfile::importRegistry(std::string(bytes.begin(), bytes.end()), top)) {
    std::cerr << "kpack: " << path
              << " is not a registry export (UTF-16LE with a byte-order mark, version 5.00)\n";
    return kExitInvalid;
  }

  tools::JsonReport keys = tools::JsonReport::array();
  if (key.empty()) {
    for (const auto& root : top.subkeys()) addKeys(*root, root->name(), keys);
  } else {
    std::vector<std::string> parts;
    std::string ansi;
    if (!tools::utf8ToCp1252(key, ansi) || !fullPath(ansi, parts)) {
      std::cerr << "kpack: not a key path: " << key << "\n";
      return kExitUsage;
    }
    std::shared_ptr<regtree::Key> at = top.subkey(parts[0]);
    std::string found = at ? at->name() : "";
    for (std::size_t i = 1; at && i < parts.size(); ++i) {
      at = at->subkey(parts[i]);
      if (at) found += "\\" + at->name();
    }
    if (at) addKeys(*at, found, keys);
  }
  tools::writeJsonReport(tools::JsonReport{{"keys", std::move(keys)}}, out);
  return out.good() ? 0 : kExitUsage;
}

}  // namespace kpack
