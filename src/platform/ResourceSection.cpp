#include "platform/ResourceSection.h"

#include <cstring>

namespace kres {
namespace {

std::uint32_t readU32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

char asciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

bool typeMatches(const unsigned char* field, const char* type) {
  std::size_t i = 0;
  for (; i < kTypeNameSize && type[i] != '\0'; ++i) {
    if (asciiUpper(char(field[i])) != asciiUpper(type[i])) return false;
  }
  return type[i] == '\0' && (i == kTypeNameSize || field[i] == 0);
}

}  // namespace

bool findInSection(const unsigned char* section, std::size_t sectionSize, const char* type,
                   std::uint32_t id, const unsigned char** data, std::uint32_t* size) {
  if (section == nullptr || type == nullptr || sectionSize < kHeaderSize) return false;
  if (std::memcmp(section, kMagic, sizeof kMagic) != 0) return false;
  if (readU32(section + 4) != kVersion) return false;
  const std::uint32_t count = readU32(section + 8);
  if (count > (sectionSize - kHeaderSize) / kEntrySize) return false;

  for (std::uint32_t i = 0; i < count; ++i) {
    const unsigned char* entry = section + kHeaderSize + std::size_t(i) * kEntrySize;
    if (readU32(entry + 16) != id || !typeMatches(entry, type)) continue;
    const std::uint32_t offset = readU32(entry + 20);
    const std::uint32_t length = readU32(entry + 24);
    if (offset > sectionSize || length > sectionSize - offset) return false;
    *data = section + offset;
    *size = length;
    return true;
  }
  return false;
}

}  // namespace kres
