#include "common/PeResourceTree.h"

#include <algorithm>
#include <set>

namespace tools {

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
             std::uint64_t size, std::vector<PeResourceLeaf>& leaves)
      : file_(file), image_(image), root_(root), size_(size), leaves_(leaves) {}

  // One directory at `offset` from the root; level 0 holds types, 1 names, 2
  // languages.
  bool directory(std::uint64_t offset, int level, const PeResourceKey& type,
                 const PeResourceKey& name) {
    if (!has(offset, 16) || !visited_.insert(offset).second) return fail("damaged resource tree");
    const std::uint64_t count = u(offset + 12, 2) + u(offset + 14, 2);
    entries_ += count;
    if (entries_ > size_ / 8 || !has(offset + 16, count * 8)) return fail("damaged resource tree");
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
    PeResourceLeaf leaf;
    leaf.type = type;
    leaf.name = name;
    leaf.language = language;
    leaf.codePage = std::uint32_t(u(offset + 8, 4));
    leaf.data.assign(file_.begin() + std::ptrdiff_t(at), file_.begin() + std::ptrdiff_t(at + size));
    leaves_.push_back(std::move(leaf));
    return true;
  }

  const std::vector<std::uint8_t>& file_;
  const PeImage& image_;
  const std::uint64_t root_, size_;
  std::vector<PeResourceLeaf>& leaves_;
  std::set<std::uint64_t> visited_;
  std::uint64_t entries_ = 0, dataTotal_ = 0;
  std::string error_;
};

bool sameResource(const PeResourceLeaf& a, const PeResourceLeaf& b) {
  return a.type == b.type && a.name == b.name && a.language == b.language;
}

void put(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t value, int bytes) {
  peWrite(b, at, value, bytes);
}

std::size_t align(std::size_t v, std::size_t to) {
  return (v + to - 1) / to * to;
}

}  // namespace

bool readPeResourceTree(const std::vector<std::uint8_t>& file, const PeImage& image,
                        std::uint32_t rva, std::vector<PeResourceLeaf>& leaves,
                        std::string& error) {
  leaves.clear();
  const int s = image.sectionOf(rva);
  if (s < 0) {
    error = "the resource directory is outside every section";
    return false;
  }
  const PeSection& section = image.sections[std::size_t(s)];
  const std::uint64_t inside = rva - section.virtualAddress;
  const std::uint64_t size = inside < section.rawSize ? section.rawSize - inside : 0;
  TreeReader reader(file, image, section.rawPointer + inside, size, leaves);
  if (!reader.directory(0, 0, {}, {})) {
    error = reader.error();
    leaves.clear();
    return false;
  }
  std::stable_sort(leaves.begin(), leaves.end(), [](const auto& a, const auto& b) {
    if (!(a.type == b.type)) return a.type < b.type;
    if (!(a.name == b.name)) return a.name < b.name;
    return a.language < b.language;
  });
  for (std::size_t i = 1; i < leaves.size(); ++i) {
    if (sameResource(leaves[i - 1], leaves[i])) {
      error = "the same resource is in the tree twice";
      leaves.clear();
      return false;
    }
  }
  return true;
}

std::vector<std::uint8_t> buildPeResourceSection(const std::vector<PeResourceLeaf>& leaves,
                                                 std::uint32_t rva) {
  // Group the sorted leaves: the types, each type's names, each name's languages.
  struct Name {
    std::size_t first, count;  // leaves
  };
  struct Type {
    std::vector<Name> names;
  };
  std::vector<Type> types;
  for (std::size_t i = 0; i < leaves.size(); ++i) {
    if (i == 0 || !(leaves[i].type == leaves[i - 1].type)) types.push_back({});
    auto& names = types.back().names;
    if (names.empty() || !(leaves[i].name == leaves[names.back().first].name)) {
      names.push_back({i, 0});
    }
    ++names.back().count;
  }
  auto dirSize = [](std::size_t entries) { return 16 + 8 * entries; };

  // Offsets: the root, the type directories, the language directories.
  std::size_t at = dirSize(types.size());
  std::vector<std::size_t> typeDirs, nameDirs;
  for (const Type& t : types) {
    typeDirs.push_back(at);
    at += dirSize(t.names.size());
  }
  for (const Type& t : types) {
    for (const Name& n : t.names) {
      nameDirs.push_back(at);
      at += dirSize(n.count);
    }
  }
  const std::size_t dataEntries = at;
  at += 16 * leaves.size();
  // One string per named type and per named resource, in the order of the tree.
  std::vector<std::size_t> typeNames(types.size()), resourceNames(nameDirs.size());
  for (std::size_t t = 0, k = 0; t < types.size(); ++t) {
    const PeResourceKey& type = leaves[types[t].names[0].first].type;
    if (type.named) {
      typeNames[t] = at;
      at += 2 + 2 * type.name.size();
    }
    for (const Name& n : types[t].names) {
      const PeResourceKey& name = leaves[n.first].name;
      if (name.named) {
        resourceNames[k] = at;
        at += 2 + 2 * name.name.size();
      }
      ++k;
    }
  }
  std::vector<std::size_t> dataAt;
  for (const PeResourceLeaf& leaf : leaves) {
    at = align(at, 8);
    dataAt.push_back(at);
    at += leaf.data.size();
  }

  std::vector<std::uint8_t> b(at, 0);
  auto directory = [&](std::size_t offset, std::size_t named, std::size_t ids) {
    put(b, offset + 12, std::uint32_t(named), 2);
    put(b, offset + 14, std::uint32_t(ids), 2);
  };
  auto key = [&](std::size_t entry, const PeResourceKey& k, std::size_t nameAt) {
    put(b, entry, k.named ? kHighBit | std::uint32_t(nameAt) : k.id, 4);
    if (!k.named) return;
    put(b, nameAt, std::uint32_t(k.name.size()), 2);
    for (std::size_t c = 0; c < k.name.size(); ++c) put(b, nameAt + 2 + 2 * c, k.name[c], 2);
  };
  std::size_t namedTypes = 0;
  for (const Type& t : types) namedTypes += leaves[t.names[0].first].type.named ? 1 : 0;
  directory(0, namedTypes, types.size() - namedTypes);
  std::size_t k = 0, leafIndex = 0;
  for (std::size_t t = 0; t < types.size(); ++t) {
    key(16 + 8 * t, leaves[types[t].names[0].first].type, typeNames[t]);
    put(b, 16 + 8 * t + 4, kHighBit | std::uint32_t(typeDirs[t]), 4);
    const auto& names = types[t].names;
    std::size_t named = 0;
    for (const Name& n : names) named += leaves[n.first].name.named ? 1 : 0;
    directory(typeDirs[t], named, names.size() - named);
    for (std::size_t i = 0; i < names.size(); ++i, ++k) {
      const std::size_t entry = typeDirs[t] + 16 + 8 * i;
      key(entry, leaves[names[i].first].name, resourceNames[k]);
      put(b, entry + 4, kHighBit | std::uint32_t(nameDirs[k]), 4);
      directory(nameDirs[k], 0, names[i].count);
      for (std::size_t l = 0; l < names[i].count; ++l, ++leafIndex) {
        const PeResourceLeaf& leaf = leaves[leafIndex];
        const std::size_t languageEntry = nameDirs[k] + 16 + 8 * l;
        const std::size_t dataEntry = dataEntries + 16 * leafIndex;
        put(b, languageEntry, leaf.language, 4);
        put(b, languageEntry + 4, std::uint32_t(dataEntry), 4);
        put(b, dataEntry, rva + std::uint32_t(dataAt[leafIndex]), 4);
        put(b, dataEntry + 4, std::uint32_t(leaf.data.size()), 4);
        put(b, dataEntry + 8, leaf.codePage, 4);
        std::copy(leaf.data.begin(), leaf.data.end(),
                  b.begin() + std::ptrdiff_t(dataAt[leafIndex]));
      }
    }
  }
  return b;
}

}  // namespace tools
