// Built setups in miniature, made in code for the tools' resource readers: a
// Windows program with a PE resource tree and host programs with a .kres section,
// none with any code. Each carries RC_DATA 112 "package" and RC_DATA 200 (an empty
// zlib stream); the .kres section also carries string 1 "Demo Setup".
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace testdata {

using ImageBytes = std::vector<unsigned char>;

// The bytes of a .kres section (src/platform/ResourceSection.h).
ImageBytes kresSection();

// An ELF image, 64- or 32-bit, whose only sections are its names and .kres.
ImageBytes elfImage(bool is64);

// A 32-bit PE image with one section, .rsrc, holding the tree the resource
// compiler writes: the type "RC_DATA" by name, then the id, then one language.
ImageBytes peImage();

// Where the PE image's resource section starts in the file, and the offsets of its
// parts from there.
constexpr std::size_t kPeResourceOffset = 0x200;
constexpr std::size_t kPeTypeNameAt = 0xA0;
constexpr std::size_t kPeDataEntriesAt = 0x68;

// A program as the MinGW linker lays it out, in miniature: a PE32 image with file
// alignment 0x200 and section alignment 0x1000 whose sections are .text, .rsrc
// holding an empty resource tree (left out when `withResources` is false),
// .reloc with one block (kRelocationBlock) and a discardable section last, each
// 0x200 bytes in the file and one page in memory.
ImageBytes peProgram(bool withResources = true);

// Where its headers are in the file.
constexpr std::size_t kProgramPe = 0x80;
constexpr std::size_t kProgramOptional = kProgramPe + 24;
constexpr std::size_t kProgramDirectories = kProgramOptional + 96;
constexpr std::size_t kProgramSections = kProgramOptional + 224;
// Its relocations: one page at 0x1000 with one HIGHLOW entry at 0x10.
constexpr std::uint32_t kRelocationBlock[] = {0x1000, 12, 0x3010};

}  // namespace testdata
