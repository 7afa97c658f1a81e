#include "platform/ProgramResources.h"

#include <cstdlib>
#include <cstring>

#include "platform/PeResourceTree.h"
#include "platform/ResourceSection.h"
#include "platform/Text.h"

namespace platform {
namespace {

// Bounds-checked little-endian reads over the whole file.
class Bytes {
 public:
  explicit Bytes(const std::vector<unsigned char>& b) : b_(b) {}
  bool has(std::uint64_t at, std::uint64_t n) const {
    return at <= b_.size() && n <= b_.size() - at;
  }
  std::uint64_t u(std::uint64_t at, int n) const {
    if (!has(at, std::uint64_t(n))) return 0;
    std::uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b_[std::size_t(at) + std::size_t(i)];
    return v;
  }
  const unsigned char* at(std::uint64_t offset) const { return b_.data() + offset; }

 private:
  const std::vector<unsigned char>& b_;
};

// With `languages`, the languages of the resource go there instead of its data.
bool fromElf(const Bytes& f, const char* type, int id, std::uint32_t language,
             std::vector<unsigned char>& out, std::vector<std::uint32_t>* languages,
             std::string& error) {
  const bool is64 = f.u(4, 1) == 2;
  const std::uint64_t shoff = is64 ? f.u(0x28, 8) : f.u(0x20, 4);
  const std::uint64_t entsize = f.u(is64 ? 0x3A : 0x2E, 2);
  const std::uint64_t count = f.u(is64 ? 0x3C : 0x30, 2);
  const std::uint64_t strndx = f.u(is64 ? 0x3E : 0x32, 2);
  if (entsize < (is64 ? 64u : 40u) || strndx >= count || !f.has(shoff, entsize * count)) {
    error = "damaged ELF section table";
    return false;
  }
  auto field = [&](std::uint64_t index, int off64, int off32, int size64) {
    const std::uint64_t base = shoff + index * entsize;
    return is64 ? f.u(base + std::uint64_t(off64), size64) : f.u(base + std::uint64_t(off32), 4);
  };
  const std::uint64_t names = field(strndx, 0x18, 0x10, 8);
  const std::uint64_t namesSize = field(strndx, 0x20, 0x14, 8);
  // Checked whole, so that no name offset inside it can wrap around to other bytes.
  if (!f.has(names, namesSize)) {
    error = "damaged ELF section table";
    return false;
  }
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t name = field(i, 0x00, 0x00, 4);
    const std::size_t len = sizeof kres::kSectionName;  // with its terminator
    if (name >= namesSize || !f.has(names + name, len) ||
        std::memcmp(f.at(names + name), kres::kSectionName, len) != 0) {
      continue;
    }
    const std::uint64_t offset = field(i, 0x18, 0x10, 8);
    const std::uint64_t size = field(i, 0x20, 0x14, 8);
    if (!f.has(offset, size)) break;
    if (languages != nullptr) {
      *languages =
          kres::languagesInSection(f.at(offset), std::size_t(size), type, std::uint32_t(id));
      return !languages->empty();
    }
    const unsigned char* data = nullptr;
    std::uint32_t dataSize = 0;
    const bool english =
        language == kres::kAnyLanguage &&
        kres::findInSection(f.at(offset), std::size_t(size), type, std::uint32_t(id), &data,
                            &dataSize, kres::kEnglishLanguage);
    if (!english && !kres::findInSection(f.at(offset), std::size_t(size), type, std::uint32_t(id),
                                         &data, &dataSize, language)) {
      error = "the host setup has no such resource";
      return false;
    }
    out.assign(data, data + dataSize);
    return true;
  }
  error = "no .kres resource section in this ELF file";
  return false;
}

// A type given by name matches as Windows matches it, whatever the case; "#N"
// names the numeric type N.
bool isType(const PeResourceKey& key, const char* type) {
  if (type[0] == '#') return !key.named && key.id == std::strtoul(type + 1, nullptr, 10);
  if (!key.named || key.name.size() != std::strlen(type)) return false;
  for (std::size_t c = 0; c < key.name.size(); ++c) {
    char16_t ch = key.name[c];
    if (ch >= 'a' && ch <= 'z') ch = char16_t(ch - 32);
    if (ch != char16_t((unsigned char)type[c])) return false;
  }
  return true;
}

bool fromPe(const std::vector<unsigned char>& file, const char* type, int id,
            std::uint32_t language, std::vector<unsigned char>& out,
            std::vector<std::uint32_t>* languages, std::string& error) {
  PeImage image;
  if (!readPeImage(file, image, error)) return false;
  const PeDirectory directory = image.directory(file, kResourceDirectory);
  if (directory.rva == 0) {
    error = "the setup has no resource section";
    return false;
  }
  std::vector<PeResourceEntry> entries;
  if (!readPeResourceTree(file, image, directory.rva, entries, error)) return false;
  // Asked for any language, English is the one when it is there, else the first.
  const PeResourceEntry *first = nullptr, *english = nullptr, *exact = nullptr;
  for (const PeResourceEntry& entry : entries) {
    if (entry.name.named || entry.name.id != std::uint32_t(id) || !isType(entry.type, type)) {
      continue;
    }
    if (languages != nullptr && entry.language <= 0xFFFF) languages->push_back(entry.language);
    if (first == nullptr) first = &entry;
    if (entry.language == kres::kEnglishLanguage) english = &entry;
    if (entry.language == language) exact = &entry;
  }
  if (languages != nullptr) return !languages->empty();
  const PeResourceEntry* found = language != kres::kAnyLanguage ? exact
                                 : english != nullptr           ? english
                                                                : first;
  if (found == nullptr) {
    error = "the setup has no such resource";
    return false;
  }
  out.assign(file.begin() + std::ptrdiff_t(found->offset),
             file.begin() + std::ptrdiff_t(found->offset + found->size));
  return true;
}

}  // namespace

bool isProgramImage(const std::vector<unsigned char>& file) {
  return (file.size() >= 4 && std::memcmp(file.data(),
                                          "\x7F"
                                          "ELF",
                                          4) == 0) ||
         (file.size() >= 2 && file[0] == 'M' && file[1] == 'Z');
}

namespace {

bool fromImage(const std::vector<unsigned char>& file, const char* type, int id,
               std::uint32_t language, std::vector<unsigned char>& out,
               std::vector<std::uint32_t>* languages, std::string& error) {
  const Bytes f(file);
  if (f.has(0, 4) && std::memcmp(file.data(),
                                 "\x7F"
                                 "ELF",
                                 4) == 0)
    return fromElf(f, type, id, language, out, languages, error);
  if (f.has(0, 2) && file[0] == 'M' && file[1] == 'Z') {
    return fromPe(file, type, id, language, out, languages, error);
  }
  error = "not a setup program";
  return false;
}

}  // namespace

bool findProgramResource(const std::vector<unsigned char>& file, int id,
                         std::vector<unsigned char>& out, std::string& error, const char* type,
                         std::uint32_t language) {
  return fromImage(file, type, id, language, out, nullptr, error);
}

std::vector<std::uint32_t> programResourceLanguages(const std::vector<unsigned char>& file, int id,
                                                    const char* type) {
  std::vector<std::uint32_t> languages;
  std::vector<unsigned char> unused;
  std::string error;
  fromImage(file, type, id, kres::kAnyLanguage, unused, &languages, error);
  return languages;
}

bool findProgramString(const std::vector<unsigned char>& file, int id, std::string& text,
                       std::uint32_t language) {
  text.clear();
  std::vector<unsigned char> data;
  std::string error;
  if (id < 0 || id > 0xFFFF) return false;
  if (file.size() >= 2 && file[0] == 'M' && file[1] == 'Z') {
    // Windows keeps strings in blocks of 16: block n + 1 holds ids 16 n to
    // 16 n + 15, each a u16 count of UTF-16 units and the units.
    if (!findProgramResource(file, id / 16 + 1, data, error, kres::kStringType, language)) {
      return false;
    }
    std::size_t at = 0;
    for (int entry = 0; entry < 16; ++entry) {
      if (at + 2 > data.size()) return false;
      const std::size_t n = std::size_t(data[at] | data[at + 1] << 8);
      at += 2;
      if (n > (data.size() - at) / 2) return false;
      if (entry == id % 16) {
        std::u16string wide;
        for (std::size_t i = 0; i < n; ++i) {
          wide += char16_t(data[at + 2 * i] | data[at + 2 * i + 1] << 8);
        }
        text.resize(wide.size());
        const int written =
            wideToAnsi(wide.data(), int(wide.size()), text.data(), int(text.size()));
        text.resize(std::size_t(written > 0 ? written : 0));
        return !text.empty();
      }
      at += 2 * n;
    }
    return false;
  }
  if (!findProgramResource(file, id, data, error, kres::kStringType, language)) return false;
  text.assign(data.begin(), data.end());
  return !text.empty();
}

}  // namespace platform
