#include "support/ProgramImages.h"

#include <cstdint>
#include <string>

#include "platform/ResourceSection.h"

namespace testdata {

namespace {

void put(ImageBytes& b, std::size_t at, std::uint64_t v, int n) {
  if (b.size() < at + std::size_t(n)) b.resize(at + std::size_t(n));
  for (int i = 0; i < n; ++i) b[at + std::size_t(i)] = (unsigned char)(v >> (8 * i));
}

void putText(ImageBytes& b, std::size_t at, const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) put(b, at + i, (unsigned char)text[i], 1);
}

}  // namespace

ImageBytes kresSection() {
  const struct {
    const char* type;
    std::uint32_t id;
    std::string data;
  } entries[] = {{"RC_DATA", 112, "package"},
                 {"RC_DATA", 200, "\x78\x9c\x03\0\0\0\0\1"},
                 {kres::kStringType, 1, "Demo Setup"}};
  ImageBytes b;
  putText(b, 0, std::string(kres::kMagic, 4));
  put(b, 4, kres::kVersion, 4);
  put(b, 8, 3, 4);
  put(b, 12, 0, 4);
  std::size_t data = kres::kHeaderSize + 3 * kres::kEntrySize;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t e = kres::kHeaderSize + i * kres::kEntrySize;
    putText(b, e, entries[i].type);
    put(b, e + 16, entries[i].id, 4);
    put(b, e + 20, data, 4);
    put(b, e + 24, entries[i].data.size(), 4);
    put(b, e + 28, 0, 4);
    putText(b, data, entries[i].data);
    data = (data + entries[i].data.size() + 15) & ~std::size_t(15);
  }
  b.resize(data);
  return b;
}

// A header, the section names, the .kres section, then the section table: null,
// .shstrtab, .kres.
ImageBytes elfImage(bool is64) {
  const std::string names = std::string("\0.shstrtab\0", 11) + kres::kSectionName + '\0';
  const ImageBytes kres = kresSection();
  const std::size_t header = is64 ? 64 : 52, entry = is64 ? 64 : 40;
  const std::size_t namesAt = header, kresAt = (namesAt + names.size() + 15) & ~std::size_t(15);
  const std::size_t table = kresAt + kres.size();
  ImageBytes b;
  putText(b, 0,
          "\x7F"
          "ELF");
  put(b, 4, is64 ? 2 : 1, 1);  // class
  put(b, 5, 1, 1);             // little-endian
  put(b, 6, 1, 1);             // version
  put(b, 16, 2, 2);            // an executable
  put(b, 18, is64 ? 62 : 3, 2);
  put(b, 20, 1, 4);
  if (is64) {
    put(b, 0x28, table, 8);
    put(b, 0x34, header, 2);
    put(b, 0x3A, entry, 2);
    put(b, 0x3C, 3, 2);
    put(b, 0x3E, 1, 2);
  } else {
    put(b, 0x20, table, 4);
    put(b, 0x28, header, 2);
    put(b, 0x2E, entry, 2);
    put(b, 0x30, 3, 2);
    put(b, 0x32, 1, 2);
  }
  putText(b, namesAt, names);
  b.resize(kresAt);
  b.insert(b.end(), kres.begin(), kres.end());
  b.resize(table + 3 * entry);
  const struct {
    std::uint32_t name, type;
    std::size_t offset, size;
  } sections[] = {{1, 3, namesAt, names.size()}, {11, 1, kresAt, kres.size()}};
  for (std::size_t i = 0; i < 2; ++i) {
    const std::size_t h = table + (i + 1) * entry;
    put(b, h, sections[i].name, 4);
    put(b, h + 4, sections[i].type, 4);
    put(b, h + (is64 ? 0x18 : 0x10), sections[i].offset, is64 ? 8 : 4);
    put(b, h + (is64 ? 0x20 : 0x14), sections[i].size, is64 ? 8 : 4);
  }
  return b;
}

ImageBytes peImage() {
  const std::size_t pe = 0x40, optional = pe + 24, optionalSize = 224;
  const std::size_t sectionTable = optional + optionalSize;
  const std::size_t raw = kPeResourceOffset, va = 0x1000;
  // The tree, offsets from the section's start: root, type, two language
  // directories, two data entries, the type's name, the data.
  ImageBytes r;
  put(r, 12, 1, 2);  // root: one named entry
  put(r, 16, 0x80000000u | kPeTypeNameAt, 4);
  put(r, 20, 0x80000000u | 0x18, 4);
  put(r, 0x18 + 14, 2, 2);  // type: two ids
  put(r, 0x18 + 16, 112, 4);
  put(r, 0x18 + 20, 0x80000000u | 0x38, 4);
  put(r, 0x18 + 24, 200, 4);
  put(r, 0x18 + 28, 0x80000000u | 0x50, 4);
  for (std::size_t dir : {0x38u, 0x50u}) {
    put(r, dir + 14, 1, 2);
    put(r, dir + 16, 1033, 4);
    put(r, dir + 20, kPeDataEntriesAt + (dir == 0x38 ? 0 : 0x10), 4);
  }
  const std::string name = "RC_DATA";
  put(r, kPeTypeNameAt, name.size(), 2);
  for (std::size_t i = 0; i < name.size(); ++i)
    put(r, kPeTypeNameAt + 2 + 2 * i, (unsigned char)name[i], 2);
  const std::string data[2] = {"package", "\x78\x9c\x03\0\0\0\0\1"};
  std::size_t at = 0xC0;
  for (std::size_t i = 0; i < 2; ++i) {
    put(r, kPeDataEntriesAt + 0x10 * i, va + at, 4);
    put(r, kPeDataEntriesAt + 0x10 * i + 4, data[i].size(), 4);
    putText(r, at, data[i]);
    at += 16;
  }
  r.resize(0x200);

  ImageBytes b;
  putText(b, 0, "MZ");
  put(b, 0x3C, pe, 4);
  putText(b, pe, std::string("PE\0\0", 4));
  put(b, pe + 4, 0x14C, 2);  // i386
  put(b, pe + 6, 1, 2);      // one section
  put(b, pe + 20, optionalSize, 2);
  put(b, pe + 22, 0x0102, 2);
  put(b, optional, 0x10B, 2);            // PE32
  put(b, optional + 32, 0x1000, 4);      // section alignment
  put(b, optional + 36, 0x200, 4);       // file alignment
  put(b, optional + 60, raw, 4);         // the headers end where the section starts
  put(b, optional + 92, 16, 4);          // data directories
  put(b, optional + 96 + 2 * 8, va, 4);  // resources
  put(b, optional + 96 + 2 * 8 + 4, r.size(), 4);
  putText(b, sectionTable, ".rsrc");
  put(b, sectionTable + 8, r.size(), 4);
  put(b, sectionTable + 12, va, 4);
  put(b, sectionTable + 16, r.size(), 4);
  put(b, sectionTable + 20, raw, 4);
  put(b, sectionTable + 36, 0x40000040u, 4);
  b.resize(raw);
  b.insert(b.end(), r.begin(), r.end());
  return b;
}

ImageBytes peProgram(bool withResources) {
  ImageBytes b(0x400, 0);
  put(b, 0, 'M' | 'Z' << 8, 2);
  put(b, 0x3C, kProgramPe, 4);
  put(b, kProgramPe, 0x00004550, 4);
  put(b, kProgramPe + 4, 0x14C, 2);
  put(b, kProgramPe + 20, 224, 2);
  put(b, kProgramPe + 22, 0x0102, 2);
  put(b, kProgramOptional, 0x10B, 2);
  put(b, kProgramOptional + 28, 0x400000, 4);
  put(b, kProgramOptional + 32, 0x1000, 4);
  put(b, kProgramOptional + 36, 0x200, 4);
  put(b, kProgramOptional + 60, 0x400, 4);
  put(b, kProgramOptional + 68, 2, 2);       // a GUI program
  put(b, kProgramOptional + 70, 0x0140, 2);  // movable base, no execution of data
  put(b, kProgramOptional + 92, 16, 4);
  struct Section {
    const char* name;
    std::uint32_t flags;
    ImageBytes data;
  };
  std::vector<Section> sections = {{".text", 0x60000020, ImageBytes(0x30, 0xC3)}};
  if (withResources) sections.push_back({".rsrc", 0x40000040, ImageBytes(16, 0)});
  ImageBytes relocations;
  for (std::uint32_t v : kRelocationBlock) put(relocations, relocations.size(), v, 4);
  sections.push_back({".reloc", 0x42000040, relocations});
  sections.push_back({"/4", 0x42000040, ImageBytes(0x40, 0xDB)});
  put(b, kProgramPe + 6, std::uint32_t(sections.size()), 2);
  std::uint32_t va = 0x1000;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const std::size_t h = kProgramSections + 40 * i;
    for (std::size_t c = 0; sections[i].name[c] != 0; ++c)
      b[h + c] = (unsigned char)(sections[i].name[c]);
    const std::uint32_t raw = std::uint32_t(b.size());
    put(b, h + 8, std::uint32_t(sections[i].data.size()), 4);
    put(b, h + 12, va, 4);
    put(b, h + 16, 0x200, 4);
    put(b, h + 20, raw, 4);
    put(b, h + 36, sections[i].flags, 4);
    b.insert(b.end(), sections[i].data.begin(), sections[i].data.end());
    b.resize(raw + 0x200, 0);
    // The resource (2) and relocation (5) directories start their sections.
    const std::string name = sections[i].name;
    const std::size_t directory = name == ".rsrc" ? 2 : name == ".reloc" ? 5 : 0;
    if (directory != 0) {
      put(b, kProgramDirectories + directory * 8, va, 4);
      put(b, kProgramDirectories + directory * 8 + 4, std::uint32_t(sections[i].data.size()), 4);
    }
    va += 0x1000;
  }
  put(b, kProgramOptional + 56, va, 4);
  return b;
}

}  // namespace testdata
