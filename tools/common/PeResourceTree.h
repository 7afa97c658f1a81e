// The resource tree of a Windows program: three levels of directories (type, name,
// language) over data entries. Read into a flat list, and written back as a whole
// section in one fixed layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/PeImage.h"

namespace tools {

// A type or a name: a string (UTF-16 code units) or a number.
struct PeResourceKey {
  bool named = false;
  std::u16string name;
  std::uint32_t id = 0;

  // The order of the format: every name before every number, names by code unit.
  bool operator<(const PeResourceKey& other) const;
  bool operator==(const PeResourceKey& other) const;
};

struct PeResourceLeaf {
  PeResourceKey type;
  PeResourceKey name;
  std::uint32_t language = 0;
  std::uint32_t codePage = 0;
  std::vector<std::uint8_t> data;
};

// Reads the tree whose root is at `rva` into `leaves`, each with a copy of its
// data. Refuses a tree deeper or shallower than three levels, a directory reached
// twice, an entry outside the image, the same resource twice, and resource data
// adding up to more than the file holds (which only a tree whose entries share
// their bytes can claim), so the copies are bounded by the file's size.
bool readPeResourceTree(const std::vector<std::uint8_t>& file, const PeImage& image,
                        std::uint32_t rva, std::vector<PeResourceLeaf>& leaves, std::string& error);

// The bytes of a resource section at `rva` holding `leaves`, which must be sorted
// and distinct: the directories breadth first, the data entries, the names, then
// each resource's data on an 8-byte boundary. Directory time stamps are zero.
std::vector<std::uint8_t> buildPeResourceSection(const std::vector<PeResourceLeaf>& leaves,
                                                 std::uint32_t rva);

}  // namespace tools
