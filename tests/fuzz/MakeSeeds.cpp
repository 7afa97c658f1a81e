// Writes the fuzzers' seeds: a few small valid inputs of each kind, into
// <folder>/<FuzzerName>/.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <zlib.h>

#include "package/PackageBytes.h"
#include "platform/RegFile.h"
#include "platform/RegistryTree.h"
#include "platform/ResourceSection.h"
#include "render/Image.h"
#include "support/EncodeJpeg.h"
#include "support/SkinBytes.h"

namespace {

using Bytes = std::vector<unsigned char>;

bool writeFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

Bytes pattern(std::size_t n) {
  Bytes bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = (unsigned char)(i * 37 + i / 13);
  return bytes;
}

// A packed DIB of `image`: header, `paletteEntries` colours, rows.
Bytes packedDib(const Image& image, int paletteEntries) {
  Bytes out(sizeof(BitmapInfoHeader));
  BitmapInfoHeader header = image.Header();
  header.biClrUsed = std::uint32_t(paletteEntries);
  std::memcpy(out.data(), &header, sizeof header);
  const auto* palette = reinterpret_cast<const unsigned char*>(image.Palette());
  out.insert(out.end(), palette, palette + 4 * paletteEntries);
  out.insert(out.end(), image.Bits(), image.Bits() + image.PixelBytes());
  return out;
}

Bytes dibOf(int width, int height, int bits, int paletteEntries) {
  Image image;
  if (bits == 8 && paletteEntries == 0) {
    image.CreateGrey(width, height);
  } else {
    image.Create(width, height, bits);
  }
  const Bytes fill = pattern(image.PixelBytes());
  std::memcpy(image.Bits(), fill.data(), fill.size());
  return packedDib(image, paletteEntries);
}

// A package with one item of each kind: an application with document types, a
// COM server handling one of them, an uninstaller, shortcuts.
Bytes everyKindOfItem() {
  PackageBytes p;
  p.header().u32(3);
  p.item("Demo.exe", 0x40 | 0x04 | 0x08 | 0x10).text("Demo").text("").text("Demo").u32(2);
  p.text("Demo.Doc").text("Demo Document").u32(1).text("").u32(0);
  p.list({"demo", ".dmo"}).list({"txt", "log"});
  p.text("Demo.Pic").text("Demo Picture").u32(2).text("{2E8A3B9C-4F10-4D6B-9A77-0C1E5F3D8B21}");
  p.u32(1).list({"dpic"}).list({});
  p.item("Shell.dll", 0x80 | 0x02).text("{00021401-0000-0000-C000-000000000046}").text("Shell");
  p.item("Uninstall.exe", 0x20).u32(0).text("Removes Demo");
  return p.bytes;
}

// ---- inflateStream: four bytes choosing the run (see InflateFuzz.cpp), then a body.

// Stops at the second progress call, limit 32 KiB - 1, hint 8 KiB.
const unsigned char kLimitedRun[4] = {2, 0xFF >> 1, 0xFF, 8};
const unsigned char kOpenRun[4] = {0, 0xFF, 0, 0};

Bytes zlibOf(const Bytes& plain, int level) {
  uLongf size = compressBound(uLong(plain.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, plain.data(), uLong(plain.size()), level) != Z_OK) return {};
  out.resize(size);
  return out;
}

Bytes inflateRun(const unsigned char (&run)[4], Bytes body) {
  body.insert(body.begin(), run, run + 4);
  return body;
}

// Bytes a compressor cannot shrink, so that a body spans several 16 KiB blocks.
Bytes noise(std::size_t n) {
  Bytes bytes(n);
  std::uint32_t x = 2463534242u;
  for (auto& b : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = (unsigned char)x;
  }
  return bytes;
}

Bytes flipped(Bytes bytes, std::size_t bit) {
  bytes[(bit / 8) % bytes.size()] ^= (unsigned char)(1u << (bit % 8));
  return bytes;
}

// ---- .reg files, as the host registry writes them.

std::string sz(const std::string& text) {
  return std::string(text.c_str(), text.size() + 1);
}

std::shared_ptr<regtree::Key> keyAt(regtree::Key& top, const std::string& path) {
  std::vector<std::string> parts;
  regtree::splitKeyPath(path, parts);
  std::shared_ptr<regtree::Key> key = top.addSubkey(parts.at(0));
  for (std::size_t i = 1; i < parts.size(); ++i) key = key->addSubkey(parts[i]);
  return key;
}

Bytes asBytes(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// A registry such as an installation leaves: values of every form the writer has.
Bytes installedRegistry() {
  regtree::Key top("");
  auto demo = keyAt(top, "HKEY_LOCAL_MACHINE\\Software\\Demo");
  demo->setValue("", 1, sz("C:\\Program Files\\\"Demo\""));
  demo->setValue("Count", 4, std::string("\x2a\0\0\0", 4));
  demo->setValue("Blob", 3, std::string(60, '\x5a'));
  demo->setValue("Path", 2, sz("%ProgramFiles%\\Demo"));
  demo->setValue("List", 7, std::string("a\0bc\0\0", 6));
  demo->setValue("Lines", 1, sz("one\r\ntwo"));
  demo->setValue("Empty", 0, "");
  auto doc = keyAt(top, "HKEY_LOCAL_MACHINE\\Software\\Classes\\.dmo");
  doc->setValue("", 1, sz("Demo.Doc"));
  keyAt(top, "HKEY_CURRENT_USER\\Software\\Demo\\Settings")->setValue("Size", 4, "\1\2\3\4");
  return asBytes(regfile::exportRegistry(top));
}

// What a user's editor may leave: comments, a deletion, the classes root, loose
// blanks, lines ending without a carriage return.
Bytes editedRegistry() {
  const std::string text = std::string(regfile::kHeader) +
                           "\r\n\r\n; edited\r\n[HKEY_CLASSES_ROOT\\Demo.Doc]\r\n"
                           "@=\"Demo Document\"\n  \"Flags\" = dword:0000ffff\r\n"
                           "[-HKEY_CURRENT_USER\\Software\\Old]\r\n\"Lost\"=\"\"\r\n"
                           "[HKEY_USERS\\.DEFAULT\\x]\r\n\"Bin\"=hex:01,02,\\\r\n  03\r\n";
  std::string bytes = "\xFF\xFE";
  for (char c : text) {
    bytes += c;
    bytes += '\0';
  }
  return asBytes(bytes);
}

// ---- Program images with resources, as the tools read them.

void put(Bytes& b, std::size_t at, std::uint64_t v, int n) {
  if (b.size() < at + std::size_t(n)) b.resize(at + std::size_t(n));
  for (int i = 0; i < n; ++i) b[at + std::size_t(i)] = (unsigned char)(v >> (8 * i));
}

void putText(Bytes& b, std::size_t at, const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) put(b, at + i, (unsigned char)text[i], 1);
}

// A .kres section: RC_DATA 112 and 200, and string 1.
Bytes kresSection() {
  const struct {
    const char* type;
    std::uint32_t id;
    std::string data;
  } entries[] = {{"RC_DATA", 112, "package"},
                 {"RC_DATA", 200, "\x78\x9c\x03\0\0\0\0\1"},
                 {kres::kStringType, 1, "Demo Setup"}};
  Bytes b;
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

// An ELF image (64- or 32-bit) with no code: a header, the section names, a .kres
// section and the section table (null, .shstrtab, .kres).
Bytes elfImage(bool is64) {
  const std::string names = std::string("\0.shstrtab\0", 11) + kres::kSectionName + '\0';
  const Bytes kres = kresSection();
  const std::size_t header = is64 ? 64 : 52, entry = is64 ? 64 : 40;
  const std::size_t namesAt = header, kresAt = (namesAt + names.size() + 15) & ~std::size_t(15);
  const std::size_t table = kresAt + kres.size();
  Bytes b;
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

// A 32-bit PE image with no code and one section, .rsrc, holding the resource tree
// the resource compiler writes: type "RC_DATA" by name, ids 112 and 200, one
// language each.
Bytes peImage() {
  const std::size_t pe = 0x40, optional = pe + 24, optionalSize = 224;
  const std::size_t sectionTable = optional + optionalSize;
  const std::size_t raw = 0x200, va = 0x1000;
  // The tree, offsets from the section's start: root, type, two language
  // directories, two data entries, the type's name, the data.
  Bytes r;
  put(r, 12, 1, 2);  // root: one named entry
  put(r, 16, 0x80000000u | 0xA0, 4);
  put(r, 20, 0x80000000u | 0x18, 4);
  put(r, 0x18 + 14, 2, 2);  // type: two ids
  put(r, 0x18 + 16, 112, 4);
  put(r, 0x18 + 20, 0x80000000u | 0x38, 4);
  put(r, 0x18 + 24, 200, 4);
  put(r, 0x18 + 28, 0x80000000u | 0x50, 4);
  for (std::size_t dir : {0x38u, 0x50u}) {
    put(r, dir + 14, 1, 2);
    put(r, dir + 16, 1033, 4);
    put(r, dir + 20, dir == 0x38 ? 0x68 : 0x78, 4);
  }
  const std::string name = "RC_DATA";
  put(r, 0xA0, name.size(), 2);
  for (std::size_t i = 0; i < name.size(); ++i) put(r, 0xA2 + 2 * i, (unsigned char)name[i], 2);
  const std::string data[2] = {"package", "\x78\x9c\x03\0\0\0\0\1"};
  std::size_t at = 0xC0;
  for (std::size_t i = 0; i < 2; ++i) {
    put(r, 0x68 + 0x10 * i, va + at, 4);
    put(r, 0x68 + 0x10 * i + 4, data[i].size(), 4);
    putText(r, at, data[i]);
    at += 16;
  }
  r.resize(0x200);

  Bytes b;
  putText(b, 0, "MZ");
  put(b, 0x3C, pe, 4);
  putText(b, pe, std::string("PE\0\0", 4));
  put(b, pe + 4, 0x14C, 2);  // i386
  put(b, pe + 6, 1, 2);      // one section
  put(b, pe + 20, optionalSize, 2);
  put(b, pe + 22, 0x0102, 2);
  put(b, optional, 0x10B, 2);            // PE32
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path root = argv[1];
  const fs::path jpeg = root / "JpegFuzz";
  const fs::path dib = root / "PackedDibFuzz";
  std::error_code error;
  fs::create_directories(jpeg, error);
  fs::create_directories(dib, error);
  const fs::path package = root / "PackageFuzz";
  fs::create_directories(package, error);
  const fs::path skin = root / "SkinFuzz";
  fs::create_directories(skin, error);
  const fs::path wrap = root / "TextWrapFuzz";
  fs::create_directories(wrap, error);
  const fs::path inflate = root / "InflateFuzz";
  fs::create_directories(inflate, error);
  const fs::path reg = root / "RegFileFuzz";
  fs::create_directories(reg, error);
  const fs::path resources = root / "ProgramResourcesFuzz";
  fs::create_directories(resources, error);
  const auto licence = [](const char* lineEnd) {
    // Line limit 60, a view 320 pixels wide, then the text.
    std::string text = std::string("\x3c\x50") +
                       "1. You may install this program on any number of " + "computers." +
                       lineEnd + lineEnd + "2. Averyveryveryverylongwordthatfitsno" +
                       "lineatallandkeepsgoing \xe9t\xe9 \x01\x7f" + lineEnd;
    return Bytes(text.begin(), text.end());
  };
  testdata::SkinBytes plainSkin = testdata::smallSkin();
  testdata::SkinBytes bareSkin = plainSkin;
  bareSkin.fonts = 0;
  bareSkin.standalone = 0;

  const Bytes rgb = pattern(20 * 12 * 3);
  testdata::JpegOptions progressive, arithmetic, restarts;
  progressive.progressive = true;
  arithmetic.arithmetic = true;
  restarts.restartRows = 1;
  const Bytes cmyk = pattern(8 * 8 * 4);
  const struct {
    fs::path path;
    Bytes bytes;
  } seeds[] = {
      {jpeg / "grey.jpg", testdata::EncodeJpeg(20, 12, 1, rgb.data())},
      {jpeg / "colour.jpg", testdata::EncodeJpeg(20, 12, 3, rgb.data())},
      {jpeg / "progressive.jpg", testdata::EncodeJpeg(20, 12, 3, rgb.data(), progressive)},
      {jpeg / "arithmetic.jpg", testdata::EncodeJpeg(20, 12, 3, rgb.data(), arithmetic)},
      {jpeg / "restarts.jpg", testdata::EncodeJpeg(20, 12, 3, rgb.data(), restarts)},
      {jpeg / "cmyk.jpg", testdata::EncodeJpeg(8, 8, 4, cmyk.data())},
      {dib / "grey.dib", dibOf(5, 3, 8, 0)},
      {dib / "palette8.dib", dibOf(5, 3, 8, 256)},
      {dib / "colour24.dib", dibOf(5, 3, 24, 0)},
      {dib / "palette4.dib", dibOf(7, 2, 4, 16)},
      {dib / "mono.dib", dibOf(9, 2, 1, 2)},
      {package / "one-item.bin", PackageBytes().header().u32(1).item("a.txt", 0).bytes},
      {package / "every-kind.bin", everyKindOfItem()},
      {skin / "small.skin", plainSkin.make()},
      {skin / "bare.skin", bareSkin.make()},
      {wrap / "crlf.txt", licence("\r\n")},
      {wrap / "lf.txt", licence("\n")},
      {inflate / "text.z", inflateRun(kOpenRun, zlibOf(licence("\r\n"), 9))},
      {inflate / "stored.z", inflateRun(kOpenRun, zlibOf(pattern(300), 0))},
      {inflate / "empty.z", inflateRun(kOpenRun, zlibOf({}, 6))},
      {inflate / "limited.z", inflateRun(kLimitedRun, zlibOf(pattern(70000), 6))},
      {inflate / "blocks.z", inflateRun(kOpenRun, zlibOf(noise(40000), 6))},
      {inflate / "blocks-stopped.z", inflateRun(kLimitedRun, zlibOf(noise(40000), 1))},
      {inflate / "flipped-header.z", inflateRun(kOpenRun, flipped(zlibOf(pattern(500), 6), 9))},
      {inflate / "flipped-body.z", inflateRun(kOpenRun, flipped(zlibOf(pattern(500), 6), 100))},
      {inflate / "flipped-check.z",
       inflateRun(kOpenRun,
                  flipped(zlibOf(licence("\n"), 9), zlibOf(licence("\n"), 9).size() * 8 - 3))},
      {reg / "installed.reg", installedRegistry()},
      {reg / "edited.reg", editedRegistry()},
      {resources / "setup.exe", peImage()},
      {resources / "setup64.elf", elfImage(true)},
      {resources / "setup32.elf", elfImage(false)},
      {resources / "section.kres", kresSection()},
  };
  for (const auto& seed : seeds) {
    if (!writeFile(seed.path, seed.bytes)) {
      std::fprintf(stderr, "cannot write %s\n", seed.path.string().c_str());
      return 1;
    }
  }
  return 0;
}
