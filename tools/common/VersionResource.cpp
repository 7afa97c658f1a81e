#include "common/VersionResource.h"

namespace tools {
namespace {

class Writer {
 public:
  std::vector<std::uint8_t> bytes;

  void word(std::uint16_t v) {
    bytes.push_back(std::uint8_t(v));
    bytes.push_back(std::uint8_t(v >> 8));
  }
  void dword(std::uint32_t v) {
    word(std::uint16_t(v));
    word(std::uint16_t(v >> 16));
  }
  // UTF-8 to UTF-16 with the terminator; the characters written, terminator
  // included. Outside the Basic Multilingual Plane as surrogate pairs.
  std::uint16_t text(const std::string& utf8) {
    std::uint16_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
      const unsigned char c = static_cast<unsigned char>(utf8[i]);
      std::uint32_t cp = c;
      int more = 0;
      if (c >= 0xF0) {
        cp = c & 0x07;
        more = 3;
      } else if (c >= 0xE0) {
        cp = c & 0x0F;
        more = 2;
      } else if (c >= 0xC0) {
        cp = c & 0x1F;
        more = 1;
      }
      ++i;
      for (; more > 0 && i < utf8.size(); --more, ++i) {
        cp = cp << 6 | (static_cast<unsigned char>(utf8[i]) & 0x3F);
      }
      if (cp >= 0x10000) {
        cp -= 0x10000;
        word(std::uint16_t(0xD800 | (cp >> 10)));
        word(std::uint16_t(0xDC00 | (cp & 0x3FF)));
        units += 2;
      } else {
        word(std::uint16_t(cp));
        ++units;
      }
    }
    word(0);
    return std::uint16_t(units + 1);
  }
  void align() {
    while (bytes.size() % 4 != 0) bytes.push_back(0);
  }
  // Starts a block: its length is written when it ends.
  std::size_t open(std::uint16_t valueLength, std::uint16_t type, const std::string& key) {
    align();
    const std::size_t at = bytes.size();
    word(0);
    word(valueLength);
    word(type);
    text(key);
    align();
    return at;
  }
  void close(std::size_t at) {
    const std::size_t length = bytes.size() - at;
    bytes[at] = std::uint8_t(length);
    bytes[at + 1] = std::uint8_t(length >> 8);
  }
};

}  // namespace

std::vector<std::uint8_t> versionResource(
    const ProductVersion& version,
    const std::vector<std::pair<std::string, std::string>>& strings) {
  Writer w;
  const std::size_t root = w.open(52, 0, "VS_VERSION_INFO");
  w.dword(0xFEEF04BD);  // signature
  w.dword(0x00010000);  // structure version 1.0
  w.dword(version.high());
  w.dword(version.low());
  w.dword(version.high());
  w.dword(version.low());
  w.dword(0x3F);        // every flag bit is meaningful
  w.dword(0);           // none set: a release
  w.dword(0x00040004);  // VOS_NT_WINDOWS32
  w.dword(1);           // VFT_APP
  w.dword(0);
  w.dword(0);  // no date
  w.dword(0);

  const std::size_t fileInfo = w.open(0, 1, "StringFileInfo");
  const std::size_t table = w.open(0, 1, "040904B0");
  for (const auto& [name, value] : strings) {
    if (value.empty()) continue;
    w.align();
    const std::size_t at = w.bytes.size();
    w.word(0);
    w.word(0);
    w.word(1);
    w.text(name);
    w.align();
    const std::uint16_t characters = w.text(value);
    w.bytes[at + 2] = std::uint8_t(characters);
    w.bytes[at + 3] = std::uint8_t(characters >> 8);
    w.close(at);
  }
  w.close(table);
  w.close(fileInfo);

  const std::size_t varInfo = w.open(0, 1, "VarFileInfo");
  const std::size_t var = w.open(4, 0, "Translation");
  w.dword(0x04B00409);
  w.close(var);
  w.close(varInfo);
  w.close(root);
  return w.bytes;
}

}  // namespace tools
