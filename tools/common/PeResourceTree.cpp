#include "common/PeResourceTree.h"

#include <algorithm>

namespace tools {

namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;

void put(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t value, int bytes) {
  platform::peWrite(b, at, value, bytes);
}

std::size_t align(std::size_t v, std::size_t to) {
  return (v + to - 1) / to * to;
}

}  // namespace

bool readPeResourceTree(const std::vector<std::uint8_t>& file, const platform::PeImage& image,
                        std::uint32_t rva, std::vector<PeResourceLeaf>& leaves,
                        std::string& error) {
  leaves.clear();
  std::vector<platform::PeResourceEntry> entries;
  if (!platform::readPeResourceTree(file, image, rva, entries, error)) return false;
  for (platform::PeResourceEntry& entry : entries) {
    PeResourceLeaf leaf;
    leaf.type = std::move(entry.type);
    leaf.name = std::move(entry.name);
    leaf.language = entry.language;
    leaf.codePage = entry.codePage;
    const auto at = file.begin() + std::ptrdiff_t(entry.offset);
    leaf.data.assign(at, at + std::ptrdiff_t(entry.size));
    leaves.push_back(std::move(leaf));
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
