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
#include "package/ProductExtension.h"
#include "platform/RegFile.h"
#include "platform/RegistryTree.h"
#include "render/Image.h"
#include "support/EncodeJpeg.h"
#include "support/ProgramImages.h"
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
  const fs::path writer = root / "PeResourceWriterFuzz";
  fs::create_directories(writer, error);
  const fs::path extension = root / "ProductExtensionFuzz";
  fs::create_directories(extension, error);
  // The fuzzer puts its package's digest in, so any package does here.
  const ByteView value(reinterpret_cast<const unsigned char*>("1.2.3"), 5);
  const auto extensionOf = [](const std::vector<ExtensionEntry>& entries) {
    return writeProductExtension(entries, ByteView());
  };
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
  // A skin followed by the high glyphs of its font, as the fuzzer splits them.
  Bytes accentedSkin = plainSkin.make();
  const Bytes high = testdata::highGlyphs(1);
  accentedSkin.insert(accentedSkin.end(), high.begin(), high.end());

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
      {skin / "accented.skin", accentedSkin},
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
      {resources / "setup.exe", testdata::peImage()},
      {resources / "setup64.elf", testdata::elfImage(true)},
      {resources / "setup32.elf", testdata::elfImage(false)},
      {resources / "section.kres", testdata::kresSection()},
      {writer / "program.exe", testdata::peProgram()},
      {writer / "no-resources.exe", testdata::peProgram(false)},
      {extension / "empty.bin", extensionOf({})},
      {extension / "entries.bin", extensionOf({{1, value}, {0x7001, ByteView()}, {2, value}})},
  };
  for (const auto& seed : seeds) {
    if (!writeFile(seed.path, seed.bytes)) {
      std::fprintf(stderr, "cannot write %s\n", seed.path.string().c_str());
      return 1;
    }
  }
  return 0;
}
