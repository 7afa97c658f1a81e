// Skin resources put together byte by byte, for the skin reader's tests and the
// fuzzer's seeds: small enough to cut at every length, with no binary files.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "render/BitmapFont.h"
#include "render/Image.h"
#include "support/EncodeJpeg.h"

namespace testdata {

// Images of one value: 24-bit of a colour, or grey.
inline void fillImage(Image& image, int w, int h, int bits, std::uint32_t value) {
  if (bits == 8) {
    image.CreateGrey(w, h);
  } else {
    image.Create(w, h, 24);
  }
  for (int y = 0; y < h; ++y) {
    unsigned char* p = image.PixelAt(0, y);
    for (int x = 0; x < w; ++x) {
      if (bits == 8) {
        *p++ = (unsigned char)value;
      } else {
        *p++ = (unsigned char)(value >> 16);
        *p++ = (unsigned char)(value >> 8);
        *p++ = (unsigned char)value;
      }
    }
  }
}

using Bytes = std::vector<unsigned char>;

inline void putU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((unsigned char)(v >> (8 * i)));
}

inline void putBlob(Bytes& out, const Bytes& blob) {
  putU32(out, std::uint32_t(blob.size()));
  out.insert(out.end(), blob.begin(), blob.end());
}

// A packed DIB; grey images without a palette, as skins store masks.
inline Bytes dib(const Image& image) {
  BitmapInfoHeader h = image.Header();
  h.biClrUsed = h.biClrImportant = 0;
  const auto* header = reinterpret_cast<const unsigned char*>(&h);
  Bytes out(header, header + sizeof h);
  out.insert(out.end(), image.Bits(), image.Bits() + image.PixelBytes());
  return out;
}

inline Bytes deflate(const Bytes& bytes) {
  uLongf size = compressBound(uLong(bytes.size()));
  Bytes out(size);
  compress(out.data(), &size, bytes.data(), uLong(bytes.size()));
  out.resize(size);
  return out;
}

// A skin put together byte by byte, as the tests need it.
struct SkinBytes {
  struct Definition {
    std::uint32_t mode, first, second;
  };
  std::vector<std::pair<std::uint32_t, Bytes>> pictures;  // kind, DIB or JPEG
  std::vector<Definition> definitions;
  int fonts = 1;
  int fontsClaimed = 0;  // more fonts in the count than there are records
  int standalone = 1;

  Bytes make() const {
    Bytes out;
    putU32(out, std::uint32_t(pictures.size()));
    for (const auto& [kind, data] : pictures) {
      putU32(out, kind);
      Bytes inner;
      putBlob(inner, deflate(data));
      putBlob(out, kind == 0 ? inner : data);
    }
    putU32(out, std::uint32_t(definitions.size()));
    for (const Definition& d : definitions) {
      putU32(out, d.mode);
      if (d.mode <= 2) putU32(out, d.first);
      if (d.mode == 1 || d.mode == 2) putU32(out, d.second);
    }
    putBlob(out, deflate(fontBlock()));
    putU32(out, std::uint32_t(standalone));
    for (int i = 0; i < standalone; ++i) {
      putU32(out, 1);
      putU32(out, std::uint32_t(-1));
      putU32(out, 2);
      putBlob(out, dib(mask(3, 2, 200)));
      putBlob(out, dib(mask(3, 2, 100)));
    }
    return out;
  }

  static Image& mask(int w, int h, int value) {
    static Image image;
    fillImage(image, w, h, 8, std::uint32_t(value));
    return image;
  }

  Bytes fontBlock() const {
    Bytes out;
    putU32(out, std::uint32_t(fonts + fontsClaimed));
    for (int f = 0; f < fonts; ++f) {
      TextMetric metrics{};
      metrics.tmHeight = 17 + f;
      metrics.tmInternalLeading = 3;
      metrics.tmAveCharWidth = 7;
      metrics.tmWeight = 400;
      const auto* raw = reinterpret_cast<const unsigned char*>(&metrics);
      out.insert(out.end(), raw, raw + sizeof metrics);
      putU32(out, 1);
      putU32(out, 1);
      putU32(out, 1);
      for (int g = 0; g < kGlyphCount; ++g) {
        for (int v : {6, 2, 0}) {  // advance, offset y, offset x as s16
          out.push_back((unsigned char)v);
          out.push_back(0);
        }
        putBlob(out, dib(mask(2, 3, 255)));
        putBlob(out, dib(mask(2, 3, 90)));
      }
    }
    return out;
  }
};

// The high-glyph resource for `fonts` fonts (src/render/Skin.h): each glyph a
// 3 x 3 block advancing `advance`, so that its text is told from the low
// glyphs' 2 x 3 blocks.
inline Bytes highGlyphs(int fonts, int advance = 5) {
  Bytes block;
  putU32(block, std::uint32_t(fonts));
  for (int f = 0; f < fonts; ++f) {
    for (int g = 0; g < kHighGlyphCount; ++g) {
      for (int v : {advance, 2, 0}) {
        block.push_back((unsigned char)(v & 0xFF));
        block.push_back((unsigned char)((v >> 8) & 0xFF));
      }
      putBlob(block, dib(SkinBytes::mask(3, 3, 255)));
      putBlob(block, dib(SkinBytes::mask(3, 3, 90)));
    }
  }
  Bytes out;
  putBlob(out, deflate(block));
  return out;
}

// Three pictures (a 24-bit 2 x 2 and a grey 3 x 3 DIB, a 4 x 3 JPEG), four
// sprites over them (modes 0, 1 with no second mask, 2, and 0 over the JPEG), one
// font of 2 x 3 blocks and one caption.
inline SkinBytes smallSkin() {
  SkinBytes skin;
  Image colour, grey;
  fillImage(colour, 2, 2, 24, 0x123456);
  fillImage(grey, 3, 3, 8, 77);
  skin.pictures = {{0, dib(colour)}, {0, dib(grey)}, {1, EncodeSolidJpeg(4, 3, 40, 80, 160)}};
  skin.definitions = {{0, 0, 0}, {1, 1, 0xFFFFFFFF}, {2, 0, 1}, {0, 2, 0}};
  return skin;
}

}  // namespace testdata
