#include "platform/ResourceSection.h"

#include <algorithm>
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

// The entries of a well-formed section, or false.
bool entries(const unsigned char* section, std::size_t sectionSize, std::uint32_t& count,
             std::uint32_t& version) {
  if (section == nullptr || sectionSize < kHeaderSize) return false;
  if (std::memcmp(section, kMagic, sizeof kMagic) != 0) return false;
  version = readU32(section + 4);
  if (version != 1 && version != kVersion) return false;
  count = readU32(section + 8);
  return count <= (sectionSize - kHeaderSize) / kEntrySize;
}

std::uint32_t languageOf(const unsigned char* entry, std::uint32_t version) {
  return version == 1 ? kEnglishLanguage : readU32(entry + 28);
}

}  // namespace

bool findInSection(const unsigned char* section, std::size_t sectionSize, const char* type,
                   std::uint32_t id, const unsigned char** data, std::uint32_t* size,
                   std::uint32_t language) {
  std::uint32_t count = 0, version = 0;
  if (type == nullptr || !entries(section, sectionSize, count, version)) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    const unsigned char* entry = section + kHeaderSize + std::size_t(i) * kEntrySize;
    if (readU32(entry + 16) != id || !typeMatches(entry, type)) continue;
    if (language != kAnyLanguage && languageOf(entry, version) != language) continue;
    const std::uint32_t offset = readU32(entry + 20);
    const std::uint32_t length = readU32(entry + 24);
    if (offset > sectionSize || length > sectionSize - offset) return false;
    *data = section + offset;
    *size = length;
    return true;
  }
  return false;
}

std::vector<std::uint32_t> languagesInSection(const unsigned char* section,
                                              std::size_t sectionSize, const char* type,
                                              std::uint32_t id) {
  std::vector<std::uint32_t> found;
  std::uint32_t count = 0, version = 0;
  if (type == nullptr || !entries(section, sectionSize, count, version)) return found;
  for (std::uint32_t i = 0; i < count; ++i) {
    const unsigned char* entry = section + kHeaderSize + std::size_t(i) * kEntrySize;
    if (readU32(entry + 16) != id || !typeMatches(entry, type)) continue;
    const std::uint32_t language = languageOf(entry, version);
    if (std::find(found.begin(), found.end(), language) == found.end()) found.push_back(language);
  }
  return found;
}

}  // namespace kres
