#include "platform/PeImage.h"

namespace platform {
namespace {

bool isPowerOfTwo(std::uint32_t v) {
  return v != 0 && (v & (v - 1)) == 0;
}

bool fail(std::string& error, const std::string& reason) {
  error = reason;
  return false;
}

}  // namespace

std::uint32_t peRead(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + std::size_t(i)];
  return v;
}

void peWrite(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}

PeDirectory PeImage::directory(const std::vector<std::uint8_t>& file, std::uint32_t index) const {
  if (index >= directoryCount) return {};
  return {peRead(file, directoriesAt + index * 8, 4),
          peRead(file, directoriesAt + index * 8 + 4, 4)};
}

int PeImage::sectionOf(std::uint64_t rva) const {
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (sections[i].contains(rva)) return int(i);
  }
  return -1;
}

bool PeImage::fileOffset(std::uint64_t rva, std::uint64_t size, std::uint64_t& offset) const {
  const int s = sectionOf(rva);
  if (s < 0) return false;
  const PeSection& section = sections[std::size_t(s)];
  const std::uint64_t inside = rva - section.virtualAddress;
  if (inside > section.rawSize || size > section.rawSize - inside) return false;
  offset = section.rawPointer + inside;
  return true;
}

bool readPeImage(const std::vector<std::uint8_t>& file, PeImage& image, std::string& error) {
  image = PeImage{};
  const std::size_t n = file.size();
  if (n < 0x40 || file[0] != 'M' || file[1] != 'Z') return fail(error, "not a Windows program");
  const std::uint32_t pe = peRead(file, 0x3C, 4);
  if (pe > n || n - pe < 24 || peRead(file, pe, 4) != 0x00004550) {
    return fail(error, "not a Windows program (no PE header)");
  }
  image.fileHeaderAt = pe + 4;
  const std::uint32_t sectionCount = peRead(file, pe + 6, 2);
  image.symbolTable = peRead(file, pe + 12, 4);
  const std::uint32_t optionalSize = peRead(file, pe + 20, 2);
  image.optionalAt = pe + 24;
  if (n - image.optionalAt < optionalSize) return fail(error, "the optional header is cut short");
  const std::uint32_t magic = optionalSize >= 2 ? peRead(file, image.optionalAt, 2) : 0;
  if (magic != 0x10B && magic != 0x20B) return fail(error, "unknown optional header");
  const std::size_t fixed = magic == 0x10B ? 96 : 112;
  if (optionalSize < fixed) return fail(error, "the optional header is cut short");
  image.directoriesAt = image.optionalAt + fixed;
  image.directoryCount = peRead(file, image.optionalAt + fixed - 4, 4);
  if (image.directoryCount > 16 || optionalSize < fixed + std::size_t(image.directoryCount) * 8) {
    return fail(error, "damaged data directory");
  }
  if (image.directoryCount <= kResourceDirectory) return fail(error, "no resource directory slot");

  image.sectionAlignment = peRead(file, image.optionalAt + 32, 4);
  image.fileAlignment = peRead(file, image.optionalAt + 36, 4);
  image.sizeOfHeaders = peRead(file, image.optionalAt + 60, 4);
  const std::uint32_t sa = image.sectionAlignment, fa = image.fileAlignment;
  const bool small = sa < 0x1000;
  if (!isPowerOfTwo(sa) || !isPowerOfTwo(fa) || fa > sa ||
      (small ? fa != sa : (fa < 0x200 || fa > 0x10000))) {
    return fail(error, "invalid section or file alignment");
  }
  image.sectionTableAt = image.optionalAt + optionalSize;
  if (sectionCount == 0 || sectionCount > 96) return fail(error, "invalid number of sections");
  const std::uint64_t tableEnd = image.sectionTableAt + std::uint64_t(sectionCount) * 40;
  if (tableEnd > image.sizeOfHeaders || image.sizeOfHeaders > n) {
    return fail(error, "the section table does not fit in the headers");
  }

  std::uint64_t memoryEnd = image.sizeOfHeaders, fileEnd = image.sizeOfHeaders;
  for (std::uint32_t i = 0; i < sectionCount; ++i) {
    PeSection s;
    s.headerAt = image.sectionTableAt + std::size_t(i) * 40;
    for (std::size_t c = 0; c < 8 && file[s.headerAt + c] != 0; ++c) {
      s.name += char(file[s.headerAt + c]);
    }
    s.virtualSize = peRead(file, s.headerAt + 8, 4);
    s.virtualAddress = peRead(file, s.headerAt + 12, 4);
    s.rawSize = peRead(file, s.headerAt + 16, 4);
    s.rawPointer = peRead(file, s.headerAt + 20, 4);
    s.characteristics = peRead(file, s.headerAt + 36, 4);
    if (s.virtualAddress < memoryEnd || s.virtualAddress % sa != 0 || s.mappedSize() == 0) {
      return fail(error, "section " + std::to_string(i + 1) + " is out of address order");
    }
    memoryEnd = std::uint64_t(s.virtualAddress) + s.mappedSize();
    if (s.rawSize != 0) {
      if (s.rawPointer < fileEnd || s.rawPointer > n || s.rawSize > n - s.rawPointer) {
        return fail(error, "section " + std::to_string(i + 1) + "'s data is not in the file");
      }
      fileEnd = std::uint64_t(s.rawPointer) + s.rawSize;
    }
    // Old COFF relocations and line numbers point into the file; an image has none.
    if (peRead(file, s.headerAt + 24, 4) != 0 || peRead(file, s.headerAt + 28, 4) != 0) {
      return fail(error, "section " + std::to_string(i + 1) + " has COFF relocations");
    }
    image.sections.push_back(s);
  }
  if (memoryEnd > 0x80000000u) return fail(error, "the image is larger than 2 GiB");
  return true;
}

}  // namespace platform
