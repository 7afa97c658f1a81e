// The headers of a Windows program image (PE32 or PE32+) as far as reading its
// resources and rewriting its sections need them, read with every offset and size
// checked against the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct PeSection {
  std::size_t headerAt = 0;  // where its 40-byte header is in the file
  std::string name;          // as stored: up to 8 bytes, or "/N" into the string table
  std::uint32_t virtualSize = 0;
  std::uint32_t virtualAddress = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawPointer = 0;
  std::uint32_t characteristics = 0;

  // The bytes the loader maps: VirtualSize, or the raw size where a linker left
  // that zero.
  std::uint64_t mappedSize() const { return virtualSize != 0 ? virtualSize : rawSize; }
  bool contains(std::uint64_t rva) const {
    return rva >= virtualAddress && rva - virtualAddress < mappedSize();
  }
};

struct PeDirectory {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

// Offsets of the fields the writer changes, from the start of the file.
struct PeImage {
  std::size_t fileHeaderAt = 0;  // after "PE\0\0"
  std::size_t optionalAt = 0;
  std::size_t directoriesAt = 0;
  std::uint32_t directoryCount = 0;
  std::uint32_t sectionAlignment = 0;
  std::uint32_t fileAlignment = 0;
  std::uint32_t sizeOfHeaders = 0;
  std::uint32_t symbolTable = 0;  // file offset of the COFF symbol table, 0 when stripped
  std::size_t sectionTableAt = 0;
  std::vector<PeSection> sections;  // in the order of the table, which is address order

  std::size_t checksumAt() const { return optionalAt + 64; }
  std::size_t sizeOfImageAt() const { return optionalAt + 56; }
  std::size_t initializedDataAt() const { return optionalAt + 8; }
  PeDirectory directory(const std::vector<std::uint8_t>& file, std::uint32_t index) const;
  // The index of the section whose mapped bytes hold `rva`, or -1.
  int sectionOf(std::uint64_t rva) const;
  // The file offset of `size` bytes at `rva`, all of them inside one section's raw
  // data. False when they are not.
  bool fileOffset(std::uint64_t rva, std::uint64_t size, std::uint64_t& offset) const;
};

constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kSecurityDirectory = 4;
constexpr std::uint32_t kRelocationDirectory = 5;
constexpr std::uint32_t kSectionInitializedData = 0x00000040;
constexpr std::uint32_t kSectionDiscardable = 0x02000000;

// Reads and checks the headers: the signatures, the alignments (powers of two,
// file alignment 512 to 64 KiB or equal to a section alignment below one page),
// a section table inside the headers, sections in ascending address order that do
// not overlap in memory or in the file and whose raw data lies inside the file.
// False with a one-line reason otherwise.
bool readPeImage(const std::vector<std::uint8_t>& file, PeImage& image, std::string& error);

// Little-endian access for the PE code; `at` must have been checked.
std::uint32_t peRead(const std::vector<std::uint8_t>& b, std::size_t at, int bytes);
void peWrite(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t value, int bytes);

}  // namespace platform
