#include "common/PeResourceWriter.h"

#include <algorithm>

#include "common/PeResourceTree.h"
#include "platform/PeImage.h"

namespace tools {
namespace {

using platform::kRelocationDirectory;
using platform::kResourceDirectory;
using platform::kSectionDiscardable;
using platform::kSectionInitializedData;
using platform::kSecurityDirectory;
using platform::PeDirectory;
using platform::PeImage;
using platform::peRead;
using platform::PeSection;
using platform::peWrite;
using platform::readPeImage;

// What the resource compiler gives resources without a language of their own:
// English (United States).
constexpr std::uint32_t kDefaultLanguage = 0x409;
constexpr std::uint32_t kResourceSectionFlags = 0x40000040;  // initialised data, readable
constexpr std::uint64_t kLargestImage = 0x80000000u;

std::uint64_t alignUp(std::uint64_t v, std::uint64_t to) {
  return (v + to - 1) / to * to;
}

bool fail(std::string& error, const std::string& reason) {
  error = reason;
  return false;
}

std::string describe(const PeResource& r) {
  return r.type + " " + std::to_string(r.id);
}

// "#N" is the numeric type N; any other text a type name, kept in capitals because
// FindResource compares names after turning the asked-for name to capitals.
bool typeKey(const std::string& type, PeResourceKey& key) {
  if (!type.empty() && type[0] == '#') {
    if (type.size() < 2 || type.size() > 6) return false;
    std::uint32_t n = 0;
    for (std::size_t i = 1; i < type.size(); ++i) {
      if (type[i] < '0' || type[i] > '9') return false;
      n = n * 10 + std::uint32_t(type[i] - '0');
    }
    key.id = n;
    return n >= 1 && n <= 0xFFFF;
  }
  if (type.empty() || type.size() > 64) return false;
  key.named = true;
  for (char c : type) {
    if (c <= 0x20 || c >= 0x7F) return false;
    key.name += char16_t(c >= 'a' && c <= 'z' ? c - 32 : c);
  }
  return true;
}

// Puts the new resources in place of any of the same type and id (in every
// language, the first replaced one's language kept; or in their own language).
bool merge(std::vector<PeResourceLeaf>& leaves, const std::vector<PeResource>& resources,
           std::string& error) {
  std::vector<PeResourceLeaf> added;
  for (const PeResource& r : resources) {
    PeResourceLeaf leaf;
    if (!typeKey(r.type, leaf.type)) return fail(error, "invalid resource type \"" + r.type + "\"");
    if (r.id == 0) return fail(error, "resource " + describe(r) + ": id 0 cannot be asked for");
    leaf.name.id = r.id;
    leaf.language = r.language != 0 ? r.language : kDefaultLanguage;
    for (const PeResourceLeaf& other : added) {
      if (other.type == leaf.type && other.name == leaf.name &&
          (r.language == 0 || other.language == leaf.language)) {
        return fail(error, "resource " + describe(r) + " is given twice");
      }
    }
    const auto same = [&](const PeResourceLeaf& old) {
      return old.type == leaf.type && old.name == leaf.name &&
             (r.language == 0 || old.language == leaf.language);
    };
    const auto replaced = std::find_if(leaves.begin(), leaves.end(), same);
    if (replaced != leaves.end() && r.language == 0) {
      leaf.language = replaced->language;
      leaf.codePage = replaced->codePage;
    }
    leaves.erase(std::remove_if(leaves.begin(), leaves.end(), same), leaves.end());
    leaf.data = r.data;
    added.push_back(std::move(leaf));
  }
  for (PeResourceLeaf& leaf : added) leaves.push_back(std::move(leaf));
  std::sort(leaves.begin(), leaves.end(), [](const auto& a, const auto& b) {
    if (!(a.type == b.type)) return a.type < b.type;
    if (!(a.name == b.name)) return a.name < b.name;
    return a.language < b.language;
  });
  return true;
}

// The sum the system's image check computes: 16-bit words with the carries
// folded back in, the checksum field left out, plus the file's length.
std::uint32_t checksum(const std::vector<std::uint8_t>& b, std::size_t checksumAt) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < b.size(); i += 2) {
    if (i == checksumAt || i == checksumAt + 2) continue;
    sum += b[i] | (i + 1 < b.size() ? std::uint32_t(b[i + 1]) << 8 : 0u);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return std::uint32_t(sum + b.size());
}

// True when a data directory other than the resources', the signature's (a file
// offset) and `allowed` points into section `s`: the program refers to its address.
bool referenced(const std::vector<std::uint8_t>& file, const PeImage& pe, const PeSection& s,
                std::uint32_t allowed) {
  for (std::uint32_t d = 0; d < pe.directoryCount; ++d) {
    const PeDirectory dir = pe.directory(file, d);
    if (d != kResourceDirectory && d != kSecurityDirectory && d != allowed && dir.rva != 0 &&
        s.contains(dir.rva)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool writePeResources(std::vector<std::uint8_t>& image, const std::vector<PeResource>& resources,
                      std::string& error) {
  PeImage pe;
  if (!readPeImage(image, pe, error)) return false;
  const PeDirectory security = pe.directory(image, kSecurityDirectory);
  if (security.rva != 0 || security.size != 0) {
    return fail(error, "the program is signed; write its resources before signing it");
  }
  std::vector<PeSection>& sections = pe.sections;
  const std::size_t n = sections.size();
  // A directory that points at no section and past the headers would come to
  // point into the new resources once they grow over that address.
  for (std::uint32_t d = 0; d < pe.directoryCount; ++d) {
    const PeDirectory dir = pe.directory(image, d);
    if (d != kSecurityDirectory && dir.rva >= pe.sizeOfHeaders && pe.sectionOf(dir.rva) < 0) {
      return fail(error, "data directory " + std::to_string(d) + " points outside the image");
    }
  }

  // What follows the last section may only be the symbol table the linker left in
  // an unstripped program; it moves along as it is.
  std::uint64_t rawEnd = pe.sizeOfHeaders;
  for (const PeSection& s : sections) {
    if (s.rawSize != 0) rawEnd = std::uint64_t(s.rawPointer) + s.rawSize;
  }
  if (pe.symbolTable != 0 && (pe.symbolTable < rawEnd || pe.symbolTable >= image.size())) {
    return fail(error, "the symbol table is not after the last section");
  }
  if (pe.symbolTable == 0 && image.size() > rawEnd) {
    return fail(error, "there is data after the last section");
  }

  // The resource section: the one the directory starts, or a new one at the end.
  const PeDirectory resourceDir = pe.directory(image, kResourceDirectory);
  std::vector<PeResourceLeaf> leaves;
  std::size_t r = n;
  if (resourceDir.rva != 0) {
    const int found = pe.sectionOf(resourceDir.rva);
    if (found < 0 || sections[std::size_t(found)].virtualAddress != resourceDir.rva ||
        sections[std::size_t(found)].rawSize == 0) {
      return fail(error, "the resource directory does not start a section of its own");
    }
    r = std::size_t(found);
    if (referenced(image, pe, sections[r], kResourceDirectory)) {
      return fail(error, "the resource section holds other data too");
    }
    if (!readPeResourceTree(image, pe, resourceDir.rva, leaves, error)) return false;
  }
  if (!merge(leaves, resources, error)) return false;

  const std::uint64_t sa = pe.sectionAlignment, fa = pe.fileAlignment;
  const PeSection& last = sections[n - 1];
  PeSection rsrc;
  if (r < n) {
    rsrc = sections[r];
  } else {
    rsrc.headerAt = pe.sectionTableAt + n * 40;
    rsrc.name = ".rsrc";
    rsrc.virtualAddress = std::uint32_t(alignUp(last.virtualAddress + last.mappedSize(), sa));
    rsrc.rawPointer = std::uint32_t(alignUp(rawEnd, fa));
    rsrc.characteristics = kResourceSectionFlags;
    if (rsrc.headerAt + 40 > pe.sizeOfHeaders ||
        std::any_of(image.begin() + std::ptrdiff_t(rsrc.headerAt),
                    image.begin() + std::ptrdiff_t(rsrc.headerAt + 40), [](auto b) { return b; })) {
      return fail(error, "there is no room for a resource section header");
    }
  }
  std::uint64_t total = 0;
  for (const PeResourceLeaf& leaf : leaves) total += leaf.data.size() + 16;
  if (total + rsrc.virtualAddress >= kLargestImage) {
    return fail(error, "the program would be larger than 2 GiB");
  }
  const std::vector<std::uint8_t> section = buildPeResourceSection(leaves, rsrc.virtualAddress);
  const std::uint32_t oldRsrcRaw = r < n ? rsrc.rawSize : 0;
  rsrc.virtualSize = std::uint32_t(section.size());
  rsrc.rawSize = std::uint32_t(alignUp(section.size(), fa));

  // The sections after it follow on in memory and in the file. Only the
  // relocations and sections nothing points into may change address; a section
  // that may not, and that the new resources still leave room for, stays where it
  // is, with the resource section's memory reaching up to it.
  std::vector<PeSection> after(sections.begin() + std::ptrdiff_t(std::min(r + 1, n)),
                               sections.end());
  const PeDirectory relocations = pe.directory(image, kRelocationDirectory);
  std::uint32_t newRelocationRva = relocations.rva;
  std::uint64_t nextVa = alignUp(std::uint64_t(rsrc.virtualAddress) + rsrc.virtualSize, sa);
  std::uint64_t nextRaw = std::uint64_t(rsrc.rawPointer) + rsrc.rawSize;
  for (std::size_t i = 0; i < after.size(); ++i) {
    PeSection& s = after[i];
    const bool holdsRelocations = relocations.rva != 0 && s.contains(relocations.rva);
    if (nextVa != s.virtualAddress && referenced(image, pe, s, kRelocationDirectory)) {
      if (i != 0 || nextVa > s.virtualAddress) {
        return fail(error, "the resource section cannot grow: section " + s.name +
                               " follows it and the program refers to it");
      }
      rsrc.virtualSize = s.virtualAddress - rsrc.virtualAddress;
      nextVa = s.virtualAddress;
    }
    if (holdsRelocations)
      newRelocationRva = std::uint32_t(relocations.rva - s.virtualAddress + nextVa);
    s.virtualAddress = std::uint32_t(nextVa);
    nextVa = alignUp(nextVa + s.mappedSize(), sa);
    if (s.rawSize != 0) {
      s.rawPointer = std::uint32_t(alignUp(nextRaw, fa));
      nextRaw = std::uint64_t(s.rawPointer) + s.rawSize;
    }
  }
  if (nextVa > kLargestImage || nextRaw + (image.size() - rawEnd) > kLargestImage) {
    return fail(error, "the program would be larger than 2 GiB");
  }

  // The new file: everything before the resource section, the section, the
  // sections after it and the symbol table.
  const std::uint64_t kept = r < n ? rsrc.rawPointer : rawEnd;
  std::vector<std::uint8_t> out(image.begin(), image.begin() + std::ptrdiff_t(kept));
  out.resize(rsrc.rawPointer, 0);
  out.insert(out.end(), section.begin(), section.end());
  out.resize(std::size_t(rsrc.rawPointer) + rsrc.rawSize, 0);
  for (std::size_t i = 0; i < after.size(); ++i) {
    const PeSection& old = sections[r + 1 + i];
    if (old.rawSize == 0) continue;
    out.resize(after[i].rawPointer, 0);
    out.insert(out.end(), image.begin() + std::ptrdiff_t(old.rawPointer),
               image.begin() + std::ptrdiff_t(old.rawPointer + old.rawSize));
  }
  if (pe.symbolTable != 0) {
    peWrite(out, pe.fileHeaderAt + 8, std::uint32_t(out.size() + (pe.symbolTable - rawEnd)), 4);
    out.insert(out.end(), image.begin() + std::ptrdiff_t(rawEnd), image.end());
  }

  // The headers.
  if (r == n) {
    for (std::size_t c = 0; c < rsrc.name.size(); ++c)
      out[rsrc.headerAt + c] = std::uint8_t(rsrc.name[c]);
    peWrite(out, rsrc.headerAt + 36, rsrc.characteristics, 4);
    peWrite(out, pe.fileHeaderAt + 2, std::uint32_t(n + 1), 2);
  }
  auto writeHeader = [&](const PeSection& s) {
    peWrite(out, s.headerAt + 8, s.virtualSize, 4);
    peWrite(out, s.headerAt + 12, s.virtualAddress, 4);
    peWrite(out, s.headerAt + 16, s.rawSize, 4);
    peWrite(out, s.headerAt + 20, s.rawSize != 0 ? s.rawPointer : 0, 4);
  };
  writeHeader(rsrc);
  for (const PeSection& s : after) writeHeader(s);
  const PeSection& end = after.empty() ? rsrc : after.back();
  peWrite(out, pe.sizeOfImageAt(),
          std::uint32_t(alignUp(end.virtualAddress + end.mappedSize(), sa)), 4);
  if (rsrc.characteristics & kSectionInitializedData) {
    const std::uint32_t data = peRead(out, pe.initializedDataAt(), 4);
    peWrite(out, pe.initializedDataAt(), data - oldRsrcRaw + rsrc.rawSize, 4);
  }
  peWrite(out, pe.directoriesAt + kResourceDirectory * 8, rsrc.virtualAddress, 4);
  peWrite(out, pe.directoriesAt + kResourceDirectory * 8 + 4, std::uint32_t(section.size()), 4);
  if (relocations.rva != 0)
    peWrite(out, pe.directoriesAt + kRelocationDirectory * 8, newRelocationRva, 4);
  peWrite(out, pe.checksumAt(), checksum(out, pe.checksumAt()), 4);
  image.swap(out);
  return true;
}

}  // namespace tools
