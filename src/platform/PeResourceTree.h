// The resource tree of a Windows program: three levels of directories (type,
// name, language) over data entries, each pointing at its bytes by address.
//
//   directory   16 bytes: characteristics, time stamp, version (u32, u32, u16 u16),
//               u16 count of named entries, u16 count of numbered entries; then
//               the entries, 8 bytes each: u32 key (high bit: offset of a name,
//               a u16 length and that many UTF-16 units; else the number), u32
//               value (high bit: offset of the next directory; else of a data
//               entry). Offsets count from the root of the tree.
//   data entry  16 bytes: u32 address of the data, u32 size, u32 code page,
//               u32 reserved.
//
// The one reader of the tree: the setup reads an installed uninstaller with it,
// the tools read and rewrite built setups with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PeImage.h"

namespace platform {

// A type or a name: a string (UTF-16 code units) or a number.
struct PeResourceKey {
  bool named = false;
  std::u16string name;
  std::uint32_t id = 0;

  // The order of the format: every name before every number, names by code unit.
  bool operator<(const PeResourceKey& other) const;
  bool operator==(const PeResourceKey& other) const;
};

// One resource, its data left where it is in the file.
struct PeResourceEntry {
  PeResourceKey type;
  PeResourceKey name;
  std::uint32_t language = 0;
  std::uint32_t codePage = 0;
  std::uint64_t offset = 0;  // of the data, in the file
  std::uint32_t size = 0;
};

// Reads the tree whose root is at `rva` into `entries`, sorted by type, name and
// language. Refuses a tree deeper or shallower than three levels, a directory
// reached twice, an entry outside the image, the same resource twice, and
// resource data adding up to more than the file holds (which only a tree whose
// entries share their bytes can claim), so that a copy of every resource is
// bounded by the file's size. False with a one-line reason and no entries
// otherwise.
bool readPeResourceTree(const std::vector<std::uint8_t>& file, const PeImage& image,
                        std::uint32_t rva, std::vector<PeResourceEntry>& entries,
                        std::string& error);

}  // namespace platform
