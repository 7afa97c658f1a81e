// Writes the fuzzers' seeds: a few small valid inputs of each kind, into
// <folder>/<FuzzerName>/.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "package/PackageBytes.h"
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
  };
  for (const auto& seed : seeds) {
    if (!writeFile(seed.path, seed.bytes)) {
      std::fprintf(stderr, "cannot write %s\n", seed.path.string().c_str());
      return 1;
    }
  }
  return 0;
}
