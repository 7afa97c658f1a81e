#include "platform/RegFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/RegistryTree.h"
#include "platform/WinDefs.h"

namespace {

// The file's bytes for ASCII text: a byte-order mark, then UTF-16LE.
std::string utf16(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

std::shared_ptr<regtree::Key> at(regtree::Key& top, const std::string& path) {
  std::vector<std::string> parts;
  EXPECT_TRUE(regtree::splitKeyPath(path, parts));
  std::shared_ptr<regtree::Key> key = top.addSubkey(parts.at(0));
  for (std::size_t i = 1; i < parts.size(); ++i) key = key->addSubkey(parts[i]);
  return key;
}

std::string sz(const std::string& text) {
  return std::string(text.c_str(), text.size() + 1);
}

}  // namespace

TEST(RegFile, WritesTheEditorsExportForm) {
  regtree::Key top("");
  auto demo = at(top, "HKEY_LOCAL_MACHINE\\Software\\Demo");
  demo->setValue("", REG_SZ, sz("C:\\Program Files\\\"Demo\".exe"));
  demo->setValue("Count", REG_DWORD, std::string("\x2A\x00\x00\x01", 4));
  demo->setValue("Kestrane.Doc", REG_NONE, "");
  demo->setValue("Two\r\nLines", REG_SZ, sz("a\r\nb"));
  demo->setValue("Raw", REG_BINARY, std::string("\x01\xFF", 2));
  at(top, "HKEY_LOCAL_MACHINE\\Software\\Demo\\sub")->setValue("x", REG_SZ, "no terminator");
  at(top, "HKEY_CURRENT_USER\\Software");

  EXPECT_EQ(regfile::exportRegistry(top),
            utf16("Windows Registry Editor Version 5.00\r\n\r\n"
                  "[HKEY_CURRENT_USER]\r\n\r\n"
                  "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                  "[HKEY_LOCAL_MACHINE]\r\n\r\n"
                  "[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
                  "[HKEY_LOCAL_MACHINE\\Software\\Demo]\r\n"
                  "@=\"C:\\\\Program Files\\\\\\\"Demo\\\".exe\"\r\n"
                  "\"Count\"=dword:0100002a\r\n"
                  "\"Kestrane.Doc\"=hex(0):\r\n"
                  "\"Two\\r\\nLines\"=hex(1):61,00,0d,00,0a,00,62,00,00,00\r\n"
                  "\"Raw\"=hex:01,ff\r\n\r\n"
                  "[HKEY_LOCAL_MACHINE\\Software\\Demo\\sub]\r\n"
                  "\"x\"=hex(1):6e,00,6f,00,20,00,74,00,65,00,72,00,6d,00,69,00,6e,00,61,00,74,"
                  "00,\\\r\n"
                  "  6f,00,72,00\r\n\r\n"));
}

TEST(RegFile, ReadsBackWhatItWrites) {
  regtree::Key top("");
  auto key = at(top, "HKEY_LOCAL_MACHINE\\Software\\Classes\\.kst\\OpenWithProgids");
  key->setValue("Kestrane.Doc", REG_NONE, "");
  key->setValue("", REG_SZ, sz("caf\xE9 \"quoted\" back\\slash"));
  key->setValue("long", REG_SZ, std::string(300, 'x'));  // hex over many lines
  key->setValue("multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
  key->setValue("name\nwith break", REG_DWORD, std::string(4, '\xFF'));
  at(top, "HKEY_CURRENT_USER\\Software\\Empty");
  const std::string bytes = regfile::exportRegistry(top);

  regtree::Key again("");
  ASSERT_TRUE(regfile::importRegistry(bytes, again));
  EXPECT_EQ(regfile::exportRegistry(again), bytes);
  const auto read = at(again, "hkey_local_machine\\SOFTWARE\\classes\\.KST\\openwithprogids");
  ASSERT_EQ(read->values().size(), 5u);
  EXPECT_EQ(read->values()[1].data, sz("caf\xE9 \"quoted\" back\\slash"));
  EXPECT_EQ(read->values()[2].data, std::string(300, 'x'));
}

TEST(RegFile, ReadsTheEditorsOwnSpellings) {
  const std::string file = utf16(
      "Windows Registry Editor Version 5.00  \n\n"
      "; a comment\r\n"
      "[HKEY_CLASSES_ROOT\\.kst]\r\n"
      "@=\"Kestrane.Doc\"\r\n"
      "\"Data\" = hex(2):41,00,\\\r\n"
      "   42,00,00,00\r\n"
      "\"Flag\"=dword:1\r\n"
      "[-HKEY_LOCAL_MACHINE\\Software\\Gone]\r\n"
      "\"Dropped\"=\"after a deletion line\"\r\n"
      "[HKEY_NOWHERE\\x]\r\n"
      "\"Dropped\"=\"below no root\"\r\n");
  regtree::Key top("");
  ASSERT_TRUE(regfile::importRegistry(file, top));
  const auto ext = at(top, "HKEY_LOCAL_MACHINE\\Software\\Classes\\.kst");
  ASSERT_EQ(ext->values().size(), 3u);
  EXPECT_EQ(ext->value("")->data, sz("Kestrane.Doc"));
  EXPECT_EQ(ext->value("data")->type, REG_EXPAND_SZ);
  EXPECT_EQ(ext->value("data")->data, sz("AB"));
  EXPECT_EQ(ext->value("Flag")->data, std::string("\x01\0\0\0", 4));
  EXPECT_EQ(top.subkeys().size(), 1u);
  EXPECT_EQ(at(top, "HKEY_LOCAL_MACHINE\\Software")->subkeys().size(), 1u);
}

TEST(RegFile, SurvivesAnyInput) {
  const std::string header = "Windows Registry Editor Version 5.00\r\n";
  const std::string rejected[] = {"", "\xFF", utf16("REGEDIT4\r\n"),
                                  header + "[HKEY_LOCAL_MACHINE\\x]"};  // no byte-order mark
  for (const std::string& bytes : rejected) {
    regtree::Key top("");
    EXPECT_FALSE(regfile::importRegistry(bytes, top));
    EXPECT_TRUE(top.subkeys().empty());
  }
  const std::string skipped[] = {
      "[HKEY_LOCAL_MACHINE\\a\\\\b]\r\n\"v\"=\"x\"",
      "[HKEY_LOCAL_MACHINE\\a]\r\n\"v=\"x\"\r\n\"w\"=\"unterminated\r\n\"d\"=dword:123456789",
      "[HKEY_LOCAL_MACHINE\\a]\r\n\"h\"=hex(1):4g,00\r\n\"j\"=hex(:00\r\n\"k\"=hex:,\\",
      "[HKEY_LOCAL_MACHINE" + std::string(2000, '\\') + "a]\r\n[",
  };
  for (const std::string& body : skipped) {
    regtree::Key top("");
    EXPECT_TRUE(regfile::importRegistry(utf16(header + body), top)) << body;
    const auto a =
        top.subkey("HKEY_LOCAL_MACHINE") ? top.subkey("HKEY_LOCAL_MACHINE")->subkey("a") : nullptr;
    EXPECT_TRUE(a == nullptr || a->values().empty()) << body;
  }
  // Arbitrary bytes after a good header: nothing but keys and values comes of it.
  std::uint32_t seed = 7;
  for (int round = 0; round < 300; ++round) {
    std::string bytes = utf16(header + "[HKEY_CURRENT_USER\\x]\r\n");
    for (int i = 0; i < 200; ++i) {
      seed = seed * 1103515245u + 12345u;
      const char pick[] = "[]\\\"@=:,-hexdword(0)1a\r\n \xFF";
      bytes += pick[(seed >> 16) % (sizeof pick - 1)];
      bytes += (seed >> 8) % 7 == 0 ? '\x01' : '\0';
    }
    regtree::Key top("");
    EXPECT_TRUE(regfile::importRegistry(bytes, top));
    regfile::exportRegistry(top);
  }
}

TEST(RegistryTree, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  regtree::Key top("");
  const auto k = top.addSubkey("Software");
  EXPECT_EQ(top.addSubkey("SOFTWARE"), k);
  top.addSubkey("apple");
  top.addSubkey("Zebra");
  ASSERT_EQ(top.subkeys().size(), 3u);
  EXPECT_EQ(top.subkeys()[0]->name(), "apple");
  EXPECT_EQ(top.subkeys()[1]->name(), "Software");
  k->setValue("B", REG_SZ, "1");
  k->setValue("a", REG_SZ, "2");
  k->setValue("b", REG_DWORD, "3");
  ASSERT_EQ(k->values().size(), 2u);
  EXPECT_EQ(k->values()[0].name, "B");  // values keep the order they were made in
  EXPECT_EQ(k->values()[0].type, REG_DWORD);
  const auto child = k->addSubkey("child");
  EXPECT_TRUE(top.removeSubkey("software"));
  EXPECT_TRUE(child->deleted());
  EXPECT_EQ(top.subkey("Software"), nullptr);
}
