#include "platform/PeResourceTree.h"

#include <algorithm>
#include <set>

namespace platform {

bool PeResourceKey::operator<(const PeResourceKey& other) const {
  if (named != other.named) return named;
  return named ? name < other.name : id < other.id;
}

bool PeResourceKey::operator==(const PeResourceKey& other) const {
  return named == other.named && (named ? name == other.name : id == other.id);
}

namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;

class TreeReader {
 public:
  TreeReader(const std::vector<std::uint8_t>& file, const PeImage& image, std::uint64_t root,
             std::uint64_t size, std::vector<PeResourceEntry>& entries)
      : file_(file), image_(image), root_(root), size_(size), entries_(entries) {}

  // One directory at `offset` from the root; level 0 holds types, 1 names, 2
  // languages.
  bool directory(std::uint64_t offset, int level, const PeResourceKey& type,
                 const PeResourceKey& name) {
    if (!has(offset, 16) || !visited_.insert(offset).second) return fail("damaged resource tree");
    const std::uint64_t count = u(offset + 12, 2) + u(offset + 14, 2);
    keys_ += count;
    if (keys_ > size_ / 8 || !has(offset + 16, count * 8)) return fail("damaged resource tree");
    for (std::uint64_t e = 0; e < count; ++e) {
      const std::uint64_t at = offset + 16 + e * 8;
      const std::uint32_t keyField = std::uint32_t(u(at, 4)), value = std::uint32_t(u(at + 4, 4));
      PeResourceKey key;
      if (keyField & kHighBit) {
        if (level == 2 || !readName(keyField & ~kHighBit, key.name)) {
          return fail("damaged resource name");
        }
        key.named = true;
      } else {
        key.id = keyField;
      }
      const bool subdirectory = (value & kHighBit) != 0;
      if (subdirectory != (level < 2)) return fail("the resource tree is not three levels deep");
      const bool ok = level == 0   ? directory(value & ~kHighBit, 1, key, {})
                      : level == 1 ? directory(value & ~kHighBit, 2, type, key)
                                   : leaf(value, type, name, key.id);
      if (!ok) return false;
    }
    return true;
  }

  const std::string& error() const { return error_; }

 private:
  bool has(std::uint64_t offset, std::uint64_t n) const {
    return offset <= size_ && n <= size_ - offset;
  }
  std::uint64_t u(std::uint64_t offset, int n) const {
    return peRead(file_, std::size_t(root_ + offset), n);
  }
  bool fail(const char* reason) {
    if (error_.empty()) error_ = reason;
    return false;
  }

  bool readName(std::uint64_t offset, std::u16string& name) const {
    if (!has(offset, 2)) return false;
    const std::uint64_t length = u(offset, 2);
    if (length == 0 || !has(offset + 2, length * 2)) return false;
    for (std::uint64_t c = 0; c < length; ++c) name += char16_t(u(offset + 2 + c * 2, 2));
    return true;
  }

  bool leaf(std::uint64_t offset, const PeResourceKey& type, const PeResourceKey& name,
            std::uint32_t language) {
    if (!has(offset, 16)) return fail("damaged resource data entry");
    const std::uint64_t rva = u(offset, 4), size = u(offset + 4, 4);
    std::uint64_t at = 0;
    dataTotal_ += size;
    if (dataTotal_ > file_.size() || !image_.fileOffset(rva, size, at)) {
      return fail("resource data outside the image");
    }
    PeResourceEntry entry;
    entry.type = type;
    entry.name = name;
    entry.language = language;
    entry.codePage = std::uint32_t(u(offset + 8, 4));
    entry.offset = at;
    entry.size = std::uint32_t(size);
    entries_.push_back(std::move(entry));
    return true;
  }

  const std::vector<std::uint8_t>& file_;
  const PeImage& image_;
  const std::uint64_t root_, size_;
  std::vector<PeResourceEntry>& entries_;
  std::set<std::uint64_t> visited_;
  std::uint64_t keys_ = 0, dataTotal_ = 0;
  std::string error_;
};

bool sameResource(const PeResourceEntry& a, const PeResourceEntry& b) {
  return a.type == b.type && a.name == b.name && a.language == b.language;
}

}  // namespace

bool readPeResourceTree(const std::vector<std::uint8_t>& file, const PeImage& image,
                        std::uint32_t rva, std::vector<PeResourceEntry>& entries,
                        std::string& error) {
  entries.clear();
  const int s = image.sectionOf(rva);
  if (s < 0) {
    error = "the resource directory is outside every section";
    return false;
  }
  const PeSection& section = image.sections[std::size_t(s)];
  const std::uint64_t inside = rva - section.virtualAddress;
  const std::uint64_t size = inside < section.rawSize ? section.rawSize - inside : 0;
  TreeReader reader(file, image, section.rawPointer + inside, size, entries);
  if (!reader.directory(0, 0, {}, {})) {
    error = reader.error();
    entries.clear();
    return false;
  }
  std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    if (!(a.type == b.type)) return a.type < b.type;
    if (!(a.name == b.name)) return a.name < b.name;
    return a.language < b.language;
  });
  for (std::size_t i = 1; i < entries.size(); ++i) {
    if (sameResource(entries[i - 1], entries[i])) {
      error = "the same resource is in the tree twice";
      entries.clear();
      return false;
    }
  }
  return true;
}

}  // namespace platform
