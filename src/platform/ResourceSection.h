// The resource section of a host program.
//
// A Windows program carries its resources in the .rsrc section. A host program
// carries the same list in an ELF section named ".kres", which the build writes
// with the assembler (cmake/Resources.cmake) and which the tools read and write:
//
//   offset  size  field
//   0       4     magic "KRES"
//   4       4     version, 2 (1: the language field below is reserved, 0)
//   8       4     entry count N
//   12      4     reserved, 0
//   16      32*N  entries:
//                   0   16  type name, ASCII, zero-padded ("RC_DATA"; numeric
//                           Windows types are spelt "#6", as FindResource accepts)
//                   16  4   id
//                   20  4   offset of the data from the start of the section
//                   24  4   size of the data in bytes
//                   28  4   language: the Windows language id of a string
//                           (0x0409 for English), 0 for what has none
//   ...           the data of each entry, each starting on a 16-byte boundary
//
// All numbers are little-endian. A string-table entry has type "#6" and holds the
// text without a terminator, in Windows-1252; the same id may be there once in
// each language the program speaks. The strings of a version 1 section are
// English.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kres {

constexpr char kSectionName[] = ".kres";
constexpr char kMagic[4] = {'K', 'R', 'E', 'S'};
constexpr std::uint32_t kVersion = 2;
constexpr std::uint32_t kAnyLanguage = 0xFFFFFFFF;
constexpr std::uint32_t kEnglishLanguage = 0x0409;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kEntrySize = 32;
constexpr std::size_t kTypeNameSize = 16;
constexpr char kStringType[] = "#6";

// Looks up resource (type, id) in `language` (any: the first of that type and
// id) in a section image of `sectionSize` bytes. Type names compare without
// regard to ASCII case. Every field is checked against the section's bounds, so
// any bytes may be passed. False when the section is malformed or has no such
// entry; `data` and `size` are then untouched.
bool findInSection(const unsigned char* section, std::size_t sectionSize, const char* type,
                   std::uint32_t id, const unsigned char** data, std::uint32_t* size,
                   std::uint32_t language = kAnyLanguage);

// The languages resource (type, id) is there in, in the section's order, each
// once; empty for a malformed section.
std::vector<std::uint32_t> languagesInSection(const unsigned char* section,
                                              std::size_t sectionSize, const char* type,
                                              std::uint32_t id);

}  // namespace kres
