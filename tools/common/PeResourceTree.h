// The resource tree of a Windows program (platform/PeResourceTree.h) read into a
// flat list with a copy of each resource's data, and written back as a whole
// section in one fixed layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PeImage.h"
#include "platform/PeResourceTree.h"

namespace tools {

using platform::PeResourceKey;

struct PeResourceLeaf {
  PeResourceKey type;
  PeResourceKey name;
  std::uint32_t language = 0;
  std::uint32_t codePage = 0;
  std::vector<std::uint8_t> data;
};

// Reads the tree whose root is at `rva` into `leaves`, sorted, each with a copy of
// its data; what platform::readPeResourceTree refuses, this refuses.
bool readPeResourceTree(const std::vector<std::uint8_t>& file, const platform::PeImage& image,
                        std::uint32_t rva, std::vector<PeResourceLeaf>& leaves, std::string& error);

// The bytes of a resource section at `rva` holding `leaves`, which must be sorted
// and distinct: the directories breadth first, the data entries, the names, then
// each resource's data on an 8-byte boundary. Directory time stamps are zero.
std::vector<std::uint8_t> buildPeResourceSection(const std::vector<PeResourceLeaf>& leaves,
                                                 std::uint32_t rva);

}  // namespace tools
