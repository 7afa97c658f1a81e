#include "platform/ShellLinkFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/LinkProbe.h"
#include "system/FileOps.h"

namespace {

std::uint32_t u32At(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | (unsigned char)b.at(at + std::size_t(i));
  return v;
}

std::uint32_t u16At(const std::string& b, std::size_t at) {
  return (unsigned char)b.at(at) | ((unsigned char)b.at(at + 1) << 8);
}

}  // namespace

TEST(ShellLinkFile, LaysOutHeaderLinkInfoAndStrings) {
  shelllink::LinkData link;
  link.target = "C:\\Apps\\Demo.exe";
  link.description = "Demo";
  link.arguments = "-x";
  link.iconIndex = -2;
  link.targetAttributes = 0x20;
  link.targetSize = 4660;
  std::string b;
  ASSERT_TRUE(shelllink::buildShellLink(link, b));

  EXPECT_EQ(u32At(b, 0), 0x4Cu);
  EXPECT_EQ(b.substr(4, 16), std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00"
                                         "\x00\x46",
                                         16));
  EXPECT_EQ(u32At(b, 0x14), 0x02u | 0x04u | 0x20u | 0x80u);  // info, name, arguments, Unicode
  EXPECT_EQ(u32At(b, 0x18), 0x20u);
  EXPECT_EQ(u32At(b, 0x34), 4660u);
  EXPECT_EQ(u32At(b, 0x38), 0xFFFFFFFEu);
  EXPECT_EQ(u32At(b, 0x3C), 1u);

  const std::size_t info = 0x4C;
  const std::uint32_t infoSize = u32At(b, info);
  EXPECT_EQ(u32At(b, info + 4), 0x1Cu);
  EXPECT_EQ(u32At(b, info + 8), 1u);  // a volume and a local base path
  const std::uint32_t volume = u32At(b, info + 12), base = u32At(b, info + 16);
  EXPECT_EQ(u32At(b, info + volume + 4), 3u);  // a fixed drive
  EXPECT_EQ(b.substr(info + base, link.target.size() + 1), link.target + '\0');
  EXPECT_EQ(u32At(b, info + 20), 0u);
  EXPECT_EQ(b.at(info + u32At(b, info + 24)), '\0');  // empty common suffix
  EXPECT_EQ(info + u32At(b, info + 24) + 1, info + infoSize);

  std::size_t at = info + infoSize;
  for (const std::string& text : {link.description, link.arguments}) {
    ASSERT_EQ(u16At(b, at), text.size());
    for (std::size_t i = 0; i < text.size(); ++i) EXPECT_EQ(u16At(b, at + 2 + 2 * i), text[i]);
    at += 2 + 2 * text.size();
  }
  EXPECT_EQ(b.substr(at), std::string(4, '\0'));

  for (const char* target : {"", "Demo.exe", "\\\\server\\share\\Demo.exe", "1:\\x"}) {
    link.target = target;
    EXPECT_FALSE(shelllink::buildShellLink(link, b)) << target;
    EXPECT_TRUE(b.empty());
  }
}

// The platform's reader (lnkinfo on the host, the shell's link object under
// Windows) takes a link written from these bytes to its target.
TEST(ShellLinkFile, IsReadByTheShellsOwnReader) {
  createFolder("C:\\kestrane-tests");
  ASSERT_TRUE(createFolder("C:\\kestrane-tests\\link-bytes"));
  ByteStream content;
  content.appendBytes(3, "exe");
  const char* target = "C:\\kestrane-tests\\link-bytes\\Demo Program.exe";
  ASSERT_EQ(writeStreamToFile(content, target), S_OK);

  shelllink::LinkData link;
  link.target = target;
  link.description = "A demo";
  link.targetSize = 3;
  std::string b;
  ASSERT_TRUE(shelllink::buildShellLink(link, b));
  ByteStream bytes;
  bytes.appendBytes(std::uint32_t(b.size()), b.data());
  const char* path = "C:\\kestrane-tests\\link-bytes\\Demo.lnk";
  ASSERT_EQ(writeStreamToFile(bytes, path), S_OK);

  LinkFacts facts;
  ASSERT_TRUE(readLink(path, facts));
  EXPECT_EQ(facts.target, target);
  EXPECT_EQ(facts.description, "A demo");
  deleteTree("C:\\kestrane-tests\\link-bytes", 0, true);
}
