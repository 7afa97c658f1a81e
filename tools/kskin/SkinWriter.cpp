#include "kskin/SkinWriter.h"

#include <libdeflate.h>
#include <zlib.h>

#include <cstring>
#include <memory>

namespace kskin {

namespace {

void putU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((unsigned char)(v >> (8 * i)));
}

void putS16(Bytes& out, std::int16_t v) {
  const auto u = std::uint16_t(v);
  out.push_back((unsigned char)(u & 0xFF));
  out.push_back((unsigned char)(u >> 8));
}

void putBlob(Bytes& out, const Bytes& blob) {
  putU32(out, std::uint32_t(blob.size()));
  out.insert(out.end(), blob.begin(), blob.end());
}

void putGlyph(Bytes& out, const GlyphData& glyph) {
  putS16(out, glyph.advance);
  putS16(out, glyph.offsetY);
  putS16(out, glyph.offsetX);
  putBlob(out, glyph.shape);
  putBlob(out, glyph.shadow);
}

}  // namespace

Bytes PackedDib(const Image& image) {
  if (!image.IsBlitFormat()) throw SkinError("only 24-bit and grey pictures can be stored");
  BitmapInfoHeader header = image.Header();
  header.biClrUsed = header.biClrImportant = 0;
  Bytes out(sizeof header);
  std::memcpy(out.data(), &header, sizeof header);
  // Row padding is never written by the drawing code: store it as zeros, so the
  // same description always makes the same bytes.
  const int rowBytes = image.Width() * image.BitsPerPixel() / 8;
  for (int y = image.Height() - 1; y >= 0; --y) {
    const unsigned char* row = image.PixelAt(0, y);
    out.insert(out.end(), row, row + rowBytes);
    out.insert(out.end(), std::size_t(image.Stride() - rowBytes), 0);
  }
  return out;
}

Bytes Compress(const Bytes& bytes, Deflate deflate) {
  if (deflate == Deflate::Strongest) {
    const std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
        libdeflate_alloc_compressor(12), libdeflate_free_compressor);
    if (!compressor) throw SkinError("libdeflate failed to start");
    Bytes out(libdeflate_zlib_compress_bound(compressor.get(), bytes.size()));
    const std::size_t size = libdeflate_zlib_compress(compressor.get(), bytes.data(), bytes.size(),
                                                      out.data(), out.size());
    if (size == 0) throw SkinError("libdeflate failed to compress");
    out.resize(size);
    return out;
  }
  uLongf size = compressBound(uLong(bytes.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, bytes.data(), uLong(bytes.size()), Z_BEST_COMPRESSION) != Z_OK) {
    throw SkinError("zlib failed to compress");
  }
  out.resize(size);
  return out;
}

Bytes SpriteRecord(const Sprite& sprite) {
  Bytes out;
  putU32(out, std::uint32_t(sprite.mode));
  putU32(out, std::uint32_t(sprite.offsetX));
  putU32(out, std::uint32_t(sprite.offsetY));
  putBlob(out, PackedDib(*sprite.first));
  if (sprite.mode != kSpritePicture) putBlob(out, PackedDib(*sprite.second));
  return out;
}

Bytes FontBlock(const std::vector<FontData>& fonts) {
  Bytes out;
  putU32(out, std::uint32_t(fonts.size()));
  for (const FontData& font : fonts) {
    if (font.glyphs.size() != std::size_t(kGlyphCount)) throw SkinError("a font lacks glyphs");
    TextMetric metrics = font.metrics;
    std::memset(reinterpret_cast<unsigned char*>(&metrics) + kTextMetricFieldBytes, 0,
                sizeof metrics - kTextMetricFieldBytes);
    const auto* raw = reinterpret_cast<const unsigned char*>(&metrics);
    out.insert(out.end(), raw, raw + sizeof metrics);
    putU32(out, std::uint32_t(font.shadowOffsetX));
    putU32(out, std::uint32_t(font.shadowOffsetY));
    putU32(out, std::uint32_t(font.margin));
    for (const GlyphData& glyph : font.glyphs) putGlyph(out, glyph);
  }
  return out;
}

Bytes WriteHighGlyphs(const std::vector<FontData>& fonts, Deflate deflate) {
  bool any = false;
  for (const FontData& font : fonts) any = any || !font.highGlyphs.empty();
  if (!any) return {};
  Bytes block;
  putU32(block, std::uint32_t(fonts.size()));
  for (const FontData& font : fonts) {
    if (font.highGlyphs.size() != std::size_t(kHighGlyphCount)) {
      throw SkinError("a font lacks high glyphs");
    }
    for (const GlyphData& glyph : font.highGlyphs) putGlyph(block, glyph);
  }
  Bytes out;
  putBlob(out, Compress(block, deflate));
  return out;
}

Bytes WriteSkin(const SkinContent& skin, Deflate deflate) {
  Bytes out;
  putU32(out, std::uint32_t(skin.pictures.size()));
  for (const SkinPicture& picture : skin.pictures) {
    putU32(out, picture.kind);
    if (picture.kind == 1) {
      putBlob(out, picture.data);
    } else {
      // A blob holding the compressed blob: two length words.
      Bytes inner;
      putBlob(inner, Compress(picture.data, deflate));
      putBlob(out, inner);
    }
  }
  putU32(out, std::uint32_t(skin.sprites.size()));
  for (const SpriteDefinition& sprite : skin.sprites) {
    putU32(out, sprite.mode);
    putU32(out, std::uint32_t(sprite.first));
    if (sprite.mode != 0) putU32(out, std::uint32_t(sprite.second));
  }
  putBlob(out, Compress(FontBlock(skin.fonts), deflate));
  putU32(out, std::uint32_t(skin.standalone.size()));
  for (const Bytes& record : skin.standalone) out.insert(out.end(), record.begin(), record.end());
  return out;
}

}  // namespace kskin
