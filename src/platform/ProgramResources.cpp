#include "platform/ProgramResources.h"

#include <cstdlib>
#include <cstring>

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

// The PE resource tree: type, then name or id, then language.
bool fromPe(const Bytes& f, const char* type, int id, std::uint32_t language,
            std::vector<unsigned char>& out, std::vector<std::uint32_t>* languages,
            std::string& error) {
  const std::uint64_t pe = f.u(0x3C, 4);
  if (f.u(pe, 4) != 0x00004550) {
    error = "not a PE file";
    return false;
  }
  const std::uint64_t sections = f.u(pe + 6, 2);
  const std::uint64_t optional = pe + 24;
  const std::uint64_t optionalSize = f.u(pe + 20, 2);
  const std::uint64_t magic = f.u(optional, 2);
  const std::uint64_t directories = optional + (magic == 0x20B ? 112 : 96);
  const std::uint64_t rsrcRva = f.u(directories + 2 * 8, 4);
  const std::uint64_t table = optional + optionalSize;

  auto toOffset = [&](std::uint64_t rva, std::uint64_t size, std::uint64_t& offset) {
    for (std::uint64_t s = 0; s < sections; ++s) {
      const std::uint64_t h = table + s * 40;
      const std::uint64_t va = f.u(h + 12, 4), raw = f.u(h + 16, 4), rawPtr = f.u(h + 20, 4);
      if (rva >= va && rva - va < raw && size <= raw - (rva - va)) {
        offset = rawPtr + (rva - va);
        return f.has(offset, size);
      }
    }
    return false;
  };
  std::uint64_t root = 0;
  if (rsrcRva == 0 || !toOffset(rsrcRva, 16, root)) {
    error = "the setup has no resource section";
    return false;
  }
  // One level of the tree: the entry matching `name` (a string) or `number`.
  auto find = [&](std::uint64_t dir, const char* name, std::uint64_t number, bool any,
                  std::uint64_t& target) {
    const std::uint64_t named = f.u(dir + 12, 2), ids = f.u(dir + 14, 2);
    for (std::uint64_t e = 0; e < named + ids; ++e) {
      const std::uint64_t entry = dir + 16 + e * 8;
      if (!f.has(entry, 8)) return false;
      const std::uint64_t key = f.u(entry, 4), value = f.u(entry + 4, 4);
      bool match = any;
      if (!match && (key & 0x80000000u) && name != nullptr) {
        const std::uint64_t s = root + (key & 0x7FFFFFFF);
        const std::uint64_t len = f.u(s, 2);
        match = len == std::strlen(name) && f.has(s + 2, len * 2);
        for (std::uint64_t c = 0; match && c < len; ++c) {
          std::uint64_t ch = f.u(s + 2 + c * 2, 2);
          if (ch >= 'a' && ch <= 'z') ch -= 32;
          match = ch == std::uint64_t(name[c]);
        }
      } else if (!match && !(key & 0x80000000u) && name == nullptr) {
        match = key == number;
      }
      if (match) {
        target = value;
        return true;
      }
    }
    return false;
  };
  // "#N" names the numeric type N.
  const bool numeric = type[0] == '#';
  const std::uint64_t typeNumber = numeric ? std::strtoull(type + 1, nullptr, 10) : 0;
  std::uint64_t v = 0;
  if (!find(root, numeric ? nullptr : type, typeNumber, false, v) || !(v & 0x80000000u) ||
      !find(root + (v & 0x7FFFFFFF), nullptr, std::uint64_t(id), false, v) || !(v & 0x80000000u)) {
    error = "the setup has no such resource";
    return false;
  }
  if (languages != nullptr) {
    const std::uint64_t dir = root + (v & 0x7FFFFFFF);
    const std::uint64_t count = f.u(dir + 12, 2) + f.u(dir + 14, 2);
    for (std::uint64_t e = 0; e < count && f.has(dir + 16 + e * 8, 8); ++e) {
      const std::uint64_t key = f.u(dir + 16 + e * 8, 4);
      if ((key & 0x80000000u) == 0 && key <= 0xFFFF) languages->push_back(std::uint32_t(key));
    }
    return !languages->empty();
  }
  // Asked for any language, English is the one when it is there.
  const bool any = language == kres::kAnyLanguage;
  const std::uint64_t names = root + (v & 0x7FFFFFFF);
  const bool english = any && find(names, nullptr, kres::kEnglishLanguage, false, v);
  if ((!english && !find(names, nullptr, language, any, v)) || (v & 0x80000000u)) {
    error = "the setup has no such resource";
    return false;
  }
  const std::uint64_t dataEntry = root + v;
  std::uint64_t offset = 0;
  const std::uint64_t size = f.u(dataEntry + 4, 4);
  if (!f.has(dataEntry, 16) || !toOffset(f.u(dataEntry, 4), size, offset)) {
    error = "damaged resource section";
    return false;
  }
  out.assign(f.at(offset), f.at(offset) + size);
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
    return fromPe(f, type, id, language, out, languages, error);
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
