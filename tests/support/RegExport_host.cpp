#include "support/RegExport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/RegFile.h"
#include "platform/RegistryTree.h"

std::string regExportText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << path;
  std::string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const unsigned c = (unsigned char)bytes[i] | ((unsigned char)bytes[i + 1] << 8);
    if (c < 0x80) {
      text += char(c);
    } else if (c < 0x800) {
      text += char(0xC0 | (c >> 6));
      text += char(0x80 | (c & 0x3F));
    } else {
      text += char(0xE0 | (c >> 12));
      text += char(0x80 | ((c >> 6) & 0x3F));
      text += char(0x80 | (c & 0x3F));
    }
  }
  return text;
}

namespace {

void addEntries(const regtree::Key& key, const std::string& path,
                std::vector<std::string>& entries) {
  entries.push_back(path);
  for (const regtree::Value& value : key.values()) {
    std::string data;
    if (value.type == 1 || value.type == 2 || value.type == 7) {
      data = value.data;
    } else {
      char pair[3];
      for (unsigned char c : value.data) {
        std::snprintf(pair, sizeof pair, "%02x", unsigned(c));
        data += pair;
      }
    }
    // Named as the export names it, so that a root "KEY|\"name\"" holds it.
    const std::string name = value.name.empty() ? "@" : "\"" + value.name + "\"";
    entries.push_back(path + "|" + name + "=" + std::to_string(value.type) + ":" + data);
  }
  for (const auto& subkey : key.subkeys()) {
    addEntries(*subkey, path + "\\" + subkey->name(), entries);
  }
}

}  // namespace

std::vector<std::string> regExportEntries(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  regtree::Key top("");
  EXPECT_TRUE(regfile::importRegistry(bytes, top)) << path << " is no registry export";
  std::vector<std::string> entries;
  for (const auto& root : top.subkeys()) addEntries(*root, root->name(), entries);
  return entries;
}

std::string regExportKey(const std::string& text, const std::string& key) {
  const std::string head = "[" + key + "]\r\n";
  const std::size_t at = text.find(head);
  if (at == std::string::npos) return "<no key " + key + ">";
  const std::size_t end = text.find("\r\n\r\n", at);
  return text.substr(at + head.size(), end - at - head.size() + 2);
}
